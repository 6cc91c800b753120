#include "commands/messages.h"

#include <cstddef>

namespace orvalin {
namespace {

struct MessageRow {
  Message message;
  std::array<std::string_view, kLanguageCount> text;  // by Language
};

// A message of one form repeats it in every column.
constexpr MessageRow kMessages[] = {
    {Message::NoSunrise, {"Pas de lever de soleil", "No sunrise"}},
    {Message::NoSunset, {"Pas de coucher de soleil", "No sunset"}},
    {Message::ImpreciseAfterLastYear,
     {"Calculs imprécis après l'an 2200", "Calculation not precise over year 2200"}},
    {Message::ImpreciseBeforeFirstYear,
     {"Calculs imprécis avant l'an 1800", "Calculation not precise under year 1800"}},
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
