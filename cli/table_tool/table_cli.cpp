#include "cli/table_tool/table_cli.h"

#include <unistd.h>

#include <iostream>
#include <optional>

#include "cli/args/tool_errors.h"
#include "cli/chart/daylight_chart.h"
#include "cli/chart/path_table.h"
#include "cli/table/moon_phase_list.h"
#include "cli/table/output_file.h"
#include "cli/table/place_input.h"
#include "cli/table/progress.h"
#include "cli/table/sun_script.h"
#include "cli/table_tool/table_options.h"
#include "cli/table_tool/table_places.h"

namespace orvalin {
namespace {

constexpr std::string_view kPlaceZone = "place";
constexpr std::string_view kAcceptedZones =
    "a zone of the system's database as AREA/CITY (e.g. Europe/Zurich), UTC, local or place";

std::optional<Clock> ChosenZone(const CommandLine& cl) {
  const auto name = cl.Value("--tz");
  if (!name || *name == kPlaceZone) return std::nullopt;
  auto clock = Clock::Zone(*name);
  if (!clock) {
    std::string nearest;
    for (const std::string& zone : Clock::ZonesLike(*name)) {
      nearest += (nearest.empty() ? "; did you mean " : " or ") + zone;
    }
    throw BadUsage("--tz \"" + *name + "\": no such time zone; give " +
                   std::string(kAcceptedZones) + nearest + (nearest.empty() ? "" : "?"));
  }
  return clock;
}

// A calendar's client shows its events on the reader's clock; its titles are best on the place's.
bool OnPlaceZone(const CommandLine& cl) {
  if (cl.Has("--tz")) return cl.Value("--tz") == kPlaceZone;
  return !cl.Has("--gmt") && cl.Value("--format") == "ics";
}

Clock ChooseClock(const CommandLine& cl, const std::optional<Clock>& zone, PlaceZones& zones,
                  const TablePlace& place) {
  if (zone) return *zone;
  if (OnPlaceZone(cl)) return zones.ClockOf(place);
  if (!cl.Has("--gmt")) return Clock::Universal();
  if (!place.gmt_hours)
    throw BadUsage(
        "--gmt takes the offset stored with a place of the file; use --tz with --lat/--lon");
  if (!IsUsableGmt(*place.gmt_hours)) {
    throw ToolFailure(place.name + " stores an offset of " + std::to_string(*place.gmt_hours) +
                      " hours from GMT, outside " + UsableGmtRange());
  }
  return Clock::Gmt(*place.gmt_hours);
}

// The stored offset is whole hours: a zone of half or quarter hours shows the rows off by that.
void WarnPartHour(const TablePlace& place, std::ostream& err) {
  const auto minutes = StandardOffsetMinutes(place.zone);
  if (!minutes || *minutes % 60 == 0) return;
  const int m = *minutes < 0 ? -*minutes : *minutes;
  err << kTableProgram << ": warning: " << place.name << " keeps " << MessageText(place.zone)
      << " time, " << (*minutes < 0 ? "-" : "+") << m / 60 << ":" << (m % 60 < 10 ? "0" : "")
      << m % 60 << " from GMT; --gmt uses the stored whole hours, --tz place the zone's clocks\n";
}

void Plot(const OutputFile& file, const TablePlace& place, const Clock& clock, const DaySpan& span,
          const ChartDays& days) {
  const ChartApplication app(kTableProgram.data());
  const ChartText text{place.Label(), SpanText(span) + "  \u00B7  times in " + clock.Description(),
                       clock.Name()};
  SaveChartPng(DrawDaylightChart(days, text), file);
}

// Judged before anything is read: never the places file the run reads.
std::optional<OutputFile> PlotFile(const CommandLine& cl, const PlaceChoice& choice) {
  const auto path = cl.Value("--plot");
  if (!path) return std::nullopt;
  return OutputFile("--plot", *path,
                    choice.typed ? std::vector<std::string>{} : std::vector{choice.places_file});
}

// The day of a script answer's moment, for the warning on the years computed precisely.
DaySpan DaySpanOf(Instant moment) {
  const Day day{std::chrono::floor<std::chrono::days>(moment)};
  return {day, day};
}

void WarnImprecise(const DaySpan& span, std::ostream& err) {
  const int first_year = static_cast<int>(span.first.year());
  const int last_year = static_cast<int>(span.last.year());
  if (first_year < kPreciseFromYear || last_year > kPreciseUntilYear) {
    err << kTableProgram << ": warning: the computation is not precise outside the years "
        << kPreciseFromYear << " to " << kPreciseUntilYear << '\n';
  }
}

void CheckWritten(std::ostream& out) {
  if (!out) throw ToolFailure("the table cannot be written");
}

constexpr long long kLongestPathStep = 24LL * 60;  // minutes

int WritePaths(const CommandLine& cl, const std::vector<TablePlace>& places, const DaySpan& span,
               const std::optional<Clock>& zone, PlaceZones& zones, const TableStyle& style,
               const std::optional<OutputFile>& plot, std::ostream& out) {
  const long long minutes = PositiveNumber("--path", *cl.Value("--path"));
  if (minutes > kLongestPathStep) throw BadUsage("--path takes minutes from 1 to 1440");
  if (plot && span.first != span.last) throw BadUsage("--plot with --path draws one day");
  if (style.format == TableFormat::Ics) throw BadUsage("--path writes text, csv or json");
  PathWriter writer(out, style);
  for (const TablePlace& place : places) {
    const Clock clock = ChooseClock(cl, zone, zones, place);
    writer.BeginPlace(place, clock);
    std::vector<PathPoint> plotted;  // of the one day a chart draws
    for (const Day day : DaysFromTo(span.first, span.last)) {
      const auto points = SunPathOfDay(place, day, clock, static_cast<int>(minutes), style.sun);
      writer.Points(points);
      CheckWritten(out);
      if (plot) plotted.insert(plotted.end(), points.begin(), points.end());
    }
    if (plot) {
      const ChartApplication app(kTableProgram.data());
      SaveChartPng(DrawPathChart(plotted, place.Label(),
                                 SpanText(span) + "  \u00B7  the sun's path, hours of " +
                                     clock.Description()),
                   *plot);
    }
  }
  writer.End();
  out.flush();
  CheckWritten(out);
  return kExitOk;
}

int ListPhases(const std::vector<TablePlace>& places, const DaySpan& span, const Clock& clock,
               const TableStyle& style, std::ostream& out) {
  if (places.size() != 1) throw BadUsage("--moon-phases lists on one place's clock");
  if (style.format == TableFormat::Ics)
    throw BadUsage(
        "--moon-phases writes text, csv or json; a calendar with --moon carries the phases");
  WritePhases(PhasesWithin(span.first, span.last, clock), clock, style.format, out);
  out.flush();
  CheckWritten(out);
  return kExitOk;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        FailureStatus& failure) {
  const CommandLine cl(args, TableOptions());
  if (AnswerHelpOrVersion(cl, out, kTableProgram, TableHelp(), ORVALIN_VERSION)) return kExitOk;
  if (cl.Has("--is-day")) failure.value = kExitIsDayFailure;
  if (!cl.Positionals().empty())
    throw BadUsage("unexpected \"" + cl.Positionals().front() + "\" (see --help)");
  if (cl.Has("--gmt") && cl.Has("--tz")) throw BadUsage("choose one clock: --gmt or --tz");
  if (cl.Has("--gmt") && cl.Has("--lat"))
    throw BadUsage(
        "--gmt takes the offset stored with a place of the file; use --tz with --lat/--lon");
  ReadStyle(cl, 1);  // judged before the file is read
  const std::optional<ScriptQuestion> question =
      AsksScriptAnswer(cl) ? std::optional(ReadScriptQuestion(cl)) : std::nullopt;
  const DaySpan span = question ? DaySpanOf(question->now) : ReadDays(cl);
  const std::optional<Clock> zone = ChosenZone(cl);
  PlaceChoice choice = ReadPlaceChoice(cl);
  if (!choice.typed) choice.places_file = ChosenPlacesFile(choice.file, kTableProgram, err);
  const std::optional<OutputFile> plot = PlotFile(cl, choice);

  PlaceZones zones(kTableProgram, err);
  const std::vector<TablePlace> places = FindChosenPlaces(choice, zones, err);
  if (plot && places.size() != 1)
    throw BadUsage("--plot draws one place, not " + std::to_string(places.size()));
  for (const TablePlace& place : places) ChooseClock(cl, zone, zones, place);  // each one known
  if (cl.Has("--gmt")) {
    for (const TablePlace& place : places) WarnPartHour(place, err);
  }
  WarnImprecise(span, err);
  const TableStyle style = ReadStyle(cl, places.size());
  if (question) {
    if (places.size() != 1) throw BadUsage("--next, --wait and --is-day answer for one place");
    return RunScriptAnswer(*question, places.front(), ChooseClock(cl, zone, zones, places.front()),
                           style.sun, out, err);
  }
  if (cl.Has("--now") || cl.Has("--offset"))
    throw BadUsage("--now and --offset go with --next, --wait or --is-day");
  if (cl.Has("--path")) return WritePaths(cl, places, span, zone, zones, style, plot, out);
  if (cl.Has("--moon-phases"))
    return ListPhases(places, span, ChooseClock(cl, zone, zones, places.front()), style, out);
  TableWriter writer(out, style);
  Progress progress(err, std::string(kTableProgram), "days",
                    static_cast<long long>(places.size()) * DayCount(span),
                    ProgressMode(cl.Has("--quiet"), cl.Has("--progress")),
                    isatty(STDERR_FILENO) != 0);
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
  FailureStatus failure;
  return RunTool(kTableProgram, err, [&] { return Run(args, out, err, failure); }, failure);
}

}  // namespace orvalin
