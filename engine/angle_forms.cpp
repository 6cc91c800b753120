#include "engine/angle_forms.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <span>

#include "common/failure.h"
#include "engine/angle_text.h"

namespace orvalin {
namespace {

constexpr double kMinutesPerDegree = 60;
constexpr double kSecondsPerMinute = 60;
constexpr long long kSecondsPerDegree = 3600;

// A hemisphere letter typed small, as its capital; any other character as it is.
char HemisphereCapital(char c) {
  const char capital = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  return kHemisphereLetters.find(capital) != std::string_view::npos ? capital : c;
}

// The marks after degrees, minutes and seconds, the typographic primes included. Two apostrophes
// stand for a double quote, as on keyboards without one.
constexpr std::string_view kDegreeMarks[] = {"°", "º"};
constexpr std::string_view kMinuteMarks[] = {"'", "′", "’"};
constexpr std::string_view kSecondMarks[] = {"\"", "''", "″", "”"};

// Reads a typed angle left to right, blanks between the parts allowed.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : rest_(text) { SkipBlanks(); }
  bool AtEnd() const { return rest_.empty(); }

  bool Take(std::string_view token) {
    if (!rest_.starts_with(token)) return false;
    rest_.remove_prefix(token.size());
    SkipBlanks();
    return true;
  }
  bool TakeAny(std::span<const std::string_view> tokens) {
    return std::any_of(tokens.begin(), tokens.end(), [&](std::string_view t) { return Take(t); });
  }

  // Digits with at most one "." among them; `whole` when there is no ".".
  std::optional<double> Number(bool& whole) {
    const std::size_t end = rest_.find_first_not_of("0123456789.");
    const std::string_view digits = rest_.substr(0, end);
    if (digits.find_first_of("0123456789") == std::string_view::npos) return std::nullopt;
    double value = 0;
    const auto [stop, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                            std::chars_format::fixed);
    if (ec != std::errc() || stop != digits.data() + digits.size()) return std::nullopt;
    whole = digits.find('.') == std::string_view::npos;
    rest_.remove_prefix(digits.size());
    SkipBlanks();
    return value;
  }

  char Letter() {
    if (rest_.empty()) return 0;
    const char letter = HemisphereCapital(rest_.front());
    if (kHemisphereLetters.find(letter) == std::string_view::npos) return 0;
    rest_.remove_prefix(1);
    SkipBlanks();
    return letter;
  }

