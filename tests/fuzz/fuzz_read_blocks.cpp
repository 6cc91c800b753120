// The import's block reader: whatever sizes the reads come in, interrupted or not, and whatever
// size was expected, the text is every byte given, in order; a read that fails is a failure,
// never a shorter text.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/args/tool_errors.h"
#include "cli/places/places_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first byte draws the reads' sizes and their interruptions, the second the expected size
  // and whether the last read fails; the rest is what is read.
  std::uint32_t draw = data[0] | 1u;
  const bool fails = (data[1] & 0x80) != 0;
  const std::string given(reinterpret_cast<const char*>(data) + 2, size - 2);
  const std::size_t expected = (data[1] & 0x7f) * given.size() / 64;
  std::size_t at = 0;
  const orvalin::BlockSource read = [&](char* into, std::size_t wanted) -> long {
    draw = draw * 1103515245u + 12345u;
    if ((draw >> 16) % 5 == 0) {
      errno = EINTR;
      return -1;
    }
    if (at == given.size() && fails) {
      errno = EIO;
      return -1;
    }
    const std::size_t n = std::min({wanted, given.size() - at, std::size_t{1 + (draw >> 8) % 97}});
    std::memcpy(into, given.data() + at, n);
    at += n;
    return static_cast<long>(n);
  };
  try {
    if (orvalin::ReadInBlocks(read, expected, "f.csv") != given || fails) std::abort();
  } catch (const orvalin::ToolFailure& f) {
    if (!fails || std::string(f.what()) != "f.csv: cannot be read") std::abort();
  }
  return 0;
}
