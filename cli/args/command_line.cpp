#include "cli/args/command_line.h"

#include <algorithm>
#include <charconv>

#include "cli/args/tool_errors.h"

namespace orvalin {

ArgumentReader::ArgumentReader(std::span<const std::string> args, std::span<const OptionRule> rules,
                               LineForm form)
    : args_(args), rules_(rules), form_(form) {}

std::optional<ArgumentReader::Argument> ArgumentReader::Next() {
  if (at_ == args_.size()) return std::nullopt;
  const std::string& arg = args_[at_++];
  if (options_ended_ || arg.size() < 2 || arg[0] != '-' || arg == "--") {
    if (!form_.words) throw BadUsage("unexpected " + arg + " (see --help)");
    if (arg == "--" && !options_ended_) {
      options_ended_ = true;
      return Next();
    }
    return Argument{nullptr, arg};
  }
  const auto equals = arg.find('=');
  const std::string typed = arg.substr(0, equals);
  const auto rule = std::find_if(rules_.begin(), rules_.end(), [&](const OptionRule& s) {
    return s.name == typed || (!s.short_name.empty() && s.short_name == typed);
  });
  if (rule == rules_.end()) throw BadUsage("unknown option " + typed + " (see --help)");
  const std::string name(rule->name);
  if (!rule->repeatable && std::find(given_.begin(), given_.end(), rule->name) != given_.end()) {
    throw BadUsage(name + " is given twice");
  }
  given_.push_back(rule->name);
  if (equals != std::string::npos && !form_.joined_values) {
    throw BadUsage(name + " takes its value after a blank");
  }
  std::string value;
  if (rule->value_after_equals) {
    if (equals != std::string::npos) value = arg.substr(equals + 1);
  } else if (rule->takes_value) {
    if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (at_ < args_.size()) {
      value = args_[at_++];
    } else {
      throw BadUsage(name + " needs a value");
    }
  } else if (equals != std::string::npos) {
    throw BadUsage(name + " takes no value");
  }
  return Argument{&*rule, std::move(value)};
}

CommandLine::CommandLine(const std::vector<std::string>& args, std::span<const OptionRule> rules) {
  ArgumentReader reader(args, rules);
  while (auto argument = reader.Next()) {
    if (argument->rule == nullptr) {
      positionals_.push_back(std::move(argument->value));
    } else {
      given_.emplace_back(argument->rule->name, std::move(argument->value));
    }
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
