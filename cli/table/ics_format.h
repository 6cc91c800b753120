// A calendar of the sun's events (RFC 5545): sunrises and sunsets, and dawns and dusks when asked,
// as instants; twilights, golden and blue hours, when asked, as spans.
#pragma once

#include <chrono>
#include <optional>
#include <ostream>
#include <string>

#include "cli/table/sun_events.h"
#include "cli/table/sun_table.h"

namespace orvalin {

class IcsWriter {
 public:
  // `stamp`: when the calendar is made (DTSTAMP); `settings`: the altitudes the rows were
  // computed for.
  IcsWriter(std::ostream& out, std::chrono::sys_seconds stamp, const SunSettings& settings,
            bool many_places);
  // The place's rows follow on `clock`; both must outlive them.
  void BeginPlace(const TablePlace& place, const Clock& clock);
  void Row(const SunRow& row);
  void End();

 private:
  struct Event {
    std::string uid_kind, title;
    Instant start;
    std::optional<Instant> end;
  };
  void Name(const TablePlace& place, const Clock& clock);
  void Instants(const SunRow& row, std::string_view kind, std::string_view title,
                const EventTime& e);
  void Spans(const SunRow& row, std::string_view kind, std::string_view noun,
             const AltitudeBand& band, const EventTime& morning, const EventTime& evening);
  void Write(const SunRow& row, int ordinal, const Event& event);
  void Line(const std::string& content);

  std::ostream& out_;
  std::string stamp_;
  SunSettings settings_;
  bool many_places_;
  bool named_ = false;
  const TablePlace* place_ = nullptr;
  const Clock* clock_ = nullptr;
};

}  // namespace orvalin
