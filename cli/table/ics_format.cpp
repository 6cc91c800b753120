#include "cli/table/ics_format.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "cli/table/sun_options.h"
#include "common/out_text.h"

namespace orvalin {
namespace {

using std::chrono::sys_seconds;

constexpr std::size_t kFoldOctets = 75;  // a content line's octets before it is folded
constexpr std::string_view kProduct = "-//Orvalin//orvalin-table//EN";
constexpr std::string_view kUidDomain = "orvalin.invalid";  // never a real host
constexpr std::string_view kDash = " \xE2\x80\x94 ";       // " — "
// A span is looked for up to a year after it starts: at any place the sun leaves a band of
// altitudes it entered within one.
constexpr std::chrono::days kLongestSpan{366};
constexpr long long kSecondsPerDay = 86400;

// 20270621T034518Z
std::string UtcText(sys_seconds moment) {
  const auto day = std::chrono::floor<std::chrono::days>(moment);
  const std::chrono::year_month_day date{day};
  const auto s = static_cast<unsigned>((moment - day).count());  // within the day
  char text[48];
  std::snprintf(text, sizeof text, "%04d%02u%02uT%02u%02u%02uZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                s / 3600 % 100, s / 60 % 60, s % 60);
  return text;
}

sys_seconds Second(Instant moment) { return std::chrono::round<std::chrono::seconds>(moment); }

// "05:45" for 05:45:59: the hour and minute a calendar shows for the second the event starts,
// on `clock`.
std::string ShownMinute(const Clock& clock, Instant moment) {
  const sys_seconds second = Second(moment);
  const auto day = std::chrono::floor<std::chrono::days>(second);
  const long long ut = (second - day).count();
  const int offset = clock.At(Day{day}, static_cast<double>(ut) / 3600).offset_seconds;
  const long long local = ((ut + offset) % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay;
  char text[8];
  std::snprintf(text, sizeof text, "%02lld:%02lld", local / 3600, local / 60 % 60);
  return text;
}

// A TEXT value: backslash, semicolon, comma and line break escaped.
std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\' || c == ';' || c == ',') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

// FNV-1a of the place's label and coordinates: the same place gives the same UIDs every time.
std::string PlaceKey(const TablePlace& place) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : place.Label()) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

// Every event of a slot: the first of the day, then the later ones.
std::vector<Instant> Moments(const EventTime& e) {
  std::vector<Instant> moments;
  if (!e.known) return moments;
  moments.push_back(InstantOf(e.local));
  for (const LaterEvent& later : e.later) moments.push_back(InstantOf(later.local));
  return moments;
}

// "civil" for the twilight's altitude in use.
std::string_view TwilightName(double altitude) {
  for (const auto& [name, degrees] : kTwilights) {
    if (degrees == altitude) return name;
  }
  return {};
}

// "Morning golden hour" for a span the sun climbs into and out of, "Evening ..." for one it sinks
// through, "Golden hour" for any other (a polar day's whole light within the band).
std::string SpanTitle(std::string_view noun, bool climbing_in, bool climbing_out) {
  if (climbing_in == climbing_out) {
    return (climbing_in ? "Morning " : "Evening ") + std::string(noun);
  }
  std::string title(noun);
  if (!title.empty()) title.front() = static_cast<char>(std::toupper(title.front()));
  return title;
}

}  // namespace

IcsWriter::IcsWriter(std::ostream& out, sys_seconds stamp, const SunSettings& settings,
                     bool many_places)
    : out_(out), stamp_(UtcText(stamp)), settings_(settings), many_places_(many_places) {
  Line("BEGIN:VCALENDAR");
  Line("VERSION:2.0");
  Line("PRODID:" + std::string(kProduct));
  Line("CALSCALE:GREGORIAN");
}

// Folded after 75 octets, never inside a UTF-8 character.
void IcsWriter::Line(const std::string& content) {
  std::size_t start = 0, room = kFoldOctets;
  while (content.size() - start > room) {
    std::size_t cut = start + room;
    while (cut > start && (static_cast<unsigned char>(content[cut]) & 0xC0) == 0x80) --cut;
    out_ << content.substr(start, cut - start) << "\r\n ";
    start = cut;
    room = kFoldOctets - 1;  // the leading blank counts
  }
  out_ << content.substr(start) << "\r\n";
}

// The calendar's name and description (RFC 7986, and the older X-WR- names that more clients
// read), from its first place: a client shows the events on its own clock, the titles keep the
// table's.
void IcsWriter::Name(const TablePlace& place, const Clock& clock) {
  const std::string where = place.name.empty() ? place.Label() : place.name;
  const std::string name = many_places_ ? "Sun at " + where + " and other places" : "Sun at " + where;
  const std::string description =
      many_places_ ? "The sun's events at several places, from orvalin-table; the time in each "
                     "title is the start on the clock of its place, which its description gives "
                     "with the offset"
                   : "The sun's events at " + place.Label() +
                         ", from orvalin-table; the time in each title is the start in " +
                         clock.Description();
  for (const std::string_view property : {"NAME:", "X-WR-CALNAME:"}) {
    Line(std::string(property) + Escaped(name));
  }
  for (const std::string_view property : {"DESCRIPTION:", "X-WR-CALDESC:"}) {
    Line(std::string(property) + Escaped(description));
  }
}

void IcsWriter::BeginPlace(const TablePlace& place, const Clock& clock) {
  place_ = &place;
  clock_ = &clock;
  if (!named_) Name(place, clock);
  named_ = true;
}

void IcsWriter::Write(const SunRow& row, int ordinal, const Event& event) {
  const std::string where = place_->name.empty() ? place_->Label() : place_->name;
  std::string description = place_->Label() + ", " + LocalIso(*clock_, event.start);
  // An instant, or a span too short to last a second, ends where it starts: no DTEND.
  const bool span = event.end && Second(*event.end) > Second(event.start);
  if (span) description += " to " + LocalIso(*clock_, *event.end);
  Line("BEGIN:VEVENT");
  Line("UID:" + event.uid_kind + "-" + IsoDate(row.date) +
       (ordinal > 1 ? "-" + std::to_string(ordinal) : "") + "-" + PlaceKey(*place_) + "@" +
       std::string(kUidDomain));
  Line("DTSTAMP:" + stamp_);
  Line("DTSTART:" + UtcText(Second(event.start)));
  if (span) Line("DTEND:" + UtcText(Second(*event.end)));
  Line("TRANSP:TRANSPARENT");  // the sun's events never make anyone busy
  Line("SUMMARY:" + Escaped(event.title + " " + ShownMinute(*clock_, event.start) +
                            std::string(kDash) + where));
  Line("DESCRIPTION:" + Escaped(description));
  Line("END:VEVENT");
}

void IcsWriter::Instants(const SunRow& row, std::string_view kind, std::string_view title,
                         const EventTime& e) {
  int ordinal = 0;
  for (const Instant moment : Moments(e)) {
    Write(row, ++ordinal, {std::string(kind), std::string(title), moment, std::nullopt});
  }
}

// Each span from its start on the row's day to where the sun next leaves the band.
void IcsWriter::Spans(const SunRow& row, std::string_view kind, std::string_view noun,
                      const AltitudeBand& band, const EventTime& morning,
                      const EventTime& evening) {
  if (!(band.low < band.high)) return;
  const std::array<BodyEvent, 2> exits = BandExits(band);
  for (const bool climbing : {true, false}) {
    int ordinal = 0;
    for (const Instant start : Moments(climbing ? morning : evening)) {
      const auto end = NextEvent(*place_, exits, start, start + kLongestSpan);
      if (!end) continue;
      Write(row, ++ordinal,
            {std::string(kind) + (climbing ? "-morning" : "-evening"),
             SpanTitle(noun, climbing, exits[end->which].rising), start, end->at});
    }
  }
}

void IcsWriter::Row(const SunRow& row) {
  Instants(row, "dawn", "Dawn", row.dawn);
  Instants(row, "sunrise", "Sunrise", row.sunrise);
  Instants(row, "sunset", "Sunset", row.sunset);
  Instants(row, "dusk", "Dusk", row.dusk);
  if (settings_.twilight) {
    const std::string noun = std::string(TwilightName(*settings_.twilight)) + " twilight";
    Spans(row, "twilight", noun, {*settings_.twilight, settings_.horizon}, row.dawn, row.sunset);
  }
  if (settings_.golden) {
    Spans(row, "golden", "golden hour", *settings_.golden, row.golden.morning_start,
          row.golden.evening_start);
  }
  if (settings_.blue) {
    Spans(row, "blue", "blue hour", *settings_.blue, row.blue.morning_start,
          row.blue.evening_start);
  }
  if (settings_.moon) {
    Instants(row, "moonrise", "Moonrise", row.moon.rise);
    Instants(row, "moonset", "Moonset", row.moon.set);
    Instants(row, "moon-phase", row.moon.phase, row.moon.principal);
  }
}

void IcsWriter::End() { Line("END:VCALENDAR"); }

}  // namespace orvalin
