#include "commands/captions.h"

namespace orvalin {

void SetCaptions(Window& window, Language language) {
  for (const CaptionRow& row : kCaptions) {
    window.SetCaption(row.control, row.text[static_cast<std::size_t>(language)]);
  }
}

}  // namespace orvalin
