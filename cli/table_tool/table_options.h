// orvalin-table's command line: its options, its help, and the days and the style it asks for.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "cli/args/command_line.h"
#include "cli/table/day_span.h"
#include "cli/table/table_format.h"

namespace orvalin {

inline constexpr std::string_view kTableProgram = "orvalin-table";

std::span<const OptionRule> TableOptions();
const std::string& TableHelp();

struct DaySpan {
  Day first, last;
};

// The days asked for; today when none are.
DaySpan ReadDays(const CommandLine& cl);
// How many days the span holds, both ends included.
int DayCount(const DaySpan& span);
std::string SpanText(const DaySpan& span);

TableStyle ReadStyle(const CommandLine& cl, std::size_t places);

}  // namespace orvalin
