// A latitude or longitude typed as degrees, minutes, seconds and a hemisphere letter.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "commands/window.h"

namespace orvalin {

struct AngleReading {
  bool has_value = false;             // false when a separator was missing
  double value = 0;                   // signed decimal degrees (North and West positive)
  std::vector<std::string> messages;  // the messages VerifAngle shows, in order
};

// The reading alone, without a window. Overflow of the degrees, minutes or seconds throws.
AngleReading ReadAngle(std::string_view text);

// Shows each message in an OK box and writes `value` when the three numbers were read. Never
// changes `text`.
void VerifAngle(Window& window, std::string_view text, double& value);

}  // namespace orvalin
