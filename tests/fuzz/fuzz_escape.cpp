// The escape reader: any text reads without fault; an escaped text holds no control character
// and reads back to the characters it escaped; a name exported to CSV never begins as a formula.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/escaped_text.h"
#include "common/text.h"
#include "placesfile/place_record.h"
#include "placesfile/places_csv.h"

namespace {

bool HasControl(const std::string& text) {
  for (const char32_t c : orvalin::CodePoints(text)) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  (void)orvalin::UnescapeControls(text);
  // The text as characters: a byte that begins no character reads as U+FFFD.
  std::string characters;
  for (const char32_t c : orvalin::CodePoints(text)) orvalin::AppendUtf8(characters, c);
  const std::string escaped = orvalin::EscapeControls(text);
  if (HasControl(escaped) || orvalin::UnescapeControls(escaped) != characters) std::abort();

  orvalin::PlaceRecord record;
  record.PlaceName = orvalin::FixedText(orvalin::DecodeCp1252(text), orvalin::kNameWidth);
  if (orvalin::StartsLikeFormula(orvalin::PlacesCsvLine(record))) std::abort();
  return 0;
}
