// The world list of towns (data/world-places.csv) with what the place finder knows of each row
// (data/world-names.csv, line for line): population, country and division codes, capital, other
// names; and of their countries and divisions (data/world-areas.csv).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/coordinates.h"
#include "placesfile/place_record.h"
#include "placesfile/world_areas.h"
#include "placesfile/zone_grid.h"

namespace orvalin {

inline constexpr std::string_view kWorldNamesHeader = "population,code,capital,other_names";
inline constexpr char kOtherNamesSeparator = '|';

struct WorldTown {
  RecordBytes record{};                     // as the sample places file holds the town
  std::string zone;                         // IANA
  Latitude latitude{0};
  Longitude longitude{0};
  std::int64_t population = 0;
  std::string code;      // ISO 3166-1 alpha-2, "" without the names file
  std::string division;  // GeoNames' first-level division code ("TX"), "" when none
  bool capital = false;
  std::vector<std::string> other_names;  // UTF-8
};

class WorldList {
 public:
  // A names text that is missing, malformed or not line for line with the places is left out:
  // the towns are then found by their own names only. Rows that cannot be read are left out.
  static WorldList Parse(std::string_view places_csv, std::string_view names_csv,
                         std::string_view zone_grid = {}, std::string_view areas_csv = {});
  // Reads the four files; an empty list when the places cannot be read.
  static WorldList Load(const std::string& places_path);

  // Why a file was refused or left out (a device, an oversized file, a damaged zone tree), each
  // naming it.
  const std::vector<std::string>& Problems() const { return problems_; }

  const std::vector<WorldTown>& Towns() const { return towns_; }
  // Whether the towns have their other names, populations and codes.
  bool Named() const { return named_; }
  const WorldAreas& Areas() const { return areas_; }
  // The town a record of a places file is, by its name, country and angle texts.
  std::optional<std::size_t> TownOf(std::string_view record_bytes) const;
  // The ISO code of a country as the list names it, "" when unknown.
  std::string CodeOf(std::string_view folded_country) const;
  // The ISO codes of the countries that `folded` names whole, by the list's name or another.
  std::vector<std::string> CountriesNamed(std::string_view folded) const;
  // The nearest town, nullopt for an empty list.
  std::optional<std::size_t> Nearest(Latitude latitude, Longitude longitude) const;
  // The zone of a place: that of the town a record is (its bytes, none for typed coordinates),
  // else the zone the grid draws there, else that of the nearest town; "" when none of them
  // can tell.
  std::string ZoneAt(std::string_view record_bytes, Latitude latitude, Longitude longitude) const;

 private:
  std::vector<WorldTown> towns_;
  std::unordered_map<std::string, std::size_t> by_texts_;
  std::unordered_map<std::string, std::string> codes_;  // folded country name -> code
  std::optional<ZoneGrid> grid_;
  std::vector<std::string> problems_;
  WorldAreas areas_;
  bool named_ = false;
};

// Where the list is read from: $ORVALIN_WORLD_PLACES, else the installed copy, else the one of
// the source tree the program was built from. The names, zones and areas files lie beside it.
std::string WorldPlacesPath();
std::string WorldNamesPath(const std::string& places_path);
std::string ZoneGridPath(const std::string& places_path);
std::string WorldAreasPath(const std::string& places_path);

// The zone tree beside a world list, or why it cannot serve; neither when there is no such file.
ZoneGridReading LoadZoneGrid(const std::string& places_path);

// The list read once, when first asked for.
class WorldListSource {
 public:
  explicit WorldListSource(std::string path = WorldPlacesPath()) : path_(std::move(path)) {}
  const WorldList& Get();

 private:
  std::string path_;
  std::optional<WorldList> list_;
};

}  // namespace orvalin
