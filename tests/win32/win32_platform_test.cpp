// The Win32 platform layer against the real system calls (run under Wine or on Windows).

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/locale_date.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/win32/utf16.h"
#include "store/backup.h"
#include "store/config.h"
#include "tests/core/support/store_fixture.h"

namespace tavo {
namespace {

using platform::OpenMode;
using platform::RegValue;

// A key of its own, removed afterwards, so the user's settings are not touched.
constexpr const char* kTestKey = "Software\\Orvane\\Quelvo3-test";

std::string ThisExe() {
  char buf[MAX_PATH * 4];
  const DWORD n = ::GetModuleFileNameA(nullptr, buf, sizeof buf);
  return std::string(buf, n);
}

// Runs this program again with one argument; its exit code, or -1.
int RunChild(const std::string& argument) {
  std::string command = "\"" + ThisExe() + "\" " + argument;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
  ::WaitForSingleObject(pi.hProcess, 30000);
  DWORD code = 0;
  const bool ok = ::GetExitCodeProcess(pi.hProcess, &code);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  return ok ? static_cast<int>(code) : -1;
}

std::string LockName() { return "Orvane_Quelvo_test_" + std::to_string(::GetCurrentProcessId()); }

// ---- Registry ----

class WinRegistry : public ::testing::Test {
 protected:
  void SetUp() override { ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey); }
  void TearDown() override { ::RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey); }
  platform::Registry& reg = platform::RealRegistry();
};

TEST_F(WinRegistry, EveryValueTypeComesBackWithItsTypeAndBytes) {
  EXPECT_EQ(reg.OpenKey(kTestKey, false), nullptr);
  {
    auto key = reg.OpenKey(kTestKey, true);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(key->Set("Dword", RegValue::Dword(0xFF8040)));
    EXPECT_TRUE(key->Set("Sz", RegValue::String("C:\\Sons\\gongo.wav")));
    EXPECT_TRUE(key->Set("Expand", RegValue::String("%WINDIR%\\a.wav", platform::kRegExpandSz)));
    EXPECT_TRUE(key->Set("Binary", RegValue{platform::kRegBinary, {0, 1, 0xFF}}));
    EXPECT_TRUE(key->Set("Short", RegValue{platform::kRegDword, {1, 2}}));
    EXPECT_TRUE(key->Set("NoZero", RegValue{platform::kRegSz, {'a', 'b'}}));
    EXPECT_TRUE(key->Set("Empty", RegValue{platform::kRegSz, {}}));
  }
  auto key = reg.OpenKey(kTestKey, false);
  ASSERT_NE(key, nullptr);
  struct Case {
    const char* name;
    RegValue value;
  };
  const Case cases[] = {
      {"Dword", RegValue::Dword(0xFF8040)},
      {"Sz", RegValue::String("C:\\Sons\\gongo.wav")},
      {"Expand", RegValue::String("%WINDIR%\\a.wav", platform::kRegExpandSz)},
      {"Binary", RegValue{platform::kRegBinary, {0, 1, 0xFF}}},
      {"Short", RegValue{platform::kRegDword, {1, 2}}},  // a damaged DWORD is kept as it is
      {"NoZero", RegValue{platform::kRegSz, {'a', 'b'}}},
      {"Empty", RegValue{platform::kRegSz, {}}},
  };
  for (const Case& c : cases) {
    auto got = key->Query(c.name);
    ASSERT_TRUE(got.has_value()) << c.name;
    EXPECT_EQ(got->Type, c.value.Type) << c.name;
    EXPECT_EQ(got->Data, c.value.Data) << c.name;
  }
  EXPECT_FALSE(key->Query("Missing").has_value());
  EXPECT_TRUE(key->Remove("Dword"));
  EXPECT_FALSE(key->Remove("Dword"));
  EXPECT_FALSE(reg.OpenKey(kTestKey, false)->Query("Dword").has_value());
}

TEST_F(WinRegistry, ALongStringIsReadWhole) {
  const std::string text(5000, 'x');
  ASSERT_TRUE(reg.OpenKey(kTestKey, true)->Set("Long", RegValue::String(text)));
  EXPECT_EQ(reg.OpenKey(kTestKey, false)->Query("Long")->Data, RegValue::String(text).Data);
}

