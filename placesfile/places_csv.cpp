#include "placesfile/places_csv.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>
#include <limits>
#include <optional>

#include "common/csv_cell.h"
#include "common/escaped_text.h"
#include "common/problem.h"
#include "common/text.h"
#include "engine/angle_forms.h"
#include "engine/helpers.h"

namespace orvalin {
namespace {

constexpr char kComma = ',';
constexpr char kSemicolon = ';';
// Six cells of at most 20 characters, each escaped (4 bytes) and quoted (twice as many), with
// room to spare for blanks around them.
constexpr std::size_t kMaxCsvLine = 4096;

// Splits one CSV record starting at `at`; returns false on an unterminated quote.
bool NextCsvRow(std::string_view text, char separator, std::size_t& at,
                std::vector<std::string>& cells, std::size_t& lines) {
  cells.assign(1, std::string());
  bool quoted = false;
  lines = 1;
  while (at < text.size()) {
    const char c = text[at++];
    if (quoted) {
      if (c == '"' && at < text.size() && text[at] == '"') {
        cells.back() += '"';
        ++at;
      } else if (c == '"') {
        quoted = false;
      } else {
        if (c == '\n') ++lines;
        cells.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == separator) {
      cells.emplace_back();
    } else if (c == '\n') {
      break;
    } else if (c != '\r') {
      cells.back() += c;
    }
  }
  return !quoted;
}

std::string Trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

// A control character (C0, DEL or C1) reaches a field only escaped, as the export writes it.
Problem RawControlProblem(std::string_view what, const std::string& cell) {
  const std::u32string cps = CodePoints(cell);
  for (std::size_t i = 0; i < cps.size(); ++i) {
    if (IsControlCharacter(cps[i])) {
      return std::string(what) + " has a control character (code " +
             std::to_string(static_cast<unsigned>(cps[i])) + ") at position " +
             std::to_string(i + 1);
    }
  }
  return std::nullopt;
}

// Why an unescaped text cannot be stored in a field of `width` characters.
Problem TextProblem(std::string_view what, const std::string& text, std::size_t width) {
  const std::u32string cps = CodePoints(text);
  if (cps.size() > width) {
    return std::string(what) + " is longer than " + std::to_string(width) + " characters";
  }
  for (char32_t c : cps) {
    if (c == U'\uFFFD' || Cp1252Code(c) < 0) {
      return std::string(what) + " has a character that cannot be stored";
    }
  }
  return std::nullopt;
}

// The window's text of an angle cell typed in any accepted form, or why there is none. A file
// separated by semicolons comes from a spreadsheet that writes decimal commas.
Problem AngleProblem(std::string_view what, const std::string& cell, Axis axis, char separator,
                         std::string& stored) {
  std::string reading = cell;
  if (separator == kSemicolon) std::replace(reading.begin(), reading.end(), ',', '.');
  const TypedAngle angle = ReadTypedAngle(reading, axis);
  if (angle.problem) {
    return std::string(what) + " \"" + cell + "\" " + *angle.problem + "; " +
           AcceptedAngleForms(axis);
  }
  stored = angle.window_text;
  return std::nullopt;
}

// Whole hours, with or without a plus sign.
std::optional<int> WholeHours(std::string_view text) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  int hours = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), hours);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
      hours < std::numeric_limits<std::int16_t>::min() ||
      hours > std::numeric_limits<std::int16_t>::max()) {
    return std::nullopt;
  }
  return hours;
}

Problem ParseRecord(const std::vector<std::string>& cells, std::size_t columns, char separator,
                    PlaceRecord& record) {
  if (cells.size() != columns) {
    return "expected " + std::to_string(columns) + " fields (" +
           PlacesCsvHeader(columns > kPlacesCsvColumns.size()) +
           "), found " +
           std::to_string(cells.size());
  }
  constexpr const char* kWhat[] = {"the name", "the country", "the latitude", "the longitude"};
  for (std::size_t c = 0; c < std::size(kWhat); ++c) {
    if (auto problem = RawControlProblem(kWhat[c], cells[c])) return problem;
  }
  const std::string name = UnescapeControls(Trimmed(cells[0])),
                    country = UnescapeControls(Trimmed(cells[1])), gmt = Trimmed(cells[4]);
  std::string latitude, longitude;
  if (name.empty()) return "the name is empty";
  // A braced list is evaluated in order: the angles' stored texts exist before their width is
  // checked.
  for (auto problem :
       {TextProblem("the name", name, kNameWidth),
        TextProblem("the country", country, kCountryWidth),
        AngleProblem("the latitude", UnescapeControls(Trimmed(cells[2])), Axis::Latitude,
                     separator, latitude),
        AngleProblem("the longitude", UnescapeControls(Trimmed(cells[3])), Axis::Longitude,
                     separator, longitude),
        TextProblem("the latitude", latitude, kAngleWidth),
        TextProblem("the longitude", longitude, kAngleWidth)}) {
    if (problem) return problem;
  }
  const std::optional<int> hours = WholeHours(gmt);
  if (!hours) {
    return "the time offset \"" + gmt + "\" is not a whole number of hours (e.g. 1, -5 or +5)";
  }
  record.PlaceName = FixedText(name, kNameWidth);
  record.CountryName = FixedText(country, kCountryWidth);
  record.LatitudeText = FixedText(latitude, kAngleWidth);
  record.LongitudeText = FixedText(longitude, kAngleWidth);
  record.GmtHours = static_cast<std::int16_t>(*hours);
  return std::nullopt;
}

