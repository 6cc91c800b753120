// Angle entry never changes its text, shows at most four messages ending with the letter message,
// and gives a finite value; only Overflow may escape it.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "commands/angle_entry.h"
#include "common/failure.h"
#include "common/text.h"
#include "tests/support/memory_window.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string typed(reinterpret_cast<const char*>(data), size);
  for (const std::string& text : {typed, orvalin::FixedText(typed, 15)}) {
    const std::string before = text;
    orvalin::MemoryWindow window;
    orvalin::Latitude value(0);
    try {
      orvalin::ReadAngleEntry(window, text, value);
    } catch (const orvalin::Failure& f) {
      if (f.fault() != orvalin::Fault::Overflow) std::abort();
      continue;
    }
    if (text != before || !std::isfinite(value.Degrees())) std::abort();
    const auto messages = window.MessageTexts();
    if (messages.size() > 4) std::abort();
    if (!messages.empty() && messages.back() != "Erreur signe module VerifAngle. Wrong Angle") {
      std::abort();
    }
  }
  return 0;
}
