#include "cli/places/places_cli.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <fstream>

#include "cli/args/command_line.h"
#include "cli/args/tool_errors.h"
#include "cli/places/places_find.h"
#include "cli/places/places_import.h"
#include "cli/places/places_listing.h"
#include "cli/table/found_places.h"
#include "cli/table/output_file.h"
#include "cli/table/place_input.h"
#include "cli/table/table_format.h"
#include "common/escaped_text.h"
#include "common/failure.h"
#include "common/out_text.h"
#include "placesfile/places_csv.h"
#include "placesfile/places_file.h"

namespace orvalin {
namespace {

constexpr std::string_view kProgram = "orvalin-places";

constexpr OptionRule kOptions[] = {
    {"--file", true},
    {"--format", true},
    {"--output", true},
    {"--encoding", true},
    {"--replace", false},
    {"--dry-run", false},
    {"--limit", true},
    {"--quiet", false},
    {"--progress", false},
    {"--help", false, false, "-h"},
    {"--version", false, false, "-V"},
};

// {gmt} and {csv} stand for the zones' offsets and the CSV header, written where they are kept.
constexpr std::string_view kHelp = R"(Usage: orvalin-places [--file FILE] COMMAND [OPTIONS]
The places file of the Orvalin window (location.dat): find a place, list it,
export it to CSV, import places from CSV, remove one, and check it.

Commands:
  find TEXT [--limit N] [--format FORMAT]
                          the places TEXT names, best first (10 unless --limit
                          says): accents, case and punctuation aside, other
                          names of the world's towns too ("Kiev", "Munchen",
                          "NYC"); a country's name finds its capital when
                          that is named like it ("Mexico"). "Sydney, Canada",
                          "Vienna, AT", "London, UK", "Paris, Texas" or
                          "Paris, TX" keeps one country or division. Each
                          line: name, country, latitude, longitude, zone,
                          record number. None found: the nearest spellings,
                          exit status 1
  list [--format FORMAT]  every record: number, name, country, latitude,
                          longitude, offset from GMT; FORMAT: text, csv, json
  export [--output FILE]  the places as CSV with a header line
  import FILE.csv [--replace] [--dry-run] [--encoding ENC]
                          add the places of a CSV file after the present ones,
                          or, with --replace, instead of them (- reads standard
                          input). Every line is judged by the rules of check
                          first: when one is bad, each bad line is listed
                          (the first 100 problems, and how many more) and
                          nothing is written. --dry-run only judges. ENC is
                          utf-8 (the default) or cp1252 (Windows spreadsheets)
  remove N                delete record N; the others move up
  check                   list what the window could not use: unreadable
                          angles, offsets outside {gmt} hours, characters
                          outside Windows-1252, control characters, a partial
                          last record; exit status 1 when there is any

Options:
  --file FILE             the places file (default: location.dat here, else
                          the window's, in $XDG_DATA_HOME/orvalin)
  --quiet                 list, export, import, check: no progress line;
                          --progress: one even when standard error is not a
                          terminal (a run over a second shows one)
  -h, --help              show this help
  -V, --version           show the version

CSV (UTF-8, commas or semicolons, "quotes" around a cell holding a separator):
  {csv}
  Geneva,Switzerland,46 12 0 N,6 9 0 E,1
  Sydney,Australia,-33.87,151.21,+10
Angles: 46.2 or -33.87 (north/east positive), 46.2N, 46°12'N, 46°12'0"N or
46 12 0 N; they are stored as whole seconds, "46 12 0 N".
Exit status: 0 done, 1 failure or problems found, 2 bad usage.
)";

std::string Help() {
  std::string help(kHelp);
  const std::pair<std::string_view, std::string> marks[] = {{"{gmt}", UsableGmtRange()},
                                                            {"{csv}", PlacesCsvHeader()}};
  for (const auto& [mark, text] : marks) help.replace(help.find(mark), mark.size(), text);
  return help;
}

struct Context {
  const CommandLine& cl;
  std::string file;
  std::ostream& out;
  std::ostream& err;
  Progress::Mode progress;
  bool err_terminal, out_terminal;
};

Progress ProgressOf(const Context& c, std::string what, long long total) {
  return Progress(c.err, std::string(kProgram), std::move(what), total, c.progress, c.err_terminal);
}

// Rows written to a terminal as they are read would break a progress line on it: unless asked
// for, it is left out when standard output is one too.
Listing ListingOf(const Context& c, bool rows_to_out) {
  return {c.file, c.out, c.err, c.progress, c.err_terminal && !(rows_to_out && c.out_terminal)};
}

// find and list write text, CSV or JSON: a place has no days to put in a calendar.
TableFormat FormatOf(const CommandLine& cl) {
  return ParseTableFormat("--format", cl.Value("--format").value_or("text"), false);
}

int List(const Context& c, const std::string&) {
  ListPlaces(ListingOf(c, true), FormatOf(c.cl));
  return kExitOk;
}

int Export(const Context& c, const std::string&) {
  const auto output = c.cl.Value("--output");
  if (!output) {
    ExportPlaces(ListingOf(c, true), c.out);
    return kExitOk;
  }
  const OutputFile file("--output", *output, {c.file});
  OpenPlacesToRead(c.file);  // a missing places file leaves no empty CSV behind
  file.Write([&](std::ostream& out) { ExportPlaces(ListingOf(c, false), out); });
  return kExitOk;
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

// Opens a places file that must already exist, to write it: Open would create a missing one.
void OpenExistingToWrite(const Context& c, PlacesFile& file) {
  OpenPlacesToRead(c.file);
  file.Open(c.file, PlacesFile::Use::Write);
}

int DryRun(const Context& c, std::size_t count) {
  c.out << MessageText("Checked " + Places(count) +
                       ": no problem; --dry-run: nothing was written to " + c.file)
        << '\n';
  return kExitOk;
}

int Import(const Context& c, const std::string& csv_path) {
  const CsvEncoding encoding =
      ReadEncoding("--encoding", c.cl.Value("--encoding").value_or("utf-8"));
  std::string csv = ReadImportInput(csv_path);
  const auto lines = static_cast<long long>(std::count(csv.begin(), csv.end(), '\n') +
                                            (csv.empty() || csv.back() == '\n' ? 0 : 1));
  const ImportedPlaces places = [&] {
    Progress reading = ProgressOf(c, "lines read", lines);
    return ReadImport(std::move(csv), encoding, csv_path,
                      [&](std::size_t line) { reading.StepTo(static_cast<long long>(line)); });
  }();
  if (!places.problems.empty()) {
    for (const std::string& p : places.problems) c.err << MessageText(p) << '\n';
    if (const std::size_t more = places.problem_count - places.problems.size(); more > 0) {
      c.err << kProgram << ": " << more << " more problem" << (more == 1 ? "" : "s")
            << " not listed\n";
    }
    c.err << kProgram << ": " << places.bad_lines << " bad line"
          << (places.bad_lines == 1 ? "" : "s") << "; nothing was written to "
          << MessageText(c.file) << '\n';
    return kExitFailure;
  }
  if (c.cl.Has("--dry-run")) return DryRun(c, places.count);
  const bool replace = c.cl.Has("--replace");
  try {
    PlacesFile file;
    file.Open(c.file, PlacesFile::Use::Write);
    const auto present = static_cast<std::size_t>(replace ? 0 : file.SizeInBytes());
    if (present % kRecordSize != 0) {
      throw ToolFailure(c.file + " ends with a partial record; nothing was written (see check)");
    }
    const std::size_t before = present / kRecordSize;
    // The places are written as they are read again: the CSV text is all that is held.
    const auto imported = [&](const PlacesFile::PieceSink& sink) {
      Progress writing = ProgressOf(c, "places written", static_cast<long long>(places.count));
      EachImportedRecord(places, [&](std::string_view record) {
        sink(record);
        writing.Step();
      });
    };
    if (replace) {
      file.ReplaceWith(imported);
    } else {
      file.ReplaceWithAppended(imported);
    }
    c.out << (replace ? "Replaced the places of " : "Added to ") << MessageText(c.file) << ": "
          << Places(places.count) << (replace ? "" : " after " + std::to_string(before)) << ", "
          << before + places.count << " in all\n";
  } catch (const Failure& f) {
    throw ToolFailure(c.file + ": " + f.what() + "; nothing was written");
  }
  return kExitOk;
}

int Remove(const Context& c, const std::string& number) {
  const auto n = static_cast<std::size_t>(PositiveNumber("remove", number));
  try {
    PlacesFile file;
    OpenExistingToWrite(c, file);
    std::string bytes = WholeBytes(c, file);
    const std::size_t count = bytes.size() / kRecordSize;
    if (n > count) {
      throw ToolFailure("there is no record " + number + ": " + c.file + " has " +
                        std::to_string(count) + (count == 1 ? " record" : " records"));
    }
    const std::string name = EscapeControls(
        WithoutFilling(DecodeRecord(RecordBytesAt(bytes, static_cast<std::int64_t>(n))).PlaceName));
    bytes.erase((n - 1) * kRecordSize, kRecordSize);
    file.ReplaceAll(bytes);
    c.out << "Removed record " << n << " (" << name << ") from " << MessageText(c.file) << "; "
          << Places(count - 1) << " left\n";
  } catch (const Failure& f) {
    throw ToolFailure(c.file + ": " + f.what() + "; nothing was written");
  }
  return kExitOk;
}

int Find(const Context& c, const std::string& text) {
  const auto limit = c.cl.Value("--limit");
  return FindPlaces(
      {c.file, text,
       static_cast<std::size_t>(limit ? PositiveNumber("--limit", *limit) : kFoundLines),
       FormatOf(c.cl)},
      c.out, c.err);
}

int Check(const Context& c, const std::string&) {
  return CheckPlacesFile(ListingOf(c, false)) ? kExitOk : kExitFailure;
}

// Each command, the words it takes and the options that go with it; --file, --help and
// --version go with any.
struct Command {
  std::string_view name;
  std::size_t words;  // the command and what follows it
  std::string_view missing;
  int (*run)(const Context&, const std::string& word);  // the word after the command, or ""
  std::array<std::string_view, 5> options;
};
constexpr Command kCommands[] = {
    {"find", 2, "find needs the name to look for", Find, {"--limit", "--format"}},
    {"list", 1, "", List, {"--format", "--quiet", "--progress"}},
    {"export", 1, "", Export, {"--output", "--quiet", "--progress"}},
    {"import", 2, "import needs the CSV file to read", Import,
     {"--replace", "--dry-run", "--encoding", "--quiet", "--progress"}},
    {"remove", 2, "remove needs the number of the record", Remove, {}},
    {"check", 1, "", Check, {"--quiet", "--progress"}}};
constexpr std::string_view kAnyCommand[] = {"--file", "--help", "--version"};

bool Takes(const Command& command, std::string_view option) {
  return std::find(command.options.begin(), command.options.end(), option) != command.options.end();
}

// "find, list or check": the commands that pass `keep`, in the table's order.
template <typename Keep>
std::string CommandNames(Keep keep) {
  std::vector<std::string_view> names;
  for (const Command& command : kCommands) {
    if (keep(command)) names.push_back(command.name);
  }
  std::string text;
  for (std::size_t k = 0; k < names.size(); ++k) {
    text.append(k == 0 ? "" : k + 1 == names.size() ? " or " : ", ").append(names[k]);
  }
  return text;
}

const Command& ChosenCommand(const std::vector<std::string>& words) {
  const auto all = [](const Command&) { return true; };
  if (words.empty()) {
    throw BadUsage("say what to do: " + CommandNames(all) + " (see --help)");
  }
  for (const Command& command : kCommands) {
    if (words.front() != command.name) continue;
    if (words.size() < command.words) throw BadUsage(std::string(command.missing));
    if (words.size() > command.words) {
      throw BadUsage("unexpected \"" + words[command.words] + "\" after " + words.front());
    }
    return command;
  }
  throw BadUsage("unknown command \"" + words.front() + "\" (" + CommandNames(all) + ")");
}

// An option given to a command it does not go with is refused, naming those it goes with.
void OnlyItsOptions(const CommandLine& cl, const Command& command) {
  for (const OptionRule& rule : kOptions) {
    const std::string_view option = rule.name;
    if (!cl.Has(option) || Takes(command, option) ||
        std::find(std::begin(kAnyCommand), std::end(kAnyCommand), option) !=
            std::end(kAnyCommand)) {
      continue;
    }
    throw BadUsage(std::string(option) + " goes with " +
                   CommandNames([&](const Command& other) { return Takes(other, option); }) +
                   ", not " + std::string(command.name));
  }
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const CommandLine cl(args, kOptions);
  if (AnswerHelpOrVersion(cl, out, kProgram, Help(), ORVALIN_VERSION)) {
    EnsureWritten(out);
    return kExitOk;
  }
  const auto& words = cl.Positionals();
  const Command& command = ChosenCommand(words);
  OnlyItsOptions(cl, command);
  if (cl.Has("--limit")) PositiveNumber("--limit", *cl.Value("--limit"));
  if (cl.Has("--format")) FormatOf(cl);
  if (cl.Has("--encoding")) ReadEncoding("--encoding", *cl.Value("--encoding"));

  const Context c{cl,
                  ChosenPlacesFile(cl.Value("--file"), kProgram, err),
                  out,
                  err,
                  ProgressMode(cl.Has("--quiet"), cl.Has("--progress")),
                  isatty(STDERR_FILENO) != 0,
                  isatty(STDOUT_FILENO) != 0};
  const int status = command.run(c, words.size() > 1 ? words[1] : std::string());
  EnsureWritten(out);
  return status;
}

}  // namespace

int RunPlaces(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return RunTool(kProgram, err, [&] { return Run(args, out, err); });
}

}  // namespace orvalin
