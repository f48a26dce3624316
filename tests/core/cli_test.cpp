// quelvo-cli's commands run in-process over a store of their own: the row a
// command names is the row `listar` printed, also when the index file on disk
// is out of date order or holds dates that are no dates at all.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>

#include "cli/cli_commands.h"
#include "store/cp1252.h"
#include "store/date_text.h"
#include "store/date_time.h"
#include "store/period_step.h"
#include "tests/core/support/store_fixture.h"

namespace tavo {
namespace {

using test_support::At;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The fields of a `listar` line.
struct Row {
  std::string date, time, kind, text;
};

Row Split(const std::string& line) {
  Row r;
  std::string* fields[] = {&r.date, &r.time, &r.kind, &r.text};
  size_t at = 0;
  for (std::string* f : fields) {
    const size_t tab = line.find('\t', at);
    *f = line.substr(at, tab == std::string::npos ? std::string::npos : tab - at);
    at = tab == std::string::npos ? line.size() : tab + 1;
  }
  return r;
}

// DateTime of a listed day-month-year date and time; NaN for the empty date of a damaged entry.
double Parse(const Row& r) {
  if (r.date.empty()) return std::numeric_limits<double>::quiet_NaN();
  return EncodeDate(std::stoi(r.date.substr(6)), std::stoi(r.date.substr(3, 2)), std::stoi(r.date.substr(0, 2))) +
         EncodeTime(std::stoi(r.time.substr(0, 2)), std::stoi(r.time.substr(3)));
}

class Cli : public test_support::StoreFixture {
 protected:
  void SetUp() override {
    StoreFixture::SetUp();
#ifndef _WIN32
    // No running program of the developer's may make writing commands refuse.
    ::setenv("XDG_RUNTIME_DIR", folder.Path().c_str(), 1);
#endif
  }

  struct Result {
    int code;
    std::string out, err;
  };
  Result Run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = cli::Run(args, out, err);
    return {code, out.str(), err.str()};
  }
  std::vector<std::string> Listing() {
    const Result r = Run({"listar"});
    EXPECT_EQ(r.code, 0) << r.err;
    return Lines(r.out);
  }

  // A store written by hand: reminders "t0".."tN" with their texts one after
  // the other in the data file, but the index entries shuffled, some dates
  // repeated and some not finite or outside the years 1 to 9999.
  void WriteDamagedStore(unsigned seed, int* count) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    std::vector<double> dates = {At(2024, 3, 1, 9, 0), At(2024, 3, 1, 9, 0), At(2024, 1, 31, 8, 0),
                                 At(2025, 7, 4, 23, 59), At(2023, 12, 31, 0, 0), nan, inf, -inf, 1e300, -1e300,
                                 -700000.0, 3e6};
    std::mt19937 random(seed);
    std::shuffle(dates.begin(), dates.end(), random);
    std::string index, data;
    for (size_t i = 0; i < dates.size(); ++i) {
      const std::string text = "t" + std::to_string(i);
      LembreteEntry e;
      e.DateTime = dates[i];
      e.Id = static_cast<int32_t>(1000 - i);
      e.TextPos = static_cast<int32_t>(data.size());
      e.TextLen = static_cast<uint16_t>(text.size());
      e.RepeatKind = static_cast<uint8_t>(random() % 5 | (random() % 2 ? 0x80 : 0));
      data += text;
      index.append(reinterpret_cast<const char*>(&e), sizeof e);
    }
    WriteDados("tavodb.idx", index);
    WriteDados("tavodb.dat", data);
    *count = static_cast<int>(dates.size());
  }
};

TEST_F(Cli, AlterarWithoutRepeticaoKeepsTheRepetitionKind) {
  ASSERT_EQ(Run({"incluir", "29/03/2024", "10:00", "conta de luz", "--repeticao", "Mensal"}).code, 0);
  ASSERT_EQ(Run({"alterar", "1", "29/04/2024", "10:00", "novo texto"}).code, 0);
  EXPECT_EQ(Listing(), std::vector<std::string>{"29/04/2024\t10:00\tMensal\tnovo texto"});
  ASSERT_EQ(Run({"alterar", "1", "29/04/2024", "10:00", "novo texto", "--repeticao", "0"}).code, 0);
  EXPECT_EQ(Listing(), std::vector<std::string>{"29/04/2024\t10:00\tNenhuma\tnovo texto"});
}

TEST_F(Cli, RepeticaoNamesMatchInAnyCaseAlsoTheAccentedLetter) {
  for (const char* name : {"di\xC3\xA1ria", "DI\xC3\x81RIA", "anual"}) {
    ASSERT_EQ(Run({"incluir", "01/05/2024", "08:00", name, "--repeticao", name}).code, 0) << name;
  }
  EXPECT_EQ(Listing(), (std::vector<std::string>{"01/05/2024\t08:00\tAnual\tanual",
                                                 "01/05/2024\t08:00\tDi\xC3\xA1ria\tDI\xC3\x81RIA",
                                                 "01/05/2024\t08:00\tDi\xC3\xA1ria\tdi\xC3\xA1ria"}));
  EXPECT_EQ(Run({"incluir", "01/05/2024", "08:00", "x", "--repeticao", "semanalmente"}).code, 1);
}

// Counts the opens of one file.
class OpenCounter : public platform::FileSystemWrapper {
 public:
  OpenCounter(const std::string& suffix) : FileSystemWrapper(platform::RealFileSystem()), suffix_(suffix) {}
  std::unique_ptr<platform::File> Open(const std::string& path, platform::OpenMode mode) override {
    if (path.size() >= suffix_.size() && path.compare(path.size() - suffix_.size(), suffix_.size(), suffix_) == 0)
      ++opens;
    return FileSystemWrapper::Open(path, mode);
  }
  int opens = 0;

 private:
  std::string suffix_;
};

TEST_F(Cli, ListarOpensTheDataFileOncePerListing) {
  for (int i = 0; i < 50; ++i) ASSERT_EQ(Run({"incluir", "01/07/2024", "10:00", "texto " + std::to_string(i)}).code, 0);
  OpenCounter counter("tavodb.dat");
  platform::SetFilesForTesting(&counter);
  const std::vector<std::string> all = Listing();
  EXPECT_EQ(counter.opens, 1);
  platform::SetFilesForTesting(nullptr);
  ASSERT_EQ(all.size(), 50u);
  EXPECT_EQ(all.front(), "01/07/2024\t10:00\tNenhuma\ttexto 49");
}

// ---- An index file out of order, with dates that are no dates ----

// Rows with real dates come first, in date order; rows without a date last.
::testing::AssertionResult InOrder(const std::vector<std::string>& listing) {
  for (size_t i = 1; i < listing.size(); ++i) {
    const double a = Parse(Split(listing[i - 1])), b = Parse(Split(listing[i]));
    if (!std::isnan(b) && !(a <= b)) return ::testing::AssertionFailure() << listing[i - 1] << " before " << listing[i];
  }
  return ::testing::AssertionSuccess();
}

// The rows of `listing` except the one holding `text`, in their order.
std::vector<std::string> Without(std::vector<std::string> listing, const std::string& text) {
  listing.erase(std::remove_if(listing.begin(), listing.end(), [&](const std::string& l) { return Split(l).text == text; }),
                listing.end());
  return listing;
}

int KindNumber(const std::string& display_name) {
  for (int k = 0; k < kRepeatKinds; ++k)
    if (Cp1252ToUtf8(RepeatNames[k]) == display_name) return k;
  return -1;
}

std::string Line(double when, const std::string& kind, const std::string& text) {
  return DateToText(when) + "\t" + TimeToDisplay(when) + "\t" + kind + "\t" + text;
}

TEST_F(Cli, EveryCommandChangesExactlyTheRowThatListarPrinted) {
  for (unsigned seed = 1; seed <= 3; ++seed) {
    for (const std::string command : {"excluir", "alterar", "confirmar"}) {
      int count = 0;
      WriteDamagedStore(seed, &count);
      for (int n = 1; n <= count; ++n) {
        WriteDamagedStore(seed, &count);
        const std::vector<std::string> before = Listing();
        ASSERT_EQ(static_cast<int>(before.size()), count);
        EXPECT_TRUE(InOrder(before));
        const Row row = Split(before[static_cast<size_t>(n) - 1]);
        const std::string what = command + " " + std::to_string(n) + " (seed " + std::to_string(seed) + "): " +
                                 before[static_cast<size_t>(n) - 1];
        std::vector<std::string> args = {command, std::to_string(n)};
        if (command == "alterar") args.insert(args.end(), {"15/06/2024", "12:00", row.text + "!"});
        const Result r = Run(args);
        ASSERT_EQ(r.code, 0) << what << r.err;
        const std::vector<std::string> after = Listing();
        EXPECT_TRUE(InOrder(after));
        // Every other row is still there, unchanged and in the same order.
        std::vector<std::string> others = before;
        others.erase(others.begin() + (n - 1));
        const bool moves_on = command == "confirmar" && row.kind != "Nenhuma";
        if (command == "excluir" || (command == "confirmar" && !moves_on)) {
          EXPECT_EQ(after, others) << what;
        } else if (command == "alterar") {
          EXPECT_EQ(Without(after, row.text + "!"), others) << what;
          EXPECT_EQ(std::count(after.begin(), after.end(), Line(At(2024, 6, 15, 12, 0), row.kind, row.text + "!")), 1)
              << what;
        } else {
          EXPECT_EQ(Without(after, row.text), others) << what;
          // A reminder without a real date has nowhere to move on to and stays as it was.
          const double when = Parse(row);
          const std::string moved = std::isnan(when) ? before[static_cast<size_t>(n) - 1]
                                                     : Line(StepOnePeriod(when, KindNumber(row.kind)), row.kind, row.text);
          EXPECT_EQ(std::count(after.begin(), after.end(), moved), 1) << what;
        }
      }
    }
  }
}

}  // namespace
}  // namespace tavo
