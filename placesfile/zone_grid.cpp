#include "placesfile/zone_grid.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace orvalin {
namespace {

constexpr std::string_view kMagic = "orvalin-zone-grid 2";
constexpr std::size_t kColumns = 48, kRows = 24;  // the top cells, 7.5 degrees wide
constexpr std::size_t kChildren = 4;
// Every count and index is written in digits of 64 values: a palette's size in one, a zone's
// index in two, a slot in one, or two slots in one when a cell has 7 zones or fewer.
constexpr std::string_view kDigits =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-_";
constexpr std::size_t kSlotsPerDigit = 8, kMostPackedZones = kSlotsPerDigit - 1;
constexpr std::size_t kLongestZoneName = 64;

constexpr std::array<int, 256> DigitValues() {
  std::array<int, 256> values{};
  values.fill(-1);
  for (std::size_t k = 0; k < kDigits.size(); ++k) {
    values[static_cast<unsigned char>(kDigits[k])] = static_cast<int>(k);
  }
  return values;
}
constexpr std::array<int, 256> kDigitValue = DigitValues();

constexpr std::array<std::uint32_t, 256> Crc32Table() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

// A name as the time zone database writes them: "America/Argentina/Buenos_Aires", "Etc/GMT+5".
bool IsZoneName(std::string_view name) {
  if (name.empty() || name.size() > kLongestZoneName || name.front() == '/' || name.back() == '/' ||
      name.find("//") != std::string_view::npos) {
    return false;
  }
  for (const char c : name) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    const bool digit = c >= '0' && c <= '9';
    if (!letter && !digit && c != '/' && c != '_' && c != '-' && c != '+') return false;
  }
  return (name.front() >= 'A' && name.front() <= 'Z') ||
         (name.front() >= 'a' && name.front() <= 'z');
}

template <typename T>
bool ReadNumber(std::string_view text, T& value, int base) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

int Digit(char c) { return kDigitValue[static_cast<unsigned char>(c)]; }

}  // namespace

// CRC-32 as zlib computes it, which the script writes.
std::uint32_t ZoneGridCheckValue(std::string_view lines) {
  static constexpr std::array<std::uint32_t, 256> kTable = Crc32Table();
  std::uint32_t c = 0xFFFFFFFFU;
  for (const char b : lines) c = kTable[(c ^ static_cast<unsigned char>(b)) & 0xFFU] ^ (c >> 8);
  return c ^ 0xFFFFFFFFU;
}

Problem ZoneGrid::ReadCell(std::string_view line) {
  const int count = line.empty() ? -1 : Digit(line[0]);
  if (count < 1 || line.size() < 1 + 2 * static_cast<std::size_t>(count)) {
    return "a cell's zones are cut short";
  }
  Cell cell{static_cast<std::uint32_t>(palette_.size()), static_cast<std::uint32_t>(slots_.size()),
            0};
  for (int k = 0; k < count; ++k) {
    const int high = Digit(line[1 + 2 * k]), low = Digit(line[2 + 2 * k]);
    if (high < 0 || low < 0) return "a cell names a zone it does not hold";
    const std::size_t zone =
        static_cast<std::size_t>(high) * kDigits.size() + static_cast<std::size_t>(low);
    if (zone >= zones_.size()) return "a cell names a zone it does not hold";
    palette_.push_back(static_cast<std::uint16_t>(zone));
  }
  const bool packed = static_cast<std::size_t>(count) <= kMostPackedZones;
  std::size_t nodes = 0;
  for (const char c : line.substr(1 + 2 * static_cast<std::size_t>(count))) {
    const int value = Digit(c);
    if (value < 0) return "a cell holds a character outside its digits";
    const int parts[2] = {packed ? value / static_cast<int>(kSlotsPerDigit) : value,
                          value % static_cast<int>(kSlotsPerDigit)};
    for (int k = 0; k < (packed ? 2 : 1); ++k) {
      if (parts[k] > count) return "a cell names a zone it does not hold";
      nodes += parts[k] == 0 ? 1 : 0;
      slots_.push_back(static_cast<char>(parts[k]));
    }
  }
  cell.slot_count = static_cast<std::uint32_t>(slots_.size() - cell.first_slot);
  // Every node but the root is a slot's child; a cell of one zone has none.
  if (cell.slot_count == 0 ? count != 1 : cell.slot_count != kChildren * (nodes + 1)) {
    return "a cell's tree is cut short";
  }
  cells_.push_back(cell);
  return std::nullopt;
}

