// A year of rows for one place (goal: under 5 ms) and for each of 1,000 places (under 2 s),
// texts included; the same year written out as text, or on a time-zone clock (at most 1.5 times
// the year in universal time); many places and ten thousand years streamed as CSV; a thousand
// years drawn as a chart; the next event for scripts, and a year's calendar with its spans.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <memory>
#include <sstream>
#include <streambuf>

#include "cli/chart/daylight_chart.h"
#include "cli/table/sun_events.h"
#include "cli/table/sun_table.h"
#include "cli/table/table_format.h"
#include "tests/support/table_rows.h"
#include "tests/support/table_writing.h"

namespace orvalin {
namespace {

constexpr Day kFirst{std::chrono::year{2009} / 1 / 1};
constexpr Day kLast{std::chrono::year{2009} / 12 / 31};

TablePlace Geneva() {
  TablePlace p;
  p.name = "Geneva";
  p.latitude = Latitude(46.2);
  p.longitude = Longitude(6.15);
  return p;
}

void BM_YearOnePlace(benchmark::State& state) {
  const TablePlace place = Geneva();
  for (auto _ : state)
    benchmark::DoNotOptimize(ComputeRows(place, kFirst, kLast, Clock::Universal()));
}
BENCHMARK(BM_YearOnePlace)->Unit(benchmark::kMillisecond);

// The same year with the moon's events, phase and light on every row (goal: under 10 ms; about
// 7 ms, from 63 ms when the series were computed at every step of the search).
void BM_YearOnePlaceWithTheMoon(benchmark::State& state) {
  const TablePlace place = Geneva();
  SunSettings settings;
  settings.moon = true;
  for (auto _ : state)
    benchmark::DoNotOptimize(ComputeRows(place, kFirst, kLast, Clock::Universal(), settings));
}
BENCHMARK(BM_YearOnePlaceWithTheMoon)->Unit(benchmark::kMillisecond);

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
    places[i].latitude = Latitude(-85 + 170.0 * i / 999);
    places[i].longitude = Longitude(180 - 360.0 * ((i * 37) % 1000) / 1000);
  }
  for (auto _ : state) {
    std::size_t rows = 0;
    for (const TablePlace& p : places)
      rows += ComputeRows(p, kFirst, kLast, Clock::Universal()).size();
    benchmark::DoNotOptimize(rows);
  }
}
BENCHMARK(BM_YearThousandPlaces)->Unit(benchmark::kMillisecond)->Iterations(3);

// A stream that counts what it is given and keeps nothing.
class CountingBuffer : public std::streambuf {
 public:
  std::size_t bytes = 0;

 protected:
  std::streamsize xsputn(const char*, std::streamsize n) override {
    bytes += static_cast<std::size_t>(n);
    return n;
  }
  int overflow(int c) override {
    ++bytes;
    return c;
  }
};

std::vector<TablePlace> ThousandPlaces() {
  std::vector<TablePlace> places(1000);
  for (int i = 0; i < 1000; ++i) {
    places[i].name = "Place " + std::to_string(i + 1);
    places[i].latitude = Latitude(-85 + 170.0 * i / 999);
    places[i].longitude = Longitude(180 - 360.0 * ((i * 37) % 1000) / 1000);
  }
  return places;
}

// One run of the tool's loop over many places written as CSV: goal under 2 s.
void BM_YearThousandPlacesAsCsv(benchmark::State& state) {
  const std::vector<TablePlace> places = ThousandPlaces();
  const Clock clock = Clock::Universal();
  for (auto _ : state) {
    CountingBuffer buffer;
    std::ostream out(&buffer);
    TableWriter writer(out, TableStyle{TableFormat::Csv, false, false, true, {}});
    for (const TablePlace& p : places) {
      writer.BeginPlace(p, clock);
      ForEachRow(p, kFirst, kLast, clock, [&](const SunRow& row) { writer.Row(row); });
    }
    writer.End();
    benchmark::DoNotOptimize(buffer.bytes);
  }
}
BENCHMARK(BM_YearThousandPlacesAsCsv)->Unit(benchmark::kMillisecond)->Iterations(1);

