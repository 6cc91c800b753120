// Finding a place by the start of its name.
#pragma once

#include <string>

#include "commands/session.h"

namespace orvalin {

// Small letters a to z become capitals; every other character stays as it is.
void FoldCase(std::string& text);

void Search(Session& s);  // button SearchName

}  // namespace orvalin
