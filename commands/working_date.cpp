#include "commands/working_date.h"

#include <cstdio>

#include "common/text.h"

namespace orvalin {

std::string DateText(std::chrono::year_month_day date) {
  char text[32];
  std::snprintf(text, sizeof text, "%02u-%02u-%04d", static_cast<unsigned>(date.day()),
                static_cast<unsigned>(date.month()), static_cast<int>(date.year()));
  return text;
}

void SetTodayDate(Session& s) {
  s.WorkDate = FixedText(DateText(s.window.Today()), 10);
  s.window.SetFieldText("Datejour", s.WorkDate);
}

bool IsPlaceLoaded(const Session& s) {
  const std::string city = s.window.FieldText("City");
  return city != "Not defined" && !city.empty() && s.WorkPlace.LatitudeText.front() != '\0' &&
         s.WorkPlace.LongitudeText.front() != '\0';
}

}  // namespace orvalin
