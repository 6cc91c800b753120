// The eighteen captions that follow the language, and the start-up sequence.
#pragma once

#include "common/window.h"
#include "places/session.h"

namespace orvalin {

void EnglishCaptions(Window& window);
void FrenchCaptions(Window& window);

// Runs once when the window has been created: captions, data directory, today's date, the
// default place and its results.
void StartUp(Session& s);

}  // namespace orvalin
