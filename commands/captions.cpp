#include "commands/captions.h"

#include <array>
#include <filesystem>
#include <string_view>

#include "commands/calculate_day.h"
#include "commands/date_commands.h"
#include "commands/working_date.h"

namespace orvalin {
namespace {

// French captions are set in another order, by index into kCaptions.
constexpr std::array<int, 18> kFrenchOrder{0, 1, 2, 4, 3, 8, 6, 5, 7, 9, 10, 11, 12, 13, 14, 15, 16, 17};

}  // namespace

std::span<const CaptionRow> CaptionTable() { return kCaptions; }

void EnglishCaptions(Window& window) {
  for (const auto& row : kCaptions) window.SetCaption(row.control, row.english);
}

void FrenchCaptions(Window& window) {
  for (int k : kFrenchOrder) window.SetCaption(kCaptions[k].control, kCaptions[k].french);
}

void SetCaptions(Window& window, Language language) {
  switch (language) {
    case Language::French: return FrenchCaptions(window);
    case Language::English: return EnglishCaptions(window);
  }
}

void StartUp(Session& s) {
  SetCaptions(s.window, s.window.SelectedLanguage());
  std::error_code error;
  s.DataDirectory = std::filesystem::current_path(error).string() + "/";
  SetTodayDate(s);
  RunName(s);
  CalculateDay(s);
}

}  // namespace orvalin
