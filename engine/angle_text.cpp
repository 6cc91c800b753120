#include "engine/angle_text.h"

#include "common/read_number.h"

namespace orvalin {
namespace {

constexpr auto npos = std::string_view::npos;

// The blank that ends the next part, skipping a run of blanks that starts right after `from`:
// on return `from` is the last blank of that run. npos when no blank is left.
std::size_t NextSeparator(std::string_view text, std::size_t& from) {
  std::size_t next = text.find(' ', from + 1);
  while (next != npos && next == from + 1) {
    from = next;
    next = text.find(' ', from + 1);
  }
  return next;
}

AngleReading Gap(AngleGap gap) {
  AngleReading reading;
  reading.gap = gap;
  return reading;
}

}  // namespace

AngleReading ReadAngle(std::string_view text) {
  std::size_t p1 = text.find(' ');
  if (p1 == npos) return Gap(AngleGap::Degrees);
  const double degrees = RoundToInt16(ReadNumber(text.substr(0, p1)));

  const std::size_t p2 = NextSeparator(text, p1);
  if (p2 == npos) return Gap(AngleGap::Minutes);
  const double minutes = RoundToInt16(ReadNumber(text.substr(p1 + 1, p2 - p1 - 1)));

  std::size_t from = p2;
  std::size_t p3 = NextSeparator(text, from);
  if (p3 == npos) return Gap(AngleGap::Seconds);
  const double seconds = ReadNumber(text.substr(from + 1, p3 - from - 1));

  AngleReading reading;
  reading.value = degrees + minutes / 60 + seconds / 3600;
  while (p3 + 1 < text.size() && text[p3 + 1] == ' ') ++p3;
  reading.letter = p3 + 1 < text.size() ? text[p3 + 1] : '\0';
  if (IsNegativeLetter(reading.letter)) reading.value = -reading.value;
  reading.letter_known = reading.letter != '\0' && kHemisphereLetters.find(reading.letter) != npos;
  return reading;
}

}  // namespace orvalin
