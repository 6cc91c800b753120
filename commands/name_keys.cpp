#include "commands/name_keys.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "common/text.h"
#include "placesfile/records_reader.h"

namespace orvalin {
namespace {

constexpr int kBytes = 256;

// The rank of every byte's character among the characters of all 256 bytes.
const std::array<std::uint8_t, kBytes>& CharacterRanks() {
  static const std::array<std::uint8_t, kBytes> ranks = [] {
    std::array<int, kBytes> bytes{};
    std::iota(bytes.begin(), bytes.end(), 0);
    std::sort(bytes.begin(), bytes.end(), [](int a, int b) {
      return Cp1252Character(static_cast<unsigned char>(a)) <
             Cp1252Character(static_cast<unsigned char>(b));
    });
    std::array<std::uint8_t, kBytes> r{};
    for (int rank = 0; rank < kBytes; ++rank) r[bytes[rank]] = static_cast<std::uint8_t>(rank);
    return r;
  }();
  return ranks;
}

}  // namespace

NameOrderKey NameKeyOf(std::string_view record) {
  const auto& ranks = CharacterRanks();
  NameOrderKey key;
  key.fill(ranks[static_cast<unsigned char>(' ')]);
  for (std::size_t c = 0; c < kNameWidth && c < record.size(); ++c) {
    key[c] = ranks[static_cast<unsigned char>(record[c])];
  }
  return key;
}

std::vector<NameOrderKey> NameKeysOf(const PlacesFile& file, std::int64_t whole) {
  std::vector<NameOrderKey> keys;
  keys.reserve(static_cast<std::size_t>(std::max<std::int64_t>(whole - 1, 0)));
  for (std::int64_t first = 2; first <= whole; first += kRecordsPerBlock) {
    const std::string block =
        file.RecordsBytesAt(first, std::min(kRecordsPerBlock, whole - first + 1));
    for (std::size_t at = 0; at + kRecordSize <= block.size(); at += kRecordSize) {
      keys.push_back(NameKeyOf(std::string_view(block).substr(at, kRecordSize)));
    }
  }
  return keys;
}

}  // namespace orvalin
