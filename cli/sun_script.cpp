#include "cli/sun_script.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "cli/day_crossings.h"
#include "cli/out_text.h"
#include "cli/sun_options.h"
#include "cli/tool_errors.h"

namespace orvalin {
namespace {

using std::chrono::days;
using std::chrono::seconds;
using std::chrono::sys_days;
using std::chrono::sys_seconds;

constexpr int kExitDay = 0, kExitNight = 1;
// Days searched ahead for an event: past a polar night of half a year.
constexpr int kDaysAhead = 200;
// An event that passed less than this ago still counts as now for --wait.
constexpr seconds kJustPassed{60};
// --wait sleeps at most this long at a time, so that after the computer's own sleep it wakes on
// time by the wall clock.
constexpr std::chrono::milliseconds kWaitStep{500};
constexpr double kLongestOffsetMinutes = 24 * 60;

// What an event is in a row, and what the row must compute for it.
struct EventKind {
  std::string_view name;
  std::vector<const EventTime*> (*times)(const SunRow&);
  bool needs_twilight, needs_golden, needs_blue;
};

const EventKind kEvents[] = {
    {"sunrise", [](const SunRow& r) { return std::vector{&r.sunrise}; }, false, false, false},
    {"sunset", [](const SunRow& r) { return std::vector{&r.sunset}; }, false, false, false},
    {"culmination", [](const SunRow& r) { return std::vector{&r.culmination}; }, false, false,
     false},
    {"dawn", [](const SunRow& r) { return std::vector{&r.dawn}; }, true, false, false},
    {"dusk", [](const SunRow& r) { return std::vector{&r.dusk}; }, true, false, false},
    {"golden-hour-start",
     [](const SunRow& r) {
       return std::vector{&r.golden.morning_start, &r.golden.evening_start};
     },
     false, true, false},
    {"golden-hour-end",
     [](const SunRow& r) {
       return std::vector{&r.golden.morning_end, &r.golden.evening_end};
     },
     false, true, false},
    {"blue-hour-start",
     [](const SunRow& r) {
       return std::vector{&r.blue.morning_start, &r.blue.evening_start};
     },
     false, false, true},
    {"blue-hour-end",
     [](const SunRow& r) {
       return std::vector{&r.blue.morning_end, &r.blue.evening_end};
     },
     false, false, true},
};

const EventKind& ReadEvent(std::string_view option, std::string_view text) {
  std::string names;
  for (const EventKind& e : kEvents) {
    if (e.name == text) return e;
    names += (names.empty() ? "" : ", ") + std::string(e.name);
  }
  throw BadUsage(std::string(option) + " \"" + std::string(text) + "\": expected " + names);
}

// The event's moments on the days around `now` on the clock, in order.
std::vector<sys_seconds> MomentsAround(const EventKind& kind, const TablePlace& place,
                                       const Clock& clock, const SunSettings& settings,
                                       sys_seconds now, int days_ahead) {
  const sys_days utc_day = std::chrono::floor<days>(now);
  const Day local = clock.At(Day{utc_day}, 12).date;  // a day either side covers any offset
  std::vector<sys_seconds> moments;
  for (int n = -2; n <= days_ahead; ++n) {
    const Day d{sys_days{local} + days{n}};
    const SunRow row = ComputeRow(place, d, clock, settings);
    for (const EventTime* e : kind.times(row)) {
      if (e->known) moments.push_back(MomentOfEvent(*e));
    }
    if (!moments.empty() && moments.back() > now + days{2}) break;
  }
  std::sort(moments.begin(), moments.end());
  return moments;
}

SunSettings WithWhatTheEventNeeds(SunSettings settings, const EventKind& kind) {
  if (kind.needs_twilight && !settings.twilight) settings.twilight = kTwilights[0].second;
  if (kind.needs_golden && !settings.golden) settings.golden = kGoldenHour;
  if (kind.needs_blue && !settings.blue) settings.blue = kBlueHour;
  return settings;
}

std::string LocalIso(const Clock& clock, sys_seconds moment) {
  const sys_days day = std::chrono::floor<days>(moment);
  const double hours = static_cast<double>((moment - day).count()) / 3600;
  const LocalTime t = clock.At(Day{day}, hours);
  return IsoTimestamp(t.date, t.hours, t.offset_seconds);
}

double ReadOffsetMinutes(const CommandLine& cl) {
  const auto text = cl.Value("--offset");
  if (!text) return 0;
  double minutes = 0;
  const char* begin = text->data() + (text->starts_with('+') ? 1 : 0);
  const auto [end, ec] = std::from_chars(begin, text->data() + text->size(), minutes);
  if (text->empty() || ec != std::errc() || end != text->data() + text->size() ||
      std::fabs(minutes) > kLongestOffsetMinutes) {
    throw BadUsage("--offset \"" + *text + "\": expected minutes from -1440 to 1440, e.g. -30");
  }
  return minutes;
}

void Wait(sys_seconds target, sys_seconds now, std::ostream& err) {
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

// Two decimal digits at `at`, or nothing.
std::optional<int> TwoDigits(std::string_view text, std::size_t at) {
  if (at + 2 > text.size()) return std::nullopt;
  const auto digit = [&](std::size_t k) { return text[k] >= '0' && text[k] <= '9'; };
  if (!digit(at) || !digit(at + 1)) return std::nullopt;
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

}  // namespace

bool AsksScriptAnswer(const CommandLine& cl) {
  return cl.Has("--next") || cl.Has("--wait") || cl.Has("--is-day");
}

sys_seconds ParseIsoMoment(std::string_view option, std::string_view text) {
  const auto bad = [&] {
    return BadUsage(std::string(option) + " \"" + std::string(text) +
                    "\": expected YYYY-MM-DDTHH:MM:SS with Z or an offset, e.g. "
                    "2027-06-21T03:00:00+02:00");
  };
  if (text.size() < 20 || text[10] != 'T' || text[13] != ':' || text[16] != ':') throw bad();
  const Day day = ParseDayText(option, text.substr(0, 10));
  const auto h = TwoDigits(text, 11), m = TwoDigits(text, 14), s = TwoDigits(text, 17);
  if (!h || !m || !s || *h > 23 || *m > 59 || *s > 59) throw bad();
  int offset = 0;
  const std::string_view zone = text.substr(19);
  if (zone != "Z") {
    const auto zh = TwoDigits(zone, 1), zm = TwoDigits(zone, 4);
    if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':' || !zh || !zm ||
        *zh > 23 || *zm > 59) {
      throw bad();
    }
    offset = (zone[0] == '-' ? -1 : 1) * (*zh * 3600 + *zm * 60);
  }
  return sys_seconds{sys_days{day}} + seconds{*h * 3600 + *m * 60 + *s - offset};
}

int RunScriptAnswer(const CommandLine& cl, const TablePlace& place, const Clock& clock,
                    SunSettings settings, std::ostream& out, std::ostream& err) {
  const int asked =
      (cl.Has("--next") ? 1 : 0) + (cl.Has("--wait") ? 1 : 0) + (cl.Has("--is-day") ? 1 : 0);
  if (asked > 1) throw BadUsage("ask one of --next, --wait and --is-day");
  const sys_seconds now = cl.Value("--now")
                              ? ParseIsoMoment("--now", *cl.Value("--now"))
                              : std::chrono::floor<seconds>(std::chrono::system_clock::now());
  if (cl.Has("--is-day")) {
    const sys_days day = std::chrono::floor<days>(now);
    const double altitude = settings.twilight.value_or(settings.horizon);
    // The elevation --at shows for the same moment decides.
    const SunPath path(ObserverAt(place, altitude), CivilDateOf(Day{day}));
    const double hours = static_cast<double>((now - day).count()) / 3600;
    return path.PositionAt(hours).elevation > altitude ? kExitDay : kExitNight;
  }
  const bool wait = cl.Has("--wait");
  const auto name = wait ? cl.Value("--wait") : cl.Value("--next");
  const EventKind& kind = ReadEvent(wait ? "--wait" : "--next", *name);
  const seconds offset{std::llround(ReadOffsetMinutes(cl) * 60)};
  const std::vector<sys_seconds> moments =
      MomentsAround(kind, place, clock, WithWhatTheEventNeeds(settings, kind), now, kDaysAhead);
  std::optional<sys_seconds> next, last;
  for (const sys_seconds m : moments) {
    if (m + offset > now) {
      next = m + offset;
      break;
    }
    last = m + offset;
  }
  if (wait && last && now - *last < kJustPassed) {
    err << "orvalin-table: " << kind.name << " was " << (now - *last).count() << " s ago, at "
        << LocalIso(clock, *last) << '\n';
    return 0;
  }
  if (!next) {
    throw ToolFailure("no " + std::string(kind.name) + " in the next " +
                      std::to_string(kDaysAhead) + " days at " + place.Label());
  }
  if (!wait) {
    out << LocalIso(clock, *next) << '\n';
    return 0;
  }
  Wait(*next, now, err);
  return 0;
}

}  // namespace orvalin
