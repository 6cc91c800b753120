#include "places/browse.h"

namespace orvalin {
void PreviousRecord(Session&) {}
void NextRecord(Session&) {}
void AddRecord(Session&) {}
void SaveModif(Session&) {}
}  // namespace orvalin
