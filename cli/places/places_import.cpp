#include "cli/places/places_import.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <optional>

#include "cli/args/tool_errors.h"
#include "common/text.h"
#include "placesfile/file_io.h"
#include "placesfile/place_rules.h"
#include "placesfile/places_csv.h"

namespace orvalin {
namespace {

constexpr std::size_t kInputBlock = std::size_t{1} << 16;  // bytes asked of each read

[[noreturn]] void Unreadable(std::string_view name, std::string_view why = "") {
  throw ToolFailure(std::string(name) + ": cannot be read" + std::string(why));
}

// ::read that waits on an input left non-blocking by whoever shares it.
long ReadWhenReady(int fd, char* into, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd, into, size);
    if (n >= 0 || errno != EAGAIN) return n;
    pollfd ready{fd, POLLIN, 0};
    ::poll(&ready, 1, -1);
  }
}

// What is left to read of a file whose size is known, 0 for a pipe or a device.
std::size_t LeftToRead(int fd, const struct stat& st) {
  if (!S_ISREG(st.st_mode)) return 0;
  const off_t at = ::lseek(fd, 0, SEEK_CUR);
  return st.st_size > at && at >= 0 ? static_cast<std::size_t>(st.st_size - at) : 0;
}

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

std::string ReadInBlocks(const BlockSource& read, std::size_t expected, std::string_view name) {
  std::string text, block(kInputBlock, '\0');
  text.reserve(expected);  // a file's size: the text never doubles on its way there
  for (;;) {
    const long n = read(block.data(), block.size());
    if (n > 0) {
      text.append(block.data(), static_cast<std::size_t>(n));
    } else if (n == 0) {
      return text;
    } else if (errno != EINTR) {
      Unreadable(name);
    }
  }
}

std::string ReadImportInput(const std::string& path) {
  Descriptor own;
  if (path != "-") {
    own.Reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!own.IsOpen()) Unreadable(path);
  }
  const int fd = path == "-" ? STDIN_FILENO : own.get();
  struct stat st {};
  if (::fstat(fd, &st) != 0) Unreadable(path);
  if (S_ISDIR(st.st_mode)) Unreadable(path, ": it is a folder");
  return ReadInBlocks([fd](char* into, std::size_t size) { return ReadWhenReady(fd, into, size); },
                      LeftToRead(fd, st), path);
}

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
