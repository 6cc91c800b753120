// The table tool for scripts: the next event, waiting for it, whether it is day now.
#pragma once

#include <chrono>
#include <optional>
#include <ostream>

#include "cli/command_line.h"
#include "cli/sun_table.h"

namespace orvalin {

// Whether the command line asks for one of the script answers instead of a table.
bool AsksScriptAnswer(const CommandLine& cl);

// "2027-06-21T03:00:00+02:00" or "...Z" as a moment; BadUsage naming `option` otherwise.
std::chrono::sys_seconds ParseIsoMoment(std::string_view option, std::string_view text);

// --next EVENT, --wait EVENT [--offset MINUTES] or --is-day for one place on its clock, from
// --now or the system's clock. Returns the exit status.
int RunScriptAnswer(const CommandLine& cl, const TablePlace& place, const Clock& clock,
                    SunSettings settings, std::ostream& out, std::ostream& err);

}  // namespace orvalin