// Every day of the years 1 to 9999 streamed as CSV: the peak resident memory of the whole
// process stays flat (goal: under 50 MB).
void BM_TenThousandYearsStreamed(benchmark::State& state) {
  const TablePlace place = Geneva();
  const Clock clock = Clock::Universal();
  for (auto _ : state) {
    CountingBuffer buffer;
    std::ostream out(&buffer);
    TableWriter writer(out, TableStyle{TableFormat::Csv, false, false, false, {}});
    writer.BeginPlace(place, clock);
    ForEachRow(place, Day{std::chrono::year{1} / 1 / 1}, Day{std::chrono::year{9999} / 12 / 31},
               clock, [&](const SunRow& row) { writer.Row(row); });
    writer.End();
    benchmark::DoNotOptimize(buffer.bytes);
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_TenThousandYearsStreamed)->Unit(benchmark::kMillisecond)->Iterations(1);

// A thousand years of rows gathered into a chart and drawn: the chart's share stays that of a few
// years, whatever the span (most of the time is the rows' computation).
void BM_ThousandYearsPlotted(benchmark::State& state) {
  const ChartApplication app("table_bench");
  const TablePlace place = Geneva();
  const Clock clock = Clock::Universal();
  const Day first{std::chrono::year{2000} / 1 / 1}, last{std::chrono::year{2999} / 12 / 31};
  const int days =
      static_cast<int>((std::chrono::sys_days{last} - std::chrono::sys_days{first}).count()) + 1;
  for (auto _ : state) {
    ChartDays chart(days, ChartLayout(kChartSize).times.width());
    ForEachRow(place, first, last, clock, [&](const SunRow& row) { chart.Add(row); });
    benchmark::DoNotOptimize(DrawDaylightChart(chart, ChartText{"Geneva", "2000-2999", "UT"}));
  }
}
BENCHMARK(BM_ThousandYearsPlotted)->Unit(benchmark::kMillisecond)->Iterations(1);

// --next: the next sunset in Geneva, within the day (goal: well under 50 ms), and the first
// sunrise after Tromsø's polar night, six weeks on.
void BM_NextSunEvent(benchmark::State& state) {
  TablePlace place = Geneva();
  if (state.range(0) != 0) place.latitude = Latitude(69.65);
  const BodyEvent sunset[] = {{false, kHorizonAltitude, state.range(0) != 0}};
  const Instant now{std::chrono::sys_days{Day{std::chrono::year{2027} / 12 / 1}}};
  for (auto _ : state) {
    benchmark::DoNotOptimize(NextEvent(place, sunset, now, now + std::chrono::days{366}));
  }
}
BENCHMARK(BM_NextSunEvent)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A year's calendar in Tromsø with the spans of civil twilight, golden and blue hours, each
// span's end found on the sun's path.
void BM_YearCalendarWithSpans(benchmark::State& state) {
  TablePlace place = Geneva();
  place.latitude = Latitude(69.65);
  TableStyle style;
  style.format = TableFormat::Ics;
  style.sun.twilight = -6;
  style.sun.golden = AltitudeBand{-4, 6};
  style.sun.blue = AltitudeBand{-6, -4};
  const Clock clock = Clock::Gmt(1);
  for (auto _ : state) {
    std::ostringstream out;
    TableWriter writer(out, style);
    writer.BeginPlace(place, clock);
    ForEachRow(place, kFirst, kLast, clock, [&](const SunRow& row) { writer.Row(row); }, style.sun);
    writer.End();
    benchmark::DoNotOptimize(out.str());
  }
}
BENCHMARK(BM_YearCalendarWithSpans)->Unit(benchmark::kMillisecond);

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
