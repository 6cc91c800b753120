#include "cli/table_cli.h"

#include <unistd.h>

#include <QDate>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <iostream>
#include <memory>
#include <optional>

#include "cli/command_line.h"
#include "cli/daylight_chart.h"
#include "cli/found_places.h"
#include "cli/path_table.h"
#include "cli/place_input.h"
#include "cli/progress.h"
#include "cli/sun_options.h"
#include "cli/sun_script.h"
#include "cli/table_format.h"
#include "cli/tool_errors.h"
#include "cli/world_places.h"
#include "placesfile/place_finder.h"
#include "placesfile/places_file.h"

namespace orvalin {
namespace {

constexpr std::string_view kProgram = "orvalin-table";

constexpr OptionRule kOptions[] = {
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
    {"--horizon", true},
    {"--twilight", true},
    {"--elevation", true},
    {"--at", true},
    {"--golden-hour", false, false, {}, true},
    {"--blue-hour", false, false, {}, true},
    {"--next", true},
    {"--wait", true},
    {"--offset", true},
    {"--is-day", false},
    {"--now", true},
    {"--path", true},
    {"--quiet", false},
    {"--progress", false},
};

constexpr std::string_view kHelp =
    R"(Usage: orvalin-table [PLACES] [DAYS] [CLOCK] [OUTPUT]
Sunrise, culmination and sunset of places over many days, computed as the
Orvalin window computes them (true azimuths, horizon altitude -0.61 degrees).

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
                      ics (a calendar: an event per sunrise and sunset)
  --horizon DEG       the altitude of the sun's centre at sunrise and sunset,
                      degrees (default -0.61: refraction and the sun's radius)
  --twilight KIND     civil, nautical or astronomical: dawn and dusk with the
                      sun 6, 12 or 18 degrees below the horizon
  --elevation METRES  the observer's height above the ground (0 to 9000): the
                      horizon is lowered by its dip, 1.76' times the root of it
  --at HH:MM[:SS]     also the sun's azimuth and elevation (geometric, and as
                      refraction shows it at 10 C and 1010 hPa) at that time
                      of each day on the table's clock
Scripts (one place; the time from --now, else this computer's clock):
  --next EVENT        print the next EVENT as a local ISO 8601 time: sunrise,
                      sunset, culmination, dawn, dusk, golden-hour-start,
                      golden-hour-end, blue-hour-start or blue-hour-end
  --wait EVENT        sleep until the next EVENT, then exit 0 (at once when it
                      passed less than a minute ago); --offset MINUTES moves it
  --is-day            exit 0 when the sun is above the horizon altitude now
                      (with --twilight, above the twilight's), 1 when not
  --now YYYY-MM-DDTHH:MM:SS+HH:MM
                      the moment taken as now
  --path MINUTES      instead of a row a day, the sun's azimuth and elevation
                      every MINUTES of each day; with --plot and one day, the
                      chart is that path
  --golden-hour[=LOW,HIGH]
                      the morning's and the evening's golden hour: the sun
                      between -4 and 6 degrees, or LOW and HIGH
  --blue-hour[=LOW,HIGH]
                      the blue hour: the sun between -6 and -4 degrees
  --minutes           text: times and day lengths to the minute
  --window-texts      text: the window's own texts, "3h 45mn 19.5s"
  --plot FILE.png     also draw a chart of the days (one place only)
  --quiet             no progress line; --progress: one even when standard
                      error is not a terminal (a run over a second shows one)
  -h, --help          show this help
  -V, --version       show the version

Days without sunrise or sunset say so, with a day length of 0 or 24 hours.
Exit status: 0 done, 1 failure (places file, place, writing), 2 bad usage.
)";

struct DaySpan {
  Day first, last;
};

DaySpan ReadDays(const CommandLine& cl) {
  const char* given[] = {"--date", "--month", "--year", "--from"};
  int count = 0;
  for (const char* option : given) count += cl.Has(option) ? 1 : 0;
  if (count > 1) throw BadUsage("give the days once: --date, --month, --year or --from/--to");
  if (cl.Has("--from") != cl.Has("--to")) throw BadUsage("--from and --to go together");
  if (auto text = cl.Value("--date")) {
    const Day d = ParseDayText("--date", *text);
    return {d, d};
  }
  if (auto text = cl.Value("--month")) {
    const auto [first, last] = ParseMonthText("--month", *text);
    return {first, last};
  }
  if (auto text = cl.Value("--year")) {
    const auto [first, last] = ParseYearText("--year", *text);
    return {first, last};
  }
  if (cl.Has("--from")) {
    const DaySpan span{ParseDayText("--from", *cl.Value("--from")),
                       ParseDayText("--to", *cl.Value("--to"))};
    if (std::chrono::sys_days(span.last) < std::chrono::sys_days(span.first)) {
      throw BadUsage("--to comes before --from");
    }
    return span;
  }
  const QDate today = QDate::currentDate();
  const Day d{std::chrono::year{today.year()},
              std::chrono::month{static_cast<unsigned>(today.month())},
              std::chrono::day{static_cast<unsigned>(today.day())}};
  return {d, d};
}

// Everything about the places that can be judged without opening the file.
struct PlaceChoice {
  std::optional<std::string> file;  // --file
  std::vector<long long> records;
  std::vector<std::string> names;
  bool all = false;
  std::optional<TablePlace> typed;
};

PlaceChoice ReadPlaceChoice(const CommandLine& cl) {
  PlaceChoice choice;
  const bool picked = cl.Has("--record") || cl.Has("--place");
  const int ways =
      (picked ? 1 : 0) + (cl.Has("--all") ? 1 : 0) + (cl.Has("--lat") || cl.Has("--lon") ? 1 : 0);
  if (ways > 1) throw BadUsage("give the places once: --record/--place, --all or --lat/--lon");
  if (cl.Has("--lat") != cl.Has("--lon")) throw BadUsage("--lat and --lon go together");
  if (cl.Has("--lat") && cl.Has("--file")) throw BadUsage("--file is not used with --lat/--lon");
  if (auto file = cl.Value("--file")) choice.file = *file;
  for (const std::string& record : cl.Values("--record")) {
    choice.records.push_back(PositiveNumber("--record", record));
  }
  for (const std::string& name : cl.Values("--place")) {
    if (name.empty()) throw BadUsage("--place needs the start of a name");
    choice.names.push_back(name);
  }
  choice.all = cl.Has("--all");
  if (cl.Has("--lat")) choice.typed = PlaceFromTyped(*cl.Value("--lat"), *cl.Value("--lon"));
  return choice;
}

// The record `name` finds best; a word on `err` when others were as good.
std::int64_t BestPlace(const PlaceFinder& finder, const std::string& file, std::string_view bytes,
                       const std::string& name, std::ostream& err) {
  const std::vector<FoundPlace> found = finder.Find(name);
  if (found.empty()) {
    throw ToolFailure(NoPlaceFound(file, name, finder.NearestSpellings(name, kSpellings)));
  }
  const auto equal = std::count_if(found.begin(), found.end(), [&](const FoundPlace& p) {
    return PlaceFinder::Equally(p, found.front());
  });
  if (equal > 1) {
    const PlaceRecord record = RecordAt(bytes, found.front().record);
    err << kProgram << ": --place \"" << name << "\": " << equal << " places match as well; took "
        << PlaceLine(record, found.front().record) << "; orvalin-places find \"" << name
        << "\" lists them all\n";
  }
  return found.front().record;
}

// Every chosen place, read before any row is written: records by number, then by name.
std::vector<TablePlace> FindChosenPlaces(const PlaceChoice& choice, PlaceZones& zones,
                                         std::ostream& err) {
  if (choice.typed) {
    TablePlace typed = *choice.typed;
    typed.zone = zones.ZoneOf(typed);
    return {typed};
  }
  const std::string file = ChosenPlacesFile(choice.file, kProgram, err);
  const std::string bytes = ReadPlacesBytes(file);
  const std::int64_t count = RecordsIn(bytes);
  std::vector<std::int64_t> numbers(choice.records.begin(), choice.records.end());
  if (!choice.names.empty()) {
    const PlaceFinder finder(bytes, zones.List());
    for (const std::string& name : choice.names) {
      numbers.push_back(BestPlace(finder, file, bytes, name, err));
    }
  }
  if (choice.all) {
    for (std::int64_t n = 1; n <= count; ++n) numbers.push_back(n);
  } else if (numbers.empty()) {
    numbers.push_back(1);
  }
  std::vector<TablePlace> places;
  places.reserve(numbers.size());
  for (const std::int64_t n : numbers) {
    if (n > count) {
      throw ToolFailure(file + " holds " + std::to_string(count) + " records, not " +
                        std::to_string(n));
    }
    places.push_back(PlaceFromRecord(RecordAt(bytes, n), n));
    places.back().zone = zones.ZoneOf(places.back(), RecordBytesAt(bytes, n));
  }
  return places;
}

constexpr std::string_view kPlaceZone = "place";
constexpr std::string_view kAcceptedZones =
    "a zone of the system's database as AREA/CITY (e.g. Europe/Zurich), UTC, local or place";

std::optional<Clock> ChosenZone(const CommandLine& cl) {
  const auto name = cl.Value("--tz");
  if (!name || *name == kPlaceZone) return std::nullopt;
  auto clock = Clock::Zone(*name);
  if (!clock) {
    const auto city = Clock::ZoneOfCity(*name);
    throw BadUsage("--tz \"" + *name + "\": no such time zone; give " +
                   std::string(kAcceptedZones) + (city ? "; did you mean " + *city + "?" : ""));
  }
  return clock;
}

Clock ChooseClock(const CommandLine& cl, const std::optional<Clock>& zone, PlaceZones& zones,
                  const TablePlace& place) {
  if (zone) return *zone;
  if (cl.Value("--tz") == kPlaceZone) return zones.ClockOf(place);
  if (!cl.Has("--gmt")) return Clock::Universal();
  if (!place.gmt_hours)
    throw BadUsage(
        "--gmt takes the offset stored with a place of the file; use --tz with --lat/--lon");
  if (*place.gmt_hours < -12 || *place.gmt_hours > 14) {
    throw ToolFailure(place.name + " stores an offset of " + std::to_string(*place.gmt_hours) +
                      " hours from GMT, outside -12 to +14");
  }
  return Clock::Gmt(*place.gmt_hours);
}

// The stored offset is whole hours: a zone of half or quarter hours shows the rows off by that.
void WarnPartHour(const TablePlace& place, std::ostream& err) {
  const auto minutes = StandardOffsetMinutes(place.zone);
  if (!minutes || *minutes % 60 == 0) return;
  const int m = *minutes < 0 ? -*minutes : *minutes;
  err << kProgram << ": warning: " << place.name << " keeps " << place.zone << " time, "
      << (*minutes < 0 ? "-" : "+") << m / 60 << ":" << (m % 60 < 10 ? "0" : "") << m % 60
      << " from GMT; --gmt uses the stored whole hours, --tz place the zone's clocks\n";
}

std::string SpanText(const DaySpan& span) {
  if (span.first == span.last) return DateText(span.first);
  return DateText(span.first) + " to " + DateText(span.last);
}

TableStyle ReadStyle(const CommandLine& cl, std::size_t places) {
  TableStyle style;
  style.sun = ReadSunSettings(cl);
  style.format = ParseTableFormat("--format", cl.Value("--format").value_or("text"));
  style.minutes = cl.Has("--minutes");
  style.window_texts = cl.Has("--window-texts");
  if (style.format != TableFormat::Text && (style.minutes || style.window_texts)) {
    throw BadUsage("--minutes and --window-texts shape the text table only");
  }
  if (style.minutes && style.window_texts) {
    throw BadUsage("--minutes and --window-texts do not go together");
  }
  style.many_places = places != 1;
  return style;
}

// How many days the span holds, both ends included.
int DayCount(const DaySpan& span) {
  using std::chrono::sys_days;
  return static_cast<int>((sys_days{span.last} - sys_days{span.first}).count()) + 1;
}

void Plot(const std::string& path, const TablePlace& place, const Clock& clock, const DaySpan& span,
          const ChartDays& days) {
  const ChartApplication app(kProgram.data());
  const ChartText text{place.Label(), SpanText(span) + "  \u00B7  times in " + clock.Description(),
                       clock.Name()};
  SaveChartPng(DrawDaylightChart(days, text), path);
}

void CheckWritten(std::ostream& out) {
  if (!out) throw ToolFailure("the table cannot be written");
}

constexpr long long kLongestPathStep = 24LL * 60;  // minutes

int WritePaths(const CommandLine& cl, const std::vector<TablePlace>& places, const DaySpan& span,
               const std::optional<Clock>& zone, PlaceZones& zones, const TableStyle& style,
               const std::optional<std::string>& plot, std::ostream& out) {
  const long long minutes = PositiveNumber("--path", *cl.Value("--path"));
  if (minutes > kLongestPathStep) throw BadUsage("--path takes minutes from 1 to 1440");
  if (plot && span.first != span.last) throw BadUsage("--plot with --path draws one day");
  if (style.format == TableFormat::Ics) throw BadUsage("--path writes text, csv or json");
  int written = 0;
  for (const TablePlace& place : places) {
    const Clock clock = ChooseClock(cl, zone, zones, place);
    std::vector<PathPoint> points;
    for (const Day day : DaysFromTo(span.first, span.last)) {
      const auto of_day = SunPathOfDay(place, day, clock, static_cast<int>(minutes), style.sun);
      points.insert(points.end(), of_day.begin(), of_day.end());
    }
    WritePath(out, style, place, clock, points, written++ == 0);
    CheckWritten(out);
    if (plot) {
      const ChartApplication app(kProgram.data());
      SaveChartPng(DrawPathChart(points, place.Label(),
                                 SpanText(span) + "  \u00B7  the sun's path, hours of " +
                                     clock.Description()),
                   *plot);
    }
  }
  EndPaths(out, style, written);
  out.flush();
  CheckWritten(out);
  return kExitOk;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const CommandLine cl(args, kOptions);
  if (AnswerHelpOrVersion(cl, out, kProgram, kHelp, ORVALIN_VERSION)) return kExitOk;
  if (!cl.Positionals().empty())
    throw BadUsage("unexpected \"" + cl.Positionals().front() + "\" (see --help)");
  if (cl.Has("--gmt") && cl.Has("--tz")) throw BadUsage("choose one clock: --gmt or --tz");
  if (cl.Has("--gmt") && cl.Has("--lat"))
    throw BadUsage(
        "--gmt takes the offset stored with a place of the file; use --tz with --lat/--lon");
  ReadStyle(cl, 1);  // judged before the file is read
  const DaySpan span = ReadDays(cl);
  const std::optional<std::string> plot = cl.Value("--plot");
  if (plot && plot->empty()) throw BadUsage("--plot needs a file name");
  const std::optional<Clock> zone = ChosenZone(cl);
  const PlaceChoice choice = ReadPlaceChoice(cl);

  PlaceZones zones;
  const std::vector<TablePlace> places = FindChosenPlaces(choice, zones, err);
  if (plot && places.size() != 1)
    throw BadUsage("--plot draws one place, not " + std::to_string(places.size()));
  for (const TablePlace& place : places) ChooseClock(cl, zone, zones, place);  // each one known
  if (cl.Has("--gmt")) {
    for (const TablePlace& place : places) WarnPartHour(place, err);
  }
  const int first_year = static_cast<int>(span.first.year());
  const int last_year = static_cast<int>(span.last.year());
  if (first_year < kPreciseFromYear || last_year > kPreciseUntilYear) {
    err << kProgram << ": warning: the computation is not precise outside the years "
        << kPreciseFromYear << " to " << kPreciseUntilYear << '\n';
  }
  const TableStyle style = ReadStyle(cl, places.size());
  if (AsksScriptAnswer(cl)) {
    if (places.size() != 1) throw BadUsage("--next, --wait and --is-day answer for one place");
    return RunScriptAnswer(cl, places.front(), ChooseClock(cl, zone, zones, places.front()),
                           style.sun, out, err);
  }
  if (cl.Has("--now") || cl.Has("--offset"))
    throw BadUsage("--now and --offset go with --next, --wait or --is-day");
  if (cl.Has("--path")) return WritePaths(cl, places, span, zone, zones, style, plot, out);
  TableWriter writer(out, style);
  Progress progress(
      err, std::string(kProgram), "days", static_cast<long long>(places.size()) * DayCount(span),
      ProgressMode(cl.Has("--quiet"), cl.Has("--progress")), isatty(STDERR_FILENO) != 0);
  for (const TablePlace& place : places) {
    const Clock clock = ChooseClock(cl, zone, zones, place);
    writer.BeginPlace(place, clock);
    // Only what the chart's pixel columns show is kept of the days.
    std::optional<ChartDays> plotted;
    if (plot) plotted.emplace(DayCount(span), ChartLayout(kChartSize).times.width());
    ForEachRow(
        place, span.first, span.last, clock,
        [&](const SunRow& row) {
          writer.Row(row);
          CheckWritten(out);
          if (plotted) plotted->Add(row);
          progress.Step();
        },
        style.sun, [&](Day day) { writer.Skipped(day); });
    if (plotted) Plot(*plot, place, clock, span, *plotted);
  }
  writer.End();
  out.flush();
  CheckWritten(out);
  return kExitOk;
}

}  // namespace

int RunTable(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return RunTool(kProgram, err, [&] { return Run(args, out, err); });
}

}  // namespace orvalin
