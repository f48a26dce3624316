// The file system on POSIX systems (Linux).

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "platform/file_system.h"

namespace tavo::platform {
namespace {

class PosixFile : public File {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { Close(); }

  bool Read(void* buffer, size_t n, size_t* got) override {
    *got = 0;
    auto* out = static_cast<char*>(buffer);
    while (*got < n) {
      const ssize_t r = ::read(fd_, out + *got, n - *got);
      if (r < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      if (r == 0) break;
      *got += static_cast<size_t>(r);
    }
    return fd_ >= 0;
  }

  bool Write(const void* buffer, size_t n) override {
    const auto* in = static_cast<const char*>(buffer);
    size_t done = 0;
    while (done < n) {
      const ssize_t w = ::write(fd_, in + done, n - done);
      if (w < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      done += static_cast<size_t>(w);
    }
    return fd_ >= 0;
  }

  bool Seek(int64_t offset) override { return offset >= 0 && ::lseek(fd_, offset, SEEK_SET) == offset; }
  bool SeekToEnd() override { return ::lseek(fd_, 0, SEEK_END) >= 0; }

  bool Size(int64_t* size) override {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return false;
    *size = st.st_size;
    return true;
  }

  bool Truncate(int64_t size) override { return size >= 0 && ::ftruncate(fd_, size) == 0; }
  bool Sync() override { return ::fdatasync(fd_) == 0; }

  bool Close() override {
    if (fd_ < 0) return false;
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0;
  }

 private:
  int fd_;
};

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

class PosixFileSystem : public FileSystem {
 public:
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override {
    int flags = O_CLOEXEC;
    switch (mode) {
      case OpenMode::Read: flags |= O_RDONLY; break;
      case OpenMode::Update: flags |= O_RDWR; break;
      case OpenMode::Create: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    }
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      ::close(fd);
      return nullptr;
    }
    return std::make_unique<PosixFile>(fd);
  }

  bool Exists(const std::string& path) override {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
  }

  bool FileSize(const std::string& path, int64_t* size) override {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    *size = st.st_size;
    return true;
  }

  bool Delete(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

  bool RenameNoReplace(const std::string& from, const std::string& to) override {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // File systems without RENAME_NOREPLACE: link fails when the target exists.
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    return ::unlink(from.c_str()) == 0;
  }

  bool ReplaceAtomic(const std::string& from, const std::string& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0) return false;
    return SyncFolder(FolderOf(to));
  }

  std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix) override {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name.size() <= suffix.size()) continue;
      if (::strcasecmp(name.c_str() + name.size() - suffix.size(), suffix.c_str()) != 0) continue;
      struct stat st {};
      const std::string full = folder + "/" + name;
      if (::stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(name);
    }
    ::closedir(dir);
    return names;
  }
};

}  // namespace

FileSystem& RealFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

}  // namespace tavo::platform
