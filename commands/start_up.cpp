#include "commands/start_up.h"

#include <filesystem>
#include <system_error>

#include "commands/calculate_day.h"
#include "commands/captions.h"
#include "commands/date_commands.h"
#include "commands/working_date.h"

namespace orvalin {

void StartUp(Session& s) {
  SetCaptions(s.window, s.window.SelectedLanguage());
  std::error_code error;
  s.DataDirectory = std::filesystem::current_path(error).string() + "/";
  SetTodayDate(s);
  CalculateWithNewDate(s);
  CalculateDay(s);
}

}  // namespace orvalin
