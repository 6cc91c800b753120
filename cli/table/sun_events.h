// A body's events after a moment, whatever days and clocks they fall on: the first crossing of
// an altitude upwards or downwards, or the first culmination.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "cli/table/sun_table.h"
#include "engine/moon_phases.h"

namespace orvalin {

// A moment to the microsecond, which covers the years 1 to 9999 in 64 bits.
using Instant = std::chrono::sys_time<std::chrono::microseconds>;

// What an event is of: the sun's centre crossing an altitude, the moon's upper limb crossing its
// own, or a principal phase of the moon.
enum class Sky { Sun, Moon, MoonPhase };

// An event looked for: a body crossing an altitude in one direction, or its upper transit (then
// the altitude is of no account); or a phase of the moon.
struct BodyEvent {
  bool culmination = false;
  double altitude = 0;  // degrees, the sun's
  bool rising = false;
  Sky body = Sky::Sun;
  double metres = 0;  // the observer's height, for the moon's dip
  PrincipalPhase phase = PrincipalPhase::NewMoon;
};

// The sun entering a band of altitudes, climbing through its low edge or sinking through its
// high one; and leaving it, climbing through the high edge or sinking through the low one.
std::array<BodyEvent, 2> BandEntries(const AltitudeBand& band);
std::array<BodyEvent, 2> BandExits(const AltitudeBand& band);

struct FoundEvent {
  Instant at;
  std::size_t which;  // in the events looked for
};

// The first of `events` strictly after `after` and not after `until`; nothing when none comes.
std::optional<FoundEvent> NextEvent(const TablePlace& place, std::span<const BodyEvent> events,
                                    Instant after, Instant until);

// The moment `hours` after 0 h UT of `day`, to the microsecond; that of a time on a clock.
Instant InstantOf(Day day, double hours);
Instant InstantOf(const LocalTime& t);

// "2027-06-21T05:45:18+02:00": the moment to the nearest second on `clock`.
std::string LocalIso(const Clock& clock, Instant moment);

}  // namespace orvalin
