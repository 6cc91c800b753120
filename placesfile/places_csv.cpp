#include "placesfile/places_csv.h"

#include <charconv>

#include "engine/angle_text.h"
#include "common/failure.h"
#include "common/text.h"
#include "engine/helpers.h"

namespace orvalin {
namespace {

// Splits one CSV record starting at `at`; returns false on an unterminated quote.
bool NextCsvRow(std::string_view text, std::size_t& at, std::vector<std::string>& cells,
                std::size_t& lines) {
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
    } else if (c == ',') {
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

// Why a text cannot be stored in a field of `width` characters, or "" when it can.
std::string TextProblem(std::string_view what, const std::string& text, std::size_t width) {
  const std::u32string cps = CodePoints(text);
  if (cps.size() > width) {
    return std::string(what) + " is longer than " + std::to_string(width) + " characters";
  }
  for (char32_t c : cps) {
    if (c == U'\uFFFD' || Cp1252Code(c) < 0) {
      return std::string(what) + " has a character that cannot be stored";
    }
    if (c < 32) return std::string(what) + " has a control character";
  }
  return {};
}

std::string AngleProblem(std::string_view what, const std::string& text) {
  try {
    const AngleReading reading = ReadAngle(FixedText(text, kAngleWidth));
    if (!reading.is_clean()) {
      return std::string(what) + " \"" + text +
             "\" is not degrees, minutes, seconds and a hemisphere letter";
    }
  } catch (const Failure&) {
    return std::string(what) + " \"" + text + "\" has a number out of range";
  }
  return {};
}

std::string ParseRecord(const std::vector<std::string>& cells, std::size_t columns,
                        PlaceRecord& record) {
  if (cells.size() != columns) {
    return "expected " + std::to_string(columns) + " fields (" +
           std::string(columns == 5 ? kPlacesCsvHeader : kWorldCsvHeader) + "), found " +
           std::to_string(cells.size());
  }
  const std::string name = Trimmed(cells[0]), country = Trimmed(cells[1]),
                    latitude = Trimmed(cells[2]), longitude = Trimmed(cells[3]),
                    gmt = Trimmed(cells[4]);
  if (name.empty()) return "the name is empty";
  for (auto problem : {TextProblem("the name", name, kNameWidth),
                       TextProblem("the country", country, kCountryWidth),
                       TextProblem("the latitude", latitude, kAngleWidth),
                       TextProblem("the longitude", longitude, kAngleWidth),
                       AngleProblem("the latitude", latitude),
                       AngleProblem("the longitude", longitude)}) {
    if (!problem.empty()) return problem;
  }
  int hours = 0;
  const auto [end, ec] = std::from_chars(gmt.data(), gmt.data() + gmt.size(), hours);
  if (gmt.empty() || ec != std::errc() || end != gmt.data() + gmt.size() || hours < -32768 ||
      hours > 32767) {
    return "the time offset \"" + gmt + "\" is not a whole number of hours";
  }
  record.PlaceName = FixedText(name, kNameWidth);
  record.CountryName = FixedText(country, kCountryWidth);
  record.LatitudeText = FixedText(latitude, kAngleWidth);
  record.LongitudeText = FixedText(longitude, kAngleWidth);
  record.GmtHours = static_cast<std::int16_t>(hours);
  return {};
}

std::string CsvCell(std::string_view text) {
  std::string trimmed = Trimmed(text);
  if (trimmed.find_first_of(",\"\n\r") == std::string::npos) return trimmed;
  std::string out = "\"";
  for (char c : trimmed) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

}  // namespace

CsvPlaces ParsePlacesCsv(std::string_view text) {
  CsvPlaces result;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a spreadsheet's BOM
  std::size_t at = 0, line = 1, lines = 0;
  std::vector<std::string> cells;
  // The world list carries each place's time zone in a sixth column.
  std::size_t columns = 5;
  if (!NextCsvRow(text, at, cells, lines) || Trimmed(cells[0]) != "name" ||
      (cells.size() != 5 && !(cells.size() == 6 && Trimmed(cells[5]) == "zone"))) {
    result.problems.push_back({1, "the first line must be the header " +
                                      std::string(kPlacesCsvHeader)});
  } else {
    columns = cells.size();
  }
  line += lines;
  while (at < text.size()) {
    const std::size_t first_line = line;
    const bool closed = NextCsvRow(text, at, cells, lines);
    line += lines;
    if (cells.size() == 1 && Trimmed(cells[0]).empty()) continue;  // blank line
    PlaceRecord record;
    const std::string why =
        closed ? ParseRecord(cells, columns, record) : "a quote is never closed";
    if (why.empty()) {
      result.records.push_back(record);
      result.zones.push_back(columns == 6 ? Trimmed(cells[5]) : std::string());
    } else {
      result.problems.push_back({first_line, why});
    }
  }
  return result;
}

std::string PlacesCsv(const std::vector<PlaceRecord>& records) {
  std::string out(kPlacesCsvHeader);
  out += '\n';
  for (const auto& r : records) {
    out += CsvCell(r.PlaceName) + ',' + CsvCell(r.CountryName) + ',' + CsvCell(r.LatitudeText) +
           ',' + CsvCell(r.LongitudeText) + ',' + std::to_string(r.GmtHours) + '\n';
  }
  return out;
}

}  // namespace orvalin
