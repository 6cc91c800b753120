#include "cli/places/places_import.h"

#include <cstdio>
#include <optional>

#include "cli/tool_errors.h"
#include "common/text.h"
#include "placesfile/place_rules.h"
#include "placesfile/places_csv.h"

namespace orvalin {
namespace {

std::optional<std::size_t> FirstNonUtf8(std::string_view bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t length = Utf8SequenceAt(bytes, at).length;
    if (length == 0) return at;
    at += length;
  }
  return std::nullopt;
}

std::string NotUtf8(std::string_view bytes, std::size_t at, std::string_view name) {
  const std::string_view before = bytes.substr(0, at);
  std::size_t line = 1;
  for (const char c : before) line += c == '\n' ? 1 : 0;
  const std::size_t line_start = before.rfind('\n') + 1;  // npos + 1 is 0
  char text[160];
  std::snprintf(text, sizeof text,
                ":%zu: byte 0x%02X at column %zu is not UTF-8; a file a spreadsheet wrote as "
                "Windows-1252 is read with --encoding cp1252",
                line, static_cast<unsigned>(static_cast<unsigned char>(bytes[at])),
                at - line_start + 1);
  return std::string(name) + text;
}

std::string LineProblem(std::string_view name, std::size_t line, std::string_view why) {
  return std::string(name) + ':' + std::to_string(line) + ": " + std::string(why);
}

}  // namespace

CsvEncoding ReadEncoding(std::string_view option, std::string_view text) {
  if (text == "utf-8" || text == "utf8") return CsvEncoding::Utf8;
  if (text == "cp1252" || text == "windows-1252") return CsvEncoding::Cp1252;
  throw BadUsage(std::string(option) + " \"" + std::string(text) +
                 "\": the encodings are utf-8 and cp1252");
}

ImportedPlaces ReadImport(std::string bytes, CsvEncoding encoding, std::string_view name,
                          const std::function<void(std::size_t)>& reached) {
  ImportedPlaces result;
  if (encoding == CsvEncoding::Cp1252) {
    result.text = DecodeCp1252(bytes);
  } else if (const auto at = FirstNonUtf8(bytes)) {
    result.problems.push_back(NotUtf8(bytes, *at, name));
    result.problem_count = result.bad_lines = 1;
    return result;
  } else {
    result.text = std::move(bytes);
  }
  // Problems come in the order of their lines, those of reading and of checking alike.
  std::size_t last_bad_line = 0;
  const auto add = [&](std::size_t line, std::string_view why) {
    if (result.problem_count++ < kListedProblems) {
      result.problems.push_back(LineProblem(name, line, why));
    }
    if (line != last_bad_line) ++result.bad_lines;
    last_bad_line = line;
  };
  ForEachCsvPlace(
      result.text,
      [&](const CsvPlace& place) {
        const RecordBytes record = EncodeRecord(place.record);
        // A control character reaches a record only escaped, as the export writes it: it comes
        // back.
        for (const PlaceProblem& p :
             CheckRecord(1, std::string_view(record.data(), record.size()))) {
          if (!p.in_bytes) add(place.line, p.what);
        }
        ++result.count;
        reached(place.line);
      },
      [&](const CsvProblem& p) {
        add(p.line, p.why);
        reached(p.line);
      });
  return result;
}

void EachImportedRecord(const ImportedPlaces& places,
                        const std::function<void(std::string_view)>& each) {
  ForEachCsvPlace(
      places.text,
      [&](const CsvPlace& place) {
        const RecordBytes record = EncodeRecord(place.record);
        each(std::string_view(record.data(), record.size()));
      },
      [](const CsvProblem&) {});
}

}  // namespace orvalin
