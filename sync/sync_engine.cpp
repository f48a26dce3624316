#include "sync/sync_engine.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

#include "dates/date_time.h"
#include "ical/calendar_export.h"
#include "ical/calendar_import.h"
#include "platform/system.h"
#include "store/cp1252.h"
#include "store/date_text.h"
#include "sync/dav_client.h"

namespace tavo::sync {
namespace {

using ical::MinutesOf;

constexpr const char* kCalendarName = "Quelvo";

// --- The server's side of an item ------------------------------------------

// The lines of an iCalendar text, unfolded.
std::vector<std::string> Unfolded(const std::string& data) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < data.size()) {
    size_t end = data.find('\n', pos);
    if (end == std::string::npos) end = data.size();
    std::string line = data.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && !lines.empty()) {
      lines.back() += line.substr(1);
    } else {
      lines.push_back(std::move(line));
    }
    pos = end + 1;
  }
  return lines;
}

std::string PropertyName(const std::string& line) {
  std::string name = line.substr(0, line.find_first_of(":;"));
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
  return name;
}

// Whether a reminder written back in Quelvo's own form keeps everything the
// item says: only properties Quelvo renders (or that mean nothing to a
// reminder: stamps, an end, a zone) and alarms at the start itself.
bool WritableAsReminder(const std::vector<std::string>& lines) {
  static const std::set<std::string> known = {
      "BEGIN", "END", "VERSION", "PRODID", "CALSCALE", "METHOD", "UID", "DTSTAMP", "CREATED", "LAST-MODIFIED",
      "SEQUENCE", "DTSTART", "RRULE", "SUMMARY", "DESCRIPTION", "ACTION", "TRIGGER", "TRANSP", "CLASS", "STATUS",
      "PRIORITY", "TZID", "TZOFFSETFROM", "TZOFFSETTO", "TZNAME", "TZURL", "DTEND", "DURATION", "RDATE-TZ"};
  for (const std::string& line : lines) {
    const std::string name = PropertyName(line);
    if (name.rfind("X-", 0) == 0) continue;
    if (!known.count(name)) return false;
    if (name == "TRIGGER") {
      const std::string value = line.substr(line.find(':') + 1);
      if (value.find_first_of("123456789") != std::string::npos) return false;
    }
  }
  return true;
}

std::string UidIn(const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    if (PropertyName(line) == "UID") return line.substr(line.find(':') + 1);
  return {};
}

struct ServerVersion {
  bool readable = false;
  std::string skipped;  // why it is no reminder (ical::reason); empty when it is one
  TLembrete record;
  bool exact = false;
  std::string uid;
};

// The item as a reminder by the import's rules. For an item already linked,
// `linked`: one that has passed still gives its time (it then falls due here).
ServerVersion ReadServerItem(const std::string& data, int64_t now, bool linked) {
  ServerVersion v;
  ical::CalendarRead read = ical::ReadCalendar(data, now);
  if (!read.refusal.empty() || read.items.empty()) return v;
  ical::ItemResult item = read.items.front();
  if (linked && item.skipped == ical::reason::kPassed) {
    read = ical::ReadCalendar(data, DaysFromCivil(1, 1, 1) * 1440);
    if (!read.refusal.empty() || read.items.empty()) return v;
    item = read.items.front();
  }
  if (item.skipped == ical::reason::kUnreadable) return v;
  const std::vector<std::string> lines = Unfolded(data);
  v.readable = true;
  v.skipped = item.skipped;
  v.record = item.record;
  v.uid = UidIn(lines);
  v.exact = read.items.size() == 1 && !item.only_next && WritableAsReminder(lines);
  return v;
}

// --- Matching reminders here to their links ---------------------------------

bool SameAsLink(const TLembrete& r, const Link& l) {
  return MinutesOf(r.DateTime) == l.minute && EffectiveRepeatKind(r.RepeatKind) == l.repeat && r.Text == l.text;
}

Link Synced(Link link, const TLembrete& r) {
  link.id = r.Id;
  link.minute = MinutesOf(r.DateTime);
  link.repeat = static_cast<uint8_t>(EffectiveRepeatKind(r.RepeatKind));
  link.text = r.Text;
  return link;
}

