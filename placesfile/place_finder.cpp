#include "placesfile/place_finder.h"

#include <algorithm>
#include <unordered_map>

#include "common/text.h"
#include "placesfile/finder_fold.h"

namespace orvalin {
namespace {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// The text as a code, its letters in capitals ("d.c." -> "DC"); "" unless it holds only letters,
// dots and blanks.
std::string CodeForm(std::string_view text) {
  std::string code;
  for (const char c : text) {
    if (c >= 'a' && c <= 'z') {
      code += static_cast<char>(c - 'a' + 'A');
    } else if (c >= 'A' && c <= 'Z') {
      code += c;
    } else if (c != '.' && c != ' ') {
      return {};
    }
  }
  return code;
}

// A country's code has two letters; GeoNames' one-letter division codes are no words people use.
constexpr std::size_t kShortestCode = 2;

// The population a found place ranks by; the user's own places have none.
std::int64_t Population(const FoundPlace& p, const WorldList& world) {
  return p.town ? world.Towns()[*p.town].population : 0;
}
bool Capital(const FoundPlace& p, const WorldList& world) {
  return p.town && world.Towns()[*p.town].capital;
}

}  // namespace

PlaceFinder::PlaceFinder(std::string_view file, const WorldList& world)
    : file_(file), world_(world) {
  const std::int64_t count = RecordsIn(file);
  places_.reserve(static_cast<std::size_t>(count));
  names_.reserve(static_cast<std::size_t>(count));
  for (std::int64_t n = 1; n <= count; ++n) {
    const std::string_view bytes = RecordBytesAt(file, n);
    Place place;
    place.town = world.TownOf(bytes);
    // A partial last record may end before its country.
    place.folded_country = FinderFoldCp1252(
        bytes.size() > kCountryOffset ? bytes.substr(kCountryOffset, kCountryWidth) : "");
    place.code = place.town ? world.Towns()[*place.town].code : world.CodeOf(place.folded_country);
    if (place.town) place.division = world.Towns()[*place.town].division;
    names_.push_back({FinderFoldCp1252(bytes.substr(0, kNameWidth)), n, -1});
    places_.push_back(std::move(place));
  }
  for (std::int64_t n = 1; n <= count; ++n) {
    const auto& town = places_[static_cast<std::size_t>(n - 1)].town;
    if (!town) continue;
    const auto& others = world.Towns()[*town].other_names;
    for (std::size_t k = 0; k < others.size(); ++k) {
      names_.push_back({FinderFoldUtf8(others[k]), n, static_cast<int>(k)});
    }
  }
}

// What the text after a comma keeps: the places of the countries and divisions it names.
class PlaceFinder::AreaFilter {
 public:
  AreaFilter(std::string_view typed, const WorldList& world)
      : folded_(FinderFoldUtf8(typed)),
        code_(CodeForm(typed)),
        named_(world.Areas().Named(folded_)) {}

  bool Keeps(const Place& place) const {
    if (folded_.empty() || StartsWith(place.folded_country, folded_)) return true;
    if (code_.size() >= kShortestCode && (code_ == place.code || code_ == place.division)) {
      return true;
    }
    const auto named = [&](AreaCode area) {
      return std::binary_search(named_.begin(), named_.end(), area);
    };
    return named({place.code, {}}) ||
           (!place.division.empty() && named({place.code, place.division}));
  }

