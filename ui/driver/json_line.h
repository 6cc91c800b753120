// One event of the driver: a JSON object on one line, keys in the order they are added, written
// as `{"key": "value", "other": true}`.
#pragma once

#include <string>
#include <string_view>

#include "common/text.h"

namespace orvalin {

class JsonLine {
 public:
  JsonLine& Text(std::string_view key, std::string_view value);
  JsonLine& Flag(std::string_view key, bool value);
  JsonLine& Null(std::string_view key);
  std::string str() const { return text_ + "}"; }

 private:
  JsonLine& Key(std::string_view key);
  std::string text_ = "{";
};

// Writes the line and a line feed to standard output and flushes it, so a reader sees each event
// as it happens.
void Emit(const JsonLine& line);

}  // namespace orvalin
