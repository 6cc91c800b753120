// A year of days on each place's own clock against an independent ephemeris
// (tools/make-sun-reference.py --local-days): an event shown exactly when the day holds one, its
// time within the stated tolerance, and each row's length the sum of its own stretches. Prints
// the figures of the user guide's accuracy section.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/table/sun_table.h"
#include "clock/clock.h"
#include "common/out_text.h"
#include "tests/support/table_rows.h"

namespace orvalin {
namespace {

using std::chrono::day;
using std::chrono::month;
using std::chrono::year;

constexpr double kSecondsPerHour = 3600;
// Tolerances: an event within this of the day's edge may fall on either side of it; times up
// to 65 degrees of latitude and beyond; the length against the row's own events.
constexpr double kEdgeSeconds = 20;
constexpr double kTimeSeconds = 10;
constexpr double kPolarTimeSeconds = 60;
constexpr double kPolarLatitude = 65;
constexpr double kOwnLengthSeconds = 1;
// A day whose light or night lasts less than half an hour in either computation has the sun
// skimming the horizon, where the few arcseconds by which two theories of the sun differ move
// its events by minutes, or make them in one and not in the other.
constexpr double kGrazingSeconds = 1800;

struct ReferenceDay {
  std::vector<double> rises, sets;  // seconds after the day's first moment
  double length = 0;                // seconds
};

struct ReferencePlace {
  TablePlace place;
  std::string zone;
  std::vector<ReferenceDay> days;
};

std::vector<double> Seconds(const std::string& cell) {
  std::vector<double> values;
  std::stringstream split(cell);
  for (std::string v; std::getline(split, v, ';');) values.push_back(std::stod(v));
  return values;
}

std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  std::stringstream split(line);
  for (std::string cell; std::getline(split, cell, ',');) cells.push_back(cell);
  if (!line.empty() && line.back() == ',') cells.emplace_back();
  return cells;
}

std::vector<ReferencePlace> ReadReference(const std::string& path) {
  std::ifstream in(path);
  std::vector<ReferencePlace> places;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line.front() == '#') continue;
    const std::vector<std::string> c = Cells(line);
    if (c.front() == "place") {
      ReferencePlace p;
      p.place.name = c.at(1);
      p.place.latitude = std::stod(c.at(2));
      p.place.longitude_east = -std::stod(c.at(3));  // West positive in the reference
      p.zone = c.at(4);
      places.push_back(p);
    } else {
      places.back().days.push_back({Seconds(c.at(0)), Seconds(c.at(1)), std::stod(c.at(2))});
    }
  }
  return places;
}

// The seconds after the day's first moment at which a row's event falls.
double SecondsIntoDay(const LocalTime& t, const Clock::UtSpan& span) {
  const double ut = t.hours - t.offset_seconds / kSecondsPerHour;
  return (ut - span.from) * kSecondsPerHour;
}
double SecondsIntoDay(const EventTime& e, const Clock::UtSpan& span) {
  return SecondsIntoDay(e.local, span);
}

// The row's own stretches of daylight from its events, in seconds.
double OwnLength(const SunRow& row, const Clock::UtSpan& span) {
  const double day_seconds = (span.to - span.from) * kSecondsPerHour;
  if (row.status == SunOutcome::NoSunset) return day_seconds;
  if (row.sunrise.count != 1 || row.sunset.count != 1) return -1;  // not an ordinary day
  const double rise = SecondsIntoDay(row.sunrise, span), set = SecondsIntoDay(row.sunset, span);
  return rise < set ? set - rise : set + (day_seconds - rise);
}

// Up to 65 degrees of latitude, and beyond.
struct Errors {
  std::vector<double> sunrise[2], sunset[2], length;
};

double Quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
}

class DayCheck {
 public:
  DayCheck(const ReferencePlace& p, const SunRow& row, const Clock::UtSpan& span, Errors& errors)
      : p_(p), row_(row), span_(span), errors_(errors) {}

  bool Grazing(const ReferenceDay& reference) const {
    const double day_seconds = (span_.to - span_.from) * kSecondsPerHour;
    for (const double light : {row_.day_length * kSecondsPerHour, reference.length}) {
      if ((light > 0 && light < kGrazingSeconds) ||
          (light < day_seconds && light > day_seconds - kGrazingSeconds)) {
        return true;
      }
    }
    return false;
  }

