#include "commands/messages.h"

#include <cstddef>

#include "engine/date_text.h"

namespace orvalin {
namespace {

// A text ending in a year, put together at compile time so that the catalogue holds the years
// the engine is precise in rather than copies of them.
class TextWithYear {
 public:
  constexpr TextWithYear(std::string_view text, int year) {
    for (const char c : text) chars_[size_++] = c;
    char digits[8] = {};
    std::size_t count = 0;
    for (; year > 0; year /= 10) digits[count++] = static_cast<char>('0' + year % 10);
    while (count > 0) chars_[size_++] = digits[--count];
  }
  constexpr std::string_view view() const { return {chars_.data(), size_}; }

 private:
  std::array<char, 64> chars_{};
  std::size_t size_ = 0;
};

constexpr TextWithYear kAfterLastYearFrench("Calculs imprécis après l'an ", kPreciseUntilYear);
constexpr TextWithYear kAfterLastYearEnglish("Calculation not precise over year ",
                                             kPreciseUntilYear);
constexpr TextWithYear kBeforeFirstYearFrench("Calculs imprécis avant l'an ", kPreciseFromYear);
constexpr TextWithYear kBeforeFirstYearEnglish("Calculation not precise under year ",
                                               kPreciseFromYear);

struct MessageRow {
  Message message;
  std::array<std::string_view, kLanguageCount> text;  // by Language
};

// A message of one form repeats it in every column.
constexpr MessageRow kMessages[] = {
    {Message::NoSunrise, {"Pas de lever de soleil", "No sunrise"}},
    {Message::NoSunset, {"Pas de coucher de soleil", "No sunset"}},
    {Message::ImpreciseAfterLastYear, {kAfterLastYearFrench.view(), kAfterLastYearEnglish.view()}},
    {Message::ImpreciseBeforeFirstYear,
     {kBeforeFirstYearFrench.view(), kBeforeFirstYearEnglish.view()}},
    {Message::PlaceNotFound, {"Lieu inconnu", "Place not found"}},
    {Message::DateFormatError, {"error date format dd-mm-yyyy", "error date format dd-mm-yyyy"}},
    {Message::ConfirmNewPlace,
     {"Do you realy want to register these data ?", "Do you realy want to register these data ?"}},
    {Message::EnterDataFirst,
     {"Enter data then save before calculate", "Enter data then save before calculate"}},
    {Message::SearchPrompt, {"Enter Place name", "Enter Place name"}},
    {Message::SearchTitle, {"Search", "Search"}},
    {Message::NoDegrees,
     {"Erreur Insdeg = 0 module VerifAngl. Wrong angle",
      "Erreur Insdeg = 0 module VerifAngl. Wrong angle"}},
    {Message::NoMinutes,
     {"Erreur Insmin = 0 module VerifAngl. Wrong angle",
      "Erreur Insmin = 0 module VerifAngl. Wrong angle"}},
    {Message::NoSeconds,
     {"Erreur Inssec = 0 module VerifAngle. Wrong Angle",
      "Erreur Inssec = 0 module VerifAngle. Wrong Angle"}},
    {Message::BadHemisphereLetter,
     {"Erreur signe module VerifAngle. Wrong Angle",
      "Erreur signe module VerifAngle. Wrong Angle"}},
};

}  // namespace

std::string_view MessageText(Message message, Language language) {
  for (const MessageRow& row : kMessages) {
    if (row.message == message) return row.text[static_cast<std::size_t>(language)];
  }
  return {};
}

}  // namespace orvalin
