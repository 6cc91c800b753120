#include "commands/window.h"

namespace orvalin {

void Tell(Window& window, std::string_view text) {
  window.ShowMessage(MessageBox{.text = std::string(text)});
}

std::string_view TextOf(const Window& window, Message message) {
  return MessageText(message, window.SelectedLanguage());
}

void Tell(Window& window, Message message) { Tell(window, TextOf(window, message)); }

}  // namespace orvalin
