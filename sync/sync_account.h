#pragma once
// The sync set-up: the server address and user in the settings (registry
// key kConfigKey\Sincronizacao), the password in the system's credential
// store or, for scripts, in QUELVO_SENHA.

#include <optional>
#include <string>

namespace tavo::sync {

struct Account {
  std::string address;   // as the user typed it
  std::string user;
  std::string calendar;  // the calendar collection found at set-up (absolute URL)
  bool IsSet() const { return !calendar.empty(); }
};

Account ReadAccount();
void WriteAccount(const Account& account);
// Removes the set-up and its stored password.
void ForgetAccount();

// QUELVO_SENHA when set, else the credential store's password; nothing when
// neither has one.
std::optional<std::string> PasswordOf(const Account& account);

}  // namespace tavo::sync