// For each link (by index) the reminder here (by index) it stands for, -1 when none.
std::vector<int> MatchLinks(const std::vector<TLembrete>& here, const std::vector<Link>& links) {
  std::vector<int> local_of(links.size(), -1);
  std::vector<bool> taken(here.size(), false);
  auto pass = [&](auto&& alike) {
    std::unordered_multimap<std::string, size_t> by_key;
    for (size_t i = 0; i < here.size(); ++i)
      if (!taken[i]) by_key.emplace(alike(here[i].Text, MinutesOf(here[i].DateTime), here[i].RepeatKind, here[i].Id), i);
    for (size_t k = 0; k < links.size(); ++k) {
      const Link& l = links[k];
      if (local_of[k] >= 0 || l.kind == LinkKind::Server) continue;
      auto [first, last] = by_key.equal_range(alike(l.text, l.minute, l.repeat, l.id));
      // Among several alike, the one with the link's Id, else the first.
      auto chosen = last;
      for (auto it = first; it != last; ++it) {
        if (taken[it->second]) continue;
        if (chosen == last || here[it->second].Id == l.id) chosen = it;
      }
      if (chosen == last) continue;
      taken[chosen->second] = true;
      local_of[k] = static_cast<int>(chosen->second);
      by_key.erase(chosen);
    }
  };
  pass([](const std::string& text, int64_t minute, int repeat, int32_t) {
    return std::to_string(minute) + '\x01' + std::to_string(EffectiveRepeatKind(repeat)) + '\x01' + text;
  });
  pass([](const std::string& text, int64_t, int, int32_t) { return text; });
  pass([](const std::string&, int64_t minute, int, int32_t) { return std::to_string(minute); });
  pass([](const std::string&, int64_t, int, int32_t id) { return std::to_string(id); });
  return local_of;
}

std::string Identity(const TLembrete& r) {
  return std::to_string(MinutesOf(r.DateTime)) + '\x01' + std::to_string(EffectiveRepeatKind(r.RepeatKind)) + '\x01' +
         r.Text;
}

// A new item's name on the server, from its UID (letters and digits only, so
// that every server gives the same path back).
std::string FileNameOf(const std::string& uid) {
  std::string name;
  for (const char c : uid)
    name += std::isalnum(static_cast<unsigned char>(c)) ? c : '-';
  return name + ".ics";
}

TLembrete Marked(TLembrete r) {
  r.Text = kConflictMark + r.Text;
  if (r.Text.size() > kMaxTextLength) r.Text.resize(kMaxTextLength);
  return r;
}

// --- The exchange ------------------------------------------------------------

// A reminder to send as a new item; `marked` when it is the other side's
// copy of a conflict.
struct Upload {
  TLembrete reminder;
  bool marked = false;
};

class Exchanger {
 public:
  Exchanger(platform::HttpClient& http, const Account& account, const std::string& password, int64_t now,
            int64_t stamp)
      : dav_(http, account.user, password), account_(account), now_(now), stamp_(stamp) {}

  Exchange Run(const std::vector<TLembrete>& here, LinkTable links) {
    out_.links = std::move(links);
    out_.previous_token = out_.links.sync_token;
    if (out_.links.calendar != account_.calendar) out_.links = LinkTable{account_.calendar, {}, {}};
    const bool ok = Step(here);
    out_.requests = dav_.Requests();
    if (!ok) {
      out_.changes.clear();
      out_.report.outcome = error_.outcome;
      out_.report.message = error_.message;
    }
    return std::move(out_);
  }

