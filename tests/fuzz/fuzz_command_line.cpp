// The tools' command lines: words (separated by NUL bytes) are refused as bad usage or read so
// that every option keeps the values given to it, in order, a flag none, and no option given
// twice unless it may be repeated, and read without words by the window's programs; a record
// number is read from 1 to 2147483647 or refused.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/args/command_line.h"
#include "cli/args/tool_errors.h"

namespace {

constexpr orvalin::OptionRule kRules[] = {
    {"--file", true},
    {"--record", true, true},
    {"--place", true, true},
    {"--all", false},
    {"--format", true},
    {"--help", false, false, "-h"},
    {"--version", false, false, "-V"},
};

std::vector<std::string> Words(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> words(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      words.emplace_back();
    } else {
      words.back() += static_cast<char>(data[i]);
    }
  }
  return words;
}

void CheckRead(const std::vector<std::string>& words) {
  const orvalin::CommandLine cl(words, kRules);
  std::size_t taken = cl.Positionals().size();
  for (const orvalin::OptionRule& rule : kRules) {
    const std::vector<std::string> values = cl.Values(rule.name);
    taken += values.size();
    if (cl.Has(rule.name) == values.empty() || (!rule.repeatable && values.size() > 1) ||
        (!values.empty() && cl.Value(rule.name) != values.front())) {
      std::abort();
    }
    for (const std::string& v : values) {
      if (!rule.takes_value && !v.empty()) std::abort();
    }
  }
  if (taken > words.size()) std::abort();
}

// The window's programs take options only.
void CheckOptionsOnly(const std::vector<std::string>& words) {
  orvalin::ArgumentReader reader(words, kRules, {.words = false, .joined_values = false});
  while (const auto argument = reader.Next()) {
    if (argument->rule == nullptr) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> words = Words(data, size);
  try {
    CheckRead(words);
  } catch (const orvalin::BadUsage&) {
  }
  try {
    CheckOptionsOnly(words);
  } catch (const orvalin::BadUsage&) {
  }
  try {
    const long long n = orvalin::PositiveNumber("--record", words.front());
    if (n < 1 || n > 2147483647 ||
        words.front().find_first_not_of("0123456789") != std::string::npos) {
      std::abort();
    }
  } catch (const orvalin::BadUsage&) {
  }
  return 0;
}
