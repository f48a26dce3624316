// The store's operations at 1 000, 10 000 and 100 000 reminders, each beside
// the cost of writing (and flushing) the same bytes with plain file calls in
// the same iteration; and `quelvo-cli listar` of the whole store beside a
// plain read of the two files it reads. The counter "ratio" is store (or
// listar) time / plain time.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "cli/cli_commands.h"
#include "platform/testing/test_platform.h"
#include "dates/date_time.h"
#include "store/tavo_data.h"

namespace {

using namespace tavo;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

std::string Text(int i, int extra = 0) {
  std::string t = "Lembrete " + std::to_string(i) + ": ";
  t.append(static_cast<size_t>(20 + i * 37 % 41 + extra), 'x');
  return t;
}

// A program folder holding a store of n reminders, opened.
class BenchStore {
 public:
  explicit BenchStore(int n) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quelvo-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    folder_ = pattern + "/";
    std::filesystem::create_directory(folder_ + "dados");
    platform::SetProgramFolder(folder_);
    platform::SetRegistryForTesting(&registry_);
    const auto order = platform::DateOrder::DayMonthYear;
    platform::SetDateOrderForTesting(&order);
    Hooks().Failure = [](const std::string& message, BoxKind) {
      std::fprintf(stderr, "store failure: %s\n", message.c_str());
      std::abort();
    };
    std::string index, data;
    for (int i = 0; i < n; ++i) {
      LembreteEntry e;
      e.DateTime = EncodeDate(2025, 1, 1) + i / 4 + (i % 4) * 0.25;
      e.TextPos = static_cast<int32_t>(data.size());
      const std::string t = Text(i);
      e.TextLen = static_cast<uint16_t>(t.size());
      data += t;
      index.append(reinterpret_cast<const char*>(&e), sizeof e);
    }
    Plain::WriteFile(folder_ + "dados/tavodb.idx", index);
    Plain::WriteFile(folder_ + "dados/tavodb.dat", data);
    OpenStore();
  }
  ~BenchStore() {
    SetEntryCount(Lembretes, 0);
    platform::SetProgramFolder("");
    platform::SetRegistryForTesting(nullptr);
    platform::SetDateOrderForTesting(nullptr);
    std::filesystem::remove_all(folder_);
  }

  static int64_t DataSize() { return static_cast<int64_t>(std::filesystem::file_size(DataFileName)); }
  std::string Scratch(const char* name) const { return folder_ + name; }

  // The same bytes with plain POSIX calls: write, flush, close.
  struct Plain {
    static void WriteFile(const std::string& path, const std::string& bytes) {
      const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      WriteAll(fd, bytes);
      ::fdatasync(fd);
      ::close(fd);
    }
    static void WriteAt(const std::string& path, int64_t at, const std::string& bytes) {
      const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
      ::lseek(fd, at, SEEK_SET);
      WriteAll(fd, bytes);
      ::fdatasync(fd);
      ::close(fd);
    }
    static void Append(const std::string& path, const std::string& bytes) {
      const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
      WriteAll(fd, bytes);
      ::fdatasync(fd);
      ::close(fd);
    }
    static std::string Read(const std::string& path) {
      const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
      std::string bytes(static_cast<size_t>(::lseek(fd, 0, SEEK_END)), '\0');
      ::pread(fd, bytes.data(), bytes.size(), 0);
      ::close(fd);
      return bytes;
    }
    static void WriteAll(int fd, const std::string& bytes) {
      size_t done = 0;
      while (done < bytes.size()) {
        const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w <= 0) std::abort();
        done += static_cast<size_t>(w);
      }
    }
  };

 private:
  platform::MemoryRegistry registry_;
  std::string folder_;
};

// Times the store's part and the plain part of every iteration; the
// benchmark's time is the store's.
struct Pair {
  benchmark::State& state;
  double store = 0, plain = 0;
  int64_t bytes = 0;
  void Finish() {
    state.counters["plain_us"] = benchmark::Counter(plain * 1e6 / static_cast<double>(state.iterations()));
    state.counters["ratio"] = benchmark::Counter(store / plain);
    state.counters["bytes"] = benchmark::Counter(static_cast<double>(bytes) / static_cast<double>(state.iterations()));
  }
};

void BM_OpenStore(benchmark::State& state) {
  BenchStore store(static_cast<int>(state.range(0)));
  Pair pair{state};
  for (auto _ : state) {
    auto t = Clock::now();
    OpenStore();
    const double s = Seconds(t);
    state.SetIterationTime(s);
    pair.store += s;
    t = Clock::now();
    benchmark::DoNotOptimize(BenchStore::Plain::Read(IndexFileName));  // the plain part reads what it reads
    pair.plain += Seconds(t);
    pair.bytes += int64_t{Lembretes.Count} * 20;
  }
  pair.Finish();
}

