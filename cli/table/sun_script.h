// The table tool for scripts: the next event, waiting for it, whether it is day now.
#pragma once

#include <chrono>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/table/sun_events.h"
#include "cli/table/sun_table.h"

namespace orvalin {

// --is-day answers 1 for night, so its failures take a status of their own.
inline constexpr int kExitIsDayFailure = 3;

// The crossings (or the culmination) that make the event `name` ("sunrise", "golden-hour-end")
// with the altitudes of `settings`; BadUsage naming `option` for an unknown name.
std::vector<BodyEvent> EventsNamed(std::string_view option, std::string_view name,
                                   const SunSettings& settings);

// The name of an event a script may ask for; BadUsage naming `option` and the names otherwise.
std::string_view ScriptEventName(std::string_view option, std::string_view name);

// A script's question: --next or --wait EVENT with an --offset, or --is-day, from --now or this
// computer's clock.
struct ScriptQuestion {
  enum class Ask { Next, Wait, IsDay } ask;
  std::string event;  // of --next and --wait, a known name
  std::chrono::microseconds offset{0};
  Instant now;
};

// "2027-06-21T03:00:00+02:00", "...Z", with fractions of a second ("03:00:00.25Z", or after a
// comma as date --iso-8601=ns writes them), in the years 1 to 9999 of universal time; BadUsage
// naming `option` otherwise.
Instant ParseIsoMoment(std::string_view option, std::string_view text);

// Minutes from -1440 to 1440 with at most one sign ("-30", "+15", "2.5"); BadUsage otherwise.
double ParseOffsetMinutes(std::string_view option, std::string_view text);

// The answer for one place on its clock. Returns the exit status.
int RunScriptAnswer(const ScriptQuestion& question, const TablePlace& place, const Clock& clock,
                    const SunSettings& settings, std::ostream& out, std::ostream& err);

}  // namespace orvalin
