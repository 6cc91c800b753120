#include "app/places_tool/places_cli.h"

#include <fstream>
#include <iostream>
#include <sstream>

#include "app/places_tool/places_check.h"
#include "common/escaped_text.h"
#include "common/failure.h"
#include "placesfile/places_csv.h"
#include "placesfile/places_file.h"
#include "cli/command_line.h"
#include "cli/out_text.h"
#include "cli/place_input.h"
#include "cli/table_format.h"
#include "cli/tool_errors.h"

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

// The whole records of the file; a partial last one is left out with a warning.
std::vector<PlaceRecord> WholeRecords(const Context& c, std::string_view bytes) {
  std::vector<PlaceRecord> records;
  const auto whole = static_cast<std::int64_t>(bytes.size() / kRecordSize);
  for (std::int64_t n = 1; n <= whole; ++n) records.push_back(RecordAt(bytes, n));
  if (bytes.size() % kRecordSize != 0) {
    c.err << kProgram << ": warning: " << c.file << " ends with a partial record ("
          << bytes.size() % kRecordSize << " bytes), left out\n";
  }
  return records;
}

int List(const Context& c) {
  const TableFormat format = ParseTableFormat("--format", c.cl.Value("--format").value_or("text"));
  const std::vector<PlaceRecord> records = WholeRecords(c, ReadPlacesBytes(c.file));
  if (format == TableFormat::Text) {
    std::vector<std::vector<std::string>> cells = {
        {"No", "Name", "Country", "Latitude", "Longitude", "GMT"}};
    for (std::size_t i = 0; i < records.size(); ++i) {
      const PlaceRecord& r = records[i];
      cells.push_back({std::to_string(i + 1), Shown(r.PlaceName), Shown(r.CountryName),
                       Shown(r.LatitudeText), Shown(r.LongitudeText),
                       std::to_string(r.GmtHours)});
    }
    c.out << Columns(cells, {true, false, false, false, false, true});
  } else if (format == TableFormat::Csv) {
    c.out << "record,name,country,latitude,longitude,gmt\n";
    for (std::size_t i = 0; i < records.size(); ++i) {
      const PlaceRecord& r = records[i];
      c.out << i + 1 << ',' << CsvCell(Shown(r.PlaceName)) << ','
            << CsvCell(Shown(r.CountryName)) << ',' << CsvCell(Shown(r.LatitudeText)) << ','
            << CsvCell(Shown(r.LongitudeText)) << ',' << r.GmtHours << '\n';
    }
  } else {
    c.out << '[';
    for (std::size_t i = 0; i < records.size(); ++i) {
      const PlaceRecord& r = records[i];
      c.out << (i == 0 ? "\n" : ",\n") << "  {\"record\": " << i + 1
            << ", \"name\": " << JsonString(WithoutFilling(r.PlaceName))
            << ", \"country\": " << JsonString(WithoutFilling(r.CountryName))
            << ", \"latitude\": " << JsonString(WithoutFilling(r.LatitudeText))
            << ", \"longitude\": " << JsonString(WithoutFilling(r.LongitudeText))
            << ", \"gmt\": " << r.GmtHours << '}';
    }
    c.out << (records.empty() ? "]\n" : "\n]\n");
  }
  return kExitOk;
}

int Export(const Context& c) {
  const std::string csv = PlacesCsv(WholeRecords(c, ReadPlacesBytes(c.file)));
  const auto output = c.cl.Value("--output");
  if (!output) {
    c.out << csv;
    return kExitOk;
  }
  std::ofstream file(*output, std::ios::binary | std::ios::trunc);
  file << csv;
  file.close();
  if (!file) throw ToolFailure(*output + ": cannot be written");
  return kExitOk;
}

std::string ReadCsv(const std::string& path) {
  std::ostringstream text;
  if (path == "-") {
    text << std::cin.rdbuf();
    return std::move(text).str();
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ToolFailure(path + ": cannot be read");
  text << in.rdbuf();
  return std::move(text).str();
}

int Import(const Context& c, const std::string& csv_path) {
  const CsvPlaces places = ParsePlacesCsv(ReadCsv(csv_path));
  if (!places.problems.empty()) {
    for (const CsvProblem& p : places.problems) {
      c.err << csv_path << ':' << p.line << ": " << p.why << '\n';
    }
    c.err << kProgram << ": " << places.problems.size() << " bad line"
          << (places.problems.size() == 1 ? "" : "s") << "; nothing was written to " << c.file
          << '\n';
    return kExitFailure;
  }
  const bool replace = c.cl.Has("--replace");
  try {
    PlacesFile file;
    file.Open(c.file, PlacesFile::Use::Write);
    std::string bytes = replace ? std::string() : file.ReadAll();
    if (bytes.size() % kRecordSize != 0) {
      throw ToolFailure(c.file + " ends with a partial record; nothing was written (see check)");
    }
    const std::size_t before = bytes.size() / kRecordSize;
    for (const PlaceRecord& r : places.records) {
      const RecordBytes record = EncodeRecord(r);
      bytes.append(record.data(), record.size());
    }
    file.ReplaceAll(bytes);
    c.out << (replace ? "Replaced the places of " : "Added to ") << c.file << ": "
          << places.records.size() << " place" << (places.records.size() == 1 ? "" : "s")
          << (replace ? "" : " after " + std::to_string(before)) << ", "
          << bytes.size() / kRecordSize << " in all\n";
  } catch (const Failure& f) {
    throw ToolFailure(c.file + ": " + f.what() + "; nothing was written");
  }
  return kExitOk;
}

int Check(const Context& c) {
  const std::string bytes = ReadPlacesBytes(c.file);
  const std::vector<PlaceProblem> problems = CheckPlaces(bytes);
  for (const PlaceProblem& p : problems) {
    c.out << c.file << ": record " << p.record << ": " << p.what << '\n';
  }
  const std::int64_t count = RecordsIn(bytes);
  c.out << c.file << ": " << count << " record" << (count == 1 ? "" : "s") << ", "
        << (problems.empty()
                ? std::string("no problem")
                : std::to_string(problems.size()) + " problem" + (problems.size() == 1 ? "" : "s"))
        << '\n';
  return problems.empty() ? kExitOk : kExitFailure;
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
