// The server password on Windows, in the Credential Manager: a generic
// credential named "Quelvo:<user>@<address>", kept for this user on this
// machine (it does not roam with the profile). The password is stored as
// UTF-16 without a terminating zero, as Windows' own dialogs store generic
// passwords, so the Credential Manager shows and edits it as text.

#include <windows.h>
#include <wincred.h>

#include <cstring>

#include "platform/credentials.h"
#include "platform/win32/utf16.h"

namespace tavo::platform {
namespace {

std::wstring TargetName(const std::string& address, const std::string& user) {
  return Utf16("Quelvo:" + user + "@" + address);
}

CredentialResult ResultOf(DWORD error) {
  return error == ERROR_NOT_FOUND ? CredentialResult::NotFound : CredentialResult::Unavailable;
}

class WinCredentials : public CredentialStore {
 public:
  CredentialResult Save(const std::string& address, const std::string& user, const std::string& password) override {
    std::wstring target = TargetName(address, user);
    std::wstring user_name = Utf16(user);
    std::wstring secret = Utf16(password);
    CREDENTIALW credential{};
    credential.Type = CRED_TYPE_GENERIC;
    credential.TargetName = target.data();
    credential.UserName = user_name.data();
    credential.CredentialBlobSize = static_cast<DWORD>(secret.size() * sizeof(wchar_t));
    credential.CredentialBlob = secret.empty() ? nullptr : reinterpret_cast<LPBYTE>(secret.data());
    credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
    const bool written = ::CredWriteW(&credential, 0);
    const DWORD error = ::GetLastError();
    ::SecureZeroMemory(secret.data(), secret.size() * sizeof(wchar_t));
    return written ? CredentialResult::Done : ResultOf(error);
  }

  CredentialResult Load(const std::string& address, const std::string& user, std::string* password) override {
    PCREDENTIALW credential = nullptr;
    if (!::CredReadW(TargetName(address, user).c_str(), CRED_TYPE_GENERIC, 0, &credential))
      return ResultOf(::GetLastError());
    // A stray odd byte (a blob written by another program) is dropped.
    std::wstring secret(credential->CredentialBlobSize / sizeof(wchar_t), L'\0');
    if (!secret.empty()) std::memcpy(secret.data(), credential->CredentialBlob, secret.size() * sizeof(wchar_t));
    ::SecureZeroMemory(credential->CredentialBlob, credential->CredentialBlobSize);
    ::CredFree(credential);
    *password = Utf8(secret);
    ::SecureZeroMemory(secret.data(), secret.size() * sizeof(wchar_t));
    return CredentialResult::Done;
  }

  CredentialResult Erase(const std::string& address, const std::string& user) override {
    if (!::CredDeleteW(TargetName(address, user).c_str(), CRED_TYPE_GENERIC, 0)) return ResultOf(::GetLastError());
    return CredentialResult::Done;
  }
};

}  // namespace

CredentialStore& SystemCredentials() {
  static WinCredentials store;
  return store;
}

}  // namespace tavo::platform
