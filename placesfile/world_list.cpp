#include "placesfile/world_list.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>

#include "engine/angle_text.h"
#include "placesfile/data_file.h"
#include "placesfile/finder_fold.h"
#include "placesfile/places_csv.h"

namespace orvalin {
namespace {

constexpr std::size_t kTextsWidth = kGmtOffset;  // name, country, latitude, longitude
constexpr double kRadiansPerDegree = std::numbers::pi / 180;
// Each a few times the size of the file shipped (1.5 MB, 1.1 MB, 0.4 MB and 49 KB now).
constexpr std::uintmax_t kWorldPlacesMaxBytes = 8'000'000;
constexpr std::uintmax_t kWorldNamesMaxBytes = 6'000'000;
constexpr std::uintmax_t kZoneGridMaxBytes = 2'000'000;
constexpr std::uintmax_t kWorldAreasMaxBytes = 250'000;

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

// Applies the names file to the towns, read from the given lines of the places CSV; false,
// changing nothing, when it does not fit them.
bool ApplyNames(std::string_view names_csv, std::size_t csv_line_count,
                const std::vector<CsvPlace>& places, std::vector<WorldTown>& towns) {
  std::vector<std::string_view> lines = Split(names_csv, '\n');
  if (lines.empty() || lines.front() != kWorldNamesHeader || !lines.back().empty()) return false;
  lines.pop_back();  // line k of the names is line k + 1 of the places, the headers being 0 and 1
  if (lines.size() != csv_line_count) return false;
  // Every line is judged before any town is changed: a misfit changes nothing, without a copy.
  std::vector<std::vector<std::string_view>> cells(towns.size());
  for (std::size_t k = 0; k < towns.size(); ++k) {
    const std::size_t line = places[k].line;
    if (line < 2 || line - 1 >= lines.size()) return false;
    cells[k] = Split(lines[line - 1], ',');
    if (cells[k].size() != 4 || ReadAreaCode(cells[k][1]).country.empty()) return false;
  }
  for (std::size_t k = 0; k < towns.size(); ++k) {
    const auto& cell = cells[k];
    const AreaCode code = ReadAreaCode(cell[1]);
    WorldTown& town = towns[k];
    town.population = std::strtoll(std::string(cell[0]).c_str(), nullptr, 10);
    town.code = code.country;
    town.division = code.division;
    town.capital = cell[2] == "1";
    if (!cell[3].empty()) {
      for (const std::string_view name : Split(cell[3], kOtherNamesSeparator)) {
        town.other_names.emplace_back(name);
      }
    }
  }
  return true;
}

}  // namespace

WorldList WorldList::Parse(std::string_view places_csv, std::string_view names_csv,
                           std::string_view zone_grid, std::string_view areas_csv) {
  WorldList list;
  list.grid_ = ZoneGrid::Parse(zone_grid);
  list.areas_ = WorldAreas::Parse(areas_csv);
  const CsvPlaces csv = ParsePlacesCsv(places_csv);
  list.towns_.reserve(csv.places.size());
  for (const CsvPlace& place : csv.places) {
    const PlaceRecord& record = place.record;
    const AngleReading latitude = ReadAngle(record.LatitudeText);
    const AngleReading longitude = ReadAngle(record.LongitudeText);
    WorldTown town;
    town.record = EncodeRecord(record);
    town.zone = place.zone;
    town.latitude = Latitude(latitude.is_clean() ? latitude.value : 0);
    town.longitude = longitude.is_clean() ? Longitude::FromWest(longitude.value) : Longitude(0);
    list.towns_.push_back(std::move(town));
  }
  const auto csv_line_count =
      static_cast<std::size_t>(std::count(places_csv.begin(), places_csv.end(), '\n') +
                               (places_csv.empty() || places_csv.back() == '\n' ? 0 : 1));
  list.named_ = ApplyNames(names_csv, csv_line_count, csv.places, list.towns_);
  for (std::size_t k = 0; k < list.towns_.size(); ++k) {
    const WorldTown& town = list.towns_[k];
    list.by_texts_.emplace(std::string(town.record.data(), kTextsWidth), k);
    if (!town.code.empty()) {
      const std::string_view country(town.record.data() + kCountryOffset, kCountryWidth);
      list.codes_.emplace(FinderFoldCp1252(country), town.code);
    }
  }
  return list;
}

WorldList WorldList::Load(const std::string& places_path) {
  const DataFileText places =
      ReadDataFile(places_path, "the world list of places", kWorldPlacesMaxBytes);
  const DataFileText names = ReadDataFile(WorldNamesPath(places_path),
                                          "the names file of the world list", kWorldNamesMaxBytes);
  const DataFileText areas = ReadDataFile(WorldAreasPath(places_path),
                                          "the areas file of the world list", kWorldAreasMaxBytes);
  WorldList list = Parse(places.text, names.text, {}, areas.text);
  ZoneGridReading zones = LoadZoneGrid(places_path);
  list.grid_ = std::move(zones.grid);
  for (const Problem& problem : {places.problem, names.problem, areas.problem, zones.problem}) {
    if (problem) list.problems_.push_back(*problem);
  }
  return list;
}

std::optional<std::size_t> WorldList::TownOf(std::string_view record_bytes) const {
  if (record_bytes.size() < kTextsWidth) return std::nullopt;
  const auto found = by_texts_.find(std::string(record_bytes.substr(0, kTextsWidth)));
  if (found == by_texts_.end()) return std::nullopt;
  return found->second;
}

std::string WorldList::CodeOf(std::string_view folded_country) const {
  const auto found = codes_.find(std::string(folded_country));
  return found == codes_.end() ? std::string() : found->second;
}

std::vector<std::string> WorldList::CountriesNamed(std::string_view folded) const {
  std::vector<std::string> codes;
  if (std::string code = CodeOf(folded); !code.empty()) codes.push_back(std::move(code));
  for (const AreaCode& area : areas_.Named(folded, true)) {
    if (area.division.empty()) codes.emplace_back(area.country);
  }
  return codes;
}

std::optional<std::size_t> WorldList::Nearest(Latitude latitude, Longitude longitude) const {
  std::optional<std::size_t> best;
  double best_cos = -2;
  const double lat = latitude.Degrees() * kRadiansPerDegree;
  const double lon = longitude.East() * kRadiansPerDegree;
  for (std::size_t k = 0; k < towns_.size(); ++k) {
    const WorldTown& t = towns_[k];
    const double tlat = t.latitude.Degrees() * kRadiansPerDegree;
    // The cosine of the arc between the two points: larger is nearer.
    const double c =
        std::sin(lat) * std::sin(tlat) +
        std::cos(lat) * std::cos(tlat) * std::cos(lon - t.longitude.East() * kRadiansPerDegree);
    if (c > best_cos) {
      best_cos = c;
      best = k;
    }
  }
  return best;
}

std::string WorldList::ZoneAt(std::string_view record_bytes, Latitude latitude,
                              Longitude longitude) const {
  if (const auto town = TownOf(record_bytes)) return towns_[*town].zone;
  if (grid_) {
    if (std::string zone = grid_->ZoneAt(latitude, longitude); !zone.empty()) return zone;
  }
  if (const auto near = Nearest(latitude, longitude)) return towns_[*near].zone;
  return {};
}

std::string WorldPlacesPath() {
  if (const char* chosen = std::getenv("ORVALIN_WORLD_PLACES"); chosen && *chosen) return chosen;
  std::error_code error;
  if (std::filesystem::exists(ORVALIN_WORLD_PLACES_INSTALLED, error)) {
    return ORVALIN_WORLD_PLACES_INSTALLED;
  }
  return ORVALIN_WORLD_PLACES_SOURCE;
}

std::string WorldNamesPath(const std::string& places_path) {
  return (std::filesystem::path(places_path).parent_path() / "world-names.csv").string();
}

std::string ZoneGridPath(const std::string& places_path) {
  return (std::filesystem::path(places_path).parent_path() / "zone-grid.txt").string();
}

std::string WorldAreasPath(const std::string& places_path) {
  return (std::filesystem::path(places_path).parent_path() / "world-areas.csv").string();
}

ZoneGridReading LoadZoneGrid(const std::string& places_path) {
  constexpr std::string_view kWhat = "the zone tree";
  const std::string path = ZoneGridPath(places_path);
  DataFileText file = ReadDataFile(path, kWhat, kZoneGridMaxBytes);
  if (!file.read) return {std::nullopt, std::move(file.problem)};
  ZoneGridReading reading = ZoneGrid::Read(file.text);
  if (reading.problem) reading.problem = std::string(kWhat) + " " + path + " " + *reading.problem;
  return reading;
}

const WorldList& WorldListSource::Get() {
  if (!list_) list_ = WorldList::Load(path_);
  return *list_;
}

}  // namespace orvalin
