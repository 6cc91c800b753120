#include "app/places_tool/places_cli.h"

#include <fstream>
#include <iostream>
#include <sstream>

#include "app/places_tool/places_check.h"
#include "app/places_tool/places_import.h"
#include "cli/command_line.h"
#include "cli/out_text.h"
#include "cli/place_input.h"
#include "cli/table_format.h"
#include "cli/tool_errors.h"
#include "common/failure.h"
#include "placesfile/places_csv.h"
#include "placesfile/places_file.h"

namespace orvalin {
namespace {

constexpr std::string_view kProgram = "orvalin-places";

constexpr OptionRule kOptions[] = {
    {"--file", true},     {"--format", true},   {"--output", true},      {"--encoding", true},
    {"--replace", false}, {"--dry-run", false}, {"--help", false, false, "-h"}, {"--version", false, false, "-V"},
};

constexpr std::string_view kHelp = R"(Usage: orvalin-places [--file FILE] COMMAND [OPTIONS]
The places file of the Orvalin window (location.dat): list it, export it to CSV,
import places from CSV, remove one, and check it.

Commands:
  list [--format FORMAT]  every record: number, name, country, latitude,
                          longitude, offset from GMT; FORMAT: text, csv, json
  export [--output FILE]  the places as CSV with a header line
  import FILE.csv [--replace] [--dry-run] [--encoding ENC]
                          add the places of a CSV file after the present ones,
                          or, with --replace, instead of them (- reads standard
                          input). Every line is judged by the rules of check
                          first: when one is bad, each bad line is listed and
                          nothing is written. --dry-run only judges. ENC is
                          utf-8 (the default) or cp1252 (Windows spreadsheets)
  remove N                delete record N; the others move up
  check                   list what the window could not use: unreadable
                          angles, offsets outside -12 to +14 hours, characters
                          outside Windows-1252, control characters, a partial
                          last record; exit status 1 when there is any

Options:
  --file FILE             the places file (default: location.dat here)
  -h, --help              show this help
  -V, --version           show the version

CSV (UTF-8, commas or semicolons, "quotes" around a cell holding a separator):
  name,country,latitude,longitude,gmt
  Geneva,Switzerland,46 12 0 N,6 9 0 E,1
  Sydney,Australia,-33.87,151.21,+10
Angles: 46.2 or -33.87 (north/east positive), 46.2N, 46°12'N, 46°12'0"N or
46 12 0 N; they are stored as whole seconds, "46 12 0 N".
Exit status: 0 done, 1 failure or problems found, 2 bad usage.
)";

struct Context {
  const CommandLine& cl;
  std::string file;
  std::ostream& out;
  std::ostream& err;
};

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
      cells.push_back({std::to_string(i + 1), WithoutFilling(r.PlaceName),
                       WithoutFilling(r.CountryName), WithoutFilling(r.LatitudeText),
                       WithoutFilling(r.LongitudeText), std::to_string(r.GmtHours)});
    }
    c.out << Columns(cells, {true, false, false, false, false, true});
  } else if (format == TableFormat::Csv) {
    c.out << "record,name,country,latitude,longitude,gmt\n";
    for (std::size_t i = 0; i < records.size(); ++i) {
      const PlaceRecord& r = records[i];
      c.out << i + 1 << ',' << CsvCell(WithoutFilling(r.PlaceName)) << ','
            << CsvCell(WithoutFilling(r.CountryName)) << ','
            << CsvCell(WithoutFilling(r.LatitudeText)) << ','
            << CsvCell(WithoutFilling(r.LongitudeText)) << ',' << r.GmtHours << '\n';
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

std::string Places(std::size_t n) { return std::to_string(n) + (n == 1 ? " place" : " places"); }

// The bytes of the places file, which must end with a whole record before it is written.
std::string WholeBytes(const Context& c, const PlacesFile& file) {
  std::string bytes = file.ReadAll();
  if (bytes.size() % kRecordSize != 0) {
    throw ToolFailure(c.file + " ends with a partial record; nothing was written (see check)");
  }
  return bytes;
}

// Opens a places file that must already exist: Open would create a missing one.
void OpenExisting(const Context& c, PlacesFile& file) {
  ReadPlacesBytes(c.file);
  file.Open(c.file);
}

int DryRun(const Context& c, std::size_t count) {
  c.out << "Checked " << Places(count) << ": no problem; --dry-run: nothing was written to "
        << c.file << '\n';
  return kExitOk;
}

int Import(const Context& c, const std::string& csv_path) {
  const CsvEncoding encoding =
      ReadEncoding("--encoding", c.cl.Value("--encoding").value_or("utf-8"));
  const ImportedPlaces places = ReadImport(ReadCsv(csv_path), encoding, csv_path);
  if (!places.problems.empty()) {
    for (const std::string& p : places.problems) c.err << p << '\n';
    c.err << kProgram << ": " << places.bad_lines << " bad line"
          << (places.bad_lines == 1 ? "" : "s") << "; nothing was written to " << c.file << '\n';
    return kExitFailure;
  }
  if (c.cl.Has("--dry-run")) return DryRun(c, places.records.size());
  const bool replace = c.cl.Has("--replace");
  try {
    PlacesFile file;
    file.Open(c.file);
    std::string bytes = replace ? std::string() : WholeBytes(c, file);
    const std::size_t before = bytes.size() / kRecordSize;
    for (const PlaceRecord& r : places.records) {
      const RecordBytes record = EncodeRecord(r);
      bytes.append(record.data(), record.size());
    }
    file.ReplaceAll(bytes);
    c.out << (replace ? "Replaced the places of " : "Added to ") << c.file << ": "
          << Places(places.records.size()) << (replace ? "" : " after " + std::to_string(before))
          << ", " << bytes.size() / kRecordSize << " in all\n";
  } catch (const Failure& f) {
    throw ToolFailure(c.file + ": " + f.what() + "; nothing was written");
  }
  return kExitOk;
}

int Remove(const Context& c, const std::string& number) {
  const auto n = static_cast<std::size_t>(PositiveNumber("remove", number));
  try {
    PlacesFile file;
    OpenExisting(c, file);
    std::string bytes = WholeBytes(c, file);
    const std::size_t count = bytes.size() / kRecordSize;
    if (n > count) {
      throw ToolFailure("there is no record " + number + ": " + c.file + " has " +
                        std::to_string(count) + (count == 1 ? " record" : " records"));
    }
    const std::string name =
        WithoutFilling(DecodeRecord(RecordBytesAt(bytes, static_cast<std::int64_t>(n))).PlaceName);
    bytes.erase((n - 1) * kRecordSize, kRecordSize);
    file.ReplaceAll(bytes);
    c.out << "Removed record " << n << " (" << name << ") from " << c.file << "; "
          << Places(count - 1) << " left\n";
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

struct Command {
  std::string_view name;
  std::size_t words;  // the command and what follows it
  std::string_view missing;
};
constexpr Command kCommands[] = {{"list", 1, ""},
                                 {"export", 1, ""},
                                 {"import", 2, "import needs the CSV file to read"},
                                 {"remove", 2, "remove needs the number of the record"},
                                 {"check", 1, ""}};

const Command& ChosenCommand(const std::vector<std::string>& words) {
  if (words.empty()) {
    throw BadUsage("say what to do: list, export, import, remove or check (see --help)");
  }
  for (const Command& command : kCommands) {
    if (words.front() != command.name) continue;
    if (words.size() < command.words) throw BadUsage(std::string(command.missing));
    if (words.size() > command.words) {
      throw BadUsage("unexpected \"" + words[command.words] + "\" after " + words.front());
    }
    return command;
  }
  throw BadUsage("unknown command \"" + words.front() +
                 "\" (list, export, import, remove or check)");
}

int Dispatch(const Context& c, std::string_view command, const std::vector<std::string>& words) {
  if (command == "list") return List(c);
  if (command == "export") return Export(c);
  if (command == "import") return Import(c, words[1]);
  if (command == "remove") return Remove(c, words[1]);
  return Check(c);
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const CommandLine cl(args, kOptions);
  if (AnswerHelpOrVersion(cl, out, kProgram, kHelp, ORVALIN_VERSION)) {
    EnsureWritten(out);
    return kExitOk;
  }
  const auto& words = cl.Positionals();
  const std::string_view command = ChosenCommand(words).name;
  OnlyWith(cl, command, "--format", "list");
  OnlyWith(cl, command, "--output", "export");
  for (const std::string_view option : {"--replace", "--dry-run", "--encoding"}) {
    OnlyWith(cl, command, option, "import");
  }
  if (cl.Has("--format")) ParseTableFormat("--format", *cl.Value("--format"));
  if (cl.Has("--encoding")) ReadEncoding("--encoding", *cl.Value("--encoding"));

  const Context c{cl, cl.Value("--file").value_or(PlacesFileIn("")), out, err};
  const int status = Dispatch(c, command, words);
  EnsureWritten(out);
  return status;
}

}  // namespace

int RunPlaces(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return RunTool(kProgram, err, [&] { return Run(args, out, err); });
}

}  // namespace orvalin
