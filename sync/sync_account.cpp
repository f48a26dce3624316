#include "sync/sync_account.h"

#include <cstdlib>

#include "platform/credentials.h"
#include "platform/registry.h"
#include "store/config.h"

namespace tavo::sync {
namespace {

// Beside the four settings, in a key of its own. Values are UTF-8.
const std::string kKey = std::string(kConfigKey) + "\\Sincronizacao";

std::string Text(platform::RegistryKey& key, const char* name) {
  const auto value = key.Query(name);
  if (!value || value->Type != platform::kRegSz) return {};
  std::string text(value->Data.begin(), value->Data.end());
  return text.substr(0, text.find('\0'));
}

}  // namespace

Account ReadAccount() {
  Account account;
  auto key = platform::Reg().OpenKey(kKey, false);
  if (!key) return account;
  account.address = Text(*key, "Endereco");
  account.user = Text(*key, "Usuario");
  account.calendar = Text(*key, "Agenda");
  // A calendar address that is no http(s) address is no set-up.
  if (account.calendar.rfind("http://", 0) != 0 && account.calendar.rfind("https://", 0) != 0) account.calendar.clear();
  return account;
}

void WriteAccount(const Account& account) {
  auto key = platform::Reg().OpenKey(kKey, true);
  if (!key) return;
  key->Set("Endereco", platform::RegValue::String(account.address));
  key->Set("Usuario", platform::RegValue::String(account.user));
  key->Set("Agenda", platform::RegValue::String(account.calendar));
}

void ForgetAccount() {
  const Account account = ReadAccount();
  if (!account.address.empty() || !account.user.empty())
    platform::SystemCredentials().Erase(account.address, account.user);
  auto key = platform::Reg().OpenKey(kKey, false);
  if (!key) return;
  for (const char* name : {"Endereco", "Usuario", "Agenda"}) key->Remove(name);
}

std::optional<std::string> PasswordOf(const Account& account) {
  if (const char* from_env = std::getenv("QUELVO_SENHA")) return std::string(from_env);
  std::string password;
  if (platform::SystemCredentials().Load(account.address, account.user, &password) == platform::CredentialResult::Done)
    return password;
  return std::nullopt;
}

}  // namespace tavo::sync
