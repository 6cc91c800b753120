#include "placesfile/zone_grid.h"

#include <cmath>

namespace orvalin {
namespace {

constexpr std::string_view kMagic = "orvalin-zone-grid 1";
constexpr long kColumns = 48, kRows = 24;  // the top cells, 7.5 degrees wide
constexpr long kFirstNode = 2 * kColumns * kRows;
constexpr long kDigitValues = 56;  // a code of the tree is two characters of 56 values
constexpr long kCodes = kDigitValues * kDigitValues;
constexpr long kCharacterBase = 1995;  // 56 * '#' + '#'
constexpr int kDeepest = 40;           // far below a metre

}  // namespace

std::optional<ZoneGrid> ZoneGrid::Parse(std::string_view text) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) return std::nullopt;  // every line ends with a break
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  if (lines.size() < 3 || lines[0] != kMagic) return std::nullopt;
  std::size_t count = 0;
  for (const char c : lines[1]) {
    if (c < '0' || c > '9' || count > static_cast<std::size_t>(kCodes)) return std::nullopt;
    count = count * 10 + static_cast<std::size_t>(c - '0');
  }
  if (count == 0 || count > static_cast<std::size_t>(kCodes) || lines.size() != count + 3) {
    return std::nullopt;
  }
  ZoneGrid grid;
  grid.zones_.assign(lines.begin() + 2, lines.end() - 1);
  grid.tree_ = lines.back();
  if (grid.tree_.size() < static_cast<std::size_t>(kFirstNode)) return std::nullopt;
  return grid;
}

std::string ZoneGrid::ZoneAt(double latitude, double longitude_east) const {
  if (!(latitude >= -90 && latitude <= 90 && longitude_east >= -180 && longitude_east <= 180)) {
    return {};
  }
  if (latitude >= 90) return "Etc/GMT";
  const long leaves = kCodes - static_cast<long>(zones_.size());
  const auto code = [&](long at) -> long {
    if (at < 0 || static_cast<std::size_t>(at) + 1 >= tree_.size()) return -1;
    return kDigitValues * static_cast<unsigned char>(tree_[static_cast<std::size_t>(at)]) +
           static_cast<unsigned char>(tree_[static_cast<std::size_t>(at) + 1]) - kCharacterBase;
  };
  // The divisors a hair above 360 and 180 keep the east and south edges in the last cell.
  double x = kColumns * (180 + longitude_east) / 360.00000000000006;
  double y = kRows * (90 - latitude) / 180.00000000000003;
  long column = static_cast<long>(x), row = static_cast<long>(y);
  long k = code(kColumns * 2 * row + 2 * column);
  long node = -1;
  for (int depth = 0; k >= 0 && k < leaves; ++depth) {
    if (depth == kDeepest) return {};
    node += k + 1;
    y = std::fmod(2 * (y - static_cast<double>(row)), 2);
    row = static_cast<long>(y);
    x = std::fmod(2 * (x - static_cast<double>(column)), 2);
    column = static_cast<long>(x);
    k = code(8 * node + 4 * row + 2 * column + kFirstNode);
  }
  if (k < leaves || k >= kCodes) return {};
  return zones_[static_cast<std::size_t>(k - leaves)];
}

}  // namespace orvalin
