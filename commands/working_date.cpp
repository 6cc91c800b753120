#include "commands/working_date.h"

#include "common/text.h"
#include "engine/date_text.h"

namespace orvalin {

void SetTodayDate(Session& s) {
  s.WorkDate = FixedText(DateText(s.window.Today()), 10);
  s.window.SetFieldText(Field::Date, s.WorkDate);
}

bool IsPlaceLoaded(const Session& s) {
  const std::string city = s.window.FieldText(Field::City);
  return city != "Not defined" && !city.empty() && s.WorkPlace.LatitudeText.front() != '\0' &&
         s.WorkPlace.LongitudeText.front() != '\0';
}

}  // namespace orvalin
