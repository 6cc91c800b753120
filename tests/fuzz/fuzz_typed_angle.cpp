// The tools' typed angles: a text is refused with its reason, or read to a value within its
// axis's limit whose window text the window's own rules read back to the same text and to the
// same value within half a second of arc (typed forms are stored in whole seconds).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cli/args/tool_errors.h"
#include "cli/table/place_input.h"
#include "engine/angle_forms.h"

namespace {

constexpr double kHalfSecond = 0.5 / 3600 + 1e-9;

void CheckAxis(const std::string& text, orvalin::Axis axis) {
  const orvalin::TypedAngle angle = orvalin::ReadTypedAngle(text, axis);
  if (angle.problem) return;
  const double limit =
      axis == orvalin::Axis::Latitude ? orvalin::kLatitudeLimit : orvalin::kLongitudeLimit;
  if (!angle.readable || !std::isfinite(angle.value) || std::fabs(angle.value) > limit) {
    std::abort();
  }
  const orvalin::TypedAngle stored = orvalin::ReadWindowAngle(angle.window_text, axis);
  if (stored.problem || stored.window_text != angle.window_text ||
      std::fabs(stored.value - angle.value) > kHalfSecond) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckAxis(text, orvalin::Axis::Latitude);
  CheckAxis(text, orvalin::Axis::Longitude);
  try {
    const orvalin::TablePlace place = orvalin::PlaceFromTyped(text, text);
    if (place.latitude != orvalin::ReadTypedAngle(text, orvalin::Axis::Latitude).value) {
      std::abort();
    }
  } catch (const orvalin::BadUsage& refused) {
    if (std::string(refused.what()).rfind("--lat \"", 0) != 0 &&
        std::string(refused.what()).rfind("--lon \"", 0) != 0) {
      std::abort();
    }
  }
  return 0;
}
