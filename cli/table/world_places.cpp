#include "cli/table/world_places.h"

#include <QDateTime>
#include <QTimeZone>

#include "cli/args/tool_errors.h"

namespace orvalin {
namespace {

std::string Named(const TablePlace& place) {
  return place.name.empty() ? "the place at " + place.latitude_text + ", " + place.longitude_text
                            : "\"" + place.name + "\"";
}

}  // namespace

const WorldList& PlaceZones::List() {
  const WorldList& list = source_.Get();
  if (!warned_) {
    warned_ = true;
    for (const std::string& problem : list.Problems()) {
      warnings_ << program_ << ": warning: " << problem << '\n';
    }
  }
  return list;
}

std::string PlaceZones::ZoneOf(const TablePlace& place, std::string_view record_bytes) {
  return List().ZoneAt(record_bytes, place.latitude, place.longitude_east);
}

Clock PlaceZones::ClockOf(const TablePlace& place) {
  if (place.zone.empty()) {
    throw ToolFailure("--tz place: no zone for " + Named(place) + ": the world list of places " +
                      path_ + " cannot be read");
  }
  auto found = clocks_.find(place.zone);
  if (found == clocks_.end()) {
    const auto clock = Clock::Zone(place.zone);
    if (!clock) {
      throw ToolFailure("--tz place: " + Named(place) + " lies in the zone \"" + place.zone +
                        "\", which this system does not know");
    }
    found = clocks_.emplace(place.zone, *clock).first;
  }
  return found->second;
}

std::optional<int> StandardOffsetMinutes(const std::string& zone) {
  const QTimeZone tz(QByteArray::fromStdString(zone));
  if (!tz.isValid()) return std::nullopt;
  return tz.standardTimeOffset(QDateTime::currentDateTimeUtc()) / 60;
}

}  // namespace orvalin
