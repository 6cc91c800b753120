#include "cli/table_format.h"

#include <algorithm>
#include <string>

#include "engine/helpers.h"
#include "cli/out_text.h"
#include "cli/tool_errors.h"

namespace orvalin {
namespace {

constexpr int kDigits = 6;  // hours to 4 ms, degrees to 0.004"

// How a column's value spreads over the formats: a plain text, or the window's text beside a
// decimal (and, for an event, its date on the clock).
enum class Kind { Plain, Event, Degrees, Hours };

// One value of a row; `known` false leaves CSV cells empty and makes JSON null.
struct Cell {
  bool known = false;
  std::string text;
  double number = 0;
  Day date{};     // Event: its date on the table's clock
  int shift = 0;  // Event: days after the row's date
  int offset_seconds = 0;  // Event: the clock's offset then
};

Cell Plain(std::string text) { return {true, std::move(text)}; }
Cell Of(const EventTime& e) {
  return {e.known, e.text, e.local.hours, e.local.date, e.local.day_shift,
          e.local.offset_seconds};
}
Cell Of(const AngleValue& a) { return {a.known, a.text, a.degrees}; }

enum Shown : unsigned { kInText = 1, kInCsv = 2, kInJson = 4, kEverywhere = 7 };

struct Column {
  std::string_view key;     // CSV header and JSON member
  std::string_view header;  // the text table's heading
  Kind kind;
  unsigned shown;
  bool right_aligned;  // in the text table
  Cell (*value)(const SunRow&, const Clock&);
};

// The table's columns in their order: a new column is one line here.
const Column kColumns[] = {
    {"date", "", Kind::Plain, kInCsv | kInJson, false,
     [](const SunRow& r, const Clock&) { return Plain(IsoDate(r.date)); }},
    {"date_text", "Date", Kind::Plain, kEverywhere, false,
     [](const SunRow& r, const Clock&) { return Plain(DateText(r.date)); }},
    {"clock", "", Kind::Plain, kInCsv, false,
     [](const SunRow&, const Clock& c) { return Plain(c.Name()); }},
    {"status", "", Kind::Plain, kInCsv | kInJson, false,
     [](const SunRow& r, const Clock&) { return Plain(std::string(StatusName(r.status))); }},
    {"sunrise", "Sunrise", Kind::Event, kEverywhere, true,
     [](const SunRow& r, const Clock&) { return Of(r.sunrise); }},
    {"sunrise_azimuth", "Azimuth", Kind::Degrees, kEverywhere, true,
     [](const SunRow& r, const Clock&) { return Of(r.sunrise_azimuth); }},
    {"culmination", "Culmination", Kind::Event, kEverywhere, true,
     [](const SunRow& r, const Clock&) { return Of(r.culmination); }},
    {"culmination_azimuth", "Azimuth", Kind::Degrees, kEverywhere, true,
     [](const SunRow& r, const Clock&) { return Of(r.culmination_azimuth); }},
    {"sunset", "Sunset", Kind::Event, kEverywhere, true,
     [](const SunRow& r, const Clock&) { return Of(r.sunset); }},
    {"sunset_azimuth", "Azimuth", Kind::Degrees, kEverywhere, true,
     [](const SunRow& r, const Clock&) { return Of(r.sunset_azimuth); }},
    {"day_length", "Day length", Kind::Hours, kEverywhere, true,
     [](const SunRow& r, const Clock&) {
       return Cell{r.day_length_known, r.day_length_text, r.day_length};
     }},
    {"elevation", "Elevation", Kind::Degrees, kEverywhere, true,
     [](const SunRow& r, const Clock&) { return Of(r.elevation); }},
    {"note", "Note", Kind::Plain, kEverywhere, false,
     [](const SunRow& r, const Clock&) { return Cell{!r.note.empty(), r.note}; }},
};

std::string ShiftMark(int shift) {
  if (shift == 0) return "   ";
  return (shift > 0 ? " +" : " -") + std::to_string(shift > 0 ? shift : -shift);
}

std::string TextCell(const Cell& cell, bool marked) {
  if (!cell.known) return {};
  return marked ? cell.text + ShiftMark(cell.shift) : cell.text;
}

void WriteText(std::ostream& out, const TablePlace& place, const Clock& clock,
               const std::vector<SunRow>& rows) {
  std::vector<const Column*> columns;
  for (const Column& c : kColumns) {
    if (c.shown & kInText) columns.push_back(&c);
  }
  // An event column is marked when some event of it left the row's date.
  std::vector<bool> marked(columns.size(), false);
  std::vector<std::vector<std::string>> cells(1);
  std::vector<bool> right;
  for (const Column* c : columns) {
    cells[0].emplace_back(c->header);
    right.push_back(c->right_aligned);
  }
  for (const SunRow& r : rows) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const Cell cell = columns[i]->value(r, clock);
      if (columns[i]->kind == Kind::Event && cell.known && cell.shift != 0) marked[i] = true;
    }
  }
  for (const SunRow& r : rows) {
    std::vector<std::string>& line = cells.emplace_back();
    for (std::size_t i = 0; i < columns.size(); ++i) {
      line.push_back(TextCell(columns[i]->value(r, clock), marked[i]));
    }
  }
  out << place.Label() << '\n'
      << "Times in " << clock.Description() << "; true azimuths; sunrise and sunset at a"
      << " horizon altitude of " << NumberText(kHorizonAltitude) << "\xC2\xB0.\n";
  if (std::find(marked.begin(), marked.end(), true) != marked.end()) {
    out << "A time marked +1 (-1) falls on the next (previous) day of this clock.\n";
  }
  out << '\n' << Columns(cells, right);
}

