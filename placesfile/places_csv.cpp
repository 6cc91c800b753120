#include "placesfile/places_csv.h"

#include <algorithm>
#include <charconv>
#include <functional>

#include "commands/verif_angle.h"
#include "common/escaped_text.h"
#include "common/failure.h"
#include "common/text.h"
#include "engine/helpers.h"

namespace orvalin {
namespace {

// Five cells of at most 20 characters, each escaped (4 bytes) and quoted (twice as many), with
// room to spare for blanks around them.
constexpr std::size_t kMaxCsvLine = 4096;

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

// A control character reaches a field only escaped, as the export writes it.
std::string RawControlProblem(std::string_view what, const std::string& cell) {
  for (char32_t c : CodePoints(cell)) {
    if (c < 32) return std::string(what) + " has a control character";
  }
  return {};
}

// Why an unescaped text cannot be stored in a field of `width` characters, or "" when it can.
std::string TextProblem(std::string_view what, const std::string& text, std::size_t width) {
  const std::u32string cps = CodePoints(text);
  if (cps.size() > width) {
    return std::string(what) + " is longer than " + std::to_string(width) + " characters";
  }
  for (char32_t c : cps) {
    if (c == U'\uFFFD' || Cp1252Code(c) < 0) {
      return std::string(what) + " has a character that cannot be stored";
    }
  }
  return {};
}

std::string AngleProblem(std::string_view what, const std::string& text) {
  try {
    const AngleReading reading = ReadAngle(FixedText(text, kAngleWidth));
    if (!reading.messages.empty()) {
      return std::string(what) + " \"" + text +
             "\" is not degrees, minutes, seconds and a hemisphere letter";
    }
  } catch (const Failure&) {
    return std::string(what) + " \"" + text + "\" has a number out of range";
  }
  return {};
}

std::string ParseRecord(const std::vector<std::string>& cells, PlaceRecord& record) {
  if (cells.size() != 5) {
    return "expected 5 fields (name,country,latitude,longitude,gmt), found " +
           std::to_string(cells.size());
  }
  constexpr const char* kWhat[] = {"the name", "the country", "the latitude", "the longitude"};
  for (std::size_t c = 0; c < std::size(kWhat); ++c) {
    if (auto problem = RawControlProblem(kWhat[c], cells[c]); !problem.empty()) return problem;
  }
  const std::string name = UnescapeControls(Trimmed(cells[0])),
                    country = UnescapeControls(Trimmed(cells[1])),
                    latitude = UnescapeControls(Trimmed(cells[2])),
                    longitude = UnescapeControls(Trimmed(cells[3])), gmt = Trimmed(cells[4]);
  if (name.empty()) return "the name is empty";
  for (auto problem :
       {TextProblem("the name", name, kNameWidth),
        TextProblem("the country", country, kCountryWidth),
        TextProblem("the latitude", latitude, kAngleWidth),
        TextProblem("the longitude", longitude, kAngleWidth),
        AngleProblem("the latitude", latitude), AngleProblem("the longitude", longitude)}) {
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

// The text without its filling, escaped; a leading blank, which the import trims, is escaped
// too so that it comes back.
std::string CsvCell(std::string_view text) {
  std::string cell = EscapeControls(text.substr(0, text.find_last_not_of(' ') + 1));
  if (cell.starts_with(' ')) cell.replace(0, 1, "\\x20");
  if (cell.find_first_of(",\"") == std::string::npos) return cell;
  std::string out = "\"";
  for (char c : cell) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

// A line that no place can fill is refused by its number before it is split into cells, which
// would take memory without bound.
bool SkipOverlongLine(std::string_view text, std::size_t& at, std::size_t& line,
                      std::vector<CsvProblem>& problems) {
  const std::size_t end = std::min(text.find('\n', at), text.size());
  if (end - at <= kMaxCsvLine) return false;
  problems.push_back({line, "the line is longer than " + std::to_string(kMaxCsvLine) + " bytes"});
  at = end + 1;
  ++line;
  return true;
}

}  // namespace

CsvPlaces ParsePlacesCsv(std::string_view text) {
  CsvPlaces result;
  result.problems =
      ForEachCsvPlace(text, [&](const PlaceRecord& r) { result.records.push_back(r); });
  return result;
}

std::vector<CsvProblem> ForEachCsvPlace(std::string_view text,
                                        const std::function<void(const PlaceRecord&)>& each) {
  std::vector<CsvProblem> problems;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a spreadsheet's BOM
  std::size_t at = 0, line = 1, lines = 0;
  std::vector<std::string> cells;
  if (SkipOverlongLine(text, at, line, problems)) {
    problems.front().why += "; the first line must be the header";
  } else if (!NextCsvRow(text, at, cells, lines) || Trimmed(cells[0]) != "name" ||
             cells.size() != 5) {
    problems.push_back({1, "the first line must be the header " + std::string(kPlacesCsvHeader)});
    line += lines;
  } else {
    line += lines;
  }
  while (at < text.size()) {
    if (SkipOverlongLine(text, at, line, problems)) continue;
    const std::size_t first_line = line;
    const bool closed = NextCsvRow(text, at, cells, lines);
    line += lines;
    if (cells.size() == 1 && Trimmed(cells[0]).empty()) continue;  // blank line
    PlaceRecord record;
    const std::string why = closed ? ParseRecord(cells, record) : "a quote is never closed";
    if (why.empty()) {
      each(record);
    } else {
      problems.push_back({first_line, why});
    }
  }
  return problems;
}

std::string PlacesCsv(const std::vector<PlaceRecord>& records) {
  std::string out(kPlacesCsvHeader);
  out += '\n';
  for (const auto& r : records) out += PlacesCsvLine(r);
  return out;
}

std::string PlacesCsvLine(const PlaceRecord& r) {
  return CsvCell(r.PlaceName) + ',' + CsvCell(r.CountryName) + ',' + CsvCell(r.LatitudeText) + ',' +
         CsvCell(r.LongitudeText) + ',' + std::to_string(r.GmtHours) + '\n';
}

}  // namespace orvalin
