#include "cli/ics_format.h"

#include <cstdint>
#include <cstdio>

#include "cli/out_text.h"

namespace orvalin {
namespace {

using std::chrono::sys_seconds;

constexpr std::size_t kFoldOctets = 75;  // a content line's octets before it is folded
constexpr std::string_view kProduct = "-//Orvalin//orvalin-table//EN";
constexpr std::string_view kUidDomain = "orvalin.invalid";  // never a real host

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

}  // namespace

IcsWriter::IcsWriter(std::ostream& out, sys_seconds stamp) : out_(out), stamp_(UtcText(stamp)) {
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

void IcsWriter::Event(const TablePlace& place, std::string_view kind, std::string_view title,
                      const EventTime& e, const SunRow& row) {
  if (!e.known) return;
  const sys_seconds moment = MomentOfEvent(e);
  const std::string where = place.name.empty() ? place.Label() : place.name;
  Line("BEGIN:VEVENT");
  Line("UID:" + std::string(kind) + "-" + IsoDate(row.date) + "-" + PlaceKey(place) + "@" +
       std::string(kUidDomain));
  Line("DTSTAMP:" + stamp_);
  Line("DTSTART:" + UtcText(moment));
  Line("DTEND:" + UtcText(moment));
  Line("SUMMARY:" + Escaped(std::string(title) + " " + ClockText(e.local.hours, true, true) +
                            " \xE2\x80\x94 " + where));
  Line("DESCRIPTION:" + Escaped(place.Label() + ", " +
                                IsoTimestamp(e.local.date, e.local.hours, e.local.offset_seconds)));
  Line("END:VEVENT");
}

void IcsWriter::Row(const TablePlace& place, const SunRow& row) {
  const std::tuple<std::string_view, std::string_view, const EventTime*> events[] = {
      {"dawn", "Dawn", &row.dawn},
      {"blue-morning-start", "Blue hour starts", &row.blue.morning_start},
      {"golden-morning-start", "Golden hour starts", &row.golden.morning_start},
      {"sunrise", "Sunrise", &row.sunrise},
      {"blue-morning-end", "Blue hour ends", &row.blue.morning_end},
      {"golden-morning-end", "Golden hour ends", &row.golden.morning_end},
      {"golden-evening-start", "Golden hour starts", &row.golden.evening_start},
      {"sunset", "Sunset", &row.sunset},
      {"golden-evening-end", "Golden hour ends", &row.golden.evening_end},
      {"blue-evening-start", "Blue hour starts", &row.blue.evening_start},
      {"blue-evening-end", "Blue hour ends", &row.blue.evening_end},
      {"dusk", "Dusk", &row.dusk},
  };
  for (const auto& [kind, title, e] : events) Event(place, kind, title, *e, row);
}

void IcsWriter::End() { Line("END:VCALENDAR"); }

}  // namespace orvalin
