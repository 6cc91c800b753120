// One line of a driver script read into an action, without a window.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace orvalin {

struct Action {
  enum class Kind { Set, Click, Answer, Input, Get, Dump };
  enum class Listing { Fields, Captions };  // what a dump writes
  Kind kind = Kind::Get;
  std::string name;                   // set, click, get: the field or button
  Listing listing = Listing::Fields;  // dump
  std::string text;                   // set: the text typed
  bool yes = false;                   // answer
  std::optional<std::string> input;   // input: the text typed, or nullopt for Cancel
};

// The action of a JSON line, or the text of the error event it deserves.
std::variant<Action, std::string> ReadAction(std::string_view line);

}  // namespace orvalin
