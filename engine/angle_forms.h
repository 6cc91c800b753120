// Latitudes and longitudes as people type them outside the window: signed decimal degrees (north
// and east positive, as maps and GPS receivers give them), a hemisphere letter after the degrees,
// degrees, minutes and seconds marked with ° ' ", and the window's own "46 12 0 N".
#pragma once

#include <string>
#include <string_view>

#include "common/problem.h"

namespace orvalin {

enum class Axis { Latitude, Longitude };

inline constexpr double kLatitudeLimit = 90;
inline constexpr double kLongitudeLimit = 180;

// An angle as read, with the hemisphere letter it was read with.
struct LetteredAngle {
  double value;  // degrees, North and West positive, as the window reads them
  char letter;
};

// Why the letter or the size does not suit the axis, if it does not. The window reads "E" on a
// latitude as south, hence the letter rule.
Problem AxisProblem(Axis axis, LetteredAngle angle);

struct TypedAngle {
  bool readable = false;    // a value was read, though `problem` may still name a misfit
  double value = 0;         // degrees, North and West positive, as the window reads them
  std::string window_text;  // the window's text: as typed in its own form (a small letter made
                            // capital), else whole seconds, "46 12 0 N"
  Problem problem;          // why not, to follow the quoted text, if not all is well
};

// The window's own form by the window's own rules, as a stored record is read.
TypedAngle ReadWindowAngle(std::string_view text, Axis axis);

// Any of the accepted forms; a small hemisphere letter is taken as a capital.
TypedAngle ReadTypedAngle(std::string_view text, Axis axis);

// The accepted forms, for a message: "accepted forms: 46.2 or -33.87 (north positive), ...".
std::string AcceptedAngleForms(Axis axis);

}  // namespace orvalin
