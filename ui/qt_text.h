// The window's texts are UTF-8; the toolkit's are QString.
#pragma once

#include <QString>
#include <string_view>

namespace orvalin {

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace orvalin
