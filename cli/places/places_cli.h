// orvalin-places: list, export, import and check the places file from the command line.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace orvalin {

// Runs the command line (without the program name) and gives the exit status: 0 done,
// 1 failure (or problems found by check), 2 bad usage. Errors go to `err`.
int RunPlaces(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace orvalin
