// The commands on large places files: search, make default (with its sort), step to a record.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "commands/browse.h"
#include "commands/default_place.h"
#include "commands/search.h"
#include "commands/start_up.h"
#include "common/text.h"
#include "placesfile/place_finder.h"
#include "tests/support/memory_window.h"

namespace orvalin {
namespace {

std::string Name(int n) {
  char name[16];
  std::snprintf(name, sizeof name, "P%06d", n);
  return name;
}

// Records named P000001, P000002... or, reversed, counting down.
std::string PlacesBytes(int records, bool reversed) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(records) * kRecordSize);
  for (int r = 1; r <= records; ++r) {
    PlaceRecord place;
    place.PlaceName = FixedText(Name(reversed ? records + 1 - r : r), kNameWidth);
    place.CountryName = FixedText("Switzerland", kCountryWidth);
    place.LatitudeText = FixedText("46 12 0 N", kAngleWidth);
    place.LongitudeText = FixedText("6 9 0 E", kAngleWidth);
    place.GmtHours = 1;
    const RecordBytes b = EncodeRecord(place);
    bytes.append(b.data(), b.size());
  }
  return bytes;
}

struct Bench {
  Bench()
      : dir(std::filesystem::temp_directory_path() /
            ("orvalin-bench-" + std::to_string(::getpid()))),
        session(window) {
    std::filesystem::create_directories(dir);
    session.DataDirectory = dir.string() + "/";
    window.SetFieldText(Field::Date, "05-03-2024");
  }
  ~Bench() { std::filesystem::remove_all(dir); }
  void Write(const std::string& bytes) {
    std::ofstream(dir / "location.dat", std::ios::binary | std::ios::trunc) << bytes;
  }

  std::filesystem::path dir;
  MemoryWindow window;
  Session session;
};

void SearchLastOf100000(benchmark::State& state) {
  Bench b;
  b.Write(PlacesBytes(100000, false));
  for (auto _ : state) {
    b.window.ClearEvents();
    b.window.QueueInput(Name(100000));
    Search(b.session);
  }
  if (b.session.CurrentRecord != 100000) state.SkipWithError("not found");
}
BENCHMARK(SearchLastOf100000)->Unit(benchmark::kMillisecond);

void DefaultDataFromLastOf20000Reversed(benchmark::State& state) {
  Bench b;
  const std::string reversed = PlacesBytes(20000, true);
  for (auto _ : state) {
    state.PauseTiming();
    b.Write(reversed);
    b.session.CurrentRecord = 20000;
    b.window.ClearEvents();
    state.ResumeTiming();
    DefaultData(b.session);
  }
  if (!b.window.MessageTexts().empty()) state.SkipWithError(b.window.MessageTexts()[0].c_str());
}
BENCHMARK(DefaultDataFromLastOf20000Reversed)->Unit(benchmark::kMillisecond);

// From the middle of a file of 100,000 records, one record on and back again.
void StepRecord(benchmark::State& state, void (*step)(Session&)) {
  Bench b;
  b.Write(PlacesBytes(100000, false));
  for (auto _ : state) {
    b.session.CurrentRecord = 50000;
    b.window.ClearEvents();
    step(b.session);
  }
}
BENCHMARK_CAPTURE(StepRecord, NextRecord, NextRecord)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(StepRecord, PreviousRecord, PreviousRecord)->Unit(benchmark::kMicrosecond);

