// orvalin-table: the sun's events of a place over many days, as text, CSV, JSON and a chart.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace orvalin {

// Runs the command line (without the program name) and gives the exit status: 0 done,
// 1 failure, 2 bad usage. Errors go to `err` as one line each. Drawing a chart needs a
// QGuiApplication; one is made for the run when none exists.
int RunTable(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace orvalin
