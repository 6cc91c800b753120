#include "placesfile/world_areas.h"

#include <algorithm>

#include "placesfile/finder_fold.h"

namespace orvalin {
namespace {

constexpr std::size_t kCountryCodeSize = 2;   // ISO 3166-1 alpha-2
constexpr std::size_t kDivisionCodeMax = 20;  // GeoNames' longest are geoname ids, 8 digits
constexpr char kDivisionMark = '.';
constexpr char kNamesSeparator = '|';

bool UpperOrDigit(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

}  // namespace

AreaCode ReadAreaCode(std::string_view text) {
  const std::string_view country = text.substr(0, kCountryCodeSize);
  if (country.size() != kCountryCodeSize ||
      !std::all_of(country.begin(), country.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
    return {};
  }
  if (text.size() == kCountryCodeSize) return {country, {}};
  const std::string_view division = text.substr(kCountryCodeSize + 1);
  if (text[kCountryCodeSize] != kDivisionMark || division.empty() ||
      division.size() > kDivisionCodeMax ||
      !std::all_of(division.begin(), division.end(), UpperOrDigit)) {
    return {};
  }
  return {country, division};
}

WorldAreas WorldAreas::Parse(std::string_view csv) {
  WorldAreas areas;
  if (csv.substr(0, kWorldAreasHeader.size() + 1) != std::string(kWorldAreasHeader) + "\n") {
    return {};
  }
  csv.remove_prefix(kWorldAreasHeader.size() + 1);
  while (!csv.empty()) {
    const std::size_t end = csv.find('\n');
    if (end == std::string_view::npos) return {};
    const std::string_view line = csv.substr(0, end);
    csv.remove_prefix(end + 1);
    const std::size_t comma = line.find(',');
    const std::string_view code = line.substr(0, comma);
    if (comma == std::string_view::npos || ReadAreaCode(code).country.empty() ||
        (!areas.areas_.empty() && areas.areas_.back().code >= code)) {
      return {};
    }
    Area area{std::string(code), {}};
    for (std::string_view names = line.substr(comma + 1);;) {
      const std::size_t bar = names.find(kNamesSeparator);
      if (std::string folded = FinderFoldUtf8(names.substr(0, bar)); !folded.empty()) {
        area.folded.push_back(std::move(folded));
      }
      if (bar == std::string_view::npos) break;
      names.remove_prefix(bar + 1);
    }
    areas.areas_.push_back(std::move(area));
  }
  return areas;
}

std::vector<AreaCode> WorldAreas::Named(std::string_view folded, bool exact) const {
  std::vector<AreaCode> named;
  if (folded.empty()) return named;
  for (const Area& area : areas_) {
    const bool any = std::any_of(area.folded.begin(), area.folded.end(), [&](const auto& name) {
      return exact ? name == folded : name.starts_with(folded);
    });
    if (any) named.push_back(ReadAreaCode(area.code));
  }
  return named;
}

}  // namespace orvalin
