#include "commands/window.h"

namespace orvalin {

void Tell(Window& window, std::string_view text) {
  window.ShowMessage(MessageBox{.text = std::string(text)});
}

void Tell(Window& window, Message message) {
  Tell(window, MessageText(message, window.SelectedLanguage()));
}

}  // namespace orvalin
