// Making the current place the default (record 1) and sorting the others by name.
#pragma once

#include "commands/session.h"

namespace orvalin {

void DefaultData(Session& s);
// Keeps its historical name: it leaves records 2 to N, and WorkPlace, as the in-place bubble sort
// did, but works the order out from the names and writes the file once (see bubble_order.h).
void Bubblesort(Session& s);

}  // namespace orvalin
