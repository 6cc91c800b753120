// The eighteen captions that follow the language, and the start-up sequence.
#pragma once

#include <array>
#include <span>
#include <stdexcept>
#include <string_view>

#include "commands/window.h"
#include "commands/session.h"

namespace orvalin {

struct CaptionRow {
  std::string_view control, english, french;
};

// The eighteen controls whose caption follows the language; English captions are set in this
// order.
inline constexpr std::array<CaptionRow, 18> kCaptions{{
    {"RunName", "Calculate with new date", "Calcul avec nouvelle date"},
    {"PreviousDay", "Previous day", "Jr. précédent"},
    {"Today", "Today's date", "Aujourd'hui"},
    {"NextDay", "Next day", "Jour suivant"},
    {"Label2", "Place", "Lieu"},
    {"Label5", "Country", "Pays"},
    {"Label12", "SunRise", "Lever"},
    {"Label9", "Record number", "No de l'enregistr."},
    {"Label16", "SunSet", "Coucher"},
    {"Label18", "Duration", "Durée"},
    {"Frame2", "Results", "Résultats"},
    {"Frame3", "Database of places", "Base de données des lieux"},
    {"PreviousData", "Previous place", "Lieu précédent"},
    {"NextData", "Next Place", "Lieu suivant"},
    {"SaveModif", "Update Place", "Mise à jour"},
    {"Newdata", "Save new place", "Sauve le nx. lieu"},
    {"DefaultData", "Define as default place", "Défini comme lieu par défaut"},
    {"SearchName", "Search place", "Cherche un lieu"},
}};

std::span<const CaptionRow> CaptionTable();

// The English caption of a control of the table: the window's first. Not a constant expression
// for a control outside it.
constexpr std::string_view EnglishCaption(std::string_view control) {
  for (const CaptionRow& row : kCaptions) {
    if (row.control == control) return row.english;
  }
  throw std::invalid_argument("no caption follows the language on this control");
}

void EnglishCaptions(Window& window);
void FrenchCaptions(Window& window);
void SetCaptions(Window& window, Language language);

// Runs once when the window has been created: captions, data directory, today's date, the
// default place and its results.
void StartUp(Session& s);

}  // namespace orvalin
