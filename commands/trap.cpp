#include "commands/trap.h"

#include "commands/place_steps.h"

namespace orvalin {

void ReportTrapped(Session& s, std::string_view label, int step, const Failure& failure,
                   const TrapWay& way) {
  ClosePlacesFile(s);
  if (way.first && way.first(failure)) return;
  if (way.beeps) s.window.Beep();
  Tell(s.window, ReportText(failure.what(), step, label));
}

}  // namespace orvalin
