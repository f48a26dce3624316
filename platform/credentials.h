#pragma once
// The system's store of passwords (Linux: the Secret Service through
// libsecret; Windows: the Credential Manager). The sync keeps the server
// password there and nowhere else.

#include <optional>
#include <string>

namespace tavo::platform {

enum class CredentialResult {
  Done,
  NotFound,     // nothing stored for that account
  Unavailable,  // no credential store is reachable (no desktop session)
};

class CredentialStore {
 public:
  virtual ~CredentialStore() = default;
  // The account is named by the server address and the user name.
  virtual CredentialResult Save(const std::string& address, const std::string& user, const std::string& password) = 0;
  virtual CredentialResult Load(const std::string& address, const std::string& user, std::string* password) = 0;
  virtual CredentialResult Erase(const std::string& address, const std::string& user) = 0;
};

// The operating system's store.
CredentialStore& SystemCredentials();

}  // namespace tavo::platform
