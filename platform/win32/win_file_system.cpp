// The file system on Windows, through the wide Win32 calls: paths are UTF-8 in
// the program and UTF-16 at the system, so any folder name works.

#include <windows.h>

#include <cctype>

#include "platform/file_system.h"
#include "platform/win32/utf16.h"

namespace tavo::platform {
namespace {

class WinFile : public File {
 public:
  explicit WinFile(HANDLE h) : h_(h) {}
  ~WinFile() override { Close(); }

  bool Read(void* buffer, size_t n, size_t* got) override {
    *got = 0;
    if (h_ == INVALID_HANDLE_VALUE) return false;
    auto* out = static_cast<char*>(buffer);
    while (*got < n) {
      const DWORD want = static_cast<DWORD>(n - *got > 0x40000000 ? 0x40000000 : n - *got);
      DWORD r = 0;
      if (!::ReadFile(h_, out + *got, want, &r, nullptr)) return false;
      if (r == 0) break;  // end of file
      *got += r;
    }
    return true;
  }

  bool Write(const void* buffer, size_t n) override {
    if (h_ == INVALID_HANDLE_VALUE) return false;
    const auto* in = static_cast<const char*>(buffer);
    size_t done = 0;
    while (done < n) {
      const DWORD want = static_cast<DWORD>(n - done > 0x40000000 ? 0x40000000 : n - done);
      DWORD w = 0;
      if (!::WriteFile(h_, in + done, want, &w, nullptr) || w == 0) return false;
      done += w;
    }
    return true;
  }

  bool Seek(int64_t offset) override {
    if (offset < 0) return false;
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return ::SetFilePointerEx(h_, to, nullptr, FILE_BEGIN) != 0;
  }

  bool SeekToEnd() override {
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    return ::SetFilePointerEx(h_, zero, nullptr, FILE_END) != 0;
  }

  bool Size(int64_t* size) override {
    LARGE_INTEGER s;
    if (!::GetFileSizeEx(h_, &s)) return false;
    *size = s.QuadPart;
    return true;
  }

  bool Truncate(int64_t size) override {
    // SetEndOfFile cuts at the current position; the caller's position is kept, as ftruncate keeps it.
    if (size < 0) return false;
    LARGE_INTEGER zero, here, to;
    zero.QuadPart = 0;
    to.QuadPart = size;
    if (!::SetFilePointerEx(h_, zero, &here, FILE_CURRENT)) return false;
    if (!::SetFilePointerEx(h_, to, nullptr, FILE_BEGIN)) return false;
    const bool ok = ::SetEndOfFile(h_) != 0;
    return ::SetFilePointerEx(h_, here, nullptr, FILE_BEGIN) != 0 && ok;
  }

  bool Sync() override { return ::FlushFileBuffers(h_) != 0; }

  bool Close() override {
    if (h_ == INVALID_HANDLE_VALUE) return false;
    const bool ok = ::CloseHandle(h_) != 0;
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

bool EndsWithNoCase(const std::string& name, const std::string& suffix) {
  if (name.size() <= suffix.size()) return false;
  const size_t start = name.size() - suffix.size();
  for (size_t i = 0; i < suffix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(name[start + i])) !=
        std::tolower(static_cast<unsigned char>(suffix[i])))
      return false;
  }
  return true;
}

class WinFileSystem : public FileSystem {
 public:
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override {
    DWORD access = GENERIC_READ;
    // Readers and updaters let the other copy of the program read and write meanwhile;
    // a file being created is the program's alone until it is closed.
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    DWORD disposition = OPEN_EXISTING;
    switch (mode) {
      case OpenMode::Read: break;
      case OpenMode::Update: access |= GENERIC_WRITE; break;
      case OpenMode::Create:
        access |= GENERIC_WRITE;
        share = 0;
        disposition = CREATE_ALWAYS;
        break;
    }
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder cannot be opened, so only files come back.
    HANDLE h = ::CreateFileW(Utf16(path).c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<WinFile>(h);
  }

  bool Exists(const std::string& path) override { return ::GetFileAttributesW(Utf16(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

  bool FileSize(const std::string& path, int64_t* size) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(Utf16(path).c_str(), GetFileExInfoStandard, &data)) return false;
    *size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
  }

  bool Delete(const std::string& path) override { return ::DeleteFileW(Utf16(path).c_str()) != 0; }

  bool RenameNoReplace(const std::string& from, const std::string& to) override {
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the target exists.
    return ::MoveFileExW(Utf16(from).c_str(), Utf16(to).c_str(), 0) != 0;
  }

  bool ReplaceAtomic(const std::string& from, const std::string& to) override {
    return ::MoveFileExW(Utf16(from).c_str(), Utf16(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }

  std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix) override {
    std::vector<std::string> names;
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAW found;
    HANDLE h = ::FindFirstFileW(Utf16(pattern).c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      const std::string name = Utf8(found.cFileName);
      if (EndsWithNoCase(name, suffix)) names.push_back(name);
    } while (::FindNextFileW(h, &found));
    ::FindClose(h);
    return names;
  }
};

}  // namespace

FileSystem& RealFileSystem() {
  static WinFileSystem fs;
  return fs;
}

}  // namespace tavo::platform
