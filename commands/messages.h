// Every message the window shows, in every language it speaks.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace orvalin {

// In the order of the window's option buttons.
enum class Language { French, English };
inline constexpr std::size_t kLanguageCount = 2;

enum class Message {
  // Shown in the selected language.
  NoSunrise,
  NoSunset,
  ImpreciseAfterLastYear,
  ImpreciseBeforeFirstYear,
  PlaceNotFound,
  // One form whatever the language.
  DateFormatError,
  ConfirmNewPlace,
  EnterDataFirst,
  SearchPrompt,
  SearchTitle,
  NoDegrees,
  NoMinutes,
  NoSeconds,
  BadHemisphereLetter,
};

std::string_view MessageText(Message message, Language language);

}  // namespace orvalin
