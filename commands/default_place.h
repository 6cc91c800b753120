// Making the current place the default (record 1) and sorting the others by name.
#pragma once

#include "commands/session.h"

namespace orvalin {

void DefaultData(Session& s);
void Bubblesort(Session& s);

}  // namespace orvalin
