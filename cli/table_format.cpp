#include "cli/table_format.h"

#include <string>

#include "engine/helpers.h"
#include "cli/out_text.h"
#include "cli/tool_errors.h"

namespace orvalin {
namespace {

constexpr int kDigits = 6;  // hours to 4 ms, degrees to 0.004"

constexpr std::string_view kCsvHeader =
    "date,clock,status,"
    "sunrise,sunrise_date,sunrise_h,sunrise_azimuth,sunrise_azimuth_deg,"
    "culmination,culmination_date,culmination_h,culmination_azimuth,culmination_azimuth_deg,"
    "sunset,sunset_date,sunset_h,sunset_azimuth,sunset_azimuth_deg,"
    "day_length,day_length_h,elevation,elevation_deg,note";

std::string ShiftMark(int shift) {
  if (shift == 0) return "   ";
  return (shift > 0 ? " +" : " -") + std::to_string(shift > 0 ? shift : -shift);
}

// An event's text, with a mark of the day when some event of its column left the row's date.
std::string TimeCell(const EventTime& e, bool marked) {
  if (!e.known) return {};
  return marked ? e.text + ShiftMark(e.local.day_shift) : e.text;
}

void WriteText(std::ostream& out, const TablePlace& place, const Clock& clock,
               const std::vector<SunRow>& rows) {
  bool marked[3] = {false, false, false};
  for (const SunRow& r : rows) {
    const EventTime* events[3] = {&r.sunrise, &r.culmination, &r.sunset};
    for (int e = 0; e < 3; ++e) marked[e] |= events[e]->known && events[e]->local.day_shift != 0;
  }
  std::vector<std::vector<std::string>> cells = {{"Date", "Sunrise", "Azimuth", "Culmination",
                                                  "Azimuth", "Sunset", "Azimuth", "Day length",
                                                  "Elevation", "Note"}};
  for (const SunRow& r : rows) {
    cells.push_back({DateText(r.date), TimeCell(r.sunrise, marked[0]), r.sunrise_azimuth.text,
                     TimeCell(r.culmination, marked[1]), r.culmination_azimuth.text,
                     TimeCell(r.sunset, marked[2]), r.sunset_azimuth.text, r.day_length_text,
                     r.elevation.text, r.note});
  }
  out << place.Label() << '\n'
      << "Times in " << clock.Description() << "; true azimuths; sunrise and sunset at a"
      << " horizon altitude of " << NumberText(kHorizonAltitude) << "\xC2\xB0.\n";
  if (marked[0] || marked[1] || marked[2]) {
    out << "A time marked +1 (-1) falls on the next (previous) day of this clock.\n";
  }
  out << '\n' << Columns(cells, {false, true, true, true, true, true, true, true, true, false});
}

std::string CsvEvent(const EventTime& e) {
  if (!e.known) return ",,";
  return CsvCell(e.text) + ',' + DateText(e.local.date) + ',' + Decimal(e.local.hours, kDigits);
}

std::string CsvAngle(const AngleValue& a) {
  if (!a.known) return ",";
  return CsvCell(a.text) + ',' + Decimal(a.degrees, kDigits);
}

void WriteCsv(std::ostream& out, const Clock& clock, const std::vector<SunRow>& rows) {
  out << kCsvHeader << '\n';
  const std::string clock_name = CsvCell(clock.Name());
  for (const SunRow& r : rows) {
    out << DateText(r.date) << ',' << clock_name << ',' << StatusName(r.status) << ','
        << CsvEvent(r.sunrise) << ',' << CsvAngle(r.sunrise_azimuth) << ','
        << CsvEvent(r.culmination) << ',' << CsvAngle(r.culmination_azimuth) << ','
        << CsvEvent(r.sunset) << ',' << CsvAngle(r.sunset_azimuth) << ','
        << (r.day_length_known ? CsvCell(r.day_length_text) + ',' + Decimal(r.day_length, kDigits)
                               : std::string(","))
        << ',' << CsvAngle(r.elevation) << ',' << CsvCell(r.note) << '\n';
  }
}

std::string JsonEvent(const EventTime& e) {
  if (!e.known) return "null";
  return "{\"text\": " + JsonString(e.text) + ", \"date\": " + JsonString(DateText(e.local.date)) +
         ", \"hours\": " + Decimal(e.local.hours, kDigits) + "}";
}

std::string JsonAngle(const AngleValue& a) {
  if (!a.known) return "null";
  return "{\"text\": " + JsonString(a.text) + ", \"degrees\": " + Decimal(a.degrees, kDigits) + "}";
}

void WriteJson(std::ostream& out, const TablePlace& place, const Clock& clock,
               const std::vector<SunRow>& rows) {
  out << "{\n  \"place\": {\"name\": " << JsonString(place.name)
      << ", \"country\": " << JsonString(place.country)
      << ", \"latitude\": " << JsonString(place.latitude_text)
      << ", \"longitude\": " << JsonString(place.longitude_text)
      << ", \"latitude_deg\": " << Decimal(place.latitude, kDigits)
      << ", \"longitude_west_deg\": " << Decimal(place.longitude_west, kDigits)
      << ", \"gmt\": " << (place.gmt_hours ? std::to_string(*place.gmt_hours) : "null") << "},\n"
      << "  \"clock\": " << JsonString(clock.Name()) << ",\n"
      << "  \"clock_description\": " << JsonString(clock.Description()) << ",\n"
      << "  \"horizon_deg\": " << Decimal(kHorizonAltitude, 2) << ",\n"
      << "  \"days\": [";
  const char* separator = "\n";
  for (const SunRow& r : rows) {
    out << separator << "    {\"date\": " << JsonString(DateText(r.date))
        << ", \"status\": " << JsonString(StatusName(r.status))
        << ", \"sunrise\": " << JsonEvent(r.sunrise)
        << ", \"sunrise_azimuth\": " << JsonAngle(r.sunrise_azimuth)
        << ", \"culmination\": " << JsonEvent(r.culmination)
        << ", \"culmination_azimuth\": " << JsonAngle(r.culmination_azimuth)
        << ", \"sunset\": " << JsonEvent(r.sunset)
        << ", \"sunset_azimuth\": " << JsonAngle(r.sunset_azimuth) << ", \"day_length\": "
        << (r.day_length_known ? "{\"text\": " + JsonString(r.day_length_text) +
                                     ", \"hours\": " + Decimal(r.day_length, kDigits) + "}"
                               : std::string("null"))
        << ", \"elevation\": " << JsonAngle(r.elevation)
        << ", \"note\": " << (r.note.empty() ? std::string("null") : JsonString(r.note)) << "}";
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

std::string_view TableCsvHeader() { return kCsvHeader; }

}  // namespace orvalin
