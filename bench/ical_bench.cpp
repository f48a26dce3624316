// quelvo-cli exportar and importar in-process at 10 000 and 100 000
// reminders, each beside plain file calls over the same bytes in the same
// iteration: the export beside writing (and flushing) its calendar file, the
// import beside reading that file and writing (and flushing) the two store
// files it produces. The counter "ratio" is command time / plain time.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "cli/cli_commands.h"
#include "dates/date_time.h"
#include "platform/testing/test_platform.h"
#include "store/tavo_data.h"

namespace {

using namespace tavo;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

std::string ReadFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  std::string bytes(static_cast<size_t>(::lseek(fd, 0, SEEK_END)), '\0');
  if (::pread(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) std::abort();
  ::close(fd);
  return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (w <= 0) std::abort();
    done += static_cast<size_t>(w);
  }
  ::fdatasync(fd);
  ::close(fd);
}

// Two program folders: `from` with n reminders of every kind (texts of one
// to three lines, accented), `to` empty; the clock before all of them.
class BenchFolders {
 public:
  explicit BenchFolders(int n) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quelvo-ical-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    root_ = pattern + "/";
    std::filesystem::create_directories(root_ + "from/dados");
    std::filesystem::create_directories(root_ + "to/dados");
    platform::SetRegistryForTesting(&registry_);
    platform::SetClockForTesting(&clock_);
    const auto order = platform::DateOrder::DayMonthYear;
    platform::SetDateOrderForTesting(&order);
    std::string index, data;
    for (int i = 0; i < n; ++i) {
      LembreteEntry e;
      e.DateTime = EncodeDate(2027, 1, 1) + i / 6 + EncodeTime(8 + i % 12, i * 7 % 60);
      e.RepeatKind = static_cast<uint8_t>(i % 5);
      std::string t = "Lembrete " + std::to_string(i) + ": reuni\xE3o, or\xE7" "amento; a\xE7\xE3o";
      if (i % 3 == 0) t += "\r\nSegunda linha com mais texto para dobrar a linha do calend\xE1rio \\ fim";
      e.TextPos = static_cast<int32_t>(data.size());
      e.TextLen = static_cast<uint16_t>(t.size());
      data += t;
      index.append(reinterpret_cast<const char*>(&e), sizeof e);
    }
    WriteFile(root_ + "from/dados/tavodb.idx", index);
    WriteFile(root_ + "from/dados/tavodb.dat", data);
  }
  ~BenchFolders() {
    platform::SetRegistryForTesting(nullptr);
    platform::SetClockForTesting(nullptr);
    platform::SetDateOrderForTesting(nullptr);
    std::filesystem::remove_all(root_);
  }
  std::string Path(const char* name) const { return root_ + name; }

  void Run(const std::string& folder, std::vector<std::string> args) {
    std::ostringstream out, err;
    args.insert(args.begin(), {"--pasta", root_ + folder});
    if (cli::Run(args, out, err) != cli::kDone) {
      std::fprintf(stderr, "%s", err.str().c_str());
      std::abort();
    }
  }
  void EmptyTo() {
    for (const char* name : {"to/dados/tavodb.idx", "to/dados/tavodb.dat"}) std::filesystem::remove(root_ + name);
  }

 private:
  platform::MemoryRegistry registry_;
  platform::FixedClock clock_{{2026, 6, 15, 10, 30, 0, 0}};
  std::string root_;
};

struct Pair {
  benchmark::State& state;
  double command = 0, plain = 0;
  int64_t bytes = 0;
  void Finish() {
    const auto n = static_cast<double>(state.iterations());
    state.counters["plain_ms"] = benchmark::Counter(plain * 1e3 / n);
    state.counters["ratio"] = benchmark::Counter(command / plain);
    state.counters["bytes"] = benchmark::Counter(static_cast<double>(bytes) / n);
  }
};

void BM_Exportar(benchmark::State& state) {
  BenchFolders folders(static_cast<int>(state.range(0)));
  const std::string file = folders.Path("export.ics"), plain_file = folders.Path("plain.ics");
  Pair pair{state};
  for (auto _ : state) {
    auto t = Clock::now();
    folders.Run("from", {"exportar", file});
    const double s = Seconds(t);
    state.SetIterationTime(s);
    pair.command += s;
    const std::string calendar = ReadFile(file);
    t = Clock::now();
    WriteFile(plain_file, calendar);
    pair.plain += Seconds(t);
    pair.bytes += static_cast<int64_t>(calendar.size());
  }
  pair.Finish();
}

void BM_Importar(benchmark::State& state) {
  BenchFolders folders(static_cast<int>(state.range(0)));
  const std::string file = folders.Path("export.ics");
  folders.Run("from", {"exportar", file});
  Pair pair{state};
  for (auto _ : state) {
    folders.EmptyTo();
    auto t = Clock::now();
    folders.Run("to", {"importar", file});
    const double s = Seconds(t);
    state.SetIterationTime(s);
    pair.command += s;
    const std::string index = ReadFile(folders.Path("to/dados/tavodb.idx"));
    if (static_cast<int64_t>(index.size()) != state.range(0) * 20) std::abort();
    const std::string data = ReadFile(folders.Path("to/dados/tavodb.dat"));
    t = Clock::now();
    const std::string calendar = ReadFile(file);
    WriteFile(folders.Path("plain.idx"), index);
    WriteFile(folders.Path("plain.dat"), data);
    pair.plain += Seconds(t);
    pair.bytes += static_cast<int64_t>(calendar.size() + index.size() + data.size());
  }
  pair.Finish();
}

BENCHMARK(BM_Exportar)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Importar)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
