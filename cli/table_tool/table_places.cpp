#include "cli/table_tool/table_places.h"

#include <algorithm>

#include "cli/args/tool_errors.h"
#include "cli/table/found_places.h"
#include "cli/table/place_input.h"
#include "cli/table_tool/table_options.h"
#include "placesfile/place_finder.h"
#include "placesfile/places_file.h"

namespace orvalin {
namespace {

// The command that lists every place `name` finds in the same file.
std::string FindCommand(const std::string& name, const std::optional<std::string>& file,
                        long long count) {
  std::string command = "orvalin-places find \"" + ShownQuery(name) + "\"";
  if (file) command += " --file \"" + MessageText(*file) + "\"";
  if (count > kFoundLines) command += " --limit " + std::to_string(count);
  return command;
}

// The record `name` finds best; a word on `err` when others were as good.
std::int64_t BestPlace(const PlaceFinder& finder, const PlaceChoice& choice,
                       const std::string& file, std::string_view bytes, const std::string& name,
                       std::ostream& err) {
  const std::vector<FoundPlace> found = finder.Find(name);
  if (found.empty()) {
    throw ToolFailure(NoPlaceFound(file, name, finder.NearestSpellings(name, kSpellings)));
  }
  const auto equal = std::count_if(found.begin(), found.end(), [&](const FoundPlace& p) {
    return PlaceFinder::Equally(p, found.front());
  });
  if (equal > 1) {
    const PlaceRecord record = RecordAt(bytes, found.front().record);
    err << kTableProgram << ": --place \"" << ShownQuery(name) << "\": " << equal
        << " places match as well; took " << PlaceLine(record, found.front().record) << "; "
        << FindCommand(name, choice.file, static_cast<long long>(found.size()))
        << " lists them all\n";
  }
  return found.front().record;
}

}  // namespace

std::vector<TablePlace> FindChosenPlaces(const PlaceChoice& choice, PlaceZones& zones,
                                         std::ostream& err) {
  if (choice.typed) {
    TablePlace typed = *choice.typed;
    typed.zone = zones.ZoneOf(typed);
    return {typed};
  }
  const std::string& file = choice.places_file;
  const std::string bytes = ReadPlacesBytes(file);
  const std::int64_t count = RecordsIn(bytes);
  std::vector<std::int64_t> numbers(choice.records.begin(), choice.records.end());
  if (!choice.names.empty()) {
    const PlaceFinder finder(bytes, zones.List());
    for (const std::string& name : choice.names) {
      numbers.push_back(BestPlace(finder, choice, file, bytes, name, err));
    }
  }
  if (choice.all) {
    for (std::int64_t n = 1; n <= count; ++n) numbers.push_back(n);
  } else if (numbers.empty()) {
    numbers.push_back(1);
  }
  std::vector<TablePlace> places;
  places.reserve(numbers.size());
  for (const std::int64_t n : numbers) {
    if (n > count) {
      throw ToolFailure(file + " holds " + std::to_string(count) + " records, not " +
                        std::to_string(n));
    }
    places.push_back(PlaceFromRecord(RecordAt(bytes, n), n));
    places.back().zone = zones.ZoneOf(places.back(), RecordBytesAt(bytes, n));
  }
  return places;
}

}  // namespace orvalin
