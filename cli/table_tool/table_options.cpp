#include "cli/table_tool/table_options.h"

#include "cli/args/tool_errors.h"
#include "cli/table/sun_options.h"
#include "common/out_text.h"
#include "engine/sun_day.h"
#include "engine/sun_path.h"

namespace orvalin {
namespace {

constexpr OptionRule kTableOwnOptions[] = {
    {"--file", true},
    {"--record", true, true},
    {"--place", true, true},
    {"--all", false},
    {"--lat", true},
    {"--lon", true},
    {"--date", true},
    {"--month", true},
    {"--year", true},
    {"--from", true},
    {"--to", true},
    {"--gmt", false},
    {"--tz", true},
    {"--format", true},
    {"--minutes", false},
    {"--window-texts", false},
    {"--plot", true},
    {"--help", false, false, "-h"},
    {"--version", false, false, "-V"},
    {"--next", true},
    {"--wait", true},
    {"--offset", true},
    {"--is-day", false},
    {"--now", true},
    {"--path", true},
    {"--quiet", false},
    {"--progress", false},
    {"--moon", false},
    {"--moon-phases", false},
};
constexpr auto kOptions = JoinRules(kTableOwnOptions, kSunOptionRules);

// @HORIZON@ stands for the default horizon altitude.
constexpr std::string_view kHelp =
    R"(Usage: orvalin-table [PLACES] [DAYS] [CLOCK] [OUTPUT]
Sunrise, culmination and sunset of places over many days, computed as the
Orvalin window computes them (true azimuths, horizon altitude @HORIZON@ degrees).
That horizon puts sunrise about a minute and a half later, and sunset as much
earlier, than NOAA and the almanacs, which take @STANDARD@: --horizon standard.

Places (default: record 1 of the places file, the default place):
  --file FILE         the places file (default: location.dat in this folder,
                      else the window's, in $XDG_DATA_HOME/orvalin)
  --record N          record N of the places file; may be repeated
  --place TEXT        the place best named by TEXT, as orvalin-places find
                      lists them ("Sydney", "Sydney, Canada", "Kiev"); may be
                      repeated
  --all               every record of the places file
  --lat TEXT --lon TEXT
                      typed coordinates: --lat "46 12 0 N" --lon "6 9 0 E"
Days (default: today):
  --date DD-MM-YYYY   one day
  --month MM-YYYY     every day of a month
  --year YYYY         every day of a year
  --from DD-MM-YYYY --to DD-MM-YYYY
                      every day from one date to the other, both included
Clock (default: universal time, each row a day as the window computes it):
  --gmt               the place's stored offset from GMT (no daylight saving)
  --tz AREA/CITY      a time zone of the system, daylight saving included:
                      Europe/Zurich, US/Eastern, UTC, local (this system's), or
                      place (the place's own zone, from the world list of
                      places and the zones' boundaries)
  On a clock each row is one day of that clock, with that day's events.
Output:
  --format FORMAT     text (the default), csv or json (texts and decimals,
                      ISO 8601 dates and times, one line a day and place), or
                      ics (a calendar: an event per sunrise and sunset, spans
                      of twilight, golden and blue hours when asked; without
                      --tz or --gmt on the place's own zone, as --tz place)
  --horizon DEG       the altitude of the sun's centre at sunrise and sunset,
                      degrees (default @HORIZON@: refraction and the sun's radius),
                      or standard: @STANDARD@, as NOAA and the almanacs take it
  --twilight KIND     civil, nautical or astronomical: dawn and dusk with the
                      sun @CIVIL@, @NAUTICAL@ or @ASTRONOMICAL@ degrees below the horizon
  --elevation METRES  the observer's height above the ground (0 to @HIGHEST@): the
                      horizon is lowered by its dip, @DIP@' times the root of it
  --at HH:MM[:SS]     also the sun's azimuth and elevation (geometric, and as
                      refraction shows it at 10 C and 1010 hPa) at that time
                      of each day on the table's clock
  --moon              also the moon: moonrise, upper transit and moonset with
                      their azimuths and the transit's elevation, the phase's
                      name, the illuminated fraction and the age in days at
                      12:00 of each day; with --at or --path, the moon then too
  --moon-phases       instead of a row a day, every new moon, first quarter,
                      full moon and last quarter of the days, on the clock
Scripts (one place; from --now, else this computer's clock; no days options):
  --next EVENT        print the next EVENT as a local ISO 8601 time: sunrise,
                      sunset, culmination, dawn, dusk, golden-hour-start,
                      golden-hour-end, blue-hour-start, blue-hour-end,
                      moonrise, moonset, moon-transit, new-moon,
                      first-quarter, full-moon or last-quarter,
                      looked for up to 366 days ahead and up to the year 9999
  --wait EVENT        sleep until the next EVENT, then exit 0 (at once when it
                      passed less than a minute ago); --offset MINUTES (-1440
                      to 1440) moves it, with --next too
  --is-day            exit 0 when the sun is above the horizon altitude now
                      (with --twilight, above the twilight's), 1 when not,
                      2 for bad usage, 3 for any other failure
  --now YYYY-MM-DDTHH:MM:SS[.FFF]+HH:MM (or Z)
                      the moment taken as now, in the years 1 to 9999 (UT)
  --path MINUTES      instead of a row a day, the sun's azimuth and elevation
                      every MINUTES of each day; with --plot and one day, the
                      chart is that path
  --golden-hour[=LOW,HIGH]
                      the morning's and the evening's golden hour: the sun
                      between @GOLDEN_LOW@ and @GOLDEN_HIGH@ degrees, or LOW and HIGH
  --blue-hour[=LOW,HIGH]
                      the blue hour: the sun between @BLUE_LOW@ and @BLUE_HIGH@ degrees
  --minutes           text: times and day lengths to the minute
  --window-texts      text: the window's own texts, "3h 45mn 19.5s"
  --plot FILE.png     also draw a chart of the days (one place only)
  --quiet             no progress line; --progress: one even when standard
                      error is not a terminal (a run over a second shows one)
  -h, --help          show this help
  -V, --version       show the version

Days without sunrise or sunset say so, with a day length of 0 or 24 hours.
Exit status: 0 done, 1 failure (places file, place, writing), 2 bad usage;
--is-day: 0 day, 1 night, 2 bad usage, 3 failure.
)";

}  // namespace

std::span<const OptionRule> TableOptions() { return kOptions; }

const std::string& TableHelp() {
  // The figures the help quotes are filled in from where they are defined.
  static const std::string help = [] {
    const std::pair<std::string_view, double> marks[] = {
        {"@HORIZON@", kHorizonAltitude},
        {"@STANDARD@", kStandardHorizon},
        {"@CIVIL@", -kTwilights[0].second},
        {"@NAUTICAL@", -kTwilights[1].second},
        {"@ASTRONOMICAL@", -kTwilights[2].second},
        {"@HIGHEST@", kHighestObserver},
        {"@DIP@", kDipPerRootMetre},
        {"@GOLDEN_LOW@", kGoldenHour.low},
        {"@GOLDEN_HIGH@", kGoldenHour.high},
        {"@BLUE_LOW@", kBlueHour.low},
        {"@BLUE_HIGH@", kBlueHour.high},
    };
    std::string text(kHelp);
    for (const auto& [mark, value] : marks) {
      const std::string figure = ShortestDecimal(value);
      for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at)) {
        text.replace(at, mark.size(), figure);
      }
    }
    return text;
  }();
  return help;
}

std::string SpanText(const DaySpan& span) {
  if (span.first == span.last) return DateText(span.first);
  return DateText(span.first) + " to " + DateText(span.last);
}

int DayCount(const DaySpan& span) {
  using std::chrono::sys_days;
  return static_cast<int>((sys_days{span.last} - sys_days{span.first}).count()) + 1;
}

}  // namespace orvalin
