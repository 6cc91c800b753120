// The state that lives as long as the window, under the names the program's routines use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "commands/window.h"
#include "engine/sun_day.h"
#include "placesfile/place_record.h"
#include "placesfile/places_file.h"
#include "placesfile/world_list.h"

namespace orvalin {

struct Session {
  explicit Session(Window& w) : window(w) {}

  Window& window;
  std::string DataDirectory;       // current directory at start-up followed by "/"
  PlaceRecord WorkPlace;           // the working place record
  PlaceRecord ChosenPlace;         // the place being made the default
  std::int32_t CurrentRecord = 0;  // record shown in the place fields; 0 for none
  std::string WorkDate;            // "dd-mm-yyyy", 10 characters
  SunDay LastDay;                  // the last day the sun was computed for
  // The place of the last calculation that read its angles.
  struct CalculatedPlace {
    Latitude latitude;
    Longitude longitude;
  };
  std::optional<CalculatedPlace> Calculated;
  double HorizonAltitude = 0;  // -0.61 once set
  PlacesFile File;             // the one places file slot
  PlacesFile::Handover Held;   // the file and its lock, between two steps of one command
  // What the file held at record SeenRecord when the window last read, wrote or moved to it:
  // Update Place writes only over those bytes.
  std::int32_t SeenRecord = 0;
  std::string SeenBytes;
  WorldListSource World;  // the other names a search that missed looks through
};

}  // namespace orvalin
