#include "cli/world_places.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "cli/out_text.h"
#include "cli/tool_errors.h"
#include "engine/angle_text.h"
#include "placesfile/places_csv.h"

namespace orvalin {
namespace {

constexpr double kSameCoordinates = 1.0 / 60;  // degrees
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
  const CsvPlaces list = ParsePlacesCsv(csv);
  if (!list.problems.empty() && list.problems.front().line == 1) {
    throw ToolFailure("the world list of places does not begin with \"" +
                      std::string(kWorldCsvHeader) + "\"");
  }
  WorldPlaces places;
  for (std::size_t k = 0; k < list.records.size(); ++k) {
    const PlaceRecord& record = list.records[k];
    const AngleReading latitude = ReadAngle(record.LatitudeText);
    const AngleReading longitude = ReadAngle(record.LongitudeText);
    if (list.zones[k].empty() || !latitude.is_clean() || !longitude.is_clean()) continue;
    places.by_name_.emplace(WithoutFilling(record.PlaceName),
                            Entry{latitude.value, longitude.value, list.zones[k]});
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
