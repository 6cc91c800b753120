// A date that NextDay accepts comes back to its own normal form with PreviousDay, and the other
// way round; anything refused stays as typed.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "commands/date_commands.h"
#include "session_harness.h"

namespace {

void CheckRoundTrip(const std::string& typed, void (*forward)(orvalin::Session&),
                    void (*back)(orvalin::Session&)) {
  DateHarness h;
  h.window.SetFieldText(orvalin::Field::Date, typed);
  forward(h.session);
  if (h.Refused()) {
    if (h.window.FieldText(orvalin::Field::Date) != typed) std::abort();
    return;
  }
  const std::string stepped = h.window.FieldText(orvalin::Field::Date);
  DateHarness normal;
  normal.window.SetFieldText(orvalin::Field::Date, typed);
  orvalin::CalculateWithNewDate(normal.session);
  h.window.ClearEvents();
  back(h.session);
  if (h.Refused() || h.window.FieldText(orvalin::Field::Date) != normal.window.FieldText(orvalin::Field::Date) ||
      stepped == h.window.FieldText(orvalin::Field::Date)) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string typed(reinterpret_cast<const char*>(data), size);
  CheckRoundTrip(typed, orvalin::NextDay, orvalin::PreviousDay);
  CheckRoundTrip(typed, orvalin::PreviousDay, orvalin::NextDay);
  return 0;
}
