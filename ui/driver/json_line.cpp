#include "ui/driver/json_line.h"

#include <cstdio>

namespace orvalin {

JsonLine& JsonLine::Key(std::string_view key) {
  if (text_.size() > 1) text_ += ", ";
  text_ += JsonString(key) + ": ";
  return *this;
}

JsonLine& JsonLine::Text(std::string_view key, std::string_view value) {
  Key(key).text_ += JsonString(value);
  return *this;
}

JsonLine& JsonLine::Flag(std::string_view key, bool value) {
  Key(key).text_ += value ? "true" : "false";
  return *this;
}

JsonLine& JsonLine::Null(std::string_view key) {
  Key(key).text_ += "null";
  return *this;
}

void Emit(const JsonLine& line) {
  const std::string text = line.str() + "\n";
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

}  // namespace orvalin
