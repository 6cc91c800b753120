#include "common/text.h"

#include <gtest/gtest.h>

namespace orvalin {
namespace {

TEST(Cp1252, EveryByteReadsBackUnchanged) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(EncodeCp1252(DecodeCp1252(all)), all);
}

TEST(Cp1252, KnownCharacters) {
  EXPECT_EQ(EncodeCp1252("Zürich"), "Z\xFCrich");
  EXPECT_EQ(EncodeCp1252("Œ€š"), "\x8C\x80\x9A");
  EXPECT_EQ(DecodeCp1252("\xC9vian"), "Évian");
  EXPECT_EQ(EncodeCp1252("東京 ok"), "?? ok");  // no Windows-1252 code
  EXPECT_EQ(Cp1252Code(U'\u0152'), 140);
  EXPECT_EQ(Cp1252Code(U'\u4E00'), -1);
}

TEST(FixedText, CutsOrFillsByCharacters) {
  EXPECT_EQ(FixedText("Bern", 6), "Bern  ");
  EXPECT_EQ(FixedText("Zürich-Oerlikon-Nord-Ost", 20), "Zürich-Oerlikon-Nord");
  EXPECT_EQ(FixedText("", 3), "   ");
  EXPECT_EQ(CharacterCount(FixedText("ééééé", 3)), 3u);
}

TEST(CodePoints, InvalidBytesBecomeReplacementCharacters) {
  EXPECT_EQ(CodePoints("a\xFF" "b"), U"a\uFFFD" "b");
  EXPECT_EQ(CodePoints("\xC3"), U"\uFFFD");
  EXPECT_EQ(Utf8(CodePoints("Évian €")), "Évian €");
}

}  // namespace
}  // namespace orvalin
