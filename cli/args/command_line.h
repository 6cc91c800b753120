// The command-line reader of every program: "--name value", "--name=value", "-n value", flags and
// positional words.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvalin {

struct OptionRule {
  std::string_view name;  // with its dashes: "--file"
  bool takes_value = false;
  bool repeatable = false;           // may be given more than once
  std::string_view short_name = {};  // "-h" for "--help", if any; it is found under `name`
  bool value_after_equals = false;   // takes a value only as "--name=VALUE", else none
};

// What a command line allows besides its options.
struct LineForm {
  bool words = true;          // positional words, and "--" that ends the options before them
  bool joined_values = true;  // "--name=VALUE" as well as "--name VALUE"
};

// Reads a command line one argument at a time, for a program that acts on each before reading
// the next.
class ArgumentReader {
 public:
  struct Argument {
    const OptionRule* rule;  // nullptr for a word
    std::string value;       // the option's value, or the word
  };

  ArgumentReader(std::span<const std::string> args, std::span<const OptionRule> rules,
                 LineForm form = {});

  // The next option or word; nothing at the end. Fails with BadUsage on an unknown option, an
  // option given twice that is not repeatable, a missing value, a value where none goes, and
  // what `form` does not allow.
  std::optional<Argument> Next();

 private:
  std::span<const std::string> args_;
  std::span<const OptionRule> rules_;
  LineForm form_;
  std::size_t at_ = 0;
  bool options_ended_ = false;
  std::vector<std::string_view> given_;  // the options read so far
};

// One list of the rules of several, for a tool that takes a group of options shared with others.
template <std::size_t... N>
constexpr std::array<OptionRule, (N + ...)> JoinRules(const OptionRule (&... lists)[N]) {
  std::array<OptionRule, (N + ...)> all{};
  auto at = all.begin();
  ((at = std::copy(std::begin(lists), std::end(lists), at)), ...);
  return all;
}

// A whole command line read at once.
class CommandLine {
 public:
  // Fails with BadUsage on an unknown option, a missing value or an option given twice that is
  // not repeatable.
  CommandLine(const std::vector<std::string>& args, std::span<const OptionRule> rules);

  bool Has(std::string_view name) const;
  std::optional<std::string> Value(std::string_view name) const;  // the first one
  std::vector<std::string> Values(std::string_view name) const;   // in the order given
  const std::vector<std::string>& Positionals() const { return positionals_; }

 private:
  std::vector<std::pair<std::string, std::string>> given_;
  std::vector<std::string> positionals_;
};

// "1" to "2147483647" and nothing else; BadUsage naming the option otherwise.
long long PositiveNumber(std::string_view option, std::string_view text);

}  // namespace orvalin