 private:
  bool Step(const std::vector<TLembrete>& here) {
    std::vector<Link>& links = out_.links.links;
    auto listing = dav_.List(account_.calendar, out_.links.sync_token, &error_);
    if (!listing) return false;

    // What changed on the server: a listed href whose ETag is not the link's.
    std::map<std::string, size_t> link_of_href;
    for (size_t k = 0; k < links.size(); ++k) link_of_href[links[k].href] = k;
    std::set<std::string> removed(listing->removed.begin(), listing->removed.end());
    if (listing->complete)
      for (const Link& l : links)
        if (!listing->etags.count(l.href)) removed.insert(l.href);
    std::vector<std::string> to_fetch;
    for (const auto& [href, etag] : listing->etags) {
      auto it = link_of_href.find(href);
      if (it == link_of_href.end() || links[it->second].etag != etag || etag.empty()) to_fetch.push_back(href);
    }
    auto fetched = dav_.Fetch(account_.calendar, to_fetch, &error_);
    if (!fetched) return false;

    const std::vector<int> local_of = MatchLinks(here, links);
    std::vector<bool> linked_here(here.size(), false);
    for (int i : local_of)
      if (i >= 0) linked_here[static_cast<size_t>(i)] = true;

    std::vector<Link> kept;
    std::vector<Upload> uploads;
    std::set<std::string> look_again;  // items with no reminder here that changed: maybe reminders now
    for (size_t k = 0; k < links.size(); ++k) {
      Link l = links[k];
      const TLembrete* mine = local_of[k] >= 0 ? &here[static_cast<size_t>(local_of[k])] : nullptr;
      const bool server_gone = removed.count(l.href) > 0;
      const auto got = fetched->find(l.href);
      const bool server_changed = !server_gone && got != fetched->end() && got->second.etag != l.etag;
      if (l.kind == LinkKind::Server) {
        // Items with no reminder here: looked at again as new when they change.
        if (!server_gone && !server_changed) kept.push_back(l);
        if (server_changed) look_again.insert(l.href);
        continue;
      }
      ServerVersion theirs;
      if (server_changed) {
        theirs = ReadServerItem(got->second.data, now_, true);
        if (!theirs.readable) {
          out_.report.warnings.push_back("ignorado: item ileg\xC3\xADvel no servidor: " + l.href);
          kept.push_back(l);
          continue;
        }
        // Our own write coming back (its ETag was not given) or a change that is no change.
        if (theirs.skipped.empty() && mine && SameAsLink(theirs.record, l) && SameAsLink(*mine, l)) {
          l.etag = got->second.etag;
          kept.push_back(l);
          continue;
        }
      }
      const bool changed_here = mine && !SameAsLink(*mine, l);
      const bool cancelled = server_changed && !theirs.skipped.empty();
      if (!server_gone && !server_changed) {
        if (!mine) {  // deleted here
          if (l.kind == LinkKind::Exact) {
            const auto r = dav_.Delete(DavClient::Resolve(account_.calendar, l.href), l.etag, &error_);
            if (r == DavClient::WriteResult::Failed) return Fail(kept, links, k);
            if (r == DavClient::WriteResult::Done) {
              ++out_.report.counters.deleted;
              continue;
            }
            kept.push_back(l);  // changed there meanwhile: comes down next time
          } else {
            l.kind = LinkKind::Server;  // never written back: it stays there
            kept.push_back(l);
          }
        } else if (changed_here) {
          if (l.kind == LinkKind::Exact) {
            std::string etag;
            const auto r = dav_.Put(DavClient::Resolve(account_.calendar, l.href), ical::ExportEvent(*mine, l.uid, stamp_),
                                    l.etag, &etag, &error_);
            if (r == DavClient::WriteResult::Failed) return Fail(kept, links, k);
            if (r == DavClient::WriteResult::Done) {
              ++out_.report.counters.sent;
              l = Synced(l, *mine);
              l.etag = etag;
            }
            kept.push_back(l);
          } else {
            // Their item stays as they set it; this version goes up as an item of its own.
            l.kind = LinkKind::Server;
            kept.push_back(l);
            uploads.push_back({*mine, false});
          }
        } else {
          kept.push_back(Synced(l, *mine));
        }
        continue;
      }
      // From here on the old link stays until its change is made here, so
      // that an exchange cut short leaves the table as it was.
      if (server_gone) {
        if (changed_here) {
          uploads.push_back({*mine, false});  // changed here: sent again
        } else if (mine) {
          kept.push_back(l);
          Local(LocalChange::Kind::Delete, *mine, {}, l.href, std::nullopt);
        }
        continue;
      }
      kept.push_back(l);
      // Changed on the server.
      Link next = l;
      next.etag = got->second.etag;
      next.uid = theirs.uid.empty() ? l.uid : theirs.uid;
      next.kind = theirs.exact ? LinkKind::Exact : LinkKind::Inexact;
      if (cancelled) {
        if (changed_here) {
          kept.pop_back();
          uploads.push_back({*mine, false});
        } else if (mine) {
          Local(LocalChange::Kind::Delete, *mine, {}, l.href, std::nullopt);
        }
        continue;
      }
      if (!mine) {
        Local(LocalChange::Kind::Add, {}, theirs.record, l.href, Synced(next, theirs.record));
      } else if (!changed_here) {
        Local(LocalChange::Kind::Alter, *mine, WithId(theirs.record, mine->Id), l.href,
              Synced(next, WithId(theirs.record, mine->Id)));
      } else {
        // Both changed: each side keeps its own and gets the other's, marked.
        ++out_.report.counters.conflicts;
        const TLembrete copy = Marked(theirs.record);
        Local(LocalChange::Kind::Add, {}, copy, l.href, Synced(next, copy));
        uploads.push_back({*mine, true});
      }
    }
    links = std::move(kept);

    // Items new to this computer.
    std::unordered_multimap<std::string, size_t> unlinked;
    for (size_t i = 0; i < here.size(); ++i)
      if (!linked_here[i]) unlinked.emplace(Identity(here[i]), i);
    for (const std::string& href : to_fetch) {
      if (link_of_href.count(href) && !look_again.count(href)) continue;
      const auto got = fetched->find(href);
      if (got == fetched->end()) continue;
      ServerVersion theirs = ReadServerItem(got->second.data, now_, false);
      Link l;
      l.href = href;
      l.etag = got->second.etag;
      l.uid = theirs.uid;
      if (!theirs.readable || !theirs.skipped.empty()) {
        if (!theirs.readable) out_.report.warnings.push_back("ignorado: item ileg\xC3\xADvel no servidor: " + href);
        l.kind = LinkKind::Server;
        links.push_back(l);
        continue;
      }
      l.kind = theirs.exact ? LinkKind::Exact : LinkKind::Inexact;
      auto same = unlinked.find(Identity(theirs.record));
      if (same != unlinked.end()) {  // already here: linked, not added
        linked_here[same->second] = true;
        links.push_back(Synced(l, here[same->second]));
        unlinked.erase(same);
        continue;
      }
      Local(LocalChange::Kind::Add, {}, theirs.record, href, Synced(l, theirs.record));
    }

    // Reminders new to the server.
    for (size_t i = 0; i < here.size(); ++i)
      if (!linked_here[i]) uploads.push_back({here[i], false});
    std::set<std::string> used;
    for (const Link& l : links) used.insert(l.href);
    for (const LocalChange& c : out_.changes) used.insert(c.href);
    for (const Upload& u : uploads)
      if (!Send(u, &used, &links)) return false;
    out_.links.sync_token = listing->sync_token;
    return true;
  }

