// orvalin-table's command line read once, before any file is: the days, the clock, the places,
// the style and what is asked instead of a table, with every rule that ties options together
// checked.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "cli/args/command_line.h"
#include "cli/table/progress.h"
#include "cli/table/sun_script.h"
#include "cli/table/table_format.h"
#include "cli/table_tool/table_options.h"
#include "cli/table_tool/table_places.h"
#include "clock/clock.h"

namespace orvalin {

inline constexpr std::string_view kGmtNeedsStoredOffset =
    "--gmt takes the offset stored with a place of the file; use --tz with --lat/--lon";

// The clock of the rows: universal time, each row the window's day (the default); each place's
// stored offset (--gmt); one zone for every place (--tz AREA/CITY); each place's own zone (--tz
// place, and a calendar's default).
struct UniversalTime {};
struct StoredOffset {};
struct EachPlaceZone {};
using ClockChoice = std::variant<UniversalTime, StoredOffset, Clock, EachPlaceZone>;

struct TableRequest {
  DaySpan days;
  ClockChoice clock;
  PlaceChoice places;
  TableStyle style;  // many_places is known once the places are found
  std::optional<ScriptQuestion> question;  // a script's answer instead of a table
  std::optional<int> path_minutes;         // the sun's path every so many minutes instead
  bool moon_phases = false;                // the moon's principal phases instead
  std::optional<std::string> plot;         // the chart's file
  Progress::Mode progress = Progress::Mode::Auto;
};

// BadUsage for whatever the command line cannot mean.
TableRequest ReadTableRequest(const CommandLine& cl);

}  // namespace orvalin
