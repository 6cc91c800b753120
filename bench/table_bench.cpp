// A year of rows for one place (goal: under 5 ms) and for each of 1,000 places (under 2 s),
// texts included; and the same year written out as text, or on a time-zone clock.
#include <benchmark/benchmark.h>

#include <sstream>

#include "cli/sun_table.h"
#include "cli/table_format.h"

namespace orvalin {
namespace {

constexpr Day kFirst{std::chrono::year{2009} / 1 / 1};
constexpr Day kLast{std::chrono::year{2009} / 12 / 31};

TablePlace Geneva() {
  TablePlace p;
  p.name = "Geneva";
  p.latitude = 46.2;
  p.longitude_west = -6.15;
  return p;
}

void BM_YearOnePlace(benchmark::State& state) {
  const TablePlace place = Geneva();
  for (auto _ : state) benchmark::DoNotOptimize(ComputeRows(place, kFirst, kLast, Clock::Universal()));
}
BENCHMARK(BM_YearOnePlace)->Unit(benchmark::kMillisecond);

void BM_YearOnePlaceAsText(benchmark::State& state) {
  const TablePlace place = Geneva();
  for (auto _ : state) {
    std::ostringstream out;
    WriteTable(out, TableFormat::Text, place, Clock::Universal(),
               ComputeRows(place, kFirst, kLast, Clock::Universal()));
    benchmark::DoNotOptimize(out.str());
  }
}
BENCHMARK(BM_YearOnePlaceAsText)->Unit(benchmark::kMillisecond);

// Places spread over the globe, polar ones included.
void BM_YearThousandPlaces(benchmark::State& state) {
  std::vector<TablePlace> places(1000);
  for (int i = 0; i < 1000; ++i) {
    places[i].latitude = -85 + 170.0 * i / 999;
    places[i].longitude_west = -180 + 360.0 * ((i * 37) % 1000) / 1000;
  }
  for (auto _ : state) {
    std::size_t rows = 0;
    for (const TablePlace& p : places) rows += ComputeRows(p, kFirst, kLast, Clock::Universal()).size();
    benchmark::DoNotOptimize(rows);
  }
}
BENCHMARK(BM_YearThousandPlaces)->Unit(benchmark::kMillisecond)->Iterations(3);

// Last on purpose: after Qt's time-zone code has run, the process's sun computation runs about
// three times slower (the CPU's vector registers are left in a state that penalises the SSE code
// of the engine), which would slow every benchmark after it.
// A year on a zone's clock, before and after the zone database's last listed transition: the
// goal is at most 1.5 times the year in universal time.
void BM_YearOnePlaceZoneClock(benchmark::State& state) {
  const TablePlace place = Geneva();
  const Clock zone = *Clock::Zone("Europe/Zurich");
  const int year = static_cast<int>(state.range(0));
  const Day first{std::chrono::year{year} / 1 / 1}, last{std::chrono::year{year} / 12 / 31};
  for (auto _ : state) benchmark::DoNotOptimize(ComputeRows(place, first, last, zone));
}
BENCHMARK(BM_YearOnePlaceZoneClock)->Arg(2009)->Arg(2100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvalin
