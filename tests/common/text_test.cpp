#include "common/text.h"

#include "common/escaped_text.h"

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

TEST(EscapedText, ControlsAndBackslashesAreEscapedAndComeBack) {
  const std::pair<std::string, std::string> cases[] = {
      {"\x1B]0;title\x07\x1B[2J", R"(\x1B]0;title\x07\x1B[2J)"},
      {"tab\there\x7F", R"(tab\x09here\x7F)"},
      {"C1 \u009D, Œ stays", R"(C1 \x9D, Œ stays)"},
      {R"(a\x41)", R"(a\\x41)"},  // a backslash before what reads as an escape
      {"Zürich", "Zürich"},
  };
  for (const auto& [text, escaped] : cases) {
    EXPECT_EQ(EscapeControls(text), escaped);
    EXPECT_EQ(UnescapeControls(escaped), text);
  }
  // Backslashes that begin no escape are kept, as older files hold them.
  EXPECT_EQ(UnescapeControls(R"(C:\dir\x4 \q\)"), R"(C:\dir\x4 \q\)");
  // A message keeps its backslashes: a text escaped before it is not escaped twice.
  EXPECT_EQ(EscapeControls("\"\x1B[2J\\x07\"", Backslash::Kept), R"("\x1B[2J\x07")");
}

}  // namespace
}  // namespace orvalin
