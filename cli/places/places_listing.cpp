#include "cli/places/places_listing.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "cli/args/tool_errors.h"
#include "cli/table/place_input.h"
#include "common/escaped_text.h"
#include "common/out_text.h"
#include "common/text.h"
#include "placesfile/place_rules.h"
#include "placesfile/places_csv.h"
#include "placesfile/records_reader.h"

namespace orvalin {
namespace {

constexpr std::string_view kProgram = "orvalin-places";

// A stored text as a terminal may show it.
std::string Shown(std::string_view text) { return EscapeControls(WithoutFilling(text)); }

// How far a run through the file's records, `passes` times over, has come.
Progress RecordsProgress(const Listing& l, std::string what, long long passes = 1) {
  std::error_code error;
  const std::uintmax_t bytes = std::filesystem::file_size(l.file, error);
  const auto records = error ? 0 : static_cast<long long>((bytes + kRecordSize - 1) / kRecordSize);
  return Progress(l.err, std::string(kProgram), std::move(what), passes * records, l.progress,
                  l.terminal);
}

// Calls `each` with every whole record of the file in turn, reading a block at a time; gives
// the size of a partial last record, left out, or 0, with the progress hidden for its warning.
std::size_t ForEachWholeRecord(const Listing& l, Progress& progress,
                               const std::function<void(std::int64_t, const PlaceRecord&)>& each) {
  std::ifstream in = OpenPlacesToRead(l.file);
  std::size_t partial = 0;
  const bool read = ForEachRecord(in, [&](std::int64_t n, std::string_view raw) {
    progress.Step();
    if (raw.size() < kRecordSize) {
      partial = raw.size();
    } else {
      each(n, DecodeRecord(raw));
    }
  });
  if (!read) throw ToolFailure(l.file + ": cannot be read");
  if (partial != 0) progress.Hide();
  return partial;
}

void WarnOfPartial(const Listing& l, std::size_t partial) {
  if (partial == 0) return;
  l.err << kProgram << ": warning: " << MessageText(l.file) << " ends with a partial record ("
        << partial << " bytes), left out\n";
}

const std::vector<bool> kListRightAligned = {true, false, false, false, false, true};

std::vector<std::string> ListCells(std::int64_t n, const PlaceRecord& r) {
  return {std::to_string(n),     Shown(r.PlaceName),     Shown(r.CountryName),
          Shown(r.LatitudeText), Shown(r.LongitudeText), std::to_string(r.GmtHours)};
}

// Two passes over the file, the first for the columns' widths, so that no row is kept.
void ListText(const Listing& l) {
  const std::vector<std::string> header = {"No", "Name", "Country", "Latitude", "Longitude", "GMT"};
  std::vector<std::size_t> widths(header.size(), 0);
  const auto widen = [&](const std::vector<std::string>& row) {
    for (std::size_t k = 0; k < row.size(); ++k) {
      widths[k] = std::max(widths[k], CharacterCount(row[k]));
    }
  };
  widen(header);
  Progress progress = RecordsProgress(l, "record reads", 2);
  ForEachWholeRecord(l, progress,
                     [&](std::int64_t n, const PlaceRecord& r) { widen(ListCells(n, r)); });
  l.out << ColumnsLine(header, widths, kListRightAligned);
  WarnOfPartial(l, ForEachWholeRecord(l, progress, [&](std::int64_t n, const PlaceRecord& r) {
                  l.out << ColumnsLine(ListCells(n, r), widths, kListRightAligned);
                }));
}

void ListCsv(const Listing& l) {
  l.out << "record," << PlacesCsvHeader() << '\n';
  Progress progress = RecordsProgress(l, "records");
  WarnOfPartial(l, ForEachWholeRecord(l, progress, [&](std::int64_t n, const PlaceRecord& r) {
                  l.out << n << ',' << CsvCell(Shown(r.PlaceName)) << ','
                        << CsvCell(Shown(r.CountryName)) << ',' << CsvCell(Shown(r.LatitudeText))
                        << ',' << CsvCell(Shown(r.LongitudeText)) << ',' << r.GmtHours << '\n';
                }));
}

void ListJson(const Listing& l) {
  l.out << '[';
  bool any = false;
  Progress progress = RecordsProgress(l, "records");
  const auto each = [&](std::int64_t n, const PlaceRecord& r) {
    // The texts in the order of the columns, the offset last.
    const std::string* texts[] = {&r.PlaceName, &r.CountryName, &r.LatitudeText, &r.LongitudeText};
    l.out << (any ? ",\n" : "\n") << "  {\"record\": " << n;
    for (std::size_t k = 0; k < std::size(texts); ++k) {
      l.out << ", \"" << kPlacesCsvColumns[k] << "\": " << JsonString(WithoutFilling(*texts[k]));
    }
    l.out << ", \"" << kPlacesCsvColumns.back() << "\": " << r.GmtHours << '}';
    any = true;
  };
  const std::size_t partial = ForEachWholeRecord(l, progress, each);
  l.out << (any ? "\n]\n" : "]\n");
  WarnOfPartial(l, partial);
}

}  // namespace

void ListPlaces(const Listing& l, TableFormat format) {
  if (format == TableFormat::Text) {
    ListText(l);
  } else if (format == TableFormat::Csv) {
    ListCsv(l);
  } else {
    ListJson(l);
  }
}

void ExportPlaces(const Listing& l, std::ostream& to) {
  to << PlacesCsvHeader() << '\n';
  Progress progress = RecordsProgress(l, "records");
  WarnOfPartial(l, ForEachWholeRecord(l, progress, [&](std::int64_t, const PlaceRecord& r) {
                  to << PlacesCsvLine(r);
                }));
}

bool CheckPlacesFile(const Listing& l) {
  std::ifstream in = OpenPlacesToRead(l.file);
  const std::string file = MessageText(l.file);
  std::int64_t count = 0;
  std::size_t problems = 0;
  Progress progress = RecordsProgress(l, "records");
  const bool read = ForEachRecord(in, [&](std::int64_t n, std::string_view raw) {
    progress.Step();
    for (const PlaceProblem& p : CheckRecord(n, raw)) {
      progress.Hide();  // the problems may go to the same terminal
      l.out << file << ": record " << p.record << ": " << MessageText(p.what) << '\n';
      ++problems;
    }
    count = n;
  });
  if (!read) throw ToolFailure(l.file + ": cannot be read");
  progress.Hide();
  l.out << file << ": " << count << " record" << (count == 1 ? "" : "s") << ", "
        << (problems == 0 ? std::string("no problem")
                          : std::to_string(problems) + " problem" + (problems == 1 ? "" : "s"))
        << '\n';
  return problems == 0;
}

}  // namespace orvalin
