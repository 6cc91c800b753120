// orvalin-table's command line: its options, its help, and the span of days it asks for.
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

// How many days the span holds, both ends included.
int DayCount(const DaySpan& span);
std::string SpanText(const DaySpan& span);

}  // namespace orvalin
