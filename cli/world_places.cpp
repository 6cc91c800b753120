#include "cli/world_places.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/tool_errors.h"
#include "engine/angle_text.h"

namespace orvalin {
namespace {

constexpr double kSameCoordinates = 1.0 / 60;  // degrees
constexpr std::size_t kFields = 6;
enum Field { kName, kCountry, kLatitude, kLongitude, kGmt, kZone };

// The cells of one CSV line, quoted cells unquoted; `at` moves past the line.
std::vector<std::string> CsvLine(std::string_view text, std::size_t& at) {
  std::vector<std::string> cells(1);
  bool quoted = false;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (quoted) {
      if (c != '"') {
        cells.back() += c;
      } else if (at + 1 < text.size() && text[at + 1] == '"') {
        cells.back() += '"';
        ++at;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      cells.emplace_back();
    } else if (c == '\n') {
      ++at;
      break;
    } else if (c != '\r') {
      cells.back() += c;
    }
  }
  return cells;
}

std::string Named(const TablePlace& place) {
  return place.name.empty() ? "place" : "\"" + place.name + "\"";
}

std::string ReadWorldList() {
  const std::string path = WorldPlacesPath();
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) {
    throw ToolFailure("--tz place: the world list of places " + path + " cannot be read");
  }
  std::ostringstream text;
  text << in.rdbuf();
  return std::move(text).str();
}

}  // namespace

WorldPlaces WorldPlaces::Parse(std::string_view csv) {
  std::size_t at = 0;
  std::vector<std::string> header = CsvLine(csv, at);
  if (!header.empty() && header[0].rfind("\xEF\xBB\xBF", 0) == 0) header[0].erase(0, 3);
  std::string joined;
  for (const std::string& cell : header) joined += (joined.empty() ? "" : ",") + cell;
  if (joined != kWorldPlacesHeader) {
    throw ToolFailure("the world list of places does not begin with \"" +
                      std::string(kWorldPlacesHeader) + "\"");
  }
  WorldPlaces places;
  while (at < csv.size()) {
    const std::vector<std::string> cells = CsvLine(csv, at);
    if (cells.size() != kFields || cells[kZone].empty()) continue;
    const AngleReading latitude = ReadAngle(cells[kLatitude]);
    const AngleReading longitude = ReadAngle(cells[kLongitude]);
    if (!latitude.is_clean() || !longitude.is_clean()) continue;
    places.by_name_.emplace(cells[kName], Entry{latitude.value, longitude.value, cells[kZone]});
  }
  return places;
}

std::optional<std::string> WorldPlaces::ZoneOf(const TablePlace& place) const {
  const auto [first, last] = by_name_.equal_range(place.name);
  for (auto it = first; it != last; ++it) {
    const Entry& e = it->second;
    if (std::fabs(e.latitude - place.latitude) <= kSameCoordinates &&
        std::fabs(e.longitude_west - place.longitude_west) <= kSameCoordinates) {
      return e.zone;
    }
  }
  return std::nullopt;
}

Clock PlaceClocks::For(const TablePlace& place) {
  if (!list_) list_ = WorldPlaces::Parse(ReadWorldList());
  const auto name = list_->ZoneOf(place);
  if (!name) {
    throw ToolFailure("--tz place: the world list of places has no " + Named(place) +
                      " at its coordinates");
  }
  auto found = clocks_.find(*name);
  if (found == clocks_.end()) {
    const auto clock = Clock::Zone(*name);
    if (!clock) {
      throw ToolFailure("--tz place: " + Named(place) + " lies in the zone \"" + *name +
                        "\", which this system does not know");
    }
    found = clocks_.emplace(*name, *clock).first;
  }
  return found->second;
}

std::string WorldPlacesPath() {
  if (const char* chosen = std::getenv("ORVALIN_WORLD_PLACES"); chosen && *chosen) return chosen;
  std::error_code error;
  if (std::filesystem::exists(ORVALIN_WORLD_PLACES_INSTALLED, error)) {
    return ORVALIN_WORLD_PLACES_INSTALLED;
  }
  return ORVALIN_WORLD_PLACES_SOURCE;
}

}  // namespace orvalin
