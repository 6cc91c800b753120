#include "app/json_line.h"

#include <QString>
#include <cstdio>

namespace orvalin {

std::string JsonString(std::string_view text) {
  const std::string utf8 =
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toStdString();
  std::string json = "\"";
  for (const char c : utf8) {
    switch (c) {
      case '"':
        json += "\\\"";
        break;
      case '\\':
        json += "\\\\";
        break;
      case '\b':
        json += "\\b";
        break;
      case '\f':
        json += "\\f";
        break;
      case '\n':
        json += "\\n";
        break;
      case '\r':
        json += "\\r";
        break;
      case '\t':
        json += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
          json += escaped;
        } else {
          json += c;
        }
    }
  }
  return json + "\"";
}

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
