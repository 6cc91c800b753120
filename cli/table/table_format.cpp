#include "cli/table/table_format.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <string>
#include <utility>

#include "cli/args/tool_errors.h"
#include "cli/table/sun_options.h"
#include "cli/table/table_columns.h"
#include "common/out_text.h"
#include "engine/helpers.h"

namespace orvalin {
namespace {

using namespace table;

constexpr int kTextDegrees = 1;        // decimals of the text table's angles
constexpr int kWindowTimeWidth = 15;   // " 23h 59mn 59.9s"
constexpr int kWindowAngleWidth = 16;  // "  327° 43' 1.96\""
constexpr int kDateWidth = 10;         // "2027-03-01"
constexpr int kAngleWidth = 5;         // "327.7"
constexpr int kSecondsWidth = 8;       // "07:15:49"
constexpr int kMinutesWidth = 5;       // "07:15"

std::string TextOf(const Column& c, const Cell& cell, const TableStyle& style) {
  if (!cell.known) return {};
  if (style.window_texts || IsPlain(c.kind)) return cell.text;
  if (c.kind == Kind::Degrees) return Decimal(cell.number, kTextDegrees);
  return ClockText(cell.number, style.minutes, c.kind == Kind::Event);
}

std::string_view Header(const Column& c, const TableStyle& style) {
  return style.window_texts || c.short_header.empty() ? c.header : c.short_header;
}

int TextWidth(const Column& c, const TableStyle& style) {
  int value = 0;
  switch (c.kind) {
    case Kind::Plain:
    case Kind::Number:
      value = c.fill == Fill::EndsLine ? 0 : kDateWidth;
      break;
    case Kind::Event:
    case Kind::Hours:
      value = style.window_texts ? kWindowTimeWidth : style.minutes ? kMinutesWidth : kSecondsWidth;
      break;
    case Kind::Degrees:
      value = style.window_texts ? kWindowAngleWidth : kAngleWidth;
      break;
  }
  return std::max({value, c.width, static_cast<int>(Header(c, style).size())});
}

bool Present(const Column& c, const TableStyle& style, Shown where) {
  if ((c.shown & where) == 0) return false;
  const bool twilight = style.sun.twilight.has_value();
  if ((c.shown & kTwilight) && !twilight) return false;
  if (((c.shown & kAt) && !style.sun.at) || ((c.shown & kGolden) && !style.sun.golden) ||
      ((c.shown & kBlue) && !style.sun.blue) || ((c.shown & kMoon) && !style.sun.moon)) {
    return false;
  }
  return !(where == kReadable && twilight && (c.shown & kReadableWithoutTwilight));
}

bool InText(const Column& c, const TableStyle& style) {
  return Present(c, style, style.window_texts ? kWindow : kReadable);
}

std::string TextLine(const TableStyle& style,
                     const std::function<std::string(const Column&)>& text) {
  std::string line;
  for (const Column& c : TableColumns()) {
    if (!InText(c, style)) continue;
    const std::string cell = text(c);
    const auto width = static_cast<std::size_t>(TextWidth(c, style));
    const std::string fill(width - std::min(width, CharacterCount(cell)), ' ');
    if (!line.empty()) line += "  ";
    line += IsPlain(c.kind) ? cell + fill : fill + cell;
  }
  line.erase(line.find_last_not_of(' ') + 1);
  return line + '\n';
}

// The member of the decimal beside the window's text in JSON.
std::string_view JsonNumberKey(Kind kind) { return kind == Kind::Degrees ? "degrees" : "hours"; }

std::string CsvHeader(const TableStyle& style) {
  std::string header;
  for (const Column& c : TableColumns()) {
    if (!Present(c, style, kCsv)) continue;
    if (!header.empty()) header += ',';
    header += c.key;
    if (c.kind == Kind::Event) header += ',' + std::string(c.key) + "_date";
    if (!IsPlain(c.kind)) header += ',' + std::string(c.key) + std::string(CsvSuffix(c.kind));
    if (c.kind == Kind::Event) header += ',' + std::string(c.key) + "_time";
  }
  return header;
}

std::string CsvCells(Kind kind, const Cell& cell) {
  switch (kind) {
    case Kind::Plain:
      return cell.known ? CsvCell(cell.text) : std::string();
    case Kind::Number:
      return cell.text;  // a decimal: a spreadsheet must read "-68.3" as the number it is
    case Kind::Event:
      if (!cell.known) return ",,,";
      return CsvCell(cell.text) + ',' + IsoDate(cell.date) + ',' +
             Decimal(cell.number, kTableDigits) + ',' +
             IsoTimestamp(cell.date, cell.number, cell.offset_seconds);
    case Kind::Degrees:
    case Kind::Hours:
      if (!cell.known) return ",";
      return CsvCell(cell.text) + ',' + Decimal(cell.number, kTableDigits);
  }
  return {};
}

std::string CsvLine(const Context& context, const TableStyle& style) {
  std::string line;
  const char* separator = "";
  for (const Column& c : TableColumns()) {
    if (!Present(c, style, kCsv)) continue;
    line += separator + CsvCells(c.kind, c.value(context));
    separator = ",";
  }
  return line + '\n';
}

// An ISO 8601 date or time as a JSON string: it holds nothing JSON escapes.
std::string JsonIso(std::string iso) { return '"' + std::move(iso) + '"'; }

std::string JsonValue(Kind kind, const Cell& cell) {
  if (!cell.known) return "null";
  if (kind == Kind::Number) return cell.text;  // a decimal, as a number
  if (IsPlain(kind)) return JsonString(cell.text);
  std::string object = "{\"text\": " + JsonString(cell.text);
  if (kind == Kind::Event) object += ", \"date\": " + JsonIso(IsoDate(cell.date));
  object += ", \"" + std::string(JsonNumberKey(kind)) + "\": " + Decimal(cell.number, kTableDigits);
  if (kind == Kind::Event) {
    object += ", \"time\": " + JsonIso(IsoTimestamp(cell.date, cell.number, cell.offset_seconds));
  }
  return object + "}";
}

// A day with two events of a kind gives both, in order.
std::string JsonValues(Kind kind, const Cell& cell) {
  if (cell.more.empty()) return JsonValue(kind, cell);
  std::string list = "[" + JsonValue(kind, cell);
  for (const Cell& more : cell.more) list += ", " + JsonValue(kind, more);
  return list + "]";
}

std::string JsonRow(const Context& context, const TableStyle& style) {
  std::string object;
  for (const Column& c : TableColumns()) {
    if (!Present(c, style, kJson)) continue;
    object += object.empty() ? "{" : ", ";
    object += "\"" + std::string(c.key) + "\": " + JsonValues(c.kind, c.value(context));
  }
  return object + "}";
}

std::string JsonPlace(const TablePlace& place) {
  return "{\"name\": " + JsonString(place.name) + ", \"country\": " + JsonString(place.country) +
         ", \"latitude\": " + JsonString(place.latitude_text) +
         ", \"longitude\": " + JsonString(place.longitude_text) +
         ", \"latitude_deg\": " + Decimal(place.latitude.Degrees(), kTableDigits) +
         ", \"longitude_deg\": " + Decimal(place.longitude.East(), kTableDigits) +
         ", \"longitude_west_deg\": " + Decimal(place.longitude.West(), kTableDigits) +
         ", \"gmt\": " + (place.gmt_hours ? std::to_string(*place.gmt_hours) : "null") +
         ", \"zone\": " + (place.zone.empty() ? "null" : JsonString(place.zone)) + "}";
}

// The clock's and the altitudes' members, each followed by a comma and `separator`.
// The horizon altitude in use: as given, or to a ten-thousandth of a degree once lowered by the
// dip of an observer's height.
std::string HorizonText(const SunSettings& sun, bool window_texts = false) {
  if (sun.observer_metres > 0) return Decimal(sun.horizon, 4);
  return window_texts ? NumberText(sun.horizon) : ShortestDecimal(sun.horizon);
}

std::string JsonClock(const Clock& clock, const SunSettings& sun, std::string_view separator) {
  const std::string next = "," + std::string(separator);
  return "\"clock\": " + JsonString(clock.Name()) + next +
         "\"clock_description\": " + JsonString(clock.Description()) + next +
         "\"horizon_deg\": " + HorizonText(sun) + next +
         (sun.observer_metres > 0
              ? "\"observer_elevation_m\": " + ShortestDecimal(sun.observer_metres) + next
              : "") +
         (sun.twilight ? "\"twilight_deg\": " + ShortestDecimal(*sun.twilight) + next : "");
}

void TextHeading(std::ostream& out, const TablePlace& place, const Clock& clock,
                 const TableStyle& style) {
  out << place.Label() << '\n';
  const std::string horizon =
      HorizonText(style.sun, style.window_texts) +
      (style.sun.observer_metres > 0 ? "\xC2\xB0 (lowered by the dip of the horizon " +
                                           ShortestDecimal(style.sun.observer_metres) + " m up)"
                                     : "\xC2\xB0");
  const std::string twilight =
      style.sun.twilight ? "; dawn and dusk at " + ShortestDecimal(*style.sun.twilight) + "\xC2\xB0"
                         : "";
  if (style.window_texts) {
    out << "Times in " << clock.Description() << "; true azimuths; sunrise and sunset at a"
        << " horizon altitude of " << horizon << twilight << ".\n";
  } else {
    out << "Times in " << clock.Description() << ".\n"
        << "True azimuths in degrees; sunrise and sunset at a horizon altitude of " << horizon
        << twilight << ".\n";
  }
  // Tables of other programs disagree with the window's by this much: why is said where it shows.
  if (style.sun.horizon == kHorizonAltitude) {
    out << "NOAA and almanacs use " << ShortestDecimal(kStandardHorizon)
        << "\xC2\xB0: sunrise about 1.5 min earlier, sunset later (--horizon standard).\n";
  }
  out << '\n';
  out << TextLine(style, [&](const Column& c) { return std::string(Header(c, style)); });
}

}  // namespace

TableFormat ParseTableFormat(std::string_view option, std::string_view text, bool ics) {
  constexpr std::pair<std::string_view, TableFormat> kFormats[] = {{"text", TableFormat::Text},
                                                                   {"csv", TableFormat::Csv},
                                                                   {"json", TableFormat::Json},
                                                                   {"ics", TableFormat::Ics}};
  const std::size_t offered = ics ? std::size(kFormats) : std::size(kFormats) - 1;
  std::string names;
  for (std::size_t k = 0; k < offered; ++k) {
    if (text == kFormats[k].first) return kFormats[k].second;
    names.append(k == 0 ? "" : k + 1 == offered ? " or " : ", ").append(kFormats[k].first);
  }
  throw BadUsage(std::string(option) + " \"" + std::string(text) + "\": expected " + names);
}

TableWriter::TableWriter(std::ostream& out, const TableStyle& style) : out_(out), style_(style) {
  if (style_.format == TableFormat::Csv) out_ << CsvHeader(style_) << '\n';
  if (style_.format == TableFormat::Json && style_.many_places) out_ << "{\n  \"places\": [";
  if (style_.format == TableFormat::Ics) {
    ics_.emplace(out_, std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()),
                 style_.sun, style_.many_places);
  }
}

