#include "cli/table_tool/table_request.h"

#include <QDate>
#include <chrono>
#include <cmath>
#include <iterator>

#include "cli/args/tool_errors.h"
#include "cli/table/place_input.h"
#include "cli/table/sun_options.h"

namespace orvalin {
namespace {

using std::chrono::microseconds;

constexpr std::string_view kPlaceZone = "place";
constexpr std::string_view kAcceptedZones =
    "a zone of the system's database as AREA/CITY (e.g. Europe/Zurich), UTC, local or place";
constexpr long long kLongestPathStep = 24LL * 60;  // minutes

constexpr std::string_view kScriptOptions = "--next, --wait or --is-day";
// A table's options that no script answer uses; the first five choose days.
constexpr std::string_view kTableOnly[] = {"--date",   "--month", "--year", "--from",
                                           "--to",     "--path",  "--plot", "--at",
                                           "--format", "--minutes", "--window-texts"};
constexpr std::size_t kDayOptions = 5;

void RefuseTwoClocks(const CommandLine& cl) {
  if (cl.Has("--gmt") && cl.Has("--tz")) throw BadUsage("choose one clock: --gmt or --tz");
  if (cl.Has("--gmt") && cl.Has("--lat")) throw BadUsage(std::string(kGmtNeedsStoredOffset));
}

TableStyle ReadStyle(const CommandLine& cl) {
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
  return style;
}

// --next or --wait EVENT with an --offset, or --is-day, from --now or this computer's clock; a
// table's option that it would leave unused is refused.
std::optional<ScriptQuestion> ReadScriptQuestion(const CommandLine& cl) {
  const int asked =
      (cl.Has("--next") ? 1 : 0) + (cl.Has("--wait") ? 1 : 0) + (cl.Has("--is-day") ? 1 : 0);
  if (asked == 0) return std::nullopt;
  if (asked > 1) throw BadUsage("ask one of --next, --wait and --is-day");
  for (std::size_t i = 0; i < std::size(kTableOnly); ++i) {
    if (!cl.Has(kTableOnly[i])) continue;
    throw BadUsage(std::string(kTableOnly[i]) + " does not go with " + std::string(kScriptOptions) +
                   (i < kDayOptions ? ": they start from --now, else from this computer's clock"
                                    : ""));
  }
  ScriptQuestion q{ScriptQuestion::Ask::IsDay, {}, microseconds{0}, {}};
  const auto now = cl.Value("--now");
  q.now = now ? ParseIsoMoment("--now", *now)
              : std::chrono::floor<microseconds>(std::chrono::system_clock::now());
  const auto offset = cl.Value("--offset");
  if (cl.Has("--is-day")) {
    if (offset) throw BadUsage("--offset goes with --next or --wait");
    return q;
  }
  q.ask = cl.Has("--wait") ? ScriptQuestion::Ask::Wait : ScriptQuestion::Ask::Next;
  const std::string_view option = q.ask == ScriptQuestion::Ask::Wait ? "--wait" : "--next";
  q.event = ScriptEventName(option, *cl.Value(option));
  if (offset) q.offset = microseconds{std::llround(ParseOffsetMinutes("--offset", *offset) * 6e7)};
  return q;
}

Day Today() {
  const QDate today = QDate::currentDate();
  return Day{std::chrono::year{today.year()},
             std::chrono::month{static_cast<unsigned>(today.month())},
             std::chrono::day{static_cast<unsigned>(today.day())}};
}

// The days asked for; today when none are.
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
  const Day today = Today();
  return {today, today};
}

// A script's answer is for the day of its moment: the warning on the years computed precisely.
DaySpan DaySpanOf(Instant moment) {
  const Day day{std::chrono::floor<std::chrono::days>(moment)};
  return {day, day};
}

Clock ZoneNamed(const std::string& name) {
  auto clock = Clock::Zone(name);
  if (clock) return *clock;
  std::string nearest;
  for (const std::string& zone : Clock::ZonesLike(name)) {
    nearest += (nearest.empty() ? "; did you mean " : " or ") + zone;
  }
  throw BadUsage("--tz \"" + name + "\": no such time zone; give " + std::string(kAcceptedZones) +
                 nearest + (nearest.empty() ? "" : "?"));
}

ClockChoice ReadClock(const CommandLine& cl, TableFormat format) {
  if (const auto name = cl.Value("--tz")) {
    if (*name == kPlaceZone) return EachPlaceZone{};
    return ZoneNamed(*name);
  }
  if (cl.Has("--gmt")) return StoredOffset{};
  // A calendar's client shows its events on the reader's clock; its titles are best on the place's.
  if (format == TableFormat::Ics) return EachPlaceZone{};
  return UniversalTime{};
}

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

// --path MINUTES: one day when charted, and no calendar.
std::optional<int> ReadPath(const CommandLine& cl, const TableRequest& r) {
  const auto text = cl.Value("--path");
  if (!text) return std::nullopt;
  const long long minutes = PositiveNumber("--path", *text);
  if (minutes > kLongestPathStep) throw BadUsage("--path takes minutes from 1 to 1440");
  if (r.plot && r.days.first != r.days.last) throw BadUsage("--plot with --path draws one day");
  if (r.style.format == TableFormat::Ics) throw BadUsage("--path writes text, csv or json");
  return static_cast<int>(minutes);
}

}  // namespace

TableRequest ReadTableRequest(const CommandLine& cl) {
  if (!cl.Positionals().empty())
    throw BadUsage("unexpected \"" + cl.Positionals().front() + "\" (see --help)");
  RefuseTwoClocks(cl);
  TableRequest r;
  r.style = ReadStyle(cl);
  r.question = ReadScriptQuestion(cl);
  r.days = r.question ? DaySpanOf(r.question->now) : ReadDays(cl);
  r.clock = ReadClock(cl, r.style.format);
  r.places = ReadPlaceChoice(cl);
  if (!r.question && (cl.Has("--now") || cl.Has("--offset")))
    throw BadUsage("--now and --offset go with --next, --wait or --is-day");
  r.plot = cl.Value("--plot");
  r.path_minutes = ReadPath(cl, r);
  r.moon_phases = cl.Has("--moon-phases");
  r.progress = ProgressMode(cl.Has("--quiet"), cl.Has("--progress"));
  return r;
}

}  // namespace orvalin
