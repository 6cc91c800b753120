// The working date is the text of Datejour, "dd-mm-yyyy".
#pragma once

#include <chrono>
#include <string>

#include "commands/session.h"

namespace orvalin {

// WorkDate and Datejour become today's date.
void SetTodayDate(Session& s);

// A usable place is in the window: City neither empty nor "Not defined", and WorkPlace's angle
// texts assigned.
bool IsPlaceLoaded(const Session& s);

}  // namespace orvalin
