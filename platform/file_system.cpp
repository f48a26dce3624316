#include "platform/file_system.h"

namespace tavo::platform {

bool ReadWholeFile(FileSystem& fs, const std::string& path, std::string* content) {
  auto file = fs.Open(path, OpenMode::Read);
  if (!file) return false;
  int64_t size = 0;
  if (!file->Size(&size) || size < 0) return false;
  content->assign(static_cast<size_t>(size), '\0');
  size_t got = 0;
  if (size > 0 && !file->Read(content->data(), content->size(), &got)) return false;
  content->resize(got);
  return file->Close();
}

}  // namespace tavo::platform