void BM_AddLembrete(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  BenchStore store(n);
  Pair pair{state};
  int i = 0;
  for (auto _ : state) {
    TLembrete r;
    r.DateTime = EncodeDate(2025, 1, 1) + n / 8 + 0.5;
    r.Text = Text(++i);
    auto t = Clock::now();
    AddLembrete(r);
    const double s = Seconds(t);
    state.SetIterationTime(s);
    pair.store += s;
    const std::string index(static_cast<size_t>(Lembretes.Count) * 20, 'i');
    t = Clock::now();
    BenchStore::Plain::Append(store.Scratch("plain.dat"), r.Text);
    BenchStore::Plain::WriteFile(store.Scratch("plain.idx"), index);
    pair.plain += Seconds(t);
    pair.bytes += static_cast<int64_t>(r.Text.size() + index.size());
    // Back to n reminders, untimed.
    TLembrete added;
    ReadLembrete(FindPosition(r.DateTime), added);
    DeleteLembrete(added);
  }
  pair.Finish();
}

// Alters the middle reminder back and forth between two texts; `extra` is
// how much longer the second one is (0: the same length). With `move`, the
// date goes back and forth by a minute too, so the index changes.
void Alter(benchmark::State& state, int extra, bool move) {
  const int n = static_cast<int>(state.range(0));
  BenchStore store(n);
  Pair pair{state};
  const double when = Lembretes[n / 2].DateTime;
  TLembrete first;
  ReadLembrete(n / 2, first);
  const std::string texts[2] = {first.Text, std::string(first.Text.size() + static_cast<size_t>(extra), 'y')};
  int flip = 0;
  for (auto _ : state) {
    TLembrete old_record;
    ReadLembrete(FindPosition(when), old_record);  // at `when` or a minute later
    TLembrete new_record = old_record;
    new_record.Text = texts[flip ^= 1];
    if (move) new_record.DateTime = when + (flip ? 1.0 / 1440 : 0.0);
    auto t = Clock::now();
    AlterLembrete(old_record, new_record);
    const double s = Seconds(t);
    state.SetIterationTime(s);
    pair.store += s;
    const std::string index(static_cast<size_t>(Lembretes.Count) * 20, 'i');
    t = Clock::now();
    if (extra == 0) {
      BenchStore::Plain::WriteAt(store.Scratch("plain.dat"), old_record.TextPos, new_record.Text);
      pair.bytes += static_cast<int64_t>(new_record.Text.size());
    } else {
      const std::string data(static_cast<size_t>(BenchStore::DataSize()), 'd');
      BenchStore::Plain::WriteFile(store.Scratch("plain.dat"), data);
      pair.bytes += static_cast<int64_t>(data.size());
    }
    BenchStore::Plain::WriteFile(store.Scratch("plain.idx"), index);
    pair.plain += Seconds(t);
    pair.bytes += static_cast<int64_t>(index.size());
  }
  pair.Finish();
}

void BM_AlterSameLength(benchmark::State& state) { Alter(state, 0, false); }
void BM_AlterSameLengthNewDate(benchmark::State& state) { Alter(state, 0, true); }
void BM_AlterOtherLength(benchmark::State& state) { Alter(state, 5, false); }

void BM_DeleteLembrete(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  BenchStore store(n);
  Pair pair{state};
  for (auto _ : state) {
    TLembrete r;
    ReadLembrete(n / 2, r);
    auto t = Clock::now();
    DeleteLembrete(r);
    const double s = Seconds(t);
    state.SetIterationTime(s);
    pair.store += s;
    const std::string index(static_cast<size_t>(Lembretes.Count) * 20, 'i');
    const std::string data(static_cast<size_t>(BenchStore::DataSize()), 'd');
    t = Clock::now();
    BenchStore::Plain::WriteFile(store.Scratch("plain.dat"), data);
    BenchStore::Plain::WriteFile(store.Scratch("plain.idx"), index);
    pair.plain += Seconds(t);
    pair.bytes += static_cast<int64_t>(data.size() + index.size());
    // Back to n reminders, untimed: a new text at the end of the data file.
    AddLembrete(r);
  }
  pair.Finish();
}

// The whole of `quelvo-cli listar` in-process (open the store, read every
// text, format every line) into memory, beside reading the index and the data
// file whole with plain calls.
void BM_Listar(benchmark::State& state) {
  BenchStore store(static_cast<int>(state.range(0)));
  Pair pair{state};
  std::ostringstream out, err;
  for (auto _ : state) {
    out.str({});
    auto t = Clock::now();
    if (cli::Run({"listar"}, out, err) != cli::kDone) std::abort();
    const double s = Seconds(t);
    state.SetIterationTime(s);
    pair.store += s;
    t = Clock::now();
    const std::string index = BenchStore::Plain::Read(IndexFileName);
    const std::string data = BenchStore::Plain::Read(DataFileName);
    pair.plain += Seconds(t);
    pair.bytes += static_cast<int64_t>(index.size() + data.size());
  }
  const std::string listing = out.str();
  state.counters["lines"] = benchmark::Counter(static_cast<double>(std::count(listing.begin(), listing.end(), '\n')));
  pair.Finish();
}

#define STORE_BENCH(fn) BENCHMARK(fn)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond)
STORE_BENCH(BM_OpenStore);
STORE_BENCH(BM_AddLembrete);
STORE_BENCH(BM_AlterSameLength);
STORE_BENCH(BM_AlterSameLengthNewDate);
STORE_BENCH(BM_AlterOtherLength);
STORE_BENCH(BM_DeleteLembrete);
STORE_BENCH(BM_Listar);

}  // namespace

BENCHMARK_MAIN();
