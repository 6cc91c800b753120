// The answer of every check of outside input.
#pragma once

#include <optional>
#include <string>

namespace orvalin {

// Nothing when all is well, else why not, in words that follow what was checked: "is longer than
// 20 characters".
using Problem = std::optional<std::string>;

}  // namespace orvalin