// The settings read through the real registry: each damaged value falls back by itself.
class WinSettings : public test_support::StoreFixture {
 protected:
  void SetUp() override {
    StoreFixture::SetUp();
    platform::SetRegistryForTesting(nullptr);
    // The program's own key is used; what the user had there is put back afterwards.
    for (const char* name : kNames) saved_[name] = Key()->Query(name);
  }
  void TearDown() override {
    bool any = false;
    auto key = Key();
    for (const char* name : kNames) {
      if (saved_[name]) key->Set(name, *saved_[name]), any = true;
      else key->Remove(name);
    }
    key.reset();
    // A key that held nothing before the test is not left behind: its mere presence changes the defaults.
    if (!any) ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Orvane\\Quelvo3");
    StoreFixture::TearDown();
  }
  std::unique_ptr<platform::RegistryKey> Key() { return platform::RealRegistry().OpenKey(kConfigKey, true); }
  static constexpr const char* kNames[] = {"FrontColor", "BackColor", "WaveFile", "ShowInfo"};
  std::map<std::string, std::optional<RegValue>> saved_;
};

TEST_F(WinSettings, DamagedValuesFallBackOneByOneAndWritesKeepTheTypes) {
  auto key = Key();
  ASSERT_NE(key, nullptr);
  ASSERT_TRUE(key->Set("FrontColor", RegValue::String("255")));       // wrong type
  ASSERT_TRUE(key->Set("BackColor", RegValue::Dword(0xFF00)));
  ASSERT_TRUE(key->Set("WaveFile", RegValue::Dword(1)));              // wrong type
  ASSERT_TRUE(key->Set("ShowInfo", RegValue{platform::kRegDword, {0, 0}}));  // too short
  Reopen();
  EXPECT_EQ(Config.FrontColor, 0);
  EXPECT_EQ(Config.BackColor, 0xFF00);
  EXPECT_EQ(Config.WaveFile, folder.Path() + "dados\\sons\\gongo.wav");
  EXPECT_TRUE(Config.ShowInfo);

  TConfig c;
  c.FrontColor = 0x123456;
  c.BackColor = 65535;
  c.WaveFile = "C:\\x\\y.wav";
  c.ShowInfo = false;
  WriteConfig(c);
  EXPECT_EQ(key->Query("FrontColor")->Type, platform::kRegDword);
  EXPECT_EQ(key->Query("FrontColor")->Data, RegValue::Dword(0x123456).Data);
  EXPECT_EQ(key->Query("WaveFile")->Type, platform::kRegSz);
  EXPECT_EQ(key->Query("WaveFile")->Data, RegValue::String("C:\\x\\y.wav").Data);
  EXPECT_EQ(key->Query("ShowInfo")->Data, RegValue::Dword(0).Data);
  Reopen();
  EXPECT_EQ(Config.FrontColor, 0x123456);
  EXPECT_EQ(Config.WaveFile, "C:\\x\\y.wav");
  EXPECT_FALSE(Config.ShowInfo);
}

TEST_F(WinSettings, ASoundPathWithAccentsIsStoredAsUtf16AndReadBack) {
  TConfig c;
  c.WaveFile = "C:\\M\xC3\xBAsica\\can\xC3\xA7\xC3\xA3o.wav";  // C:\Música\canção.wav
  WriteConfig(c);
  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Orvane\\Quelvo3", 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  wchar_t text[64] = {};
  DWORD type = 0, size = sizeof text;
  EXPECT_EQ(::RegQueryValueExW(key, L"WaveFile", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  ::RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::wstring(text), L"C:\\M\u00FAsica\\can\u00E7\u00E3o.wav");
  EXPECT_EQ(size, (std::wstring(text).size() + 1) * sizeof(wchar_t));  // with its terminating zero
  Reopen();
  EXPECT_EQ(Config.WaveFile, c.WaveFile);
}

// ---- Named mutex ----

TEST(WinInstanceLock, HeldUntilReleasedAndSeenByAnotherProcess) {
  const std::string name = LockName();
  EXPECT_FALSE(platform::InstanceLockHeld(name));
  EXPECT_EQ(RunChild("--lock-held " + name), 0);
  {
    auto lock = platform::AcquireInstanceLock(name);
    ASSERT_NE(lock, nullptr);
    EXPECT_TRUE(platform::InstanceLockHeld(name));
    EXPECT_EQ(platform::AcquireInstanceLock(name), nullptr);
    EXPECT_EQ(RunChild("--lock-held " + name), 1);
    EXPECT_EQ(RunChild("--lock-take " + name), 1);  // the other process is refused
  }
  EXPECT_FALSE(platform::InstanceLockHeld(name));
  EXPECT_EQ(RunChild("--lock-take " + name), 0);
}

TEST(WinInstanceLock, ReleasedWhenTheHoldingProcessEnds) {
  const std::string name = LockName() + "_ended";
  // The child takes the lock and exits without letting it go.
  EXPECT_EQ(RunChild("--lock-take-and-exit " + name), 0);
  EXPECT_FALSE(platform::InstanceLockHeld(name));
  EXPECT_NE(platform::AcquireInstanceLock(name), nullptr);
}

// ---- Files ----

class WinFiles : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return folder.Path() + name; }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string Content(const std::string& name) {
    std::string s;
    EXPECT_TRUE(platform::ReadWholeFile(fs, Path(name), &s));
    return s;
  }
  test_support::TempFolder folder;
  platform::FileSystem& fs = platform::RealFileSystem();
};

