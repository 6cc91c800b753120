#include "cli/command_line.h"

#include <algorithm>
#include <charconv>

#include "cli/tool_errors.h"

namespace orvalin {

CommandLine::CommandLine(const std::vector<std::string>& args, std::span<const OptionRule> rules) {
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      positionals_.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    const auto equals = arg.find('=');
    const std::string typed = arg.substr(0, equals);
    const auto rule = std::find_if(rules.begin(), rules.end(), [&](const OptionRule& s) {
      return s.name == typed || (!s.short_name.empty() && s.short_name == typed);
    });
    if (rule == rules.end()) throw BadUsage("unknown option " + typed + " (see --help)");
    const std::string name(rule->name);
    if (!rule->repeatable && Has(name)) throw BadUsage(name + " is given twice");
    std::string value;
    if (rule->value_after_equals) {
      if (equals != std::string::npos) value = arg.substr(equals + 1);
    } else if (rule->takes_value) {
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        throw BadUsage(name + " needs a value");
      }
    } else if (equals != std::string::npos) {
      throw BadUsage(name + " takes no value");
    }
    given_.emplace_back(name, std::move(value));
  }
}

bool CommandLine::Has(std::string_view name) const {
  return std::any_of(given_.begin(), given_.end(), [&](const auto& g) { return g.first == name; });
}

std::optional<std::string> CommandLine::Value(std::string_view name) const {
  for (const auto& [n, v] : given_) {
    if (n == name) return v;
  }
  return std::nullopt;
}

std::vector<std::string> CommandLine::Values(std::string_view name) const {
  std::vector<std::string> values;
  for (const auto& [n, v] : given_) {
    if (n == name) values.push_back(v);
  }
  return values;
}

long long PositiveNumber(std::string_view option, std::string_view text) {
  long long n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || n < 1 ||
      n > 2147483647) {
    throw BadUsage(std::string(option) + " \"" + std::string(text) +
                   "\" is not a whole number from 1 up");
  }
  return n;
}

}  // namespace orvalin
