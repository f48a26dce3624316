#include "sync/dav_xml.h"

#include <expat.h>

#include <cstdlib>
#include <memory>

namespace tavo::sync::dav {
namespace {

std::string Name(std::string_view ns, std::string_view local) {
  std::string name(ns);
  name += '|';
  name += local;
  return name;
}

// Walks the document keeping the path of open elements; a response's href
// and status, a propstat's properties and status, and the top-level
// sync-token are what it keeps.
struct Reader {
  Multistatus result;
  std::vector<std::string> path;
  std::string text;  // character data of the innermost open element
  Response response;
  std::map<std::string, Property> propstat_props;
  int propstat_status = 0;
  std::string current_prop;  // the open property, by name
  Property prop;
  bool root_seen = false;
  bool root_ok = false;

  // Depth of the open element below <multistatus>: 1 response, 2 propstat, 3 prop, 4 a property.
  size_t Depth() const { return path.size(); }

  void Start(const char* raw) {
    const std::string name = raw;
    if (!root_seen) {
      root_seen = true;
      root_ok = name == Name(kDav, "multistatus");
    }
    path.push_back(name);
    text.clear();
    const size_t depth = Depth();
    if (depth == 2 && name == Name(kDav, "response")) {
      response = Response{};
    } else if (depth == 3 && path[1] == Name(kDav, "response") && name == Name(kDav, "propstat")) {
      propstat_props.clear();
      propstat_status = 0;
    } else if (depth == 5 && path[3] == Name(kDav, "prop")) {
      current_prop = name;
      prop = Property{};
    } else if (depth > 5 && !current_prop.empty()) {
      prop.children.push_back(name);
    }
  }

  void End() {
    const std::string name = path.back();
    const size_t depth = Depth();
    const bool in_response = depth >= 2 && path[1] == Name(kDav, "response");
    if (depth == 2 && name == Name(kDav, "sync-token")) {
      result.sync_token = Trimmed(text);
    } else if (depth == 3 && in_response && name == Name(kDav, "href")) {
      response.href = Trimmed(text);
    } else if (depth == 3 && in_response && name == Name(kDav, "status")) {
      response.status = StatusCodeOf(text);
    } else if (depth == 4 && path[2] == Name(kDav, "propstat") && name == Name(kDav, "status")) {
      propstat_status = StatusCodeOf(text);
    } else if (depth == 5 && name == current_prop) {
      if (prop.text.empty()) prop.text = text;  // a property with no elements inside
      propstat_props[current_prop] = std::move(prop);
      current_prop.clear();
    } else if (depth > 5 && !current_prop.empty() && name == Name(kDav, "href")) {
      prop.hrefs.push_back(Trimmed(text));
    } else if (depth == 3 && in_response && name == Name(kDav, "propstat")) {
      if (propstat_status == 0 || (propstat_status >= 200 && propstat_status < 300))
        for (auto& [key, value] : propstat_props) response.props[key] = std::move(value);
    } else if (depth == 2 && name == Name(kDav, "response")) {
      result.responses.push_back(std::move(response));
    }
    path.pop_back();
    text.clear();
  }

  static std::string Trimmed(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
  }
};

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char**) { static_cast<Reader*>(data)->Start(name); }
void XMLCALL OnEnd(void* data, const XML_Char*) { static_cast<Reader*>(data)->End(); }
void XMLCALL OnText(void* data, const XML_Char* s, int len) {
  static_cast<Reader*>(data)->text.append(s, static_cast<size_t>(len));
}

}  // namespace

const Property* Response::Find(std::string_view ns, std::string_view local) const {
  const auto it = props.find(Name(ns, local));
  return it == props.end() ? nullptr : &it->second;
}

std::string Response::Text(std::string_view ns, std::string_view local) const {
  const Property* p = Find(ns, local);
  return p ? Reader::Trimmed(p->text) : std::string();
}

bool Response::HasChild(std::string_view ns, std::string_view local, std::string_view child_ns,
                        std::string_view child_local) const {
  const Property* p = Find(ns, local);
  if (!p) return false;
  const std::string child = Name(child_ns, child_local);
  for (const std::string& c : p->children)
    if (c == child) return true;
  return false;
}

std::optional<Multistatus> ParseMultistatus(std::string_view body) {
  std::unique_ptr<std::remove_pointer_t<XML_Parser>, decltype(&XML_ParserFree)> parser(XML_ParserCreateNS("UTF-8", '|'),
                                                                                       XML_ParserFree);
  if (!parser) return std::nullopt;
  Reader reader;
  XML_SetUserData(parser.get(), &reader);
  XML_SetElementHandler(parser.get(), OnStart, OnEnd);
  XML_SetCharacterDataHandler(parser.get(), OnText);
  // Names are nested: supported-report-set holds report/sync-collection.
  if (XML_Parse(parser.get(), body.data(), static_cast<int>(body.size()), XML_TRUE) != XML_STATUS_OK) return std::nullopt;
  if (!reader.root_ok) return std::nullopt;
  return std::move(reader.result);
}

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

int StatusCodeOf(std::string_view line) {
  const size_t space = line.find(' ');
  if (space == std::string_view::npos) return 0;
  const int code = std::atoi(std::string(line.substr(space + 1, 3)).c_str());
  return code >= 100 && code <= 599 ? code : 0;
}

}  // namespace tavo::sync::dav
