#include "cli/places/places_find.h"

#include "cli/args/tool_errors.h"
#include "cli/table/found_places.h"
#include "cli/table/place_input.h"

namespace orvalin {

int FindPlaces(const FindRequest& request, std::ostream& out, std::ostream& err) {
  const std::string bytes = ReadPlacesBytes(request.file);
  PlaceZones zones("orvalin-places", err);
  const PlaceFinder finder(bytes, zones.List());
  if (const std::string unsearched = UnsearchedWorld(request.file, zones); !unsearched.empty()) {
    err << "orvalin-places: " << unsearched << '\n';
  }
  std::vector<FoundPlace> found = finder.Find(request.text);
  if (found.empty()) {
    err << "orvalin-places: "
        << MessageText(NoPlaceFound(request.file, request.text,
                                    finder.NearestSpellings(request.text, kSpellings)))
        << '\n';
    return kExitFailure;
  }
  if (found.size() > request.limit) found.resize(request.limit);
  WriteFoundPlaces(out, request.format, bytes, found, zones);
  return kExitOk;
}

}  // namespace orvalin
