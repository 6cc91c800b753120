#include "app/table/table_cli.h"

#include <QDate>
#include <QGuiApplication>
#include <iostream>
#include <memory>
#include <optional>

#include "placesfile/places_file.h"
#include "cli/command_line.h"
#include "cli/daylight_chart.h"
#include "cli/place_input.h"
#include "cli/table_format.h"
#include "cli/tool_errors.h"

namespace orvalin {
namespace {

constexpr std::string_view kProgram = "orvalin-table";

constexpr OptionRule kOptions[] = {
    {"--file", true},   {"--record", true}, {"--place", true}, {"--lat", true},
    {"--lon", true},    {"--date", true},   {"--month", true}, {"--year", true},
    {"--from", true},   {"--to", true},     {"--gmt", false},  {"--tz", true},
    {"--format", true}, {"--plot", true},   {"--help", false}, {"--version", false},
};

constexpr std::string_view kHelp =
    R"(Usage: orvalin-table [PLACE] [DAYS] [CLOCK] [--format FORMAT] [--plot FILE.png]
Sunrise, culmination and sunset of one place over many days, computed as the Orvalin
window computes them (horizon altitude -0.61 degrees, true azimuths).

Place (default: record 1 of the places file, the default place):
  --file FILE          the places file (default: location.dat in the current directory)
  --record N           record N of the places file
  --place TEXT         the first place whose name begins with TEXT, small and capital
                       letters alike, as the window's search finds it
  --lat TEXT --lon TEXT
                       coordinates typed as in the window: --lat "46 12 0 N" --lon "6 9 0 E"
Days (default: today):
  --date DD-MM-YYYY    one day
  --month MM-YYYY      every day of a month
  --year YYYY          every day of a year
  --from DD-MM-YYYY --to DD-MM-YYYY
                       every day from one date to the other, both included
Clock (default: universal time, as the window shows it):
  --gmt                add the place's stored offset from GMT (whole hours, no daylight saving)
  --tz AREA/CITY       local time of a time zone, daylight saving included (e.g. Europe/Zurich)
Output:
  --format FORMAT      text (the window's texts in columns; the default), csv or json (texts
                       and decimal values: hours on the chosen clock, degrees)
  --plot FILE.png      also draw a chart of the days into FILE.png
  --help               show this help
  --version            show the version

Days without sunrise or sunset are rows that say so, with a day length of 0 or 24 hours.
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

// Everything about the place that can be judged without opening the file.
struct PlaceChoice {
  std::string file = std::string(kPlacesFileName);
  std::optional<long long> record;
  std::optional<std::string> name;
  std::optional<TablePlace> typed;
};

PlaceChoice ReadPlaceChoice(const CommandLine& cl) {
  PlaceChoice choice;
  const int ways = (cl.Has("--record") ? 1 : 0) + (cl.Has("--place") ? 1 : 0) +
                   (cl.Has("--lat") || cl.Has("--lon") ? 1 : 0);
  if (ways > 1) throw BadUsage("give the place once: --record, --place or --lat/--lon");
  if (cl.Has("--lat") != cl.Has("--lon")) throw BadUsage("--lat and --lon go together");
  if (cl.Has("--lat") && cl.Has("--file")) throw BadUsage("--file is not used with --lat/--lon");
  if (auto file = cl.Value("--file")) choice.file = *file;
  if (auto record = cl.Value("--record")) choice.record = PositiveNumber("--record", *record);
  if (auto name = cl.Value("--place")) {
    if (name->empty()) throw BadUsage("--place needs the start of a name");
    choice.name = *name;
  }
  if (cl.Has("--lat")) choice.typed = PlaceFromTyped(*cl.Value("--lat"), *cl.Value("--lon"));
  return choice;
}

TablePlace FindChosenPlace(const PlaceChoice& choice) {
  if (choice.typed) return *choice.typed;
  const std::string bytes = ReadPlacesBytes(choice.file);
  const std::int64_t count = RecordsIn(bytes);
  std::int64_t n = choice.record.value_or(1);
  if (choice.name) {
    const auto found = FindPlace(bytes, *choice.name);
    if (!found)
      throw ToolFailure("no place of " + choice.file + " begins with \"" + *choice.name + "\"");
    n = *found;
  } else if (n > count) {
    throw ToolFailure(choice.file + " holds " + std::to_string(count) + " records, not " +
                      std::to_string(n));
  }
  return PlaceFromRecord(RecordAt(bytes, n), n);
}

Clock ChooseClock(const CommandLine& cl, const TablePlace& place) {
  if (auto zone = cl.Value("--tz")) {
    auto clock = Clock::Zone(*zone);
    if (!clock) throw BadUsage("--tz \"" + *zone + "\": no such time zone (e.g. Europe/Zurich)");
    return *clock;
  }
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

std::string SpanText(const DaySpan& span) {
  if (span.first == span.last) return DateText(span.first);
  return DateText(span.first) + " to " + DateText(span.last);
}

// Qt's own notices (a missing XDG_RUNTIME_DIR, say) mean nothing to the tool's user.
void OnlyQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::cerr << kProgram << ": " << message.toStdString() << '\n';
  }
}

void Plot(const std::string& path, const TablePlace& place, const Clock& clock, const DaySpan& span,
          const std::vector<SunRow>& rows) {
  std::unique_ptr<QGuiApplication> app;
  if (QGuiApplication::instance() == nullptr) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orvalin-table";
    static char* argv[] = {name, nullptr};
    qInstallMessageHandler(OnlyQtErrors);
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
  const ChartText text{place.Label(), SpanText(span) + "  \u00B7  times in " + clock.Description(),
                       clock.Name()};
  SaveChartPng(DrawDaylightChart(rows, text), path);
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
  const TableFormat format = ParseTableFormat("--format", cl.Value("--format").value_or("text"));
  const DaySpan span = ReadDays(cl);
  const std::optional<std::string> plot = cl.Value("--plot");
  if (plot && plot->empty()) throw BadUsage("--plot needs a file name");
  if (auto zone = cl.Value("--tz"); zone && !Clock::Zone(*zone)) {
    throw BadUsage("--tz \"" + *zone + "\": no such time zone (e.g. Europe/Zurich)");
  }
  const PlaceChoice choice = ReadPlaceChoice(cl);

  const TablePlace place = FindChosenPlace(choice);
  const Clock clock = ChooseClock(cl, place);
  const int first_year = static_cast<int>(span.first.year());
  const int last_year = static_cast<int>(span.last.year());
  if (first_year < kPreciseFromYear || last_year > kPreciseUntilYear) {
    err << kProgram << ": warning: the computation is not precise outside the years "
        << kPreciseFromYear << " to " << kPreciseUntilYear << '\n';
  }
  const std::vector<SunRow> rows = ComputeRows(place, span.first, span.last, clock);
  if (plot) Plot(*plot, place, clock, span, rows);
  WriteTable(out, format, place, clock, rows);
  out.flush();
  if (!out) throw ToolFailure("the table cannot be written");
  return kExitOk;
}

}  // namespace

int RunTable(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return RunTool(kProgram, err, [&] { return Run(args, out, err); });
}

}  // namespace orvalin