TEST_F(WinFiles, SharingOfTheThreeModes) {
  Write("a.dat", "abc");
  auto reader = fs.Open(Path("a.dat"), OpenMode::Read);
  ASSERT_NE(reader, nullptr);
  auto updater = fs.Open(Path("a.dat"), OpenMode::Update);  // readers and updaters share
  ASSERT_NE(updater, nullptr);
  EXPECT_NE(fs.Open(Path("a.dat"), OpenMode::Read), nullptr);
  EXPECT_EQ(fs.Open(Path("a.dat"), OpenMode::Create), nullptr);  // creating needs it alone
  EXPECT_FALSE(reader->Write("x", 1));
  reader.reset();
  updater.reset();

  auto created = fs.Open(Path("a.dat"), OpenMode::Create);
  ASSERT_NE(created, nullptr);
  int64_t size = -1;
  EXPECT_TRUE(created->Size(&size));
  EXPECT_EQ(size, 0);  // emptied
  EXPECT_EQ(fs.Open(Path("a.dat"), OpenMode::Read), nullptr);
  EXPECT_EQ(fs.Open(Path("a.dat"), OpenMode::Update), nullptr);
  created.reset();
  EXPECT_NE(fs.Open(Path("a.dat"), OpenMode::Read), nullptr);

  EXPECT_EQ(fs.Open(Path("none.dat"), OpenMode::Read), nullptr);
  EXPECT_EQ(fs.Open(Path("none.dat"), OpenMode::Update), nullptr);
  EXPECT_FALSE(fs.Exists(Path("none.dat")));
  std::filesystem::create_directory(Path("pasta"));
  EXPECT_EQ(fs.Open(Path("pasta"), OpenMode::Read), nullptr);  // a folder is no file
}

TEST_F(WinFiles, ReadWriteSeekTruncateKeepThePosition) {
  auto f = fs.Open(Path("b.dat"), OpenMode::Create);
  ASSERT_NE(f, nullptr);
  ASSERT_TRUE(f->Write("0123456789", 10));
  ASSERT_TRUE(f->Seek(8));
  ASSERT_TRUE(f->Truncate(4));  // the position stays at 8
  ASSERT_TRUE(f->Write("Z", 1));
  int64_t size = 0;
  ASSERT_TRUE(f->Size(&size));
  EXPECT_EQ(size, 9);
  ASSERT_TRUE(f->Seek(0));
  char buf[16];
  size_t got = 0;
  ASSERT_TRUE(f->Read(buf, sizeof buf, &got));  // reading past the end is no error
  EXPECT_EQ(std::string(buf, got), std::string("0123\0\0\0\0Z", 9));
  ASSERT_TRUE(f->SeekToEnd());
  ASSERT_TRUE(f->Read(buf, 4, &got));
  EXPECT_EQ(got, 0u);
  EXPECT_FALSE(f->Seek(-1));
  EXPECT_TRUE(f->Sync());
  EXPECT_TRUE(f->Close());
  EXPECT_FALSE(f->Close());
  EXPECT_FALSE(f->Write("x", 1));
}

