// A year of the moon on each place's own clock against an independent ephemeris
// (tools/make-moon-reference.py): a moonrise, moonset or transit shown exactly when the day holds
// one (a grazing one may go either way), times, azimuths and the light within the stated
// tolerances. Prints the figures of the user guide's accuracy section.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "clock/clock.h"
#include "common/out_text.h"
#include "cli/table/sun_script.h"
#include "cli/table/sun_table.h"
#include "tests/support/table_rows.h"

namespace orvalin {
namespace {

constexpr double kSecondsPerHour = 3600;
// Tolerances: times up to 60 degrees of latitude and beyond, azimuths and transit elevations,
// the illuminated fraction, the age (its reference is given to 0.0001 day); an event this near
// the day's edge may fall on either side of it.
constexpr double kPolarLatitude = 60;
constexpr double kTimeSeconds[2] = {10, 60};
constexpr double kAngleDegrees = 0.02;
// Where the moon skims the horizon its path is nearly level, and an arcsecond of altitude moves
// the azimuth of a crossing far more: a rise and a set within this, seconds, are near grazing.
constexpr double kNearGrazingSeconds = 3600;
constexpr double kNearGrazingDegrees = 0.05;
constexpr double kIlluminated = 0.002;
constexpr double kAgeDays = 0.001;
constexpr double kEdgeSeconds = 60;

struct ReferenceEvent {
  double seconds;  // after the day's first moment
  double degrees;  // azimuth, or a transit's elevation
  bool grazing;
  bool near_grazing = false;
};

struct ReferenceDay {
  std::vector<ReferenceEvent> events[3];  // rises, sets, transits
  double illuminated = 0, age = 0;
};

struct ReferencePlace {
  TablePlace place;
  std::vector<ReferenceDay> days;
};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream split(text);
  for (std::string part; std::getline(split, part, separator);) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

std::vector<ReferenceEvent> Events(const std::string& cell) {
  std::vector<ReferenceEvent> events;
  for (const std::string& e : Split(cell, ';')) {
    const std::vector<std::string> parts = Split(e, '/');
    events.push_back({std::stod(parts.at(0)), std::stod(parts.at(1)), e.back() == '*'});
  }
  return events;
}

std::vector<ReferencePlace> ReadReference(const std::string& path) {
  std::ifstream in(path);
  std::vector<ReferencePlace> places;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line.front() == '#') continue;
    const std::vector<std::string> c = Split(line, ',');
    if (c.front() == "place") {
      ReferencePlace p;
      p.place.name = c.at(1);
      p.place.latitude = Latitude(std::stod(c.at(2)));
      p.place.longitude = Longitude(std::stod(c.at(3)));
      p.place.zone = c.at(4);
      places.push_back(p);
      continue;
    }
    ReferenceDay day;
    for (int k = 0; k < 3; ++k) day.events[k] = Events(c.at(k));
    for (ReferenceEvent& rise : day.events[0]) {
      for (ReferenceEvent& set : day.events[1]) {
        if (std::fabs(rise.seconds - set.seconds) >= kNearGrazingSeconds) continue;
        rise.near_grazing = set.near_grazing = true;
      }
    }
    day.illuminated = std::stod(c.at(3));
    day.age = std::stod(c.at(4));
    places.back().days.push_back(day);
  }
  return places;
}

struct Shown {
  double seconds, degrees;
};

std::vector<Shown> ShownEvents(const EventTime& e, const AngleValue& angle,
                               const Clock::UtSpan& span) {
  const auto seconds = [&](const LocalTime& t) {
    return (t.hours - t.offset_seconds / kSecondsPerHour - span.from) * kSecondsPerHour;
  };
  std::vector<Shown> shown;
  if (!e.known) return shown;
  shown.push_back({seconds(e.local), angle.degrees});
  for (const LaterEvent& later : e.later) shown.push_back({seconds(later.local), later.azimuth});
  return shown;
}

struct Figures {
  std::vector<double> time[2], angle[2];
  int grazing_differing = 0;
  int near_grazing = 0;
};

double Quantile(std::vector<double> values, double q) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
}

// Each reference event matched by one shown within the time's tolerance, and each shown one by
// a reference event; unmatched grazing or edge events are counted, not failed.
void Compare(const std::vector<ReferenceEvent>& reference, const std::vector<Shown>& shown,
             double day_seconds, int band, Figures& figures, const std::string& where) {
  const double tolerance = kTimeSeconds[band];
  const auto excused = [&](double seconds, bool grazing) {
    return grazing || seconds < kEdgeSeconds || seconds > day_seconds - kEdgeSeconds;
  };
  for (const ReferenceEvent& r : reference) {
    const auto match = std::find_if(shown.begin(), shown.end(), [&](const Shown& s) {
      return std::fabs(s.seconds - r.seconds) <= tolerance;
    });
    if (match == shown.end()) {
      EXPECT_TRUE(excused(r.seconds, r.grazing)) << where << " missing at " << r.seconds;
      figures.grazing_differing += r.grazing ? 1 : 0;
      continue;
    }
    figures.time[band].push_back(std::fabs(match->seconds - r.seconds));
    const double angle = std::fabs(std::remainder(match->degrees - r.degrees, 360));
    figures.near_grazing += r.near_grazing ? 1 : 0;
    if (!r.grazing) {
      EXPECT_LE(angle, r.near_grazing ? kNearGrazingDegrees : kAngleDegrees)
          << where << " at " << r.seconds;
    }
    figures.angle[band].push_back(angle);
  }
  for (const Shown& s : shown) {
    const auto match = std::find_if(reference.begin(), reference.end(), [&](const auto& r) {
      return std::fabs(s.seconds - r.seconds) <= tolerance;
    });
    if (match != reference.end()) continue;
    const bool near_grazing = std::any_of(reference.begin(), reference.end(),
                                          [](const ReferenceEvent& r) { return r.grazing; });
    EXPECT_TRUE(excused(s.seconds, near_grazing || reference.empty()))
        << where << " extra at " << s.seconds;
    ++figures.grazing_differing;
  }
}

