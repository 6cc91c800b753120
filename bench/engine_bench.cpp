// One day's sun computation and one day's eight result texts.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "commands/calculate_day.h"
#include "engine/helpers.h"
#include "engine/moon_phases.h"
#include "engine/moon_sky.h"
#include "tests/engine/reference_sun_day.h"
#include "tests/support/memory_window.h"

namespace orvalin {
namespace {

constexpr double kGenevaWest = -6.15;
constexpr double kGenevaNorth = 46.2;
constexpr double kHorizon = kHorizonAltitude;
constexpr Observer kGeneva{Latitude(kGenevaNorth), Longitude::FromWest(kGenevaWest), kHorizon};

void ComputeOneDay(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(ComputeSunDay(kGeneva, {21, 6, 2009}));
  }
}
BENCHMARK(ComputeOneDay);

// The same day computed step by step as written, every value afresh: the yardstick for the
// engine's reuse of pure values.
void ComputeOneDayStepByStep(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        reference::ComputeByLine(kGenevaWest, kGenevaNorth, kHorizon, 21, 6, 2009));
  }
}
BENCHMARK(ComputeOneDayStepByStep);

// Every day of a year in turn, so that no branch is learnt for one date.
void ComputeDaysOfYear(benchmark::State& state) {
  std::int16_t day = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ComputeSunDay(kGeneva, {day, 1, 2024}));
    day = static_cast<std::int16_t>(day == 365 ? 1 : day + 1);
  }
}
BENCHMARK(ComputeDaysOfYear);

void EphemeridesInWindow(benchmark::State& state) {
  MemoryWindow window;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ComputeAndTellDay(window, kGeneva, {21, 6, 2009}));
  }
}
BENCHMARK(EphemeridesInWindow);

void EightTexts(benchmark::State& state) {
  const SunDay r = ComputeSunDay(kGeneva, {21, 6, 2009});
  for (auto _ : state) {
    benchmark::DoNotOptimize(TimeText(*r.SunriseTime));
    benchmark::DoNotOptimize(AngleText(*r.SunriseAzimuth));
    benchmark::DoNotOptimize(TimeText(*r.CulminationTime));
    benchmark::DoNotOptimize(AngleText(*r.CulminationAzimuth));
    benchmark::DoNotOptimize(TimeText(*r.SunsetTime));
    benchmark::DoNotOptimize(AngleText(*r.SunsetAzimuth));
    benchmark::DoNotOptimize(TimeText(*r.DayLength));
    benchmark::DoNotOptimize(AngleText(*r.CulminationElevation));
  }
}
BENCHMARK(EightTexts);

// The moon seen from Geneva at moments a minute apart, as a search for its crossings asks.
void MoonPositionAtAMoment(benchmark::State& state) {
  const MoonSky sky({kGeneva.latitude, kGeneva.longitude, 0}, {21, 6, 2027});
  double hours = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(sky.At(hours));
    hours += 1.0 / 60;
  }
}
BENCHMARK(MoonPositionAtAMoment);

// The light of a day: illuminated fraction and age, the last new moon searched each time.
void MoonLightOfADay(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(LightAt({21, 6, 2027}, 12));
}
BENCHMARK(MoonLightOfADay);

void MoonPhasesOfAYear(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(PrincipalPhases({1, 1, 2027}, {0, 365 * 24}));
}
BENCHMARK(MoonPhasesOfAYear);

}  // namespace
}  // namespace orvalin
