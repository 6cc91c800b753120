// --next chained through a year against an independent ephemeris (tools/make-sun-reference.py
// --next-events): at Tromsø, New Delhi and Quito every event of the reference is answered once,
// in order, within 10 s (60 s above 65 degrees of latitude), and none is answered that it lacks.
// Where the sun only grazes an altitude, staying on one side of it for less than half an hour,
// the few arcseconds by which two theories of the sun differ move the crossing by minutes.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/table/sun_script.h"

namespace orvalin {
namespace {

using std::chrono::seconds;

constexpr double kTimeSeconds = 10;
constexpr double kPolarTimeSeconds = 60;
constexpr double kPolarLatitude = 65;
constexpr double kGrazingTimeSeconds = 300;
constexpr std::chrono::minutes kGrazing{30};
constexpr Day kYear{std::chrono::year{2027} / 1 / 1};

struct ReferencePlace {
  TablePlace place;
  std::map<std::string, std::vector<double>> events;  // seconds from kYear's first moment
};

std::vector<ReferencePlace> ReadReference(const std::string& path) {
  std::ifstream in(path);
  std::vector<ReferencePlace> places;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line.front() == '#') continue;
    std::vector<std::string> c;
    std::stringstream split(line);
    for (std::string cell; std::getline(split, cell, ',');) c.push_back(cell);
    if (c.at(0) == "place") {
      ReferencePlace p;
      p.place.name = c.at(1);
      p.place.latitude = Latitude(std::stod(c.at(2)));
      p.place.longitude = Longitude::FromWest(std::stod(c.at(3)));  // as the reference has it
      places.push_back(p);
    } else {
      places.back().events[c.at(0)].push_back(std::stod(c.at(1)));
    }
  }
  return places;
}

struct Answer {
  double seconds;  // from kYear's first moment
  bool grazing;
};

// Every answer of --next through the year, each asked from the moment of the one before.
std::vector<Answer> Chained(const TablePlace& place, const std::string& kind) {
  const std::vector<BodyEvent> events = EventsNamed("--next", kind, SunSettings{});
  const Instant start{std::chrono::sys_days{kYear}};
  const Instant end = start + std::chrono::days{365};
  std::vector<Answer> answers;
  Instant after = start - std::chrono::microseconds{1};
  while (const auto found = NextEvent(place, events, after, end)) {
    const BodyEvent& e = events[found->which];
    const BodyEvent back[] = {{false, e.altitude, !e.rising}};
    const bool grazing =
        !e.culmination && NextEvent(place, back, found->at - kGrazing, found->at + kGrazing);
    answers.push_back({std::chrono::duration<double>(found->at - start).count(), grazing});
    after = found->at;
  }
  return answers;
}

TEST(NextEvents, AYearOfAnswersAgainstAnIndependentEphemeris) {
  const std::vector<ReferencePlace> places = ReadReference(ORVALIN_NEXT_EVENTS_REFERENCE);
  ASSERT_EQ(places.size(), 3u);
  std::cout << "| place | answers | maximum | grazing | their maximum |\n|---|---|---|---|---|\n";
  for (const ReferencePlace& p : places) {
    const double tolerance =
        std::abs(p.place.latitude.Degrees()) > kPolarLatitude ? kPolarTimeSeconds : kTimeSeconds;
    ASSERT_EQ(p.events.size(), 9u) << p.place.name;
    std::size_t answers = 0, grazing = 0;
    double worst[2] = {0, 0};
    for (const auto& [kind, reference] : p.events) {
      const std::vector<Answer> ours = Chained(p.place, kind);
      ASSERT_EQ(ours.size(), reference.size()) << p.place.name << ' ' << kind;
      for (std::size_t i = 0; i < ours.size(); ++i) {
        const double error = std::abs(ours[i].seconds - reference[i]);
        EXPECT_LE(error, ours[i].grazing ? kGrazingTimeSeconds : tolerance)
            << p.place.name << ' ' << kind << ' ' << reference[i];
        worst[ours[i].grazing ? 1 : 0] = std::max(worst[ours[i].grazing ? 1 : 0], error);
        grazing += ours[i].grazing ? 1 : 0;
      }
      answers += ours.size();
    }
    std::cout << std::fixed << std::setprecision(1) << "| " << p.place.name << " | " << answers
              << " | " << worst[0] << " s | " << grazing << " | " << worst[1] << " s |\n";
  }
}

}  // namespace
}  // namespace orvalin
