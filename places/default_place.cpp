#include "places/default_place.h"

namespace orvalin {
void DefaultData(Session&) {}
void Bubblesort(Session&) {}
}  // namespace orvalin
