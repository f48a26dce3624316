#include "sync/dav_client.h"

#include "sync/dav_xml.h"

namespace tavo::sync {
namespace {

using platform::HttpFailure;
using platform::HttpRequest;
using platform::HttpResponse;

constexpr int kTimeoutSeconds = 30;
constexpr size_t kFetchBatch = 200;

const char* const kXmlType = "application/xml; charset=utf-8";

HttpRequest Request(std::string method, std::string url, std::vector<std::pair<std::string, std::string>> headers,
                    std::string body = {}) {
  HttpRequest r;
  r.method = std::move(method);
  r.url = std::move(url);
  r.headers = std::move(headers);
  r.body = std::move(body);
  return r;
}

std::string Origin(const std::string& url) {
  const size_t scheme = url.find("://");
  if (scheme == std::string::npos) return {};
  const size_t path = url.find('/', scheme + 3);
  return path == std::string::npos ? url : url.substr(0, path);
}

std::string WithSlash(std::string url) {
  if (url.empty() || url.back() != '/') url += '/';
  return url;
}

bool IsCalendar(const dav::Response& r) {
  return r.HasChild(dav::kDav, "resourcetype", dav::kCalDav, "calendar");
}

bool IsCollection(const dav::Response& r) {
  return r.HasChild(dav::kDav, "resourcetype", dav::kDav, "collection");
}

std::string FirstHref(const dav::Response& r, std::string_view ns, std::string_view local) {
  const dav::Property* p = r.Find(ns, local);
  return p && !p->hrefs.empty() ? p->hrefs.front() : std::string();
}

}  // namespace

std::string TransportMessage(HttpFailure failure) {
  switch (failure) {
    case HttpFailure::Timeout: return "O servidor de sincroniza\xC3\xA7\xC3\xA3o n\xC3\xA3o respondeu a tempo.";
    case HttpFailure::Certificate:
      return "O certificado do servidor n\xC3\xA3o \xC3\xA9 confi\xC3\xA1vel neste computador; a conex\xC3\xA3o foi recusada.";
    case HttpFailure::Refused:
      return "Endere\xC3\xA7o recusado: use https:// (http:// s\xC3\xB3 para este computador).";
    case HttpFailure::Connect: return "N\xC3\xA3o foi poss\xC3\xADvel conectar ao servidor de sincroniza\xC3\xA7\xC3\xA3o.";
    default: return "Falha de rede ao falar com o servidor de sincroniza\xC3\xA7\xC3\xA3o.";
  }
}

std::string DavClient::Resolve(const std::string& base, const std::string& href) {
  if (href.rfind("http://", 0) == 0 || href.rfind("https://", 0) == 0) return href;
  if (!href.empty() && href[0] == '/') return Origin(base) + href;
  const size_t slash = base.rfind('/');
  return (slash == std::string::npos ? base : base.substr(0, slash + 1)) + href;
}

std::string DavClient::PathOf(const std::string& url) {
  const size_t scheme = url.find("://");
  if (scheme == std::string::npos) return url.empty() ? "/" : url;
  const size_t path = url.find('/', scheme + 3);
  return path == std::string::npos ? "/" : url.substr(path);
}

HttpResponse DavClient::Send(HttpRequest request) {
  request.user = user_;
  request.password = password_;
  request.timeout_seconds = kTimeoutSeconds;
  ++requests_;
  HttpResponse response = http_.Send(request);
  // A server that refuses the password may answer before reading the body
  // and close the connection, which can cut its answer short: a request
  // without a body then tells a refusal from a real cut.
  if ((response.failure == HttpFailure::Connect || response.failure == HttpFailure::Other) && !request.body.empty()) {
    HttpRequest probe = Request("GET", request.url, {});
    probe.user = user_;
    probe.password = password_;
    probe.timeout_seconds = kTimeoutSeconds;
    ++requests_;
    const HttpResponse answer = http_.Send(probe);
    if (answer.failure == HttpFailure::None && (answer.status == 401 || answer.status == 403)) return answer;
  }
  return response;
}

bool DavClient::Failed(const HttpResponse& r, DavError* error, const char* what) {
  if (r.failure != HttpFailure::None) {
    *error = {r.failure == HttpFailure::Refused ? Outcome::Refused : Outcome::Failed, TransportMessage(r.failure)};
    return true;
  }
  if (r.status == 401 || r.status == 403) {
    *error = {Outcome::Refused, "O servidor recusou o usu\xC3\xA1rio ou a senha."};
    return true;
  }
  if (r.status >= 200 && r.status < 300) return false;
  *error = {Outcome::Failed, std::string("O servidor respondeu com o erro ") + std::to_string(r.status) + " " + what + "."};
  return true;
}

HttpResponse DavClient::Propfind(std::string* url, const std::string& depth, const std::string& body) {
  HttpResponse r;
  for (int hop = 0; hop < 6; ++hop) {
    r = Send(Request("PROPFIND", *url, {{"Depth", depth}, {"Content-Type", kXmlType}}, body));
    if (r.failure != HttpFailure::None || r.status < 300 || r.status >= 400) return r;
    const std::string location = r.Header("location");
    if (location.empty()) return r;
    *url = Resolve(*url, location);
  }
  return r;
}

std::optional<std::string> DavClient::FindCalendar(const std::string& address, const std::string& name,
                                                   DavError* error) {
  std::string url = address;
  if (url.find("://") == std::string::npos) url = "https://" + url;
  const std::string props =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<D:propfind xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
      "<D:prop><D:resourcetype/><D:current-user-principal/><C:calendar-home-set/><D:displayname/></D:prop>"
      "</D:propfind>";
  const DavError not_caldav{Outcome::Refused,
                            "Este endere\xC3\xA7o n\xC3\xA3o leva a uma agenda (CalDAV): confira o endere\xC3\xA7o."};
  auto ask = [&](std::string* at) -> std::optional<dav::Response> {
    HttpResponse r = Propfind(at, "0", props);
    if (r.failure == HttpFailure::None && (r.status == 404 || r.status == 405 || r.status == 501)) return dav::Response{};
    if (Failed(r, error, "ao procurar a agenda")) return std::nullopt;
    auto ms = dav::ParseMultistatus(r.body);
    if (!ms || ms->responses.empty()) return dav::Response{};
    return ms->responses.front();
  };
  auto first = ask(&url);
  if (!first) return std::nullopt;
  if (IsCalendar(*first)) return WithSlash(url);
  std::string home = FirstHref(*first, dav::kCalDav, "calendar-home-set");
  std::string principal = FirstHref(*first, dav::kDav, "current-user-principal");
  if (home.empty() && principal.empty()) {
    std::string known = Origin(url) + "/.well-known/caldav";
    auto well_known = ask(&known);
    if (!well_known) return std::nullopt;
    principal = FirstHref(*well_known, dav::kDav, "current-user-principal");
    if (!principal.empty()) url = known;
  }
  if (home.empty() && !principal.empty()) {
    std::string at = Resolve(url, principal);
    auto p = ask(&at);
    if (!p) return std::nullopt;
    home = FirstHref(*p, dav::kCalDav, "calendar-home-set");
    url = at;
  }
  if (home.empty()) {
    *error = not_caldav;
    return std::nullopt;
  }
  std::string home_url = WithSlash(Resolve(url, home));
  HttpResponse listing = Propfind(&home_url, "1", props);
  if (Failed(listing, error, "ao listar as agendas")) return std::nullopt;
  auto ms = dav::ParseMultistatus(listing.body);
  if (!ms) {
    *error = {Outcome::Failed, "O servidor deu uma lista de agendas ileg\xC3\xADvel."};
    return std::nullopt;
  }
  for (const dav::Response& r : ms->responses)
    if (IsCalendar(r) && r.Text(dav::kDav, "displayname") == name) return WithSlash(Resolve(home_url, r.href));
  // None yet: make it, under a free name.
  const std::string body =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<C:mkcalendar xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
      "<D:set><D:prop><D:displayname>" + dav::Escape(name) + "</D:displayname>"
      "<C:supported-calendar-component-set><C:comp name=\"VEVENT\"/></C:supported-calendar-component-set>"
      "</D:prop></D:set></C:mkcalendar>";
  for (int n = 0; n < 5; ++n) {
    std::string target = home_url + "quelvo";
    if (n > 0) target += '-' + std::to_string(n);
    target += '/';
    HttpResponse made = Send(Request("MKCALENDAR", target, {{"Content-Type", kXmlType}}, body));
    if (made.failure == HttpFailure::None && (made.status == 405 || made.status == 409)) continue;  // name taken
    if (Failed(made, error, "ao criar a agenda \"Quelvo\"")) return std::nullopt;
    return target;
  }
  *error = {Outcome::Failed, "N\xC3\xA3o foi poss\xC3\xADvel criar a agenda \"Quelvo\" no servidor."};
  return std::nullopt;
}

std::optional<Listing> DavClient::List(const std::string& calendar, const std::string& sync_token, DavError* error) {
  const std::string calendar_path = PathOf(calendar);
  auto member = [&](const dav::Response& r, std::string* path) {
    *path = PathOf(Resolve(calendar, r.href));
    return *path != calendar_path && !IsCollection(r);
  };
  std::string token = sync_token;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const std::string body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<D:sync-collection xmlns:D=\"DAV:\"><D:sync-token>" +
        dav::Escape(token) + "</D:sync-token><D:sync-level>1</D:sync-level><D:prop><D:getetag/></D:prop></D:sync-collection>";
    HttpResponse r = Send(Request("REPORT", calendar, {{"Depth", "0"}, {"Content-Type", kXmlType}}, body));
    if (r.failure == HttpFailure::None && r.status == 404) {
      *error = {Outcome::Failed, "A agenda sincronizada n\xC3\xA3o existe mais no servidor."};
      return std::nullopt;
    }
    // A token the server forgot: start over with a full listing.
    if (r.failure == HttpFailure::None && !token.empty() && (r.status == 403 || r.status == 409 || r.status == 400)) {
      token.clear();
      continue;
    }
    // No sync-collection on this server: list by PROPFIND.
    if (r.failure == HttpFailure::None && token.empty() &&
        (r.status == 400 || r.status == 403 || r.status == 405 || r.status == 501))
      break;
    if (Failed(r, error, "ao listar a agenda")) return std::nullopt;
    auto ms = dav::ParseMultistatus(r.body);
    if (!ms) {
      *error = {Outcome::Failed, "O servidor deu uma lista da agenda ileg\xC3\xADvel."};
      return std::nullopt;
    }
    Listing listing;
    listing.complete = token.empty();
    listing.sync_token = ms->sync_token;
    for (const dav::Response& m : ms->responses) {
      std::string path;
      if (!member(m, &path)) continue;
      if (m.status == 404) {
        listing.removed.push_back(path);
      } else {
        listing.etags[path] = m.Text(dav::kDav, "getetag");
      }
    }
    return listing;
  }
  std::string at = calendar;
  HttpResponse r = Propfind(&at, "1",
                            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<D:propfind xmlns:D=\"DAV:\"><D:prop>"
                            "<D:resourcetype/><D:getetag/></D:prop></D:propfind>");
  if (r.failure == HttpFailure::None && r.status == 404) {
    *error = {Outcome::Failed, "A agenda sincronizada n\xC3\xA3o existe mais no servidor."};
    return std::nullopt;
  }
  if (Failed(r, error, "ao listar a agenda")) return std::nullopt;
  auto ms = dav::ParseMultistatus(r.body);
  if (!ms) {
    *error = {Outcome::Failed, "O servidor deu uma lista da agenda ileg\xC3\xADvel."};
    return std::nullopt;
  }
  Listing listing;
  listing.complete = true;
  for (const dav::Response& m : ms->responses) {
    std::string path;
    if (member(m, &path)) listing.etags[path] = m.Text(dav::kDav, "getetag");
  }
  return listing;
}

