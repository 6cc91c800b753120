// A places CSV read for import: its encoding, its lines, and the rules of check on every place.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalin {

enum class CsvEncoding { Utf8, Cp1252 };

// "utf-8" or "cp1252"; BadUsage naming `option` otherwise.
CsvEncoding ReadEncoding(std::string_view option, std::string_view text);

// Gives bytes as ::read does: how many (0 at the end), or -1 with errno set.
using BlockSource = std::function<long(char* into, std::size_t size)>;
// All that `read` gives, asked a block at a time; `expected` is how many bytes it is thought to
// hold (0 when unknown). Memory that runs short throws std::bad_alloc, never a shorter text; a
// read that fails is a ToolFailure "NAME: cannot be read".
std::string ReadInBlocks(const BlockSource& read, std::size_t expected, std::string_view name);
// The whole input of an import: the file `path`, a pipe or a device included, or standard input
// for "-". A folder is a ToolFailure "PATH: cannot be read: it is a folder".
std::string ReadImportInput(const std::string& path);

// Problems listed at most: a file of millions of bad lines is told by its first ones and counts.
inline constexpr std::size_t kListedProblems = 100;

struct ImportedPlaces {
  std::string text;                   // the file's text, decoded to UTF-8
  std::size_t count = 0;              // how many places it holds
  std::vector<std::string> problems;  // the first kListedProblems, "FILE:LINE: why", in the
                                      // order of the lines
  std::size_t problem_count = 0;      // all of them
  std::size_t bad_lines = 0;
};

// Every line of the file `name` (holding `bytes`) read as a place and judged by exactly the rules
// of check, `reached` told the number of each line read. A file that is not UTF-8 when it should
// be is refused at its first bad byte. Nothing but the text is kept: the places are read again as
// they are written.
ImportedPlaces ReadImport(
    std::string bytes, CsvEncoding encoding, std::string_view name,
    const std::function<void(std::size_t line)>& reached = [](std::size_t) {});

// Each place's 72 bytes in the order of the file, for places that ReadImport found good.
void EachImportedRecord(const ImportedPlaces& places,
                        const std::function<void(std::string_view)>& each);

}  // namespace orvalin
