#pragma once
// WebDAV multistatus answers (RFC 4918, with the CalDAV and sync-collection
// properties) read with expat, and the request bodies the sync sends.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavo::sync::dav {

inline constexpr const char* kDav = "DAV:";
inline constexpr const char* kCalDav = "urn:ietf:params:xml:ns:caldav";

// A property of a response: its text, the hrefs inside it and the names of
// the elements inside it (as "namespace|local").
struct Property {
  std::string text;
  std::vector<std::string> hrefs;
  std::vector<std::string> children;
};

struct Response {
  std::string href;
  int status = 0;  // the response's own status (sync-collection: 404 for a deleted member); 0 when none
  // Properties found (status 200), by "namespace|local".
  std::map<std::string, Property> props;
  const Property* Find(std::string_view ns, std::string_view local) const;
  std::string Text(std::string_view ns, std::string_view local) const;
  bool HasChild(std::string_view ns, std::string_view local, std::string_view child_ns, std::string_view child_local) const;
};

struct Multistatus {
  std::vector<Response> responses;
  std::string sync_token;  // the top-level DAV:sync-token of a sync-collection answer
};

// Nothing when the body is not a well-formed multistatus document.
std::optional<Multistatus> ParseMultistatus(std::string_view body);

// Text of XML character data (& < > " escaped).
std::string Escape(std::string_view text);

// The status code of an HTTP status line ("HTTP/1.1 404 Not Found" -> 404); 0 when unreadable.
int StatusCodeOf(std::string_view status_line);

}  // namespace tavo::sync::dav
