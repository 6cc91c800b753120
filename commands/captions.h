// The eighteen captions that follow the language, and the start-up sequence.
#pragma once

#include <span>
#include <string_view>

#include "commands/window.h"
#include "commands/session.h"

namespace orvalin {

struct CaptionRow {
  std::string_view control, english, french;
};

// The eighteen controls whose caption follows the language, in the order English sets them.
std::span<const CaptionRow> CaptionTable();

void EnglishCaptions(Window& window);
void FrenchCaptions(Window& window);
void SetCaptions(Window& window, Language language);

// Runs once when the window has been created: captions, data directory, today's date, the
// default place and its results.
void StartUp(Session& s);

}  // namespace orvalin
