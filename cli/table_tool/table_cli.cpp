#include "cli/table_tool/table_cli.h"

#include <unistd.h>

#include <iostream>
#include <optional>
#include <variant>

#include "cli/args/tool_errors.h"
#include "cli/chart/daylight_chart.h"
#include "cli/chart/path_table.h"
#include "cli/table/moon_phase_list.h"
#include "cli/table/output_file.h"
#include "cli/table/place_input.h"
#include "cli/table_tool/table_request.h"

namespace orvalin {
namespace {

// A place and the clock of its rows, chosen once.
struct ClockedPlace {
  TablePlace place;
  Clock clock;
};

Clock StoredOffsetClock(const TablePlace& place) {
  if (!place.gmt_hours) throw BadUsage(std::string(kGmtNeedsStoredOffset));
  if (!IsUsableGmt(*place.gmt_hours)) {
    throw ToolFailure(place.name + " stores an offset of " + std::to_string(*place.gmt_hours) +
                      " hours from GMT, outside " + UsableGmtRange());
  }
  return Clock::Gmt(*place.gmt_hours);
}

Clock ClockOf(const ClockChoice& choice, PlaceZones& zones, const TablePlace& place) {
  struct Chooser {
    PlaceZones& zones;
    const TablePlace& place;
    Clock operator()(UniversalTime) const { return Clock::Universal(); }
    Clock operator()(StoredOffset) const { return StoredOffsetClock(place); }
    Clock operator()(const Clock& zone) const { return zone; }
    Clock operator()(EachPlaceZone) const { return zones.ClockOf(place); }
  };
  return std::visit(Chooser{zones, place}, choice);
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

void WarnImprecise(const DaySpan& span, std::ostream& err) {
  const int first_year = static_cast<int>(span.first.year());
  const int last_year = static_cast<int>(span.last.year());
  if (first_year < kPreciseFromYear || last_year > kPreciseUntilYear) {
    err << kTableProgram << ": warning: the computation is not precise outside the years "
        << kPreciseFromYear << " to " << kPreciseUntilYear << '\n';
  }
}

// Every place asked for on its clock, each clock known before any row is written.
std::vector<ClockedPlace> FindPlaces(const TableRequest& request, bool plotted, std::ostream& err) {
  PlaceZones zones(kTableProgram, err);
  const std::vector<TablePlace> places = FindChosenPlaces(request.places, zones, err);
  if (plotted && places.size() != 1)
    throw BadUsage("--plot draws one place, not " + std::to_string(places.size()));
  std::vector<ClockedPlace> clocked;
  clocked.reserve(places.size());
  for (const TablePlace& place : places) {
    clocked.push_back({place, ClockOf(request.clock, zones, place)});
  }
  if (std::holds_alternative<StoredOffset>(request.clock)) {
    for (const TablePlace& place : places) WarnPartHour(place, err);
  }
  WarnImprecise(request.days, err);
  return clocked;
}

// Judged before anything is read: never the places file the run reads.
std::optional<OutputFile> PlotFile(const TableRequest& request) {
  if (!request.plot) return std::nullopt;
  const PlaceChoice& choice = request.places;
  return OutputFile("--plot", *request.plot,
                    choice.typed ? std::vector<std::string>{} : std::vector{choice.places_file});
}

void Plot(const OutputFile& file, const ClockedPlace& at, const DaySpan& span,
          const ChartDays& days) {
  const ChartApplication app(kTableProgram.data());
  const ChartText text{at.place.Label(),
                       SpanText(span) + "  \u00B7  times in " + at.clock.Description(),
                       at.clock.Name()};
  SaveChartPng(DrawDaylightChart(days, text), file);
}

void CheckWritten(std::ostream& out) {
  if (!out) throw ToolFailure("the table cannot be written");
}

int Finish(std::ostream& out) {
  out.flush();
  CheckWritten(out);
  return kExitOk;
}

int WritePaths(const TableRequest& request, const std::vector<ClockedPlace>& places,
               const std::optional<OutputFile>& plot, std::ostream& out) {
  const DaySpan& span = request.days;
  PathWriter writer(out, request.style);
  for (const auto& [place, clock] : places) {
    writer.BeginPlace(place, clock);
    std::vector<PathPoint> plotted;  // of the one day a chart draws
    for (const Day day : DaysFromTo(span.first, span.last)) {
      const auto points =
          SunPathOfDay(place, day, clock, *request.path_minutes, request.style.sun);
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
  return Finish(out);
}

int ListPhases(const TableRequest& request, const std::vector<ClockedPlace>& places,
               std::ostream& out) {
  if (places.size() != 1) throw BadUsage("--moon-phases lists on one place's clock");
  if (request.style.format == TableFormat::Ics)
    throw BadUsage(
        "--moon-phases writes text, csv or json; a calendar with --moon carries the phases");
  const Clock& clock = places.front().clock;
  WritePhases(PhasesWithin(request.days.first, request.days.last, clock), clock,
              request.style.format, out);
  return Finish(out);
}

int WriteTable(const TableRequest& request, const std::vector<ClockedPlace>& places,
               const std::optional<OutputFile>& plot, std::ostream& out, std::ostream& err) {
  const DaySpan& span = request.days;
  TableWriter writer(out, request.style);
  Progress progress(err, std::string(kTableProgram), "days",
                    static_cast<long long>(places.size()) * DayCount(span), request.progress,
                    isatty(STDERR_FILENO) != 0);
  for (const ClockedPlace& at : places) {
    writer.BeginPlace(at.place, at.clock);
    // Only what the chart's pixel columns show is kept of the days.
    std::optional<ChartDays> plotted;
    if (plot) plotted.emplace(DayCount(span), ChartLayout(kChartSize).times.width());
    ForEachRow(
        at.place, span.first, span.last, at.clock,
        [&](const SunRow& row) {
          writer.Row(row);
          CheckWritten(out);
          if (plotted) plotted->Add(row);
          progress.Step();
        },
        request.style.sun, [&](Day day) { writer.Skipped(day); });
    if (plotted) Plot(*plot, at, span, *plotted);
  }
  writer.End();
  return Finish(out);
}

int Answer(const TableRequest& request, const std::vector<ClockedPlace>& places,
           std::ostream& out, std::ostream& err) {
  if (places.size() != 1) throw BadUsage("--next, --wait and --is-day answer for one place");
  return RunScriptAnswer(*request.question, places.front().place, places.front().clock,
                         request.style.sun, out, err);
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        FailureStatus& failure) {
  const CommandLine cl(args, TableOptions());
  if (AnswerHelpOrVersion(cl, out, kTableProgram, TableHelp(), ORVALIN_VERSION)) return kExitOk;
  TableRequest request = ReadTableRequest(cl);
  if (request.question && request.question->ask == ScriptQuestion::Ask::IsDay)
    failure.value = kExitIsDayFailure;
  PlaceChoice& choice = request.places;
  if (!choice.typed) choice.places_file = ChosenPlacesFile(choice.file, kTableProgram, err);
  const std::optional<OutputFile> plot = PlotFile(request);
  const std::vector<ClockedPlace> places = FindPlaces(request, plot.has_value(), err);
  request.style.many_places = places.size() != 1;
  if (request.question) return Answer(request, places, out, err);
  if (request.path_minutes) return WritePaths(request, places, plot, out);
  if (request.moon_phases) return ListPhases(request, places, out);
  return WriteTable(request, places, plot, out, err);
}

}  // namespace

int RunTable(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  FailureStatus failure;
  return RunTool(kTableProgram, err, [&] { return Run(args, out, err, failure); }, failure);
}

}  // namespace orvalin
