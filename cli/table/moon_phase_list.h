// The moon's principal phases within a span of days, on a clock: a list in any of the table's
// formats but the calendar, which carries them among its events.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "clock/clock.h"
#include "cli/table/day_span.h"
#include "cli/table/table_format.h"
#include "engine/moon_phases.h"

namespace orvalin {

struct PhaseOnClock {
  PrincipalPhase phase;
  std::string time;  // "2027-01-22T13:17:10+01:00", to the nearest second on the clock
};

// Every principal phase from the first moment of `first` on the clock to the end of `last`.
std::vector<PhaseOnClock> PhasesWithin(Day first, Day last, const Clock& clock);

void WritePhases(const std::vector<PhaseOnClock>& phases, const Clock& clock, TableFormat format,
                 std::ostream& out);

}  // namespace orvalin
