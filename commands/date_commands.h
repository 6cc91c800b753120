// The four commands of the date frame.
#pragma once

#include "commands/session.h"

namespace orvalin {

void Today(Session& s);
void NextDay(Session& s);
void PreviousDay(Session& s);
// "Calculate with new date": checks Datejour, rewrites it in normal form and calculates; without
// a usable place it loads the default place instead. Also run as a step by other commands.
void RunName(Session& s);
// The same routine as a step of a command with a trap: a day, month or year too large for 16 bits
// is then a failure for that trap to report, where RunName refuses it like any malformed date.
void RunNameTrapped(Session& s);

}  // namespace orvalin
