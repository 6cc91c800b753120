// Angle entry: an angle text read with the window's messages.
#pragma once

#include <string_view>

#include "commands/window.h"
#include "engine/coordinates.h"

namespace orvalin {

// Shows each message of the reading in an OK box and writes `value` when the three numbers were
// read. Never changes `text`. Overflow of a number throws.
void ReadAngleEntry(Window& window, std::string_view text, Latitude& value);
void ReadAngleEntry(Window& window, std::string_view text, Longitude& value);

}  // namespace orvalin