// The header's separator: a semicolon when the first line has semicolons and no comma.
char HeaderSeparator(std::string_view text) {
  const std::string_view first = text.substr(0, text.find('\n'));
  return first.find(',') == std::string_view::npos &&
                 first.find(kSemicolon) != std::string_view::npos
             ? kSemicolon
             : kComma;
}

// The number of columns of a header line, 0 when it is none. The world list carries each place's
// time zone in a sixth column.
std::size_t HeaderColumns(const std::vector<std::string>& cells) {
  const bool zone =
      cells.size() == kPlacesCsvColumns.size() + 1 && Trimmed(cells.back()) == kZoneColumn;
  if (cells.size() != kPlacesCsvColumns.size() && !zone) return 0;
  for (std::size_t i = 0; i < kPlacesCsvColumns.size(); ++i) {
    if (Trimmed(cells[i]) != kPlacesCsvColumns[i]) return 0;
  }
  return cells.size();
}

// The text without its filling, escaped, a leading blank and the start of a formula too (a name
// from a shared file may be "=1+1"): the import reads it back whole.
std::string PlaceCell(std::string_view text) {
  return CsvCell(EscapeControls(text.substr(0, text.find_last_not_of(' ') + 1)),
                 FormulaGuard::HexEscape);
}

// A line that no place can fill is refused by its number before it is split into cells, which
// would take memory without bound: skipped, with its problem.
std::optional<CsvProblem> SkipOverlongLine(std::string_view text, std::size_t& at,
                                           std::size_t& line) {
  const std::size_t end = std::min(text.find('\n', at), text.size());
  if (end - at <= kMaxCsvLine) return std::nullopt;
  CsvProblem skipped{line, "the line is longer than " + std::to_string(kMaxCsvLine) + " bytes"};
  at = end + 1;
  ++line;
  return skipped;
}

}  // namespace

std::string PlacesCsvHeader(bool with_zone) {
  std::string header;
  for (const std::string_view column : kPlacesCsvColumns) {
    header.append(header.empty() ? "" : ",").append(column);
  }
  return with_zone ? header.append(",").append(kZoneColumn) : header;
}

CsvPlaces ParsePlacesCsv(std::string_view text) {
  CsvPlaces result;
  ForEachCsvPlace(
      text, [&](const CsvPlace& place) { result.places.push_back(place); },
      [&](const CsvProblem& problem) { result.problems.push_back(problem); });
  return result;
}

void ForEachCsvPlace(std::string_view text, const std::function<void(const CsvPlace&)>& each,
                     const std::function<void(const CsvProblem&)>& problem) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a spreadsheet's BOM
  const char separator = HeaderSeparator(text);
  std::size_t at = 0, line = 1, lines = 0;
  std::vector<std::string> cells;
  std::size_t columns = kPlacesCsvColumns.size();
  if (auto overlong = SkipOverlongLine(text, at, line)) {
    overlong->why += "; the first line must be the header";
    problem(*overlong);
  } else if (NextCsvRow(text, separator, at, cells, lines) && HeaderColumns(cells) != 0) {
    columns = HeaderColumns(cells);
    line += lines;
  } else {
    problem({1, "the first line must be the header " + PlacesCsvHeader() +
                    " (or the same with semicolons)"});
    line += lines;
  }
  while (at < text.size()) {
    if (auto overlong = SkipOverlongLine(text, at, line)) {
      problem(*overlong);
      continue;
    }
    const std::size_t first_line = line;
    const bool closed = NextCsvRow(text, separator, at, cells, lines);
    line += lines;
    if (cells.size() == 1 && Trimmed(cells[0]).empty()) continue;  // blank line
    CsvPlace place;
    place.line = first_line;
    const Problem why = closed ? ParseRecord(cells, columns, separator, place.record)
                               : Problem("a quote is never closed");
    if (why) {
      problem({first_line, *why});
      continue;
    }
    if (columns > kPlacesCsvColumns.size()) place.zone = Trimmed(cells.back());
    each(place);
  }
}

std::string PlacesCsvLine(const PlaceRecord& r) {
  return PlaceCell(r.PlaceName) + ',' + PlaceCell(r.CountryName) + ',' + PlaceCell(r.LatitudeText) +
         ',' + PlaceCell(r.LongitudeText) + ',' + std::to_string(r.GmtHours) + '\n';
}

}  // namespace orvalin
