#include "places/search.h"

namespace orvalin {
void FoldCase(std::string&) {}
void Search(Session&) {}
}  // namespace orvalin