void TableWriter::BeginPlace(const TablePlace& place, const Clock& clock) {
  const bool first = places_++ == 0;
  place_ = &place;
  clock_ = &clock;
  switch (style_.format) {
    case TableFormat::Text:
      if (!first) out_ << '\n';
      TextHeading(out_, place, clock, style_);
      break;
    case TableFormat::Csv:
      break;
    case TableFormat::Ics:
      ics_->BeginPlace(place, clock);
      break;
    case TableFormat::Json:
      if (style_.many_places) {
        if (!first) out_ << (rows_ == 0 ? "]}," : "\n    ]},");
        out_ << "\n    {\"place\": " << JsonPlace(place) << ",\n    "
             << JsonClock(clock, style_.sun, " ") << "\"days\": [";
      } else {
        out_ << "{\n  \"place\": " << JsonPlace(place) << ",\n  "
             << JsonClock(clock, style_.sun, "\n  ") << "\"days\": [";
      }
      break;
  }
  rows_ = 0;
}

void TableWriter::Row(const SunRow& row) {
  const Context context{row, *place_, *clock_, style_.sun.twilight.has_value()};
  switch (style_.format) {
    case TableFormat::Text:
      out_ << TextLine(style_,
                       [&](const Column& c) { return TextOf(c, c.value(context), style_); });
      break;
    case TableFormat::Csv:
      out_ << CsvLine(context, style_);
      break;
    case TableFormat::Json:
      out_ << (rows_ == 0 ? "\n" : ",\n") << (style_.many_places ? "      " : "    ")
           << JsonRow(context, style_);
      break;
    case TableFormat::Ics:
      ics_->Row(row);
      break;
  }
  ++rows_;
}

void TableWriter::Skipped(Day day) {
  if (style_.format != TableFormat::Text) return;
  out_ << (style_.window_texts ? DateText(day) : IsoDate(day)) << "  skipped by the clock of "
       << clock_->Name() << ": that day never came there\n";
}

void TableWriter::End() {
  if (ics_) ics_->End();
  if (style_.format != TableFormat::Json) return;
  if (style_.many_places) {
    if (places_ > 0) out_ << (rows_ == 0 ? "]}" : "\n    ]}");
    out_ << (places_ == 0 ? "]\n}\n" : "\n  ]\n}\n");
  } else {
    out_ << (rows_ == 0 ? "]\n}\n" : "\n  ]\n}\n");
  }
}

}  // namespace orvalin
