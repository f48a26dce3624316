// CredentialStore over the Secret Service (GNOME Keyring, KWallet) through
// libsecret. Without a reachable service (no desktop session, no D-Bus)
// every call reports Unavailable at once.

#include <libsecret/secret.h>

#include <cstdlib>

#include "platform/credentials.h"

namespace tavo::platform {
namespace {

const SecretSchema* Schema() {
  static const SecretSchema schema = {
      "br.com.orvane.Quelvo.Sincronizacao",
      SECRET_SCHEMA_NONE,
      {{"endereco", SECRET_SCHEMA_ATTRIBUTE_STRING}, {"usuario", SECRET_SCHEMA_ATTRIBUTE_STRING}, {nullptr, {}}},
      0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
  return &schema;
}

// No session bus: libsecret would try to start one, which can hang or spawn
// daemons on a machine without a desktop.
bool BusReachable() {
  const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  return bus && *bus;
}

class SecretCredentials : public CredentialStore {
 public:
  CredentialResult Save(const std::string& address, const std::string& user, const std::string& password) override {
    if (!BusReachable()) return CredentialResult::Unavailable;
    GError* error = nullptr;
    const std::string label = "Quelvo: " + user + " em " + address;
    const gboolean ok = secret_password_store_sync(Schema(), SECRET_COLLECTION_DEFAULT, label.c_str(), password.c_str(),
                                                   nullptr, &error, "endereco", address.c_str(), "usuario", user.c_str(),
                                                   nullptr);
    if (error) g_error_free(error);
    return ok ? CredentialResult::Done : CredentialResult::Unavailable;
  }

  CredentialResult Load(const std::string& address, const std::string& user, std::string* password) override {
    if (!BusReachable()) return CredentialResult::Unavailable;
    GError* error = nullptr;
    gchar* found = secret_password_lookup_sync(Schema(), nullptr, &error, "endereco", address.c_str(), "usuario",
                                               user.c_str(), nullptr);
    if (error) {
      g_error_free(error);
      return CredentialResult::Unavailable;
    }
    if (!found) return CredentialResult::NotFound;
    *password = found;
    secret_password_free(found);
    return CredentialResult::Done;
  }

  CredentialResult Erase(const std::string& address, const std::string& user) override {
    if (!BusReachable()) return CredentialResult::Unavailable;
    GError* error = nullptr;
    const gboolean removed = secret_password_clear_sync(Schema(), nullptr, &error, "endereco", address.c_str(),
                                                        "usuario", user.c_str(), nullptr);
    if (error) {
      g_error_free(error);
      return CredentialResult::Unavailable;
    }
    return removed ? CredentialResult::Done : CredentialResult::NotFound;
  }
};

}  // namespace

CredentialStore& SystemCredentials() {
  static SecretCredentials store;
  return store;
}

}  // namespace tavo::platform
