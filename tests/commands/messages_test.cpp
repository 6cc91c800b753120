#include "commands/messages.h"

#include <gtest/gtest.h>

namespace orvalin {
namespace {

// Every message has a text in every language; only the first five change with the language.
TEST(Messages, EveryMessageSpeaksEveryLanguage) {
  for (int m = 0; m <= static_cast<int>(Message::BadHemisphereLetter); ++m) {
    const auto message = static_cast<Message>(m);
    const std::string_view french = MessageText(message, Language::French);
    const std::string_view english = MessageText(message, Language::English);
    EXPECT_FALSE(french.empty()) << m;
    EXPECT_FALSE(english.empty()) << m;
    EXPECT_EQ(french != english, m <= static_cast<int>(Message::PlaceNotFound)) << m;
  }
  EXPECT_EQ(MessageText(Message::NoSunset, Language::French), "Pas de coucher de soleil");
  EXPECT_EQ(MessageText(Message::ImpreciseAfterLastYear, Language::English),
            "Calculation not precise over year 2200");
}

}  // namespace
}  // namespace orvalin
