// Finding a place by the start of its name.
#pragma once

#include <string>

#include "commands/session.h"

namespace orvalin {

void Search(Session& s);  // button SearchName

}  // namespace orvalin
