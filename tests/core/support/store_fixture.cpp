#include "tests/core/support/store_fixture.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "platform/file_system.h"
#include "platform/system.h"
#include "store/config.h"
#include "dates/date_time.h"

namespace tavo::test_support {

namespace fs = std::filesystem;

void PrintTo(const Stored& s, std::ostream* os) {
  char when[64];
  std::snprintf(when, sizeof when, "%.10f", s.DateTime);
  *os << "{" << when << ", kind " << s.RepeatKind << ", \"" << s.Text << "\"}";
}

double At(int year, int month, int day, int hour, int minute) {
  return EncodeDate(year, month, day) + EncodeTime(hour, minute);
}

TLembrete Reminder(double date_time, const std::string& text, int repeat_kind) {
  TLembrete r;
  r.DateTime = date_time;
  r.RepeatKind = static_cast<uint8_t>(repeat_kind);
  r.Text = text;
  return r;
}

TempFolder::TempFolder() {
  // A fresh folder of an unguessed name; create_directory is false when the name was taken.
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "quelvo-test-%08x", static_cast<unsigned>(random()));
    const fs::path candidate = fs::temp_directory_path() / name;
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      path_ = candidate.string() + platform::kPathSeparator;
      return;
    }
  }
  throw std::runtime_error("no temporary folder could be made");
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void StoreFixture::SetUp() {
  fs::create_directory(folder.Path() + "dados");
  platform::SetProgramFolder(folder.Path());
  platform::SetRegistryForTesting(&registry);
  const platform::DateOrder order = platform::DateOrder::DayMonthYear;
  platform::SetDateOrderForTesting(&order);
  platform::SetClockForTesting(&clock);
  Hooks().Failure = [this](const std::string& message, BoxKind kind) { failures.push_back({message, kind}); };
  Hooks().PumpMessages = [this] {
    ++pumps;
    if (on_pump) on_pump();
  };
  Hooks().RefreshList = [this] { ++refreshes; };
}

void StoreFixture::TearDown() {
  platform::SetFilesForTesting(nullptr);
  platform::SetProgramFolder("");
  platform::SetRegistryForTesting(nullptr);
  platform::SetDateOrderForTesting(nullptr);
  platform::SetClockForTesting(nullptr);
  Hooks() = StoreHooks{};
  SetEntryCount(Lembretes, 0);
  LastId = -1;
  StoreBusy = false;
  ScanBusy = false;
  Config = TConfig{};
}

std::string StoreFixture::Dados(const std::string& name) const { return folder.Path() + "dados" + platform::kPathSeparator + name; }

std::string StoreFixture::ReadDados(const std::string& name) const {
  std::ifstream in(Dados(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void StoreFixture::WriteDados(const std::string& name, const std::string& bytes) const {
  std::ofstream out(Dados(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool StoreFixture::DadosExists(const std::string& name) const { return fs::exists(Dados(name)); }

int64_t StoreFixture::DadosSize(const std::string& name) const {
  return static_cast<int64_t>(fs::file_size(Dados(name)));
}

std::vector<std::string> StoreFixture::DadosFiles() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder.Path() + "dados")) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void StoreFixture::Reopen() {
  SetEntryCount(Lembretes, 0);
  LastId = -1;
  StoreBusy = false;
  ScanBusy = false;
  OpenStore();
}

std::vector<Stored> StoreFixture::State() {
  std::vector<Stored> state;
  for (int32_t i = 0; i < Lembretes.Count; ++i) {
    const TLembrete r = Entry(i);
    state.push_back({r.DateTime, r.RepeatKind, r.Text});
  }
  return state;
}

void StoreFixture::AddAll(const std::vector<Stored>& reminders) {
  for (const Stored& s : reminders) AddLembrete(Reminder(s.DateTime, s.Text, s.RepeatKind));
}

TLembrete StoreFixture::Entry(int32_t i) {
  TLembrete r;
  ReadLembrete(i, r);
  return r;
}

}  // namespace tavo::test_support
