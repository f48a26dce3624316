// The cost of the calendar information: building a year's moon table, and
// the events text of a date in the cached year and in another year (which
// rebuilds the tables).

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "calendar/events_text.h"
#include "calendar/feriados.h"
#include "store/date_time.h"

namespace {

using namespace tavo;

// The 0.001-day scan with an illumination at every sample, for comparison
// with BuildMoonTable, which skips the samples far from every threshold.
feriados::MoonTable PlainMoonScan(int year) {
  feriados::MoonTable table;
  for (int month = 1; month <= 12; ++month) {
    double cur = EncodeDate(year, month, 1);
    while (DecodeDate(cur).Month == month) {
      const double base = cur;
      do {
        cur = cur + 0.001;
        const double now = feriados::MoonIllumination(cur);
        const int k = static_cast<int>(10000 * now);
        const bool quarter = k >= 4998 && k <= 5002;
        const char* phase = nullptr;
        if (quarter && now > feriados::MoonIllumination(cur - 2)) {
          phase = "Crescente";
        } else if (quarter && now < feriados::MoonIllumination(cur - 2)) {
          phase = "Minguante";
        } else if (k <= 4) {
          phase = "Nova";
        } else if (k >= 9996) {
          phase = "Cheia";
        }
        if (phase != nullptr) {
          if (table.Count < feriados::kMoonTableSize) {
            table.Entries[static_cast<size_t>(table.Count++)] = {phase, static_cast<int32_t>(std::trunc(cur - 0.125))};
          }
          cur = base + 5;
        }
      } while (cur < base + 1);
    }
  }
  return table;
}

TextLines LoadShipped(const char* name) {
  const auto path = std::filesystem::path(__FILE__).parent_path().parent_path() / "assets" / "datas" / name;
  std::ifstream in(path, std::ios::binary);
  return SplitTextLines(std::string(std::istreambuf_iterator<char>(in), {}));
}

void LoadShippedFiles() {
  if (SaintsList().empty()) SaintsList() = LoadShipped("santos.txt");
  if (DatesList().empty()) DatesList() = LoadShipped("datas.txt");
}

void BM_BuildMoonTable(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(feriados::BuildMoonTable(2024));
}
BENCHMARK(BM_BuildMoonTable)->Unit(benchmark::kMillisecond);

void BM_PlainMoonScan(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(PlainMoonScan(2024));
}
BENCHMARK(BM_PlainMoonScan)->Unit(benchmark::kMillisecond);

void BM_EventsTextCachedYear(benchmark::State& state) {
  LoadShippedFiles();
  const double christmas = EncodeDate(2024, 12, 25);
  feriados::PrepareYear(2024);
  for (auto _ : state) benchmark::DoNotOptimize(EventsText(christmas));
}
BENCHMARK(BM_EventsTextCachedYear)->Unit(benchmark::kMicrosecond);

// Alternates between two years, so that every call rebuilds the tables.
void BM_EventsTextOtherYear(benchmark::State& state) {
  LoadShippedFiles();
  const double dates[] = {EncodeDate(2023, 12, 25), EncodeDate(2024, 12, 25)};
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(EventsText(dates[i++ & 1]));
}
BENCHMARK(BM_EventsTextOtherYear)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
