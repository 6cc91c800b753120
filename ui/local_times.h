// The place's own clock beside the window's universal times, on demand: the date field and the
// three time fields carry a tooltip and an accessible description with the local time, its date
// and the offset, from the zone drawn at the place's coordinates. No text or layout changes.
#pragma once

#include <QLineEdit>
#include <functional>
#include <optional>
#include <string>

#include "commands/session.h"
#include "placesfile/zone_grid.h"

namespace orvalin {

class LocalTimes {
 public:
  // `field`: the window's field of a name.
  void Update(const Session& s, const std::function<QLineEdit*(orvalin::Field)>& field);

 private:
  std::string ZoneAt(const Session::CalculatedPlace& place);

  bool loaded_ = false;
  std::optional<ZoneGrid> grid_;
};

}  // namespace orvalin
