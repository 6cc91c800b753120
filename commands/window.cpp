#include "commands/window.h"

namespace orvalin {

void Tell(Window& window, std::string_view text) {
  window.ShowMessage(MessageBox{.text = std::string(text)});
}

void TellInLanguage(Window& window, std::string_view french, std::string_view english) {
  // Two separate tests, French first: exactly one box since the options exclude each other.
  if (window.IsOptionOn("Option1")) Tell(window, french);
  if (window.IsOptionOn("Option2")) Tell(window, english);
}

}  // namespace orvalin