TEST(MoonDays, AYearOnEachPlacesOwnClockAgainstAnIndependentEphemeris) {
  const std::vector<ReferencePlace> places = ReadReference(ORVALIN_MOON_DAYS_REFERENCE);
  ASSERT_GE(places.size(), 200u);
  using std::chrono::year, std::chrono::month, std::chrono::day;
  const Day first{year{2027}, month{1}, day{1}}, last{year{2027}, month{12}, day{31}};
  SunSettings settings;
  settings.moon = true;
  Figures figures[3];
  std::vector<double> light;
  for (const ReferencePlace& p : places) {
    const std::optional<Clock> clock = Clock::Zone(p.place.zone);
    ASSERT_TRUE(clock) << p.place.zone;
    const std::vector<SunRow> rows = ComputeRows(p.place, first, last, *clock, settings);
    ASSERT_LE(rows.size(), p.days.size()) << p.place.name;
    const int band = std::fabs(p.place.latitude.Degrees()) > kPolarLatitude ? 1 : 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const SunRow::MoonDay& m = rows[i].moon;
      const Clock::UtSpan span = *clock->DayInUt(rows[i].date);
      const double day_seconds = (span.to - span.from) * kSecondsPerHour;
      const std::vector<Shown> shown[3] = {ShownEvents(m.rise, m.rise_azimuth, span),
                                           ShownEvents(m.set, m.set_azimuth, span),
                                           ShownEvents(m.transit, m.transit_elevation, span)};
      const std::string where = p.place.name + " " + IsoDate(rows[i].date);
      for (int k = 0; k < 3; ++k) {
        Compare(p.days[i].events[k], shown[k], day_seconds, band, figures[k], where);
      }
      EXPECT_NEAR(m.illuminated, p.days[i].illuminated, kIlluminated) << where;
      EXPECT_NEAR(m.age, p.days[i].age, kAgeDays) << where;
      light.push_back(std::fabs(m.illuminated - p.days[i].illuminated));
    }
    if (HasFailure()) break;
  }
  const char* names[3] = {"moonrise", "moonset", "transit"};
  for (int k = 0; k < 3; ++k) {
    for (int band = 0; band < 2; ++band) {
      const Figures& f = figures[k];
      std::cout << names[k] << (band ? " beyond 60: " : " up to 60: ") << "time s median "
                << Quantile(f.time[band], 0.5) << " p95 " << Quantile(f.time[band], 0.95) << " max "
                << Quantile(f.time[band], 1) << "; degrees median " << Quantile(f.angle[band], 0.5)
                << " p95 " << Quantile(f.angle[band], 0.95) << " max " << Quantile(f.angle[band], 1)
                << " (" << f.time[band].size() << " events)\n";
    }
    std::cout << names[k] << ": grazing or edge events shown differently "
              << figures[k].grazing_differing << ", near grazing " << figures[k].near_grazing
              << "\n";
  }
  std::cout << "illuminated: median " << Quantile(light, 0.5) << " max " << Quantile(light, 1)
            << "\n";
}

TEST(MoonDays, TheNextPhaseForScriptsWithinHalfAMinuteOfTheEphemeris) {
  // The first of each phase after 2027-01-01T00:00:00Z, as the reference gives it.
  const struct {
    const char* event;
    int day, hour, minute;
    double second;
  } kFirst[] = {{"new-moon", 7, 20, 24, 18.6},
                {"first-quarter", 15, 20, 34, 27.5},
                {"full-moon", 22, 12, 17, 18.2},
                {"last-quarter", 29, 10, 55, 24.4}};
  constexpr double kPhaseSeconds = 30;
  const std::chrono::sys_days year{std::chrono::year{2027} / 1 / 1};
  const TablePlace anywhere;  // phases are the same everywhere
  for (const auto& f : kFirst) {
    const auto events = EventsNamed("--next", f.event, SunSettings{});
    const auto found =
        NextEvent(anywhere, events, Instant{year}, Instant{year + std::chrono::days{40}});
    ASSERT_TRUE(found) << f.event;
    const double seconds = std::chrono::duration<double>(found->at - Instant{year}).count();
    const double expected = ((f.day - 1) * 24.0 + f.hour) * 3600 + f.minute * 60 + f.second;
    EXPECT_NEAR(seconds, expected, kPhaseSeconds) << f.event;
  }
}

}  // namespace
}  // namespace orvalin