// The places a first run opens on: the sample places and the world list.
std::string SamplePlaces() {
  std::ifstream in(ORVALIN_SAMPLE_DAT, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void SearchLastOfSample(benchmark::State& state) {
  Bench b;
  const std::string bytes = SamplePlaces();
  b.Write(bytes);
  const auto last = static_cast<std::int32_t>(bytes.size() / kRecordSize);
  // The last record's whole name, blanks included, finds no earlier record.
  const std::string name = DecodeRecord(RecordBytesAt(bytes, last)).PlaceName + "~";
  for (auto _ : state) {
    b.window.ClearEvents();
    b.window.QueueInput(name);
    Search(b.session);
  }
  state.counters["records"] = last;
  if (b.session.CurrentRecord != last) state.SkipWithError("not the last record");
}
BENCHMARK(SearchLastOfSample)->Unit(benchmark::kMillisecond);

void DefaultDataFromLastOfSample(benchmark::State& state) {
  Bench b;
  const std::string bytes = SamplePlaces();
  for (auto _ : state) {
    state.PauseTiming();
    b.Write(bytes);
    b.session.CurrentRecord = static_cast<std::int32_t>(bytes.size() / kRecordSize);
    b.window.ClearEvents();
    state.ResumeTiming();
    DefaultData(b.session);
  }
  if (!b.window.MessageTexts().empty()) state.SkipWithError(b.window.MessageTexts()[0].c_str());
}
BENCHMARK(DefaultDataFromLastOfSample)->Unit(benchmark::kMillisecond);

void StartUpOnSample(benchmark::State& state) {
  Bench b;
  b.Write(SamplePlaces());
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(b.dir);
  for (auto _ : state) {
    MemoryWindow window;
    Session session(window);
    StartUp(session);
    benchmark::DoNotOptimize(window.FieldText(Field::SunriseTime));
  }
  std::filesystem::current_path(before);
}
BENCHMARK(StartUpOnSample)->Unit(benchmark::kMillisecond);

// The world list with its other names, read and made ready as a tool does at each run.
void LoadWorldList(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(WorldList::Load(ORVALIN_WORLD_PLACES_CSV));
}
BENCHMARK(LoadWorldList)->Unit(benchmark::kMillisecond);

// The zone tree read and checked, as a tool does when it first needs a zone; "bytes" its size.
void LoadZoneTree(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(LoadZoneGrid(ORVALIN_WORLD_PLACES_CSV));
  state.counters["bytes"] =
      static_cast<double>(std::filesystem::file_size(ZoneGridPath(ORVALIN_WORLD_PLACES_CSV)));
}
BENCHMARK(LoadZoneTree)->Unit(benchmark::kMillisecond);

// The zone at each town of the world list in turn, many of them near a border: under 20 us.
void ZoneAtTowns(benchmark::State& state) {
  const WorldList world = WorldList::Load(ORVALIN_WORLD_PLACES_CSV);
  const std::optional<ZoneGrid> grid = LoadZoneGrid(ORVALIN_WORLD_PLACES_CSV).grid;
  if (!grid) return state.SkipWithError("no zone tree");
  std::size_t k = 0;
  for (auto _ : state) {
    const WorldTown& town = world.Towns()[k++ % world.Towns().size()];
    benchmark::DoNotOptimize(grid->ZoneAt(town.latitude, town.longitude));
  }
}
BENCHMARK(ZoneAtTowns)->Unit(benchmark::kMicrosecond);

void MakeFinderOnSample(benchmark::State& state) {
  const std::string bytes = SamplePlaces();
  const WorldList world = WorldList::Load(ORVALIN_WORLD_PLACES_CSV);
  for (auto _ : state) benchmark::DoNotOptimize(PlaceFinder(bytes, world));
}
BENCHMARK(MakeFinderOnSample)->Unit(benchmark::kMillisecond);

// One look-up over the sample's 26,465 records and the towns' other names: under 5 ms.
void FindOnSample(benchmark::State& state, const char* typed) {
  const std::string bytes = SamplePlaces();
  const WorldList world = WorldList::Load(ORVALIN_WORLD_PLACES_CSV);
  const PlaceFinder finder(bytes, world);
  for (auto _ : state) benchmark::DoNotOptimize(finder.Find(typed));
  if (finder.Find(typed).empty()) state.SkipWithError("nothing found");
}
BENCHMARK_CAPTURE(FindOnSample, OneLetter, "s")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindOnSample, Name, "Sao Paulo")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindOnSample, OtherName, "Kiev")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindOnSample, NameAndCountry, "Sydney, CA")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindOnSample, NameAndDivision, "Paris, Texas")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindOnSample, Country, "Mexico")->Unit(benchmark::kMillisecond);

// The window's search where the exact rule misses and the other names find the place.
void SearchOtherNameOfSample(benchmark::State& state) {
  Bench b;
  b.Write(SamplePlaces());
  b.session.World = WorldListSource(ORVALIN_WORLD_PLACES_CSV);
  for (auto _ : state) {
    b.window.ClearEvents();
    b.window.QueueInput("Kiev");
    Search(b.session);
  }
  if (!b.window.MessageTexts().empty()) state.SkipWithError("not found");
}
BENCHMARK(SearchOtherNameOfSample)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvalin
