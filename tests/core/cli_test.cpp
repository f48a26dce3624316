// quelvo-cli's commands run in-process over a store of their own: the row a
// command names is the row `listar` printed, also when the index file on disk
// is out of date order or holds dates that are no dates at all.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <random>
#include <sstream>

#include "cli/cli_commands.h"
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

  // A store written by hand: reminders "t0".."t11" with their texts one after
  // the other in the data file, but the index entries shuffled, some dates
  // repeated and some not finite or outside the years 1 to 9999.
  static constexpr int kDamagedCount = 12;
  void WriteDamagedStore(unsigned seed) {
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

// The rows of a listing that hold `text`, and the others (`with` false), in their order.
std::vector<std::string> Rows(const std::vector<std::string>& listing, const std::string& text, bool with) {
  std::vector<std::string> rows;
  for (const std::string& l : listing)
    if ((Split(l).text == text) == with) rows.push_back(l);
  return rows;
}

TEST_F(Cli, EveryCommandChangesExactlyTheRowThatListarPrinted) {
  for (unsigned seed = 1; seed <= 3; ++seed) {
    for (const std::string command : {"excluir", "alterar", "confirmar"}) {
      for (int n = 1; n <= kDamagedCount; ++n) {
        WriteDamagedStore(seed);
        const std::vector<std::string> before = Listing();
        ASSERT_EQ(before.size(), size_t{kDamagedCount});
        const std::string line = before[static_cast<size_t>(n) - 1];
        const Row row = Split(line);
        const std::string what = command + " " + std::to_string(n) + " (seed " + std::to_string(seed) + "): " + line;
        const std::string text = command == "alterar" ? row.text + "!" : row.text;
        std::vector<std::string> args = {command, std::to_string(n)};
        if (command == "alterar") args.insert(args.end(), {"15/06/2024", "12:00", text});
        const Result r = Run(args);
        ASSERT_EQ(r.code, 0) << what << r.err;
        const std::vector<std::string> after = Listing();
        // Every other row is still there, unchanged and in the same order.
        std::vector<std::string> others = before;
        others.erase(others.begin() + (n - 1));
        EXPECT_EQ(Rows(after, text, false), others) << what;
        // The named row is gone, or changed as the command says.
        const std::vector<std::string> changed = Rows(after, text, true);
        if (command == "excluir" || (command == "confirmar" && row.kind == "Nenhuma")) {
          EXPECT_TRUE(changed.empty()) << what;
        } else if (command == "alterar") {
          EXPECT_EQ(changed, std::vector<std::string>{"15/06/2024\t12:00\t" + row.kind + "\t" + text}) << what;
        } else {
          ASSERT_EQ(changed.size(), 1u) << what;
          EXPECT_EQ(Split(changed[0]).kind, row.kind) << what;
          // A reminder without a real date has no next period and stays as it was.
          EXPECT_EQ(changed[0] == line, row.date.empty()) << what;
        }
      }
    }
  }
}

}  // namespace
}  // namespace tavo