  void Event(const char* name, const EventTime& e, const std::vector<double>& reference,
             std::vector<double>& errors) const {
    const double day_seconds = (span_.to - span_.from) * kSecondsPerHour;
    const auto near_edge = [&](double s) {
      return s < kEdgeSeconds || s > day_seconds - kEdgeSeconds;
    };
    const auto at_edges = std::count_if(reference.begin(), reference.end(), near_edge);
    const bool ours_at_edge = e.known && near_edge(SecondsIntoDay(e, span_));
    const long long difference = e.count - static_cast<long long>(reference.size());
    EXPECT_LE(std::llabs(difference), at_edges + (ours_at_edge ? 1 : 0))
        << Where() << name << "s: " << e.count << " shown, " << reference.size() << " true";
    if (!e.known || reference.empty() || difference != 0) return;
    const double error = std::abs(SecondsIntoDay(e, span_) - reference.front());
    const bool polar = std::abs(p_.place.latitude) > kPolarLatitude;
    EXPECT_LE(error, polar ? kPolarTimeSeconds : kTimeSeconds) << Where() << name;
    errors.push_back(error);
    ASSERT_EQ(e.later.size() + 1, reference.size()) << Where() << name;
    for (std::size_t k = 0; k < e.later.size(); ++k) {
      EXPECT_LE(std::abs(SecondsIntoDay(e.later[k].local, span_) - reference[k + 1]),
                polar ? kPolarTimeSeconds : kTimeSeconds)
          << Where() << "second " << name;
    }
  }

  void Length(const ReferenceDay& reference) const {
    const double length = row_.day_length * kSecondsPerHour;
    const double own = OwnLength(row_, span_);
    if (own >= 0) {
      EXPECT_NEAR(length, own, kOwnLengthSeconds) << Where() << "length";
    }
    errors_.length.push_back(std::abs(length - reference.length));
  }

 private:
  std::string Where() const {
    std::ostringstream where;
    where << p_.place.name << ' ' << IsoDate(row_.date) << ": ";
    return where.str();
  }

  const ReferencePlace& p_;
  const SunRow& row_;
  const Clock::UtSpan& span_;
  Errors& errors_;
};

TEST(LocalDays, AYearOnEachPlacesOwnClockAgainstAnIndependentEphemeris) {
  const std::vector<ReferencePlace> places = ReadReference(ORVALIN_LOCAL_DAYS_REFERENCE);
  ASSERT_GE(places.size(), 200u);
  const Day first{year{2027}, month{1}, day{1}}, last{year{2027}, month{12}, day{31}};
  Errors errors;
  std::size_t checked = 0;
  for (const ReferencePlace& p : places) {
    const std::optional<Clock> clock = Clock::Zone(p.zone);
    ASSERT_TRUE(clock) << p.zone;
    const std::vector<SunRow> rows = ComputeRows(p.place, first, last, *clock);
    ASSERT_EQ(rows.size(), p.days.size()) << p.place.name;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const SunRow& row = rows[i];
      const Clock::UtSpan span = *clock->DayInUt(row.date);
      const DayCheck check(p, row, span, errors);
      const int band = std::abs(p.place.latitude) > kPolarLatitude ? 1 : 0;
      if (!check.Grazing(p.days[i])) {
        check.Event("sunrise", row.sunrise, p.days[i].rises, errors.sunrise[band]);
        check.Event("sunset", row.sunset, p.days[i].sets, errors.sunset[band]);
      }
      check.Length(p.days[i]);
      ++checked;
    }
    if (HasFailure()) break;
  }
  std::cout << checked << " place-days\n| quantity | days | median | 95th percentile | maximum |\n"
            << "|---|---|---|---|---|\n";
  const std::pair<const char*, const std::vector<double>*> quantities[] = {
      {"sunrise up to 65°", &errors.sunrise[0]},
      {"sunset up to 65°", &errors.sunset[0]},
      {"sunrise beyond 65°", &errors.sunrise[1]},
      {"sunset beyond 65°", &errors.sunset[1]},
      {"day length", &errors.length}};
  for (const auto& [name, e] : quantities) {
    ASSERT_FALSE(e->empty());
    std::cout << std::fixed << std::setprecision(1) << "| " << name << " | " << e->size() << " | "
              << Quantile(*e, 0.5) << " s | " << Quantile(*e, 0.95) << " s | " << Quantile(*e, 1)
              << " s |\n";
  }
}

}  // namespace
}  // namespace orvalin