  // Makes a new item for the reminder (its text marked when it is the other
  // side's copy of a conflict) and links the reminder to it.
  bool Send(const Upload& upload, std::set<std::string>* used, std::vector<Link>* links) {
    const TLembrete& reminder = upload.reminder;
    const TLembrete sent = upload.marked ? Marked(reminder) : reminder;
    const std::string base = ical::UidOf(sent);
    auto variant = [&base](int n) {
      std::string uid = base;
      if (n > 1) uid.insert(uid.find('@'), "-" + std::to_string(n));
      return uid;
    };
    int n = 1;
    while (used->count(DavClient::PathOf(account_.calendar) + FileNameOf(variant(n)))) ++n;
    std::string uid = variant(n);
    for (int attempt = 0; attempt < 20; ++attempt) {
      const std::string path = DavClient::PathOf(account_.calendar) + FileNameOf(uid);
      std::string etag;
      const auto r = dav_.Put(DavClient::Resolve(account_.calendar, path), ical::ExportEvent(sent, uid, stamp_), "",
                              &etag, &error_);
      if (r == DavClient::WriteResult::Failed) return false;
      used->insert(path);
      if (r == DavClient::WriteResult::Changed) {  // a name taken by an item not listed to us yet
        uid = variant(++n);
        continue;
      }
      ++out_.report.counters.sent;
      Link l;
      l.kind = LinkKind::Exact;
      l.uid = uid;
      l.href = path;
      l.etag = etag;
      links->push_back(Synced(l, reminder));
      return true;
    }
    return true;
  }

  // A write failed: the links keep what was written before it, and every
  // link not yet looked at stays as it was.
  bool Fail(std::vector<Link>& kept, std::vector<Link>& links, size_t k) {
    kept.insert(kept.end(), links.begin() + static_cast<std::ptrdiff_t>(k), links.end());
    links = std::move(kept);
    return false;
  }

  static TLembrete WithId(TLembrete r, int32_t id) {
    r.Id = id;
    return r;
  }

  void Local(LocalChange::Kind kind, const TLembrete& before, const TLembrete& after, const std::string& href,
             std::optional<Link> link) {
    out_.changes.push_back({kind, before, after, href, std::move(link)});
  }

  DavClient dav_;
  const Account& account_;
  int64_t now_;
  int64_t stamp_;
  DavError error_;
  Exchange out_;
};

bool StillAsSeen(Store& store, const TLembrete& seen) {
  const int32_t k = store.FindLembrete(seen);
  if (k < 0) return false;
  TLembrete current;
  store.ReadLembrete(k, current);
  return current.DateTime == seen.DateTime && EffectiveRepeatKind(current.RepeatKind) ==
                                                  EffectiveRepeatKind(seen.RepeatKind) && current.Text == seen.Text;
}


}  // namespace