 private:
  std::string folded_, code_;
  std::vector<AreaCode> named_;  // in order
};

std::vector<FoundPlace> PlaceFinder::Find(std::string_view typed) const {
  std::string_view name_part = typed;
  std::string_view country_part;
  if (const auto comma = typed.rfind(','); comma != std::string_view::npos) {
    name_part = typed.substr(0, comma);
    country_part = Trimmed(typed.substr(comma + 1));
  }
  const std::string wanted = FinderFoldUtf8(name_part);
  if (wanted.empty()) return {};
  const AreaFilter area(country_part, world_);
  const std::vector<std::string> countries = world_.CountriesNamed(wanted);
  const auto capital_named = [&](const Place& place) {
    return place.town && world_.Towns()[*place.town].capital &&
           std::find(countries.begin(), countries.end(), place.code) != countries.end();
  };
  std::unordered_map<std::int64_t, FoundPlace> best;
  for (const Name& name : names_) {
    if (!StartsWith(name.folded, wanted)) continue;
    const Place& place = places_[static_cast<std::size_t>(name.record - 1)];
    if (!area.Keeps(place)) continue;
    const bool exact = name.folded.size() == wanted.size();
    const bool capital = capital_named(place);
    const bool other = name.other >= 0 && !capital;
    const Match match = capital ? Match::ExactName
                        : exact ? (other ? Match::ExactOtherName : Match::ExactName)
                                : (other ? Match::OtherNameStart : Match::NameStart);
    auto [it, added] = best.try_emplace(name.record);
    FoundPlace& found = it->second;
    if (!added && found.match <= match) continue;
    found = {name.record, match, other ? world_.Towns()[*place.town].other_names[name.other] : "",
             !place.town, place.town};
  }
  std::vector<FoundPlace> found;
  found.reserve(best.size());
  for (auto& [record, place] : best) found.push_back(std::move(place));
  Rank(found);
  return found;
}

void PlaceFinder::Rank(std::vector<FoundPlace>& found) const {
  std::sort(found.begin(), found.end(), [&](const FoundPlace& a, const FoundPlace& b) {
    if (a.match != b.match) return a.match < b.match;
    if (a.own_place != b.own_place) return a.own_place;
    const auto pa = Population(a, world_), pb = Population(b, world_);
    if (pa != pb) return pa > pb;
    const bool ca = Capital(a, world_), cb = Capital(b, world_);
    if (ca != cb) return ca;
    return a.record < b.record;
  });
}

bool PlaceFinder::Equally(const FoundPlace& a, const FoundPlace& b) {
  return a.match == b.match && a.own_place == b.own_place;
}

std::string PlaceFinder::Display(const Name& name) const {
  const Place& place = places_[static_cast<std::size_t>(name.record - 1)];
  if (name.other >= 0) return world_.Towns()[*place.town].other_names[name.other];
  const std::string_view bytes = RecordBytesAt(file_, name.record).substr(0, kNameWidth);
  return std::string(Trimmed(DecodeCp1252(bytes)));
}

std::vector<std::string> PlaceFinder::NearestSpellings(std::string_view typed,
                                                       std::size_t count) const {
  const std::string wanted = FinderFoldUtf8(typed);
  if (wanted.empty() || count == 0) return {};
  const std::size_t limit = std::max<std::size_t>(2, wanted.size() / 3);
  struct Near {
    std::size_t distance;
    const Name* name;
  };
  std::vector<Near> near;
  for (const Name& name : names_) {
    // A longer name is judged by its start too, one edit further: "Reykjaw" is near "Reykjavik".
    const std::size_t d =
        std::min(EditDistance(wanted, name.folded, limit),
                 EditDistance(wanted, name.folded.substr(0, wanted.size()), limit) + 1);
    if (d <= limit) near.push_back({d, &name});
  }
  const auto population = [&](const Name& name) -> std::int64_t {
    const auto& town = places_[static_cast<std::size_t>(name.record - 1)].town;
    return town ? world_.Towns()[*town].population : 0;
  };
  std::stable_sort(near.begin(), near.end(), [&](const Near& a, const Near& b) {
    if (a.distance != b.distance) return a.distance < b.distance;
    if ((a.name->other < 0) != (b.name->other < 0)) return a.name->other < 0;
    return population(*a.name) > population(*b.name);
  });
  std::vector<std::string> spellings;
  for (const Near& n : near) {
    std::string shown = Display(*n.name);
    if (std::find(spellings.begin(), spellings.end(), shown) != spellings.end()) continue;
    spellings.push_back(std::move(shown));
    if (spellings.size() == count) break;
  }
  return spellings;
}

std::optional<std::int64_t> FirstFoldedMatch(
    std::string_view typed, std::int64_t count,
    const std::function<std::string_view(std::int64_t)>& record_at, const WorldList& world) {
  const std::string wanted = FinderFoldUtf8(typed);
  if (wanted.empty()) return std::nullopt;
  for (std::int64_t n = 1; n <= count; ++n) {
    if (StartsWith(FinderFoldCp1252(record_at(n).substr(0, kNameWidth)), wanted)) return n;
  }
  for (std::int64_t n = 1; n <= count; ++n) {
    const auto town = world.TownOf(record_at(n));
    if (!town) continue;
    for (const std::string& other : world.Towns()[*town].other_names) {
      if (StartsWith(FinderFoldUtf8(other), wanted)) return n;
    }
  }
  return std::nullopt;
}

}  // namespace orvalin
