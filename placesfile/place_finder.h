// Finding the place a person means by the name they use: names folded (placesfile/finder_fold.h),
// the world list's other names, the best match first.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "placesfile/world_list.h"

namespace orvalin {

// How well a place matches, best first.
enum class Match { ExactName, ExactOtherName, NameStart, OtherNameStart };

struct FoundPlace {
  std::int64_t record = 0;  // from 1
  Match match = Match::ExactName;
  std::string other_name;  // the other name that matched, UTF-8
  bool own_place = false;  // not a town of the world list
  std::optional<std::size_t> town;
};

class PlaceFinder {
 public:
  // `file` is the places file's bytes; the world list must outlive the finder.
  PlaceFinder(std::string_view file, const WorldList& world);

  // The places `typed` names, best first: an exact name before a name's start, a place's own
  // name before another; then the user's own places, the larger population, capitals, file
  // order. A country's name is an exact name of its capital when the capital's name begins
  // with it ("Mexico"). "Name, Area" keeps the places of the countries and divisions that Area
  // names: the start of one of their names, or their code ("AT", "TX").
  std::vector<FoundPlace> Find(std::string_view typed) const;
  // Whether two places found by one look-up are as good as each other but for their size.
  static bool Equally(const FoundPlace& a, const FoundPlace& b);
  // Up to `count` names, own or other, nearest in spelling to `typed`: fewest edits first, then
  // own names before other names, then the larger town.
  std::vector<std::string> NearestSpellings(std::string_view typed, std::size_t count) const;

 private:
  struct Name {
    std::string folded;
    std::int64_t record;
    int other;  // index into the town's other names, -1 for the record's own name
  };
  struct Place {
    std::optional<std::size_t> town;
    std::string folded_country, code, division;
  };
  class AreaFilter;
  void Rank(std::vector<FoundPlace>& found) const;
  std::string Display(const Name& name) const;

  std::string_view file_;
  const WorldList& world_;
  std::vector<Place> places_;  // by record - 1
  std::vector<Name> names_;    // own names in file order, then other names
};

// The window's second search, where the first-prefix rule found nothing: the first record in
// file order whose folded name begins with the folded text, else the first whose town has such
// an other name. An empty folded text finds nothing. `record_at` gives the bytes of record n,
// from 1 to `count`.
std::optional<std::int64_t> FirstFoldedMatch(
    std::string_view typed, std::int64_t count,
    const std::function<std::string_view(std::int64_t)>& record_at, const WorldList& world);

}  // namespace orvalin
