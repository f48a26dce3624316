#pragma once
// Files as the store needs them. Every method reports failure by its result;
// nothing throws except a test double that simulates a power cut.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tavo::platform {

// Opening modes of the data files.
enum class OpenMode {
  Read,    // existing file, reading; others may read and write meanwhile
  Update,  // existing file, reading and writing, positioned at its start
  Create,  // create or empty the file, reading and writing, not shared
};

class File {
 public:
  virtual ~File() = default;
  // Reads up to n bytes at the current position; stores the count in *got.
  // Returns false only on an error (reaching the end is not one).
  virtual bool Read(void* buffer, size_t n, size_t* got) = 0;
  // Writes all n bytes at the current position; false if not all were written.
  virtual bool Write(const void* buffer, size_t n) = 0;
  // Moves the position to an absolute offset.
  virtual bool Seek(int64_t offset) = 0;
  // Moves the position to the end of the file.
  virtual bool SeekToEnd() = 0;
  virtual bool Size(int64_t* size) = 0;
  // Cuts (or extends with zeros) the file to the given size.
  virtual bool Truncate(int64_t size) = 0;
  // Flushes the file's data to the disk.
  virtual bool Sync() = 0;
  // Closes the file; further calls fail. The destructor closes too.
  virtual bool Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Opens the file in the given mode; nullptr on failure.
  virtual std::unique_ptr<File> Open(const std::string& path, OpenMode mode) = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual bool FileSize(const std::string& path, int64_t* size) = 0;
  // Deletes a file; false when it could not be deleted or did not exist.
  virtual bool Delete(const std::string& path) = 0;
  // Renames a file; fails (and changes nothing) when the target exists.
  virtual bool RenameNoReplace(const std::string& from, const std::string& to) = 0;
  // Renames a file over an existing one in a single step and makes the
  // change durable: afterwards `to` holds either the old or the new content.
  virtual bool ReplaceAtomic(const std::string& from, const std::string& to) = 0;
  // Names (without folder) of the regular files in a folder whose name ends
  // in `suffix`, compared without regard to ASCII case; unsorted.
  virtual std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix) = 0;
};

// The machine's real file system (what RealPlatform() offers).
FileSystem& RealFileSystem();

// The file system the program uses: System().Files() (platform.h).
FileSystem& Files();

// Reads a whole file; false if it cannot be opened or read.
bool ReadWholeFile(FileSystem& fs, const std::string& path, std::string* content);

// Forwards every call to another file system, so that a test double can
// override only what it wants to break.
class FileSystemWrapper : public FileSystem {
 public:
  explicit FileSystemWrapper(FileSystem& target) : target_(target) {}
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode) override { return target_.Open(path, mode); }
  bool Exists(const std::string& path) override { return target_.Exists(path); }
  bool FileSize(const std::string& path, int64_t* size) override { return target_.FileSize(path, size); }
  bool Delete(const std::string& path) override { return target_.Delete(path); }
  bool RenameNoReplace(const std::string& from, const std::string& to) override {
    return target_.RenameNoReplace(from, to);
  }
  bool ReplaceAtomic(const std::string& from, const std::string& to) override {
    return target_.ReplaceAtomic(from, to);
  }
  std::vector<std::string> ListFiles(const std::string& folder, const std::string& suffix) override {
    return target_.ListFiles(folder, suffix);
  }

 protected:
  FileSystem& target_;
};

}  // namespace tavo::platform
