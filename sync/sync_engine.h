#pragma once
// One two-way sync of the store with its calendar, in two phases so that a
// worker thread can do the talking while the GUI thread alone touches the
// store:
//   1. ExchangeWithServer (any thread): reads what changed on the server,
//      writes what changed here, and decides what to change here;
//   2. ApplyExchange (the store's thread): makes those changes through the
//      store's own operations and writes the link file.
// A reminder is matched to its link by how it looked at the last sync (Ids
// change at every load of the store): unchanged first, then by the same
// text, the same minute, the same Id.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/http.h"
#include "store/tavo_data.h"
#include "sync/link_file.h"
#include "sync/sync_account.h"
#include "sync/sync_report.h"

namespace tavo::sync {

// The mark of the other side's version when both changed the same reminder.
inline constexpr const char* kConflictMark = "(conflito) ";

struct LocalChange {
  enum class Kind { Add, Alter, Delete };
  Kind kind = Kind::Add;
  TLembrete before;  // Alter, Delete: the reminder as the exchange saw it
  TLembrete after;   // Add, Alter
  std::string href;  // the server item it comes from
  // The item's link once the change is made (its id then set); none for a
  // Delete, whose link goes.
  std::optional<Link> link;
};

struct Exchange {
  Report report;
  LinkTable links;  // as after the server writes that completed
  std::vector<LocalChange> changes;  // only when the exchange completed
  std::string previous_token;        // the sync token before the exchange
  int requests = 0;
};

// `here`: the store's reminders (with their Ids) when the exchange starts;
// `links`: the link file's table; `now`: the local minute (MinutesOf);
// `stamp_utc`: the DTSTAMP of what is written.
Exchange ExchangeWithServer(platform::HttpClient& http, const Account& account, const std::string& password,
                            const std::vector<TLembrete>& here, LinkTable links, int64_t now, int64_t stamp_utc);

// Makes the exchange's changes here (a change whose reminder was altered
// meanwhile is left for the next sync), counts them and writes the link file.
void ApplyExchange(Store& store, Exchange& exchange);

// The link file of the store, and whether it had to be started afresh
// (missing or damaged: links are found again by content).
LinkTable LoadLinks(Store& store, LinkLoad* load = nullptr);
std::string LinkFilePath(const Store& store);

// Both phases on this thread (quelvo-cli).
Report SyncStore(Store& store, platform::HttpClient& http, const Account& account, const std::string& password);

// Set-up: finds (or makes) the calendar behind `address` with the password,
// which the server must accept. `account` gets the whole set-up on success.
Report CheckAccount(platform::HttpClient& http, const std::string& address, const std::string& user,
                    const std::string& password, Account* account);

}  // namespace tavo::sync