std::optional<std::map<std::string, ServerItem>> DavClient::Fetch(const std::string& calendar,
                                                                  const std::vector<std::string>& hrefs,
                                                                  DavError* error) {
  std::map<std::string, ServerItem> items;
  for (size_t from = 0; from < hrefs.size(); from += kFetchBatch) {
    std::string body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<C:calendar-multiget xmlns:D=\"DAV:\" "
        "xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:prop><D:getetag/><C:calendar-data/></D:prop>";
    for (size_t i = from; i < hrefs.size() && i < from + kFetchBatch; ++i)
      body += "<D:href>" + dav::Escape(hrefs[i]) + "</D:href>";
    body += "</C:calendar-multiget>";
    HttpResponse r = Send(Request("REPORT", calendar, {{"Depth", "1"}, {"Content-Type", kXmlType}}, body));
    if (Failed(r, error, "ao trazer os lembretes")) return std::nullopt;
    auto ms = dav::ParseMultistatus(r.body);
    if (!ms) {
      *error = {Outcome::Failed, "O servidor deu lembretes ileg\xC3\xADveis."};
      return std::nullopt;
    }
    for (const dav::Response& m : ms->responses) {
      const dav::Property* data = m.Find(dav::kCalDav, "calendar-data");
      if (!data || (m.status != 0 && m.status != 200)) continue;
      items[PathOf(Resolve(calendar, m.href))] = {m.Text(dav::kDav, "getetag"), data->text};
    }
  }
  return items;
}

