// A typed date is either refused, left as typed, or rewritten in its normal form, which is then
// accepted unchanged (but for a year below -32000, whose sign the normal form drops).
#include <cstdint>
#include <cstdlib>
#include <regex>
#include <string>

#include "commands/date_commands.h"
#include "session_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string typed(reinterpret_cast<const char*>(data), size);
  DateHarness h;
  h.window.SetFieldText(orvalin::Field::Date, typed);
  orvalin::CalculateWithNewDate(h.session);
  const std::string shown = h.window.FieldText(orvalin::Field::Date);
  if (h.Refused()) {
    if (shown != typed) std::abort();
    return 0;
  }
  static const std::regex normal_form(R"(\d{2}-\d{2}-\d{2,5})");
  if (!std::regex_match(shown, normal_form)) std::abort();
  // The year is written without its sign, so a year typed below -32000 comes back as one that
  // is too large to be typed: only then may the normal form be refused.
  const bool unsigned_too_large = std::stol(shown.substr(shown.rfind('-') + 1)) > 32000;
  DateHarness again;
  again.window.SetFieldText(orvalin::Field::Date, shown);
  orvalin::CalculateWithNewDate(again.session);
  if (again.Refused() ? !unsigned_too_large : again.window.FieldText(orvalin::Field::Date) != shown) {
    std::abort();
  }
  return 0;
}
