#include "cli/table/found_places.h"

#include "cli/args/tool_errors.h"
#include "cli/table/place_input.h"
#include "common/escaped_text.h"
#include "common/out_text.h"
#include "common/text.h"

namespace orvalin {
namespace {

constexpr std::string_view kCsvHeader = "name,country,latitude,longitude,zone,record,other_name";
constexpr std::size_t kShownQueryCharacters = 60;  // a line of a terminal, with the words around
constexpr std::string_view kCut = "…";

std::string Shown(const std::string& field) { return EscapeControls(WithoutFilling(field)); }

struct Line {
  std::string name, country, latitude, longitude, zone, record, other_name;
};

Line LineOf(std::string_view file, const FoundPlace& found, PlaceZones& zones) {
  const std::string_view bytes = RecordBytesAt(file, found.record);
  const PlaceRecord record = DecodeRecord(bytes);
  Line line{Shown(record.PlaceName),
            Shown(record.CountryName),
            Shown(record.LatitudeText),
            Shown(record.LongitudeText),
            "",
            std::to_string(found.record),
            found.other_name};
  try {
    const TablePlace place = PlaceFromRecord(record, found.record);
    line.zone = zones.ZoneOf(place, bytes);
  } catch (const ToolFailure&) {
    // Angles the window cannot read: no place to find a zone at.
  }
  return line;
}

}  // namespace

std::string PlaceLine(const PlaceRecord& record, std::int64_t n) {
  return Shown(record.PlaceName) + ", " + Shown(record.CountryName) + " (record " +
         std::to_string(n) + ")";
}

std::string ShownQuery(std::string_view typed) {
  const std::u32string characters = CodePoints(typed);
  if (characters.size() <= kShownQueryCharacters) return EscapeControls(typed, Backslash::Kept);
  return EscapeControls(Utf8(std::u32string_view(characters).substr(0, kShownQueryCharacters)),
                        Backslash::Kept) +
         std::string(kCut);
}

std::string NoPlaceFound(const std::string& file, std::string_view typed,
                         const std::vector<std::string>& spellings) {
  std::string text = "no place of " + file + " matches \"" + ShownQuery(typed) + "\"";
  for (std::size_t k = 0; k < spellings.size(); ++k) {
    text += (k == 0 ? "; the nearest spellings: " : ", ") + spellings[k];
  }
  return text;
}

std::string UnsearchedWorld(const std::string& file, PlaceZones& zones) {
  const WorldList& world = zones.List();
  if (world.Named()) return {};
  const std::string unread = world.Towns().empty() ? zones.Path() : WorldNamesPath(zones.Path());
  return "only the names of " + file + " were searched, not the other names of the world's " +
         "towns (\"Kiev\" for Kyiv): " + unread + " cannot be read";
}

void WriteFoundPlaces(std::ostream& out, TableFormat format, std::string_view file,
                      const std::vector<FoundPlace>& found, PlaceZones& zones) {
  std::vector<Line> lines;
  lines.reserve(found.size());
  for (const FoundPlace& f : found) lines.push_back(LineOf(file, f, zones));
  if (format == TableFormat::Csv) {
    out << kCsvHeader << '\n';
    for (const Line& l : lines) {
      out << CsvCell(l.name) << ',' << CsvCell(l.country) << ',' << CsvCell(l.latitude) << ','
          << CsvCell(l.longitude) << ',' << CsvCell(l.zone) << ',' << l.record << ','
          << CsvCell(l.other_name) << '\n';
    }
    return;
  }
  if (format == TableFormat::Json) {
    out << "[";
    for (std::size_t k = 0; k < lines.size(); ++k) {
      const Line& l = lines[k];
      out << (k == 0 ? "\n  " : ",\n  ") << "{\"name\": " << JsonString(l.name)
          << ", \"country\": " << JsonString(l.country)
          << ", \"latitude\": " << JsonString(l.latitude)
          << ", \"longitude\": " << JsonString(l.longitude)
          << ", \"zone\": " << (l.zone.empty() ? "null" : JsonString(l.zone))
          << ", \"record\": " << l.record
          << ", \"other_name\": " << (l.other_name.empty() ? "null" : JsonString(l.other_name))
          << "}";
    }
    out << (lines.empty() ? "]\n" : "\n]\n");
    return;
  }
  std::vector<std::vector<std::string>> rows;
  rows.reserve(lines.size());
  for (const Line& l : lines) {
    rows.push_back({l.name + ", " + l.country, l.latitude, l.longitude, l.zone,
                    "record " + l.record, l.other_name.empty() ? "" : "as " + l.other_name});
  }
  out << Columns(rows, {false, true, true, false, false, false});
}

}  // namespace orvalin
