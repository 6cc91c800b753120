// A calendar of the sun's events (RFC 5545): one event per sunrise and sunset, and per dawn,
// dusk, golden and blue hour edge when those are asked.
#pragma once

#include <chrono>
#include <ostream>
#include <string>

#include "cli/sun_table.h"

namespace orvalin {

class IcsWriter {
 public:
  // `stamp`: when the calendar is made (DTSTAMP).
  IcsWriter(std::ostream& out, std::chrono::sys_seconds stamp);
  void Row(const TablePlace& place, const SunRow& row);
  void End();

 private:
  void Event(const TablePlace& place, std::string_view kind, std::string_view title,
             const EventTime& e, const SunRow& row);
  void Line(const std::string& content);

  std::ostream& out_;
  std::string stamp_;
};

}  // namespace orvalin
