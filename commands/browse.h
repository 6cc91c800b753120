// Stepping through the places file, adding a place and updating the current one.
#pragma once

#include "commands/session.h"

namespace orvalin {

void PreviousRecord(Session& s);  // button PreviousData
void NextRecord(Session& s);      // button NextData
void AddRecord(Session& s);       // button Newdata
void UpdatePlace(Session& s);     // button SaveModif

}  // namespace orvalin