TEST_F(WinFiles, RenameNoReplaceFailsOnAnExistingTargetAndReplaceAtomicOverwrites) {
  Write("novo.tmp", "novo");
  Write("alvo.idx", "velho");
  EXPECT_FALSE(fs.RenameNoReplace(Path("novo.tmp"), Path("alvo.idx")));
  EXPECT_EQ(Content("alvo.idx"), "velho");
  EXPECT_EQ(Content("novo.tmp"), "novo");
  EXPECT_TRUE(fs.ReplaceAtomic(Path("novo.tmp"), Path("alvo.idx")));
  EXPECT_EQ(Content("alvo.idx"), "novo");
  EXPECT_FALSE(fs.Exists(Path("novo.tmp")));
  EXPECT_TRUE(fs.RenameNoReplace(Path("alvo.idx"), Path("livre.idx")));
  EXPECT_FALSE(fs.Exists(Path("alvo.idx")));
  EXPECT_FALSE(fs.RenameNoReplace(Path("alvo.idx"), Path("outro.idx")));  // no source
  EXPECT_FALSE(fs.ReplaceAtomic(Path("alvo.idx"), Path("livre.idx")));
  EXPECT_EQ(Content("livre.idx"), "novo");
}

TEST_F(WinFiles, ListFilesMatchesTheSuffixInAnyCaseAndSkipsFolders) {
  Write("um.tvb", "");
  Write("DOIS.TVB", "");
  Write("x.tvbk", "");
  Write(".tvb", "");  // the suffix alone is no name
  std::filesystem::create_directory(Path("pasta.tvb"));
  auto names = fs.ListFiles(folder.Path(), ".tvb");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"DOIS.TVB", "um.tvb"}));
  EXPECT_TRUE(fs.ListFiles(Path("sem-pasta"), ".tvb").empty());
  // The folder may be named with backslashes and without the trailing separator.
  std::string back = folder.Path();
  for (char& ch : back) if (ch == '/') ch = '\\';
  back.pop_back();
  EXPECT_EQ(fs.ListFiles(back, ".TVB").size(), 2u);
}

TEST_F(WinFiles, DeleteAndSizes) {
  Write("c.dat", "12345");
  int64_t size = 0;
  EXPECT_TRUE(fs.FileSize(Path("c.dat"), &size));
  EXPECT_EQ(size, 5);
  EXPECT_TRUE(fs.Delete(Path("c.dat")));
  EXPECT_FALSE(fs.Delete(Path("c.dat")));
  EXPECT_FALSE(fs.FileSize(Path("c.dat"), &size));
}

