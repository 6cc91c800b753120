// The moon's and the sun's apparent geocentric places as an almanac tabulates them: computed from
// their series at entries a day apart for the moon, four for the sun, each once, and interpolated
// between them. A table of the moon's days asks for fifty places a day and more (the search for
// its rising, setting and transit, its phases and light); the series are nearly all their cost.
// Eight entries around the moment keep its place within a few hundredths of an arcsecond of the
// series: the moon covers that in a tenth of a second.
#pragma once

#include <array>
#include <cstddef>

namespace orvalin {

// The moon's place as a vector on the true equator of the date, Earth radii: x towards the
// equinox, z towards the north pole; and the equation of the equinoxes (apparent less mean
// sidereal time, degrees): all its topocentric place is made from.
struct MoonVector {
  double x, y, z;
  double equinox_equation;
};

// What the moon's events, phases and light are made from at one moment: degrees and km, on the
// ecliptic and equinox of the date.
struct GeocentricSky {
  MoonVector moon;
  double moon_longitude;  // apparent; interpolated, not reduced to [0, 360)
  double moon_latitude;
  double sun_longitude;   // apparent; interpolated, not reduced to [0, 360)
  double sun_distance;

  double MoonDistance() const;  // km, between the centres
};

// The series themselves at a Julian Day of universal time, Delta T applied.
GeocentricSky GeocentricSkyAt(double julian_day);
// The moon's alone.
MoonVector MoonVectorAt(double julian_day);

// Entries `spacing` days apart, a month's worth kept, and Lagrange's polynomial through the
// eight around a moment, written as powers of the moment's place in its interval, once for each
// interval: a search goes to and fro across the ends of days. `Entry` is a struct of doubles listed in `Entry::kFields`, with
// `static Entry At(double julian_day)` and `static void Follow(Entry& e, const Entry& near)`,
// which takes its angles to within half a turn of near's so that they run on without a jump.
template <class Entry, int kSpacingDays>
class Tabulation {
 public:
  // Takes the interval of a Julian Day of universal time; false beyond the calendar's days,
  // where the series are used themselves.
  bool Around(double julian_day);
  // A field at that moment.
  double Mix(double Entry::*field) const;

 private:
  static constexpr int kAround = 8, kBefore = 3;
  static constexpr std::size_t kKept = 64;
  struct Kept {
    long index = -1;  // of the entry, counted in spacings from Julian Day 0; -1: none yet
    Entry entry{};
  };
  struct Interval {
    long first = -1;  // the entry that opens it; -1: none yet
    // The polynomial's coefficients, of p^0 to p^7, each field's in its place.
    std::array<Entry, kAround> powers{};
  };
  static constexpr std::size_t kIntervals = 8;
  const Entry& EntryOf(long index);
  void Interpolate(Interval& interval, long first);

  std::array<Kept, kKept> kept_{};
  std::array<Interval, kIntervals> intervals_{};
  const Interval* interval_ = &intervals_[0];  // of the last moment
  double p_ = 0;                                // the moment's place in it, [0, 1)
};

// One table's ephemeris, kept while it computes its days and places: the entries do not depend
// on the observer.
class MoonEphemeris {
 public:
  // At a Julian Day of universal time.
  GeocentricSky At(double julian_day);
  MoonVector VectorAt(double julian_day);

  struct MoonEntry {
    double x, y, z, equinox_equation, longitude, latitude;
    static constexpr std::array kFields = {&MoonEntry::x,         &MoonEntry::y,
                                           &MoonEntry::z,         &MoonEntry::equinox_equation,
                                           &MoonEntry::longitude, &MoonEntry::latitude};
    static MoonEntry At(double julian_day);
    static void Follow(MoonEntry& e, const MoonEntry& near);
  };
  struct SunEntry {
    double longitude, distance;
    static constexpr std::array kFields = {&SunEntry::longitude, &SunEntry::distance};
    static SunEntry At(double julian_day);
    static void Follow(SunEntry& e, const SunEntry& near);
  };

 private:
  MoonVector MixedVector() const;

  Tabulation<MoonEntry, 1> moon_;
  Tabulation<SunEntry, 4> sun_;
};

}  // namespace orvalin
