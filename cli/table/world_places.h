// The places of the tools with their time zones, from the world list (placesfile/world_list.h).
#pragma once

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/table/sun_table.h"
#include "placesfile/world_list.h"

namespace orvalin {

// The world list read once for a run of a tool, and the zone of any place from it.
class PlaceZones {
 public:
  // What keeps the list from serving (a refused file, a damaged zone tree) is said once on
  // `warnings`, "PROGRAM: warning: ...", when the list is first read.
  PlaceZones(std::string_view program, std::ostream& warnings,
             const std::string& path = WorldPlacesPath())
      : source_(path), path_(path), program_(program), warnings_(warnings) {}
  const WorldList& List();
  const std::string& Path() const { return path_; }
  // The zone of a record (its bytes; none for typed coordinates) at the place's coordinates:
  // the world town's that it is, else the zone found there. "" when the list cannot be read.
  std::string ZoneOf(const TablePlace& place, std::string_view record_bytes = {});
  // The clock of place.zone. ToolFailure, naming the place and what was tried, when it has none
  // or the system does not know it.
  Clock ClockOf(const TablePlace& place);

 private:
  WorldListSource source_;
  std::string path_;
  std::string program_;
  std::ostream& warnings_;
  bool warned_ = false;
  std::map<std::string, Clock> clocks_;  // reading a zone is far dearer than copying it
};

// The zone's offset from GMT in minutes, without daylight saving; nullopt for an unknown zone.
std::optional<int> StandardOffsetMinutes(const std::string& zone);

}  // namespace orvalin