DavClient::WriteResult DavClient::Put(const std::string& href, const std::string& ics, const std::string& etag,
                                      std::string* new_etag, DavError* error) {
  HttpRequest request = Request("PUT", href, {{"Content-Type", "text/calendar; charset=utf-8"}}, ics);
  request.headers.emplace_back(etag.empty() ? "If-None-Match" : "If-Match", etag.empty() ? "*" : etag);
  HttpResponse r = Send(request);
  if (r.failure == HttpFailure::None && r.status == 412) return WriteResult::Changed;
  if (Failed(r, error, "ao gravar um lembrete")) return WriteResult::Failed;
  *new_etag = r.Header("etag");
  return WriteResult::Done;
}

DavClient::WriteResult DavClient::Delete(const std::string& href, const std::string& etag, DavError* error) {
  HttpRequest request = Request("DELETE", href, {});
  if (!etag.empty()) request.headers.emplace_back("If-Match", etag);
  HttpResponse r = Send(request);
  if (r.failure == HttpFailure::None && r.status == 404) return WriteResult::Done;
  if (r.failure == HttpFailure::None && r.status == 412) return WriteResult::Changed;
  if (Failed(r, error, "ao excluir um lembrete")) return WriteResult::Failed;
  return WriteResult::Done;
}

}  // namespace tavo::sync
