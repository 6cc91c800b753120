#include "commands/verif_angle.h"

#include "common/read_number.h"

namespace orvalin {
namespace {

constexpr std::string_view kNoDegrees = "Erreur Insdeg = 0 module VerifAngl. Wrong angle";
constexpr std::string_view kNoMinutes = "Erreur Insmin = 0 module VerifAngl. Wrong angle";
constexpr std::string_view kNoSeconds = "Erreur Inssec = 0 module VerifAngle. Wrong Angle";
constexpr std::string_view kBadLetter = "Erreur signe module VerifAngle. Wrong Angle";

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

// Fills `messages` from the first separator that was missing (0, 1 or 2) to the letter message.
void Refuse(AngleReading& reading, int first_missing) {
  const std::string_view missing[] = {kNoDegrees, kNoMinutes, kNoSeconds};
  for (int k = first_missing; k < 3; ++k) reading.messages.emplace_back(missing[k]);
  reading.messages.emplace_back(kBadLetter);
}

}  // namespace

AngleReading ReadAngle(std::string_view text) {
  AngleReading reading;
  std::size_t p1 = text.find(' ');
  if (p1 == npos) return Refuse(reading, 0), reading;
  const double degrees = RoundToInt16(ReadNumber(text.substr(0, p1)));

  const std::size_t p2 = NextSeparator(text, p1);
  if (p2 == npos) return Refuse(reading, 1), reading;
  const double minutes = RoundToInt16(ReadNumber(text.substr(p1 + 1, p2 - p1 - 1)));

  std::size_t from = p2;
  std::size_t p3 = NextSeparator(text, from);
  if (p3 == npos) return Refuse(reading, 2), reading;
  const double seconds = ReadNumber(text.substr(from + 1, p3 - from - 1));

  reading.has_value = true;
  reading.value = degrees + minutes / 60 + seconds / 3600;

  while (p3 + 1 < text.size() && text[p3 + 1] == ' ') ++p3;
  const char letter = p3 + 1 < text.size() ? text[p3 + 1] : '\0';
  if (letter == 'E' || letter == 'S') {
    reading.value = -reading.value;
  } else if (letter != 'W' && letter != 'N' && letter != 'O') {
    reading.messages.emplace_back(kBadLetter);
  }
  return reading;
}

void VerifAngle(Window& window, std::string_view text, double& value) {
  const AngleReading reading = ReadAngle(text);
  if (reading.has_value) value = reading.value;
  for (const auto& message : reading.messages) Tell(window, message);
}

}  // namespace orvalin