 private:
  void SkipBlanks() { rest_.remove_prefix(std::min(rest_.find_first_not_of(" \t"), rest_.size())); }
  std::string_view rest_;
};

// An angle in one of the forms beside the window's: [sign] degrees [° [minutes ' [seconds "]]]
// [letter]. `matched` is false when the text is in none of them.
struct MarkedAngle {
  bool matched = false;
  int sign = 0;  // -1, +1, or 0 when none was typed
  double magnitude = 0;
  char letter = 0;  // capital, 0 when none was typed
  Problem problem;
};

MarkedAngle ReadMarked(std::string_view text) {
  MarkedAngle m;
  Cursor at(text);
  m.sign = at.Take("-") ? -1 : at.Take("+") ? 1 : 0;
  bool whole_degrees = false, whole_minutes = false, seconds_whole = false;
  const std::optional<double> degrees = at.Number(whole_degrees);
  if (!degrees) return m;
  std::optional<double> minutes, seconds;
  if (at.TakeAny(kDegreeMarks) && (minutes = at.Number(whole_minutes))) {
    if (!at.TakeAny(kMinuteMarks)) return m;
    if ((seconds = at.Number(seconds_whole)) && !at.TakeAny(kSecondMarks)) return m;
  }
  m.letter = at.Letter();
  if (!at.AtEnd()) return m;
  m.matched = true;
  if ((minutes && !whole_degrees) || (seconds && !whole_minutes)) {
    m.problem = "has a decimal part before its last number";
  } else if (minutes.value_or(0) >= kMinutesPerDegree || seconds.value_or(0) >= kSecondsPerMinute) {
    m.problem = "has 60 minutes or seconds, or more";
  } else if (m.sign != 0 && m.letter != 0) {
    m.problem = "has both a sign and a hemisphere letter";
  }
  m.magnitude = *degrees + minutes.value_or(0) / kMinutesPerDegree +
                seconds.value_or(0) / (kMinutesPerDegree * kSecondsPerMinute);
  return m;
}

// "46 12 0 N": whole degrees, minutes and seconds, the window's form for a place typed otherwise.
std::string WholeSecondsText(LetteredAngle angle) {
  const long long seconds =
      std::llround(std::fabs(angle.value) * static_cast<double>(kSecondsPerDegree));
  const auto per_minute = static_cast<long long>(kSecondsPerMinute);
  return std::to_string(seconds / kSecondsPerDegree) + ' ' +
         std::to_string(seconds / per_minute % per_minute) + ' ' +
         std::to_string(seconds % per_minute) + ' ' + angle.letter;
}

TypedAngle FromMarked(const MarkedAngle& m, Axis axis) {
  TypedAngle angle;
  angle.problem = m.problem;
  if (angle.problem) return angle;
  const bool latitude = axis == Axis::Latitude;
  const char letter = m.letter != 0 ? m.letter
                      : m.sign < 0  ? (latitude ? 'S' : 'W')
                                    : (latitude ? 'N' : 'E');
  const LetteredAngle read{IsNegativeLetter(letter) ? -m.magnitude : m.magnitude, letter};
  angle.readable = true;
  angle.value = read.value;
  angle.problem = AxisProblem(axis, read);
  if (!angle.problem) angle.window_text = WholeSecondsText(read);
  return angle;
}

// What the window's reading lacked, for a line that says what to type.
std::string_view WhatIsMissing(AngleGap gap) {
  switch (gap) {
    case AngleGap::Degrees:
      return "no blank between its parts";
    case AngleGap::Minutes:
      return "the minutes and seconds are missing";
    case AngleGap::Seconds:
      return "the seconds are missing";
    case AngleGap::None:
      break;
  }
  return "no capital N, S, E, W or O after the seconds";
}

}  // namespace

Problem AxisProblem(Axis axis, LetteredAngle angle) {
  const bool latitude = axis == Axis::Latitude;
  const std::string_view suits = latitude ? kLatitudeLetters : kLongitudeLetters;
  if (suits.find(angle.letter) == std::string_view::npos) {
    return std::string("ends in ") + angle.letter + ", which does not suit a " +
           (latitude ? "latitude (N or S)" : "longitude (E, W or O)");
  }
  const double limit = latitude ? kLatitudeLimit : kLongitudeLimit;
  if (std::abs(angle.value) > limit) {
    return "lies beyond " + std::to_string(static_cast<int>(limit)) + " degrees";
  }
  return {};
}

TypedAngle ReadWindowAngle(std::string_view text, Axis axis) {
  TypedAngle angle;
  AngleReading reading;
  try {
    // A blank after the text, as in a stored field, so that a missing letter reads as such.
    reading = ReadAngle(std::string(text) + ' ');
  } catch (const Failure& f) {
    angle.problem = "has a number out of range (" + std::string(f.what()) + ")";
    return angle;
  }
  if (!reading.is_clean()) {
    angle.problem = "cannot be read: " + std::string(WhatIsMissing(reading.gap));
    return angle;
  }
  angle.readable = true;
  angle.value = reading.value;
  angle.window_text = std::string(text.substr(0, text.find_last_not_of(' ') + 1));
  angle.problem = AxisProblem(axis, {reading.value, reading.letter});
  return angle;
}

TypedAngle ReadTypedAngle(std::string_view text, Axis axis) {
  const MarkedAngle marked = ReadMarked(text);
  if (marked.matched) return FromMarked(marked, axis);
  std::string capital(text.substr(0, text.find_last_not_of(' ') + 1));
  if (!capital.empty()) capital.back() = HemisphereCapital(capital.back());
  return ReadWindowAngle(capital, axis);
}

std::string AcceptedAngleForms(Axis axis) {
  return axis == Axis::Latitude
             ? "accepted forms: 46.2 or -33.87 (north positive), 46.2N, 46°12'N, 46°12'0\"N or "
               "\"46 12 0 N\""
             : "accepted forms: 6.15 or -74.01 (east positive), 6.15E, 6°9'E, 6°9'0\"E or "
               "\"6 9 0 E\"";
}

}  // namespace orvalin
