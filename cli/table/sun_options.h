// The options that choose what the sun's rows hold: horizon, observer's height, twilight, a time
// of day, golden and blue hours.
#pragma once

#include "cli/args/command_line.h"
#include "cli/table/sun_table.h"

namespace orvalin {

// The sun's centre this far below the horizon ends each twilight, degrees.
inline constexpr std::pair<std::string_view, double> kTwilights[] = {
    {"civil", -6}, {"nautical", -12}, {"astronomical", -18}};
// Golden hour: the sun between 4 degrees below and 6 above the horizon; blue hour: between 6 and
// 4 below. Photographers' usual bands; others use other edges, so both can be set.
inline constexpr AltitudeBand kGoldenHour{-4, 6};
inline constexpr AltitudeBand kBlueHour{-6, -4};

// The horizon of NOAA's calculator and of the almanacs, --horizon standard: the sun's upper limb
// on the horizon under the standard refraction, its centre 16' + 34' = 50' below it, degrees. The
// window's, kHorizonAltitude, lies 0.22 degrees higher: its sunrise comes about a minute and a
// half later at middle latitudes, its sunset as much earlier.
inline constexpr double kStandardHorizon = -0.833;
inline constexpr std::string_view kStandardHorizonName = "standard";

inline constexpr double kHighestHorizon = 89;     // degrees: beyond it rising and setting lose sense
inline constexpr double kHighestObserver = 9000;  // metres

// The options ReadSunSettings reads.
inline constexpr OptionRule kSunOptionRules[] = {
    {"--at", true},
    {"--elevation", true},
    {"--horizon", true},
    {"--golden-hour", false, false, {}, true},
    {"--blue-hour", false, false, {}, true},
    {"--twilight", true},
};

// BadUsage naming the option and the accepted form for any value out of its range.
SunSettings ReadSunSettings(const CommandLine& cl);

}  // namespace orvalin