ZoneGridReading ZoneGrid::Read(std::string_view text) {
  const auto damaged = [](std::string why) {
    return ZoneGridReading{std::nullopt, "is damaged: " + std::move(why)};
  };
  const std::size_t first = text.find('\n');
  if (text.substr(0, first) != kMagic) {
    return {std::nullopt,
            "is not a zone tree: its first line is not \"" + std::string(kMagic) + "\""};
  }
  const std::size_t second = text.find('\n', first + 1);
  const std::string_view header = text.substr(first + 1, second - first - 1);
  const std::size_t space = header.find(' ');
  std::size_t count = 0;
  std::uint32_t check = 0;
  if (second == std::string_view::npos || space == std::string_view::npos ||
      !ReadNumber(header.substr(0, space), count, 10) ||
      !ReadNumber(header.substr(space + 1), check, 16)) {
    return damaged("its second line is not a zone count and a check value");
  }
  const std::string_view body = text.substr(second + 1);
  if (ZoneGridCheckValue(body) != check) return damaged("its check value does not match");
  if (body.empty() || body.back() != '\n') return damaged("its last line is cut short");
  ZoneGrid grid;
  std::size_t line = 3;
  for (std::size_t start = 0, end = 0; start < body.size(); start = end + 1, ++line) {
    end = body.find('\n', start);
    const std::string_view text_line = body.substr(start, end - start);
    if (grid.zones_.size() < count) {
      if (!IsZoneName(text_line))
        return damaged("line " + std::to_string(line) + " is no zone name");
      grid.zones_.emplace_back(text_line);
    } else if (grid.cells_.size() < kColumns * kRows) {
      if (Problem why = grid.ReadCell(text_line))
        return damaged(*why + " (line " + std::to_string(line) + ")");
    } else {
      return damaged("it holds more lines than its cells");
    }
  }
  if (count == 0 || grid.cells_.size() != kColumns * kRows) {
    return damaged("its lines do not follow its zone count");
  }
  return {std::move(grid), std::nullopt};
}

std::optional<ZoneGrid> ZoneGrid::Parse(std::string_view text) { return Read(text).grid; }

std::string ZoneGrid::ZoneAt(Latitude latitude, Longitude longitude) const {
  const double north = latitude.Degrees(), east = longitude.East();
  if (!(north >= -90 && north <= 90 && east >= -180 && east <= 180)) return {};
  if (north >= 90) return "Etc/GMT";
  // The divisors a hair above 360 and 180 keep the east and south edges in the last cell.
  double x = static_cast<double>(kColumns) * (180 + east) / 360.00000000000006;
  double y = static_cast<double>(kRows) * (90 - north) / 180.00000000000003;
  auto column = static_cast<std::size_t>(x), row = static_cast<std::size_t>(y);
  const Cell& cell = cells_[kColumns * row + column];
  const char* slots = slots_.data() + cell.first_slot;
  std::size_t value = cell.slot_count == 0 ? 1 : 0;
  // A node's number is one more than the child slots before its own slot, breadth first; counted
  // once along the way down, as every slot lies after its parent's.
  std::size_t node = 0, at = 0, counted = 0, child_slots = 0;
  while (value == 0) {
    y = std::fmod(2 * (y - static_cast<double>(row)), 2);
    row = static_cast<std::size_t>(y);
    x = std::fmod(2 * (x - static_cast<double>(column)), 2);
    column = static_cast<std::size_t>(x);
    at = kChildren * node + 2 * row + column;
    value = static_cast<unsigned char>(slots[at]);
    child_slots += static_cast<std::size_t>(std::count(slots + counted, slots + at, '\0'));
    counted = at;
    node = child_slots + 1;
  }
  return zones_[palette_[cell.first_zone + value - 1]];
}

}  // namespace orvalin
