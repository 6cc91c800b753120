// Other names of the world list's countries and the names of their first-level divisions
// (data/world-areas.csv): what a text after a town's name may call its country or division.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvalin {

inline constexpr std::string_view kWorldAreasHeader = "code,names";

// A country by its ISO 3166-1 alpha-2 code, or one of its divisions by GeoNames' first-level
// code (`division` "TX" of "US").
struct AreaCode {
  std::string_view country, division;
  friend bool operator<(const AreaCode& a, const AreaCode& b) {
    return a.country != b.country ? a.country < b.country : a.division < b.division;
  }
};

// "US" or "US.TX"; an empty country for any other text.
AreaCode ReadAreaCode(std::string_view text);

class WorldAreas {
 public:
  // A text that is not an areas file, whole, gives no areas.
  static WorldAreas Parse(std::string_view csv);

  // The areas one of whose names, folded, begins with `folded` (a whole name with `exact`),
  // in code order; they refer to this list.
  std::vector<AreaCode> Named(std::string_view folded, bool exact = false) const;

 private:
  struct Area {
    std::string code;  // "US.TX"
    std::vector<std::string> folded;
  };
  std::vector<Area> areas_;  // in code order
};

}  // namespace orvalin
