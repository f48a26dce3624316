#pragma once
// The CalDAV requests the sync makes (RFC 4791, RFC 6578, RFC 6764) over an
// HttpClient, with the answers read and every failure turned into a plain
// Portuguese message. Runs on the sync's worker; touches no store.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/http.h"
#include "sync/sync_report.h"

namespace tavo::sync {

// A failed request: Refused (password, not a calendar) or Failed (server, network).
struct DavError {
  Outcome outcome = Outcome::Failed;
  std::string message;
};

// Members of the calendar and their ETags, by href (a path on the server).
struct Listing {
  std::map<std::string, std::string> etags;  // present members
  std::vector<std::string> removed;          // members reported deleted (sync-collection)
  bool complete = false;                     // every member is listed: one not listed is gone
  std::string sync_token;                    // empty when the server has no sync-collection
};

struct ServerItem {
  std::string etag;
  std::string data;  // the iCalendar text
};

class DavClient {
 public:
  DavClient(platform::HttpClient& http, std::string user, std::string password)
      : http_(http), user_(std::move(user)), password_(std::move(password)) {}

  // From a server address or a calendar's address to the calendar's own
  // address (absolute, ending in "/"): a calendar is used as it is;
  // otherwise the user's principal (the address itself, or the well-known
  // /.well-known/caldav) leads to the calendar home and its calendar named
  // `name`, made with MKCALENDAR when missing.
  std::optional<std::string> FindCalendar(const std::string& address, const std::string& name, DavError* error);

  // The members changed since `sync_token` (all of them for an empty token
  // or one the server no longer knows); a plain PROPFIND listing when the
  // server has no sync-collection.
  std::optional<Listing> List(const std::string& calendar, const std::string& sync_token, DavError* error);

  // The items at the hrefs (calendar-multiget, in batches); an href the
  // server does not return is left out.
  std::optional<std::map<std::string, ServerItem>> Fetch(const std::string& calendar,
                                                         const std::vector<std::string>& hrefs, DavError* error);

  enum class WriteResult { Done, Changed /* the precondition failed: someone else wrote first */, Failed };
  // PUT with If-Match: etag, or If-None-Match: * when `etag` is empty.
  // `new_etag` gets the ETag the server answered (empty when it gave none).
  WriteResult Put(const std::string& href, const std::string& ics, const std::string& etag, std::string* new_etag,
                  DavError* error);
  // DELETE with If-Match: etag. A member already gone counts as done.
  WriteResult Delete(const std::string& href, const std::string& etag, DavError* error);

  // Absolute URL of an href (a path, or already absolute) on the calendar's server.
  static std::string Resolve(const std::string& base, const std::string& href);
  // The path of an absolute URL ("/" when none).
  static std::string PathOf(const std::string& url);

  int Requests() const { return requests_; }

 private:
  platform::HttpResponse Send(platform::HttpRequest request);
  // PROPFIND following redirects (up to 5), for discovery.
  platform::HttpResponse Propfind(std::string* url, const std::string& depth, const std::string& body);
  bool Failed(const platform::HttpResponse& r, DavError* error, const char* what);

  platform::HttpClient& http_;
  std::string user_;
  std::string password_;
  int requests_ = 0;
};

// A message for a request that got no answer.
std::string TransportMessage(platform::HttpFailure failure);

}  // namespace tavo::sync