// A program folder, a backup file and a listed name with accents: UTF-8 in
// the program, the same names on the disk.
class WinAccents : public test_support::StoreFixture {
 protected:
  void SetUp() override {
    StoreFixture::SetUp();
    program = folder.Path() + "Agenda de Jo\xC3\xA3o\\";  // "Agenda de João"
    ASSERT_TRUE(::CreateDirectoryW(platform::Utf16(program).c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryW(platform::Utf16(program + "dados").c_str(), nullptr));
    platform::SetProgramFolder(program);
  }
  static bool OnDisk(const std::string& utf8) {
    return ::GetFileAttributesW(platform::Utf16(utf8).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  std::string program;
};

TEST_F(WinAccents, TheStoreLivesInAFolderWithAccentsAndItsBackupRestores) {
  Reopen();
  EXPECT_TRUE(OnDisk(program + "dados\\tavodb.idx"));
  EXPECT_TRUE(OnDisk(program + "dados\\tavodb.dat"));
  AddLembrete(test_support::Reminder(test_support::At(2024, 12, 24, 20, 0), "Ceia"));
  Reopen();
  ASSERT_EQ(Lembretes.Count, 1);

  const std::string backup = program + "c\xC3\xB3pia de seguran\xC3\xA7" "a.tvb";  // "cópia de segurança.tvb"
  ASSERT_EQ(WriteBackup(backup), BackupResult::Done);
  EXPECT_TRUE(OnDisk(backup));
  EXPECT_EQ(platform::RealFileSystem().ListFiles(program, ".tvb"),
            std::vector<std::string>{"c\xC3\xB3pia de seguran\xC3\xA7" "a.tvb"});
  DeleteLembrete(Entry(0));
  ASSERT_EQ(Lembretes.Count, 0);
  ASSERT_EQ(RestoreBackup(backup), RestoreResult::Done);
  ASSERT_EQ(State().size(), 1u);
  EXPECT_EQ(State()[0].Text, "Ceia");
  EXPECT_TRUE(failures.empty());
}

TEST(WinSystem, AProgramInAFolderWithAccentsFindsItsFolder) {
  test_support::TempFolder folder;
  const std::string program = folder.Path() + "Programa A\xC3\xA7\xC3\xA3o\\";  // "Programa Ação"
  ASSERT_TRUE(::CreateDirectoryW(platform::Utf16(program).c_str(), nullptr));
  const std::wstring copy = platform::Utf16(program + "teste.exe");
  ASSERT_TRUE(::CopyFileW(platform::Utf16(ThisExe()).c_str(), copy.c_str(), FALSE));
  // The copy checks its own folder and the variable's value (see main below).
  ::SetEnvironmentVariableW(L"QUELVO_PASTA", L"C:\\Lembretes de S\u00E3o Paulo");
  std::wstring command = L"\"" + copy + L"\" --exe-folder";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  ::WaitForSingleObject(pi.hProcess, 30000);
  DWORD code = 99;
  ::GetExitCodeProcess(pi.hProcess, &code);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  ::SetEnvironmentVariableW(L"QUELVO_PASTA", nullptr);
  EXPECT_EQ(code, 0u) << "1: executable folder, 2: QUELVO_PASTA";
  ::DeleteFileW(copy.c_str());
}

// ---- Program folder, locale, clock ----

TEST(WinSystem, TheExecutableFolderHoldsThisProgramAndEndsInABackslash) {
  const std::string folder = platform::ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  const std::string exe = ThisExe();
  EXPECT_EQ(exe.substr(0, folder.size()), folder);
  EXPECT_EQ(exe.find('\\', folder.size()), std::string::npos);
}

TEST(WinSystem, ProgramFolderFromTheVariableGetsItsSeparator) {
  ::SetEnvironmentVariableA("QUELVO_PASTA", nullptr);
  _putenv("QUELVO_PASTA=");
  EXPECT_EQ(platform::ProgramFolder(), platform::ExecutableFolder());
  _putenv("QUELVO_PASTA=C:\\Quelvo");
  EXPECT_EQ(platform::ProgramFolder(), "C:\\Quelvo\\");
  _putenv("QUELVO_PASTA=C:\\Quelvo\\");
  EXPECT_EQ(platform::ProgramFolder(), "C:\\Quelvo\\");
  _putenv("QUELVO_PASTA=");
}

TEST(WinSystem, TheLocaleShortDatePatternIsTheSystemsOwn) {
  char buf[128];
  ASSERT_GT(::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, buf, sizeof buf), 1);
  const std::string pattern = platform::LocaleShortDatePattern();
  EXPECT_EQ(pattern, buf);
  // The pattern names at least one of day, month or year.
  EXPECT_NE(pattern.find_first_of("dMy"), std::string::npos) << pattern;
}

TEST(WinSystem, TheClockIsTheLocalTime) {
  SYSTEMTIME before;
  ::GetLocalTime(&before);
  const platform::LocalTime t = platform::SystemClock().Now();
  EXPECT_EQ(t.Year, before.wYear);
  EXPECT_GE(t.Month, 1);
  EXPECT_LE(t.Month, 12);
  EXPECT_GE(t.Millisecond, 0);
  EXPECT_LE(t.Millisecond, 999);
}

}  // namespace
}  // namespace tavo

// The child modes let a test look at the named mutex from a second process.
int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "--exe-folder") {
    const std::string suffix = "\\Programa A\xC3\xA7\xC3\xA3o\\";
    const std::string folder = tavo::platform::ExecutableFolder();
    if (folder.size() < suffix.size() || folder.compare(folder.size() - suffix.size(), suffix.size(), suffix) != 0)
      return 1;
    if (tavo::platform::ProgramFolder() != "C:\\Lembretes de S\xC3\xA3o Paulo\\") return 2;
    return 0;
  }
  if (argc == 3) {
    const std::string mode = argv[1], name = argv[2];
    if (mode == "--lock-held") return tavo::platform::InstanceLockHeld(name) ? 1 : 0;
    if (mode == "--lock-take") return tavo::platform::AcquireInstanceLock(name) ? 0 : 1;
    if (mode == "--lock-take-and-exit") {
      auto lock = tavo::platform::AcquireInstanceLock(name);
      if (!lock) return 1;
      lock.release();  // left open: only the end of the process lets it go
      return 0;
    }
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
