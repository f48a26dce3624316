#include "platform/posix/regedit_registry.h"

#include <sys/stat.h>

#include <cstdio>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "platform/file_system.h"

namespace tavo::platform {
namespace {

constexpr const char* kRoot = "HKEY_CURRENT_USER\\";

std::string Unquote(const std::string& s, size_t* pos) {
  // *pos is at the opening quote; returns the unescaped text and leaves *pos after the closing one.
  std::string out;
  size_t i = *pos + 1;
  for (; i < s.size() && s[i] != '"'; ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) ++i;
    out += s[i];
  }
  *pos = i < s.size() ? i + 1 : std::string::npos;
  return out;
}

std::string Quote(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

bool ParseHexBytes(const std::string& s, std::vector<uint8_t>* out) {
  std::string digits;
  for (char c : s) {
    if (c == ',' || c == ' ' || c == '\\' || c == '\r' || c == '\n' || c == '\t') {
      if (!digits.empty()) {
        if (digits.size() > 2) return false;
        out->push_back(static_cast<uint8_t>(std::strtoul(digits.c_str(), nullptr, 16)));
        digits.clear();
      }
      continue;
    }
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    digits += c;
  }
  if (!digits.empty()) {
    if (digits.size() > 2) return false;
    out->push_back(static_cast<uint8_t>(std::strtoul(digits.c_str(), nullptr, 16)));
  }
  return true;
}

bool ParseData(const std::string& data, RegValue* value) {
  if (!data.empty() && data[0] == '"') {
    size_t pos = 0;
    const std::string text = Unquote(data, &pos);
    *value = RegValue::String(text);
    return true;
  }
  if (data.rfind("dword:", 0) == 0) {
    const std::string digits = data.substr(6);
    if (digits.empty() || digits.size() > 8) return false;
    for (char c : digits)
      if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    *value = RegValue::Dword(static_cast<uint32_t>(std::strtoul(digits.c_str(), nullptr, 16)));
    return true;
  }
  if (data.rfind("hex", 0) == 0) {
    uint32_t type = kRegBinary;
    size_t colon = data.find(':');
    if (colon == std::string::npos) return false;
    if (data.size() > 3 && data[3] == '(') {
      const size_t close = data.find(')');
      if (close == std::string::npos || close > colon) return false;
      type = static_cast<uint32_t>(std::strtoul(data.substr(4, close - 4).c_str(), nullptr, 16));
    }
    value->Type = type;
    value->Data.clear();
    return ParseHexBytes(data.substr(colon + 1), &value->Data);
  }
  return false;
}

std::string FormatData(const RegValue& v) {
  if (v.Type == kRegDword && v.Data.size() == 4) {
    const uint32_t d = v.Data[0] | v.Data[1] << 8 | v.Data[2] << 16 | static_cast<uint32_t>(v.Data[3]) << 24;
    char buf[20];
    std::snprintf(buf, sizeof buf, "dword:%08x", d);
    return buf;
  }
  if (v.Type == kRegSz && !v.Data.empty() && v.Data.back() == 0) {
    const std::string text(v.Data.begin(), v.Data.end() - 1);
    if (text.find_first_of(std::string("\0\r\n", 3)) == std::string::npos) return Quote(text);
  }
  std::string out = v.Type == kRegBinary ? "hex:" : "hex(" + std::to_string(v.Type) + "):";
  char buf[4];
  for (size_t i = 0; i < v.Data.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02x", v.Data[i]);
    if (i) out += ',';
    out += buf;
  }
  return out;
}

class FileKey : public RegistryKey {
 public:
  FileKey(std::string file, std::string key) : file_(std::move(file)), key_(std::move(key)) {}

  std::optional<RegValue> Query(const std::string& name) override {
    const RegKeys keys = Load();
    auto k = keys.find(key_);
    if (k == keys.end()) return std::nullopt;
    auto v = k->second.find(name);
    if (v == k->second.end()) return std::nullopt;
    return v->second;
  }

  bool Set(const std::string& name, const RegValue& value) override {
    RegKeys keys = Load();
    keys[key_][name] = value;
    return Save(keys);
  }

  bool Remove(const std::string& name) override {
    RegKeys keys = Load();
    if (keys[key_].erase(name) == 0) return false;
    return Save(keys);
  }

  RegKeys Load() const {
    std::string text;
    if (!ReadWholeFile(RealFileSystem(), file_, &text)) return {};
    return ParseRegedit(text);
  }

  bool Save(const RegKeys& keys) const {
    const std::string text = FormatRegedit(keys);
    const std::string tmp = file_ + ".tmp";
    auto f = RealFileSystem().Open(tmp, OpenMode::Create);
    if (!f || !f->Write(text.data(), text.size()) || !f->Sync() || !f->Close()) {
      RealFileSystem().Delete(tmp);
      return false;
    }
    return RealFileSystem().ReplaceAtomic(tmp, file_);
  }

 private:
  std::string file_;
  std::string key_;
};

bool MakeFolders(const std::string& file) {
  for (size_t pos = file.find('/', 1); pos != std::string::npos; pos = file.find('/', pos + 1)) {
    const std::string folder = file.substr(0, pos);
    if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  return true;
}

}  // namespace

RegKeys ParseRegedit(const std::string& text) {
  RegKeys keys;
  std::istringstream in(text);
  std::string line, current;
  bool in_key = false;
  while (std::getline(in, line)) {
    // A trailing backslash continues a hex value on the next line.
    while (!line.empty() && (line.back() == '\r')) line.pop_back();
    while (!line.empty() && line.back() == '\\') {
      std::string next;
      if (!std::getline(in, next)) break;
      line.pop_back();
      while (!next.empty() && next.back() == '\r') next.pop_back();
      line += next;
    }
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const size_t close = line.rfind(']');
      std::string name = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
      in_key = name.rfind(kRoot, 0) == 0;
      if (in_key) {
        current = name.substr(std::string(kRoot).size());
        keys[current];
      }
      continue;
    }
    if (!in_key || line[0] != '"') continue;
    size_t pos = 0;
    const std::string name = Unquote(line, &pos);
    if (pos == std::string::npos || pos >= line.size() || line[pos] != '=') continue;
    RegValue value;
    if (ParseData(line.substr(pos + 1), &value)) keys[current][name] = value;
  }
  return keys;
}

std::string FormatRegedit(const RegKeys& keys) {
  std::string out = "REGEDIT4\r\n";
  for (const auto& [key, values] : keys) {
    out += "\r\n[" + std::string(kRoot) + key + "]\r\n";
    for (const auto& [name, value] : values) out += Quote(name) + "=" + FormatData(value) + "\r\n";
  }
  return out;
}

std::unique_ptr<RegistryKey> RegeditFileRegistry::OpenKey(const std::string& path, bool create) {
  auto key = std::make_unique<FileKey>(path_, path);
  RegKeys keys = key->Load();
  if (keys.count(path)) return key;
  if (!create) return nullptr;
  if (!MakeFolders(path_)) return nullptr;
  keys[path];
  if (!key->Save(keys)) return nullptr;
  return key;
}

std::string DefaultRegistryFilePath() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = std::string(home) + "/.config";
  } else {
    base = "/tmp";
  }
  return base + "/Orvane/Quelvo3.reg";
}

Registry& RealRegistry() {
  static RegeditFileRegistry registry(DefaultRegistryFilePath());
  return registry;
}

}  // namespace tavo::platform
