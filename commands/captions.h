// The eighteen captions that follow the language.
#pragma once

#include <array>
#include <stdexcept>
#include <string_view>

#include "commands/messages.h"
#include "commands/window.h"

namespace orvalin {

struct CaptionRow {
  std::string_view control;
  std::array<std::string_view, kLanguageCount> text;  // by Language
};

inline constexpr std::array<CaptionRow, 18> kCaptions{{
    {"RunName", {"Calcul avec nouvelle date", "Calculate with new date"}},
    {"PreviousDay", {"Jr. précédent", "Previous day"}},
    {"Today", {"Aujourd'hui", "Today's date"}},
    {"NextDay", {"Jour suivant", "Next day"}},
    {"Label2", {"Lieu", "Place"}},
    {"Label5", {"Pays", "Country"}},
    {"Label12", {"Lever", "SunRise"}},
    {"Label9", {"No de l'enregistr.", "Record number"}},
    {"Label16", {"Coucher", "SunSet"}},
    {"Label18", {"Durée", "Duration"}},
    {"Frame2", {"Résultats", "Results"}},
    {"Frame3", {"Base de données des lieux", "Database of places"}},
    {"PreviousData", {"Lieu précédent", "Previous place"}},
    {"NextData", {"Lieu suivant", "Next Place"}},
    {"SaveModif", {"Mise à jour", "Update Place"}},
    {"Newdata", {"Sauve le nx. lieu", "Save new place"}},
    {"DefaultData", {"Défini comme lieu par défaut", "Define as default place"}},
    {"SearchName", {"Cherche un lieu", "Search place"}},
}};

// The window starts in English.
inline constexpr Language kFirstLanguage = Language::English;

// The first caption of a control of the table. Not a constant expression for a control outside
// it.
constexpr std::string_view FirstCaption(std::string_view control) {
  for (const CaptionRow& row : kCaptions) {
    if (row.control == control) return row.text[static_cast<std::size_t>(kFirstLanguage)];
  }
  throw std::invalid_argument("no caption follows the language on this control");
}

void SetCaptions(Window& window, Language language);

}  // namespace orvalin
