// The finder's folding of any text, typed or stored, gives small letters, digits and other
// letters as valid UTF-8 and nothing else; a look-up over any file's bytes never fails.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/text.h"
#include "placesfile/finder_fold.h"
#include "placesfile/place_finder.h"

namespace {

void CheckFolded(const std::string& folded) {
  for (const char c : folded) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80 && !((b >= 'a' && b <= 'z') || (b >= '0' && b <= '9'))) std::abort();
  }
  if (orvalin::Utf8(orvalin::CodePoints(folded)) != folded) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckFolded(orvalin::FinderFoldUtf8(text));
  CheckFolded(orvalin::FinderFoldCp1252(text));
  // The same bytes as a places file, looked up by their own start.
  static const orvalin::WorldList kNoWorld;
  const orvalin::PlaceFinder finder(text, kNoWorld);
  const std::string typed = text.substr(0, size % 24);
  for (const auto& found : finder.Find(typed)) {
    if (found.record < 1 || found.record > orvalin::RecordsIn(text)) std::abort();
  }
  (void)finder.NearestSpellings(typed, 3);
  return 0;
}
