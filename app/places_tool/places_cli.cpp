#include "app/places_tool/places_cli.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>

#include "app/places_tool/places_check.h"
#include "cli/command_line.h"
#include "cli/out_text.h"
#include "cli/place_input.h"
#include "cli/table_format.h"
#include "cli/tool_errors.h"
#include "common/escaped_text.h"
#include "common/failure.h"
#include "common/text.h"
#include "placesfile/places_csv.h"
#include "placesfile/places_file.h"
#include "placesfile/records_reader.h"

namespace orvalin {
namespace {

constexpr std::string_view kProgram = "orvalin-places";

constexpr OptionRule kOptions[] = {
    {"--file", true},     {"--format", true}, {"--output", true},
    {"--replace", false}, {"--help", false},  {"--version", false},
};

constexpr std::string_view kHelp = R"(Usage: orvalin-places [--file FILE] COMMAND [OPTIONS]
The places file of the Orvalin window (location.dat): list it, export it to CSV, import
places from CSV, and check it.

Commands:
  list [--format FORMAT]   every record: number, name, country, latitude, longitude and
                           offset from GMT; FORMAT is text (the default), csv or json
  export [--output FILE]   the places as CSV with a header line (standard output by default)
  import FILE.csv [--replace]
                           add the places of a CSV file after the present ones, or, with
                           --replace, instead of them; FILE.csv may be - for standard input.
                           Every line is checked first: when one is bad, each bad line is
                           listed and nothing is written.
  check                    list what the window could not use: unreadable angles, offsets
                           outside -12 to +14 hours, characters outside Windows-1252, control
                           characters, a partial last record; exit status 1 when there is any

Options:
  --file FILE              the places file (default: location.dat in the current directory)
  --help                   show this help
  --version                show the version

CSV (UTF-8, commas, "quotes" around a cell holding a comma or a quote):
  name,country,latitude,longitude,gmt
  Geneva,Switzerland,46 12 0 N,6 9 0 E,1
Exit status: 0 done, 1 failure or problems found, 2 bad usage.
)";

struct Context {
  const CommandLine& cl;
  std::string file;
  std::ostream& out;
  std::ostream& err;
};

// A stored text as a terminal may show it.
std::string Shown(std::string_view text) { return EscapeControls(WithoutFilling(text)); }

// Calls `each` with every whole record of the file in turn, reading a block at a time; gives
// the size of a partial last record, left out, or 0.
std::size_t ForEachWholeRecord(const Context& c,
                               const std::function<void(std::int64_t, const PlaceRecord&)>& each) {
  std::ifstream in = OpenPlacesToRead(c.file);
  std::size_t partial = 0;
  const bool read = ForEachRecord(in, [&](std::int64_t n, std::string_view raw) {
    if (raw.size() < kRecordSize) {
      partial = raw.size();
    } else {
      each(n, DecodeRecord(raw));
    }
  });
  if (!read) throw ToolFailure(c.file + ": cannot be read");
  return partial;
}

void WarnOfPartial(const Context& c, std::size_t partial) {
  if (partial == 0) return;
  c.err << kProgram << ": warning: " << c.file << " ends with a partial record (" << partial
        << " bytes), left out\n";
}

const std::vector<bool> kListRightAligned = {true, false, false, false, false, true};

std::vector<std::string> ListCells(std::int64_t n, const PlaceRecord& r) {
  return {std::to_string(n),     Shown(r.PlaceName),     Shown(r.CountryName),
          Shown(r.LatitudeText), Shown(r.LongitudeText), std::to_string(r.GmtHours)};
}

// Two passes over the file, the first for the columns' widths, so that no row is kept.
void ListText(const Context& c) {
  const std::vector<std::string> header = {"No", "Name", "Country", "Latitude", "Longitude", "GMT"};
  std::vector<std::size_t> widths(header.size(), 0);
  const auto widen = [&](const std::vector<std::string>& row) {
    for (std::size_t k = 0; k < row.size(); ++k) {
      widths[k] = std::max(widths[k], CharacterCount(row[k]));
    }
  };
  widen(header);
  ForEachWholeRecord(c, [&](std::int64_t n, const PlaceRecord& r) { widen(ListCells(n, r)); });
  c.out << ColumnsLine(header, widths, kListRightAligned);
  WarnOfPartial(c, ForEachWholeRecord(c, [&](std::int64_t n, const PlaceRecord& r) {
                  c.out << ColumnsLine(ListCells(n, r), widths, kListRightAligned);
                }));
}

void ListCsv(const Context& c) {
  c.out << "record,name,country,latitude,longitude,gmt\n";
  WarnOfPartial(c, ForEachWholeRecord(c, [&](std::int64_t n, const PlaceRecord& r) {
                  c.out << n << ',' << CsvCell(Shown(r.PlaceName)) << ','
                        << CsvCell(Shown(r.CountryName)) << ',' << CsvCell(Shown(r.LatitudeText))
                        << ',' << CsvCell(Shown(r.LongitudeText)) << ',' << r.GmtHours << '\n';
                }));
}

void ListJson(const Context& c) {
  c.out << '[';
  bool any = false;
  const std::size_t partial = ForEachWholeRecord(c, [&](std::int64_t n, const PlaceRecord& r) {
    c.out << (any ? ",\n" : "\n") << "  {\"record\": " << n
          << ", \"name\": " << JsonString(WithoutFilling(r.PlaceName))
          << ", \"country\": " << JsonString(WithoutFilling(r.CountryName))
          << ", \"latitude\": " << JsonString(WithoutFilling(r.LatitudeText))
          << ", \"longitude\": " << JsonString(WithoutFilling(r.LongitudeText))
          << ", \"gmt\": " << r.GmtHours << '}';
    any = true;
  });
  c.out << (any ? "\n]\n" : "]\n");
  WarnOfPartial(c, partial);
}

int List(const Context& c) {
  const TableFormat format = ParseTableFormat("--format", c.cl.Value("--format").value_or("text"));
  if (format == TableFormat::Text) {
    ListText(c);
  } else if (format == TableFormat::Csv) {
    ListCsv(c);
  } else {
    ListJson(c);
  }
  return kExitOk;
}

void ExportTo(const Context& c, std::ostream& out) {
  out << kPlacesCsvHeader << '\n';
  WarnOfPartial(c, ForEachWholeRecord(
                       c, [&](std::int64_t, const PlaceRecord& r) { out << PlacesCsvLine(r); }));
}

int Export(const Context& c) {
  const auto output = c.cl.Value("--output");
  if (!output) {
    ExportTo(c, c.out);
    return kExitOk;
  }
  OpenPlacesToRead(c.file);  // a missing places file leaves no empty CSV behind
  std::ofstream file(*output, std::ios::binary | std::ios::trunc);
  ExportTo(c, file);
  file.close();
  if (!file) throw ToolFailure(*output + ": cannot be written");
  return kExitOk;
}

std::string ReadCsv(const std::string& path) {
  std::ifstream file;
  if (path != "-") {
    file.open(path, std::ios::binary | std::ios::ate);
    if (!file) throw ToolFailure(path + ": cannot be read");
  }
  std::istream& in = path == "-" ? std::cin : file;
  // A file of known size is read into a text of that size, never one that doubles as it grows.
  if (const std::streamoff size = path == "-" ? -1 : std::streamoff(file.tellg()); size >= 0) {
    std::string whole(static_cast<std::size_t>(size), '\0');
    file.seekg(0);
    file.read(whole.data(), static_cast<std::streamsize>(whole.size()));
    if (file.gcount() != static_cast<std::streamsize>(whole.size())) {
      throw ToolFailure(path + ": cannot be read");
    }
    return whole;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return std::move(text).str();
}

int Import(const Context& c, const std::string& csv_path) {
  // The places go straight into their 72 bytes: the CSV text and those are all that is held.
  std::string added;
  std::size_t count = 0;
  const std::vector<CsvProblem> problems =
      ForEachCsvPlace(ReadCsv(csv_path), [&](const PlaceRecord& r) {
        const RecordBytes record = EncodeRecord(r);
        added.append(record.data(), record.size());
        ++count;
      });
  if (!problems.empty()) {
    for (const CsvProblem& p : problems) {
      c.err << csv_path << ':' << p.line << ": " << p.why << '\n';
    }
    c.err << kProgram << ": " << problems.size() << " bad line" << (problems.size() == 1 ? "" : "s")
          << "; nothing was written to " << c.file << '\n';
    return kExitFailure;
  }
  const bool replace = c.cl.Has("--replace");
  try {
    PlacesFile file;
    file.Open(c.file, PlacesFile::Use::Write);
    const auto present = static_cast<std::size_t>(replace ? 0 : file.SizeInBytes());
    if (present % kRecordSize != 0) {
      throw ToolFailure(c.file + " ends with a partial record; nothing was written (see check)");
    }
    const std::size_t before = present / kRecordSize;
    if (replace) {
      file.ReplaceAll(added);
    } else {
      file.ReplaceWithAppended(added);
    }
    const std::size_t in_all = before + count;
    c.out << (replace ? "Replaced the places of " : "Added to ") << c.file << ": " << count
          << " place" << (count == 1 ? "" : "s")
          << (replace ? "" : " after " + std::to_string(before)) << ", " << in_all << " in all\n";
  } catch (const Failure& f) {
    throw ToolFailure(c.file + ": " + f.what() + "; nothing was written");
  }
  return kExitOk;
}

int Check(const Context& c) {
  std::ifstream in = OpenPlacesToRead(c.file);
  std::int64_t count = 0;
  std::size_t problems = 0;
  const bool read = ForEachRecord(in, [&](std::int64_t n, std::string_view raw) {
    for (const PlaceProblem& p : CheckRecord(n, raw)) {
      c.out << c.file << ": record " << p.record << ": " << p.what << '\n';
      ++problems;
    }
    count = n;
  });
  if (!read) throw ToolFailure(c.file + ": cannot be read");
  c.out << c.file << ": " << count << " record" << (count == 1 ? "" : "s") << ", "
        << (problems == 0 ? std::string("no problem")
                          : std::to_string(problems) + " problem" + (problems == 1 ? "" : "s"))
        << '\n';
  return problems == 0 ? kExitOk : kExitFailure;
}

void OnlyWith(const CommandLine& cl, std::string_view command, std::string_view option,
              std::string_view allowed) {
  if (cl.Has(option) && command != allowed) {
    throw BadUsage(std::string(option) + " goes with " + std::string(allowed) + ", not " +
                   std::string(command));
  }
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const CommandLine cl(args, kOptions);
  if (AnswerHelpOrVersion(cl, out, kProgram, kHelp, ORVALIN_VERSION)) return kExitOk;
  const auto& words = cl.Positionals();
  if (words.empty()) throw BadUsage("say what to do: list, export, import or check (see --help)");
  const std::string& command = words.front();
  if (command != "list" && command != "export" && command != "import" && command != "check") {
    throw BadUsage("unknown command \"" + command + "\" (list, export, import or check)");
  }
  const std::size_t wanted = command == "import" ? 2 : 1;
  if (words.size() < wanted) throw BadUsage("import needs the CSV file to read");
  if (words.size() > wanted)
    throw BadUsage("unexpected \"" + words[wanted] + "\" after " + command);
  OnlyWith(cl, command, "--format", "list");
  OnlyWith(cl, command, "--output", "export");
  OnlyWith(cl, command, "--replace", "import");
  if (cl.Has("--format")) ParseTableFormat("--format", *cl.Value("--format"));

  const Context c{cl, cl.Value("--file").value_or(std::string(kPlacesFileName)), out, err};
  if (command == "list") return List(c);
  if (command == "export") return Export(c);
  if (command == "import") return Import(c, words[1]);
  return Check(c);
}

}  // namespace

int RunPlaces(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return RunTool(kProgram, err, [&] { return Run(args, out, err); });
}

}  // namespace orvalin
