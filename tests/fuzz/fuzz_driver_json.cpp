// Any line is either an action or an error with a text; a text written by the driver's own JSON
// writer reads back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <variant>

#include "ui/driver/action.h"
#include "ui/driver/json_line.h"
#include "common/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  const auto read = orvalin::ReadAction(line);
  if (const auto* error = std::get_if<std::string>(&read); error != nullptr && error->empty()) {
    std::abort();
  }
  // The bytes as UTF-8 text (invalid sequences replaced), typed into a field and read back.
  const std::string text = orvalin::Utf8(orvalin::CodePoints(line));
  const std::string set = orvalin::JsonLine().Text("set", "City").Text("text", text).str();
  const auto typed = orvalin::ReadAction(set);
  const auto* action = std::get_if<orvalin::Action>(&typed);
  if (action == nullptr || action->kind != orvalin::Action::Kind::Set || action->text != text) {
    std::abort();
  }
  return 0;
}