std::string CountersLine(const Counters& c) {
  return "enviados " + std::to_string(c.sent) + ", recebidos " + std::to_string(c.received) + ", exclu\xC3\xAD" "dos " +
         std::to_string(c.deleted) + ", conflitos " + std::to_string(c.conflicts);
}

Exchange ExchangeWithServer(platform::HttpClient& http, const Account& account, const std::string& password,
                            const std::vector<TLembrete>& here, LinkTable links, int64_t now, int64_t stamp_utc) {
  return Exchanger(http, account, password, now, stamp_utc).Run(here, std::move(links));
}

std::string LinkFilePath(const Store& store) { return store.DadosPath(kLinkFileName); }

LinkTable LoadLinks(Store& store, LinkLoad* load) {
  LinkTable table;
  const LinkLoad result = ReadLinkFile(LinkFilePath(store), &table);
  if (load) *load = result;
  return table;
}

void ApplyExchange(Store& store, Exchange& exchange) {
  std::vector<Link>& links = exchange.links.links;
  auto drop = [&links](const std::string& href) {
    std::erase_if(links, [&](const Link& l) { return l.href == href; });
  };
  std::vector<TLembrete> adds;
  std::vector<Link> add_links;
  bool left_for_later = false;
  for (LocalChange& c : exchange.changes) {
    switch (c.kind) {
      case LocalChange::Kind::Add:
        drop(c.href);
        adds.push_back(c.after);
        add_links.push_back(*c.link);
        break;
      case LocalChange::Kind::Alter:
        if (!StillAsSeen(store, c.before)) {  // changed meanwhile: a conflict next time
          left_for_later = true;
          break;
        }
        store.AlterLembrete(c.before, c.after);
        drop(c.href);
        links.push_back(*c.link);
        ++exchange.report.counters.received;
        break;
      case LocalChange::Kind::Delete:
        if (!StillAsSeen(store, c.before)) {
          left_for_later = true;
          break;
        }
        store.DeleteLembrete(c.before);
        drop(c.href);
        ++exchange.report.counters.deleted;
        break;
    }
  }
  if (!adds.empty()) {
    const int32_t first_id = store.LastId + 1;
    store.AddLembretes(adds);
    for (size_t i = 0; i < add_links.size(); ++i) {
      add_links[i].id = first_id + static_cast<int32_t>(i);
      links.push_back(add_links[i]);
    }
    exchange.report.counters.received += static_cast<int>(adds.size());
  }
  exchange.changes.clear();
  // The server must list what was left again.
  if (left_for_later) exchange.links.sync_token = exchange.previous_token;
  if (!WriteLinkFile(LinkFilePath(store), exchange.links) && exchange.report.outcome == Outcome::Done) {
    exchange.report.outcome = Outcome::Failed;
    exchange.report.message = "N\xC3\xA3o foi poss\xC3\xADvel gravar o arquivo de liga\xC3\xA7\xC3\xB5" "es da sincroniza\xC3\xA7\xC3\xA3o.";
  }
}

Report SyncStore(Store& store, platform::HttpClient& http, const Account& account, const std::string& password) {
  LinkLoad load;
  LinkTable links = LoadLinks(store, &load);
  Exchange exchange = ExchangeWithServer(http, account, password, store.ReadLembretes(0, store.Lembretes.Count),
                                         std::move(links), MinutesOf(CurrentMinute()), NowUtcSeconds());
  ApplyExchange(store, exchange);
  if (load == LinkLoad::Damaged)
    exchange.report.warnings.insert(exchange.report.warnings.begin(),
                                    "O arquivo de liga\xC3\xA7\xC3\xB5" "es da sincroniza\xC3\xA7\xC3\xA3o estava danificado: os "
                                    "lembretes foram ligados de novo pelo conte\xC3\xBA" "do.");
  return exchange.report;
}

Report CheckAccount(platform::HttpClient& http, const std::string& address, const std::string& user,
                    const std::string& password, Account* account) {
  Report report;
  DavClient dav(http, user, password);
  DavError error;
  auto calendar = dav.FindCalendar(address, kCalendarName, &error);
  if (!calendar) {
    report.outcome = error.outcome;
    report.message = error.message;
    return report;
  }
  // The calendar must answer with this password too (a public calendar home
  // may have let the search through).
  if (!dav.List(*calendar, "", &error)) {
    report.outcome = error.outcome;
    report.message = error.message;
    return report;
  }
  *account = Account{address, user, *calendar};
  return report;
}

}  // namespace tavo::sync
