#include "cli/table/moon_phase_list.h"

#include "cli/table/moon_day.h"
#include "cli/table/sun_events.h"
#include "common/text.h"

namespace orvalin {
namespace {

constexpr double kHoursPerDay = 24;
// "2027-01-22T13:17:10+01:00": the date, the time of day.
constexpr std::size_t kDateLength = 10, kTimeAt = 11, kTimeLength = 8;

}  // namespace

std::vector<PhaseOnClock> PhasesWithin(Day first, Day last, const Clock& clock) {
  const auto start = clock.DayInUt(first), end = clock.DayInUt(last);
  const double days =
      static_cast<double>((std::chrono::sys_days{last} - std::chrono::sys_days{first}).count());
  const HourSpan span{start ? start->from : 0,
                      days * kHoursPerDay + (end ? end->to : kHoursPerDay)};
  std::vector<PhaseOnClock> found;
  MoonTables moon;  // as the rows find them, to the same bit
  for (const PhaseMoment& p : moon.phases.Principal(CivilDateOf(first), span)) {
    found.push_back({p.phase, LocalIso(clock, InstantOf(first, p.hours))});
  }
  return found;
}

void WritePhases(const std::vector<PhaseOnClock>& phases, const Clock& clock, TableFormat format,
                 std::ostream& out) {
  switch (format) {
    case TableFormat::Csv:
      out << "phase,time\n";
      for (const PhaseOnClock& p : phases) out << PhaseText(p.phase) << ',' << p.time << '\n';
      return;
    case TableFormat::Json: {
      out << "{\n  \"clock\": " << JsonString(clock.Name()) << ",\n  \"phases\": [";
      const char* separator = "\n";
      for (const PhaseOnClock& p : phases) {
        out << separator << R"(    {"phase": ")" << PhaseText(p.phase) << R"(", "time": ")"
            << p.time << R"("})";
        separator = ",\n";
      }
      out << "\n  ]\n}\n";
      return;
    }
    default:
      out << "Phases of the moon. Times in " << clock.Description() << ".\n\n";
      for (const PhaseOnClock& p : phases) {
        out << p.time.substr(0, kDateLength) << "  " << p.time.substr(kTimeAt, kTimeLength) << "  "
            << PhaseText(p.phase) << '\n';
      }
  }
}

}  // namespace orvalin