// The suffix of the decimal beside the window's text: CSV "_deg", JSON "degrees".
std::string_view CsvSuffix(Kind kind) { return kind == Kind::Degrees ? "_deg" : "_h"; }
std::string_view JsonNumberKey(Kind kind) { return kind == Kind::Degrees ? "degrees" : "hours"; }

std::string CsvHeader() {
  std::string header;
  for (const Column& c : kColumns) {
    if (!(c.shown & kInCsv)) continue;
    if (!header.empty()) header += ',';
    header += c.key;
    if (c.kind == Kind::Event) header += ',' + std::string(c.key) + "_date";
    if (c.kind != Kind::Plain) header += ',' + std::string(c.key) + std::string(CsvSuffix(c.kind));
    if (c.kind == Kind::Event) header += ',' + std::string(c.key) + "_time";
  }
  return header;
}

std::string CsvCells(Kind kind, const Cell& cell) {
  switch (kind) {
    case Kind::Plain:
      return cell.known ? CsvCell(cell.text) : std::string();
    case Kind::Event:
      if (!cell.known) return ",,,";
      return CsvCell(cell.text) + ',' + IsoDate(cell.date) + ',' + Decimal(cell.number, kDigits) +
             ',' + IsoTimestamp(cell.date, cell.number, cell.offset_seconds);
    case Kind::Degrees:
    case Kind::Hours:
      if (!cell.known) return ",";
      return CsvCell(cell.text) + ',' + Decimal(cell.number, kDigits);
  }
  return {};
}

void WriteCsv(std::ostream& out, const Clock& clock, const std::vector<SunRow>& rows) {
  out << TableCsvHeader() << '\n';
  for (const SunRow& r : rows) {
    std::string line;
    const char* separator = "";
    for (const Column& c : kColumns) {
      if (!(c.shown & kInCsv)) continue;
      line += separator + CsvCells(c.kind, c.value(r, clock));
      separator = ",";
    }
    out << line << '\n';
  }
}

std::string JsonValue(Kind kind, const Cell& cell) {
  if (!cell.known) return "null";
  if (kind == Kind::Plain) return JsonString(cell.text);
  std::string object = "{\"text\": " + JsonString(cell.text);
  if (kind == Kind::Event) object += ", \"date\": " + JsonString(IsoDate(cell.date));
  object += ", \"" + std::string(JsonNumberKey(kind)) + "\": " + Decimal(cell.number, kDigits);
  if (kind == Kind::Event) {
    object += ", \"time\": " + JsonString(IsoTimestamp(cell.date, cell.number, cell.offset_seconds));
  }
  return object + "}";
}

std::string JsonRow(const SunRow& r, const Clock& clock) {
  std::string object;
  for (const Column& c : kColumns) {
    if (!(c.shown & kInJson)) continue;
    object += object.empty() ? "{" : ", ";
    object += "\"" + std::string(c.key) + "\": " + JsonValue(c.kind, c.value(r, clock));
  }
  return object + "}";
}

void WriteJson(std::ostream& out, const TablePlace& place, const Clock& clock,
               const std::vector<SunRow>& rows) {
  out << "{\n  \"place\": {\"name\": " << JsonString(place.name)
      << ", \"country\": " << JsonString(place.country)
      << ", \"latitude\": " << JsonString(place.latitude_text)
      << ", \"longitude\": " << JsonString(place.longitude_text)
      << ", \"latitude_deg\": " << Decimal(place.latitude, kDigits)
      << ", \"longitude_deg\": " << Decimal(-place.longitude_west, kDigits)
      << ", \"longitude_west_deg\": " << Decimal(place.longitude_west, kDigits)
      << ", \"gmt\": " << (place.gmt_hours ? std::to_string(*place.gmt_hours) : "null") << "},\n"
      << "  \"clock\": " << JsonString(clock.Name()) << ",\n"
      << "  \"clock_description\": " << JsonString(clock.Description()) << ",\n"
      << "  \"horizon_deg\": " << Decimal(kHorizonAltitude, 2) << ",\n"
      << "  \"days\": [";
  const char* separator = "\n";
  for (const SunRow& r : rows) {
    out << separator << "    " << JsonRow(r, clock);
    separator = ",\n";
  }
  out << (rows.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

}  // namespace

TableFormat ParseTableFormat(std::string_view option, std::string_view text) {
  if (text == "text") return TableFormat::Text;
  if (text == "csv") return TableFormat::Csv;
  if (text == "json") return TableFormat::Json;
  throw BadUsage(std::string(option) + " \"" + std::string(text) +
                 "\": expected text, csv or json");
}

void WriteTable(std::ostream& out, TableFormat format, const TablePlace& place, const Clock& clock,
                const std::vector<SunRow>& rows) {
  switch (format) {
    case TableFormat::Text:
      WriteText(out, place, clock, rows);
      break;
    case TableFormat::Csv:
      WriteCsv(out, clock, rows);
      break;
    case TableFormat::Json:
      WriteJson(out, place, clock, rows);
      break;
  }
}

const std::string& TableCsvHeader() {
  static const std::string header = CsvHeader();
  return header;
}

}  // namespace orvalin
