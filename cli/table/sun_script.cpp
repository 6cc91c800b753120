#include "cli/table/sun_script.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "cli/args/tool_errors.h"
#include "cli/table/sun_options.h"
#include "common/out_text.h"
#include "engine/sun_path.h"

namespace orvalin {
namespace {

using std::chrono::days;
using std::chrono::microseconds;
using std::chrono::seconds;
using std::chrono::sys_days;

constexpr int kExitDay = 0, kExitNight = 1;
// Days searched ahead for an event: past a polar night, and far enough for any event that a
// year brings at all.
constexpr int kDaysAhead = 366;
// The years the program computes, and their bounds as moments of universal time.
constexpr int kFirstYear = 1, kLastYear = 9999;
constexpr Instant kFirstInstant{sys_days{std::chrono::year{kFirstYear} / 1 / 1}};
constexpr Instant kEndInstant{sys_days{std::chrono::year{kLastYear + 1} / 1 / 1}};
// An event that passed less than this ago still counts as now for --wait.
constexpr seconds kJustPassed{60};
// --wait sleeps at most this long at a time, so that after the computer's own sleep it wakes on
// time by the wall clock.
constexpr std::chrono::milliseconds kWaitStep{500};
constexpr double kLongestOffsetMinutes = 24 * 60;
constexpr int kMicrosecondDigits = 6;

std::vector<BodyEvent> Both(const std::array<BodyEvent, 2>& events) {
  return {events.begin(), events.end()};
}
std::vector<BodyEvent> Crossing(double altitude, bool rising) {
  return {BodyEvent{false, altitude, rising}};
}
std::vector<BodyEvent> Moon(const SunSettings& s, bool culmination, bool rising) {
  return {BodyEvent{culmination, 0, rising, Sky::Moon, s.observer_metres}};
}
std::vector<BodyEvent> Phase(PrincipalPhase phase) {
  return {BodyEvent{false, 0, false, Sky::MoonPhase, 0, phase}};
}
double Twilight(const SunSettings& s) { return s.twilight.value_or(kTwilights[0].second); }
AltitudeBand Golden(const SunSettings& s) { return s.golden.value_or(kGoldenHour); }
AltitudeBand Blue(const SunSettings& s) { return s.blue.value_or(kBlueHour); }

// What an event is, as the sun's crossings of the altitudes in use.
struct EventKind {
  std::string_view name;
  std::vector<BodyEvent> (*events)(const SunSettings&);
};

const EventKind kEvents[] = {
    {"sunrise", [](const SunSettings& s) { return Crossing(s.horizon, true); }},
    {"sunset", [](const SunSettings& s) { return Crossing(s.horizon, false); }},
    {"culmination", [](const SunSettings&) { return std::vector{BodyEvent{true}}; }},
    {"dawn", [](const SunSettings& s) { return Crossing(Twilight(s), true); }},
    {"dusk", [](const SunSettings& s) { return Crossing(Twilight(s), false); }},
    {"golden-hour-start", [](const SunSettings& s) { return Both(BandEntries(Golden(s))); }},
    {"golden-hour-end", [](const SunSettings& s) { return Both(BandExits(Golden(s))); }},
    {"blue-hour-start", [](const SunSettings& s) { return Both(BandEntries(Blue(s))); }},
    {"blue-hour-end", [](const SunSettings& s) { return Both(BandExits(Blue(s))); }},
    {"moonrise", [](const SunSettings& s) { return Moon(s, false, true); }},
    {"moonset", [](const SunSettings& s) { return Moon(s, false, false); }},
    {"moon-transit", [](const SunSettings& s) { return Moon(s, true, false); }},
    {"new-moon", [](const SunSettings&) { return Phase(PrincipalPhase::NewMoon); }},
    {"first-quarter", [](const SunSettings&) { return Phase(PrincipalPhase::FirstQuarter); }},
    {"full-moon", [](const SunSettings&) { return Phase(PrincipalPhase::FullMoon); }},
    {"last-quarter", [](const SunSettings&) { return Phase(PrincipalPhase::LastQuarter); }},
};

const EventKind& ReadEvent(std::string_view option, std::string_view text) {
  std::string names;
  for (const EventKind& e : kEvents) {
    if (e.name == text) return e;
    names += (names.empty() ? "" : ", ") + std::string(e.name);
  }
  throw BadUsage(std::string(option) + " \"" + std::string(text) + "\": expected " + names);
}

// The first moment at which the clock reads a year beyond those computed.
Instant EndOfYearsOn(const Clock& clock) {
  const Day last{std::chrono::year{kLastYear} / 12 / 31};
  const auto span = clock.DayInUt(last);
  return InstantOf(last, span ? span->to : 24);
}

bool IsDay(const TablePlace& place, const SunSettings& settings, Instant now) {
  const sys_days day = std::chrono::floor<days>(now);
  const double altitude = settings.twilight.value_or(settings.horizon);
  // The elevation --at shows for the same moment decides.
  const SunPath path(ObserverAt(place, altitude), CivilDateOf(Day{day}));
  const double hours = std::chrono::duration<double, std::ratio<3600>>(now - day).count();
  return path.PositionAt(hours).elevation > altitude;
}

void Wait(Instant target, Instant now, std::ostream& err) {
  // Measured from `now`, on the wall clock: a wait that began at a given --now lasts as long.
  const auto deadline = std::chrono::system_clock::now() + (target - now);
  const bool terminal = isatty(STDERR_FILENO) != 0;
  for (;;) {
    const auto left = deadline - std::chrono::system_clock::now();
    if (left <= std::chrono::system_clock::duration::zero()) break;
    if (terminal) {
      const auto s = std::chrono::ceil<seconds>(left).count();
      err << "\r" << s / 3600 << ":" << (s / 60 % 60 < 10 ? "0" : "") << s / 60 % 60 << ":"
          << (s % 60 < 10 ? "0" : "") << s % 60 << " left " << std::flush;
    }
    std::this_thread::sleep_for(std::min<std::chrono::system_clock::duration>(left, kWaitStep));
  }
  if (terminal) err << "\r\x1b[K" << std::flush;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Two decimal digits at `at`, or nothing.
std::optional<int> TwoDigits(std::string_view text, std::size_t at) {
  if (at + 2 > text.size() || !IsDigit(text[at]) || !IsDigit(text[at + 1])) return std::nullopt;
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// The digits after a decimal point from `at` as microseconds, those beyond dropped; `at` ends
// after the last digit. Nothing without a digit.
std::optional<microseconds> Fraction(std::string_view text, std::size_t& at) {
  const std::size_t first = at;
  long long value = 0;
  int taken = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    if (taken < kMicrosecondDigits) value = value * 10 + (text[at] - '0'), ++taken;
  }
  if (at == first) return std::nullopt;
  for (; taken < kMicrosecondDigits; ++taken) value *= 10;
  return microseconds{value};
}

// "Z", "+02:00" or "-05:30" as seconds east of Greenwich; nothing for anything else.
std::optional<int> ZoneOffset(std::string_view zone) {
  if (zone == "Z" || zone == "z") return 0;
  const auto h = TwoDigits(zone, 1), m = TwoDigits(zone, 4);
  if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':' || !h || !m ||
      *h > 23 || *m > 59) {
    return std::nullopt;
  }
  return (zone[0] == '-' ? -1 : 1) * (*h * 3600 + *m * 60);
}

}  // namespace

std::vector<BodyEvent> EventsNamed(std::string_view option, std::string_view name,
                                   const SunSettings& settings) {
  return ReadEvent(option, name).events(settings);
}

std::string_view ScriptEventName(std::string_view option, std::string_view name) {
  return ReadEvent(option, name).name;
}

Instant ParseIsoMoment(std::string_view option, std::string_view text) {
  const std::string quoted = std::string(option) + " \"" + std::string(text) + "\": ";
  const auto bad = [&] {
    return BadUsage(quoted +
                    "expected YYYY-MM-DDTHH:MM:SS with Z or an offset, e.g. "
                    "2027-06-21T03:00:00+02:00");
  };
  if (text.size() < 20 || text[4] != '-' || text[7] != '-' ||
      (text[10] != 'T' && text[10] != 't' && text[10] != ' ') || text[13] != ':' ||
      text[16] != ':') {
    throw bad();
  }
  const Day day = ParseDayText(option, text.substr(0, 10));
  const auto h = TwoDigits(text, 11), m = TwoDigits(text, 14), s = TwoDigits(text, 17);
  if (!h || !m || !s || *h > 23 || *m > 59 || *s > 59) throw bad();
  std::size_t at = 19;
  std::optional<microseconds> fraction = microseconds{0};
  if (text[at] == '.' || text[at] == ',') fraction = Fraction(text, ++at);
  const std::optional<int> offset = ZoneOffset(text.substr(at));
  if (!fraction || !offset) throw bad();
  const Instant moment =
      Instant{sys_days{day}} + seconds{*h * 3600 + *m * 60 + *s - *offset} + *fraction;
  if (moment < kFirstInstant || moment >= kEndInstant) {
    throw BadUsage(quoted + "falls outside the years " + std::to_string(kFirstYear) + " to " +
                   std::to_string(kLastYear) + " of universal time, those computed");
  }
  return moment;
}

double ParseOffsetMinutes(std::string_view option, std::string_view text) {
  const std::size_t sign = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  double minutes = 0;
  const char* const end = text.data() + text.size();
  const auto [stop, ec] = std::from_chars(text.data() + sign, end, minutes);
  // A digit first: from_chars would take a second sign, "nan" and "inf".
  if (text.size() == sign || !IsDigit(text[sign]) || ec != std::errc() || stop != end ||
      !(std::fabs(minutes) <= kLongestOffsetMinutes)) {
    throw BadUsage(std::string(option) + " \"" + std::string(text) +
                   "\": expected minutes from -1440 to 1440, e.g. -30");
  }
  return text[0] == '-' ? -minutes : minutes;
}

int RunScriptAnswer(const ScriptQuestion& question, const TablePlace& place, const Clock& clock,
                    const SunSettings& settings, std::ostream& out, std::ostream& err) {
  const Instant now = question.now;
  if (question.ask == ScriptQuestion::Ask::IsDay) {
    return IsDay(place, settings, now) ? kExitDay : kExitNight;
  }
  const bool wait = question.ask == ScriptQuestion::Ask::Wait;
  const EventKind& kind = ReadEvent("", question.event);
  const microseconds offset = question.offset;
  // The event, moved by the offset, after now; for --wait, one that has just passed.
  const Instant after = std::max(now - offset - (wait ? kJustPassed : seconds{0}), kFirstInstant);
  const Instant ahead = now - offset + days{kDaysAhead};
  const Instant last = EndOfYearsOn(clock) - offset - microseconds{1};
  const auto found = NextEvent(place, kind.events(settings), after, std::min(ahead, last));
  if (!found) {
    throw ToolFailure("no " + std::string(kind.name) +
                      (last < ahead ? " before the end of the year " + std::to_string(kLastYear) +
                                          ", the last computed,"
                                    : " in the next " + std::to_string(kDaysAhead) + " days") +
                      " at " + place.Label());
  }
  const Instant moment = found->at + offset;
  if (moment <= now) {
    err << "orvalin-table: " << kind.name << " was "
        << std::chrono::round<seconds>(now - moment).count() << " s ago, at "
        << LocalIso(clock, moment) << '\n';
    return 0;
  }
  if (!wait) {
    out << LocalIso(clock, moment) << '\n';
    return 0;
  }
  Wait(moment, now, err);
  return 0;
}

}  // namespace orvalin
