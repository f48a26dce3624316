// The cost of the calendar information: building a year's moon table, and
// the events text of a date in the cached year and in another year (which
// rebuilds the tables).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "calendar/events_text.h"
#include "calendar/feriados.h"
#include "dates/date_time.h"

namespace {

using namespace tavo;

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
BENCHMARK(BM_BuildMoonTable)->Unit(benchmark::kMicrosecond);

// What PrepareYear adds to a table: the last phase of the year before.
void BM_LastMoonPhaseOfYear(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(feriados::LastMoonPhaseOfYear(2023));
}
BENCHMARK(BM_LastMoonPhaseOfYear)->Unit(benchmark::kMicrosecond);

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
