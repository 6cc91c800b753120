// The four commands of the date frame.
#pragma once

#include "commands/session.h"

namespace orvalin {

void Today(Session& s);
void NextDay(Session& s);
void PreviousDay(Session& s);
// Button RunName, "Calculate with new date": checks Datejour, rewrites it in normal form and
// calculates; without a usable place it loads the default place instead. Also a step of other
// commands.
void CalculateWithNewDate(Session& s);
// The same as a step of a command with a trap: a day, month or year too large for 16 bits is then
// a failure for that trap to report, where CalculateWithNewDate refuses it as malformed.
void CalculateWithNewDateOrFail(Session& s);

}  // namespace orvalin
