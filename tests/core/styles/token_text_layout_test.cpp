#include "core/styles/token_text_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/core/fake_text_measurer.h"

namespace {

// Tokens of a text, one literal per character; "_" stands for a blank token
// (a space kind) and "*" for a fill token, neither of which is drawn as a
// character.
NumberFormat Tokens(const char* text) {
  NumberFormat tokens;
  for (const char* c = text; *c; ++c) {
    if (*c == '_')
      tokens.AddToken(kTokenBlank, 0, 'x');
    else if (*c == '*')
      tokens.AddToken(kTokenFill, 0, '-');
    else
      tokens.AddToken(kTokenLiteral, 0, static_cast<uint8_t>(*c));
  }
  return tokens;
}

std::string Shown(const NumberFormat& tokens) {
  std::string text;
  for (int i = 0; i < tokens.tokenCount; ++i) text += static_cast<char>(tokens.tokens[i].character);
  return text;
}

class TokenLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    FontRecord font = {};
    font.size = 1;  // every character 1 pixel wide, lines 2 high
    fake.Measurer().SelectFont(font, 0, 100);
  }
  FakeTextMeasurer fake;
};

TEST_F(TokenLayout, TextExtentCountsEmptyLinesAsTheHeightOfX) {
  struct Case {
    const char* text;
    int32_t width, height;
  } cases[] = {
      {"", 0, 2},        {"abc", 3, 2},         {"ab\r\n", 2, 4},       {"\nab", 2, 4},
      {"a\r\n\r\nbcd", 3, 6}, {"a\rb\nc", 1, 6}, {"ab\n\r", 2, 6},       {"\n", 0, 4},
  };
  for (const Case& c : cases) {
    int32_t w = -1, h = -1;
    ASSERT_TRUE(TextExtent(fake.Measurer(), c.text, std::strlen(c.text), &w, &h)) << c.text;
    EXPECT_EQ(w, c.width) << c.text;
    EXPECT_EQ(h, c.height) << c.text;
  }
  fake.failMeasuring = true;
  int32_t w = 0, h = 0;
  EXPECT_FALSE(TextExtent(fake.Measurer(), "a", 1, &w, &h));
}

TEST_F(TokenLayout, TextExtentLinesMeasuresShownAndBlankTokensOnly) {
  const NumberFormat tokens = Tokens("ab_*c");
  int32_t w = 0, h = 0;
  ASSERT_TRUE(TextExtentLines(fake.Measurer(), tokens, &w, &h, 0, 99));
  EXPECT_EQ(w, 4);  // the fill token takes no width of its own
  ASSERT_TRUE(TextExtentLines(fake.Measurer(), tokens, &w, &h, 3, 2));
  EXPECT_EQ(w, 1);
}

TEST_F(TokenLayout, WrapBreaksAfterTheLastBlankOrPunctuationElseBeforeTheTokenThatDidNotFit) {
  struct Case {
    const char* text;
    int32_t width;
    const char* wrapped;
  } cases[] = {
      {"one two three", 7, "one \ntwo \nthree"},
      {"abcdefgh", 3, "abc\ndef\ngh"},
      {"ab-cd.ef,gh", 5, "ab-\ncd.\nef,gh"},
      {"abc", 0, "a\nb\nc"},  // narrower than any character: a token a line
      {"short", 10, "short"},
      {" abc", 2, " a\nbc"},  // a blank first on the line is no break point
  };
  for (const Case& c : cases) {
    NumberFormat tokens = Tokens(c.text);
    ASSERT_TRUE(WrapTokens(fake.Measurer(), &tokens, c.width)) << c.text;
    EXPECT_EQ(Shown(tokens), c.wrapped) << c.text;
    EXPECT_EQ(tokens.sections[0].tokenCount, tokens.tokenCount);
  }
}

TEST_F(TokenLayout, WrapOfAFullListThatNeedsABreakFailsWithTheOverflowFlag) {
  NumberFormat tokens;
  for (int i = 0; i < kMaxFormatTokens; ++i) tokens.AddToken(kTokenLiteral, 0, 'a');
  EXPECT_FALSE(WrapTokens(fake.Measurer(), &tokens, 1000));
  EXPECT_TRUE(tokens.overflow);
  NumberFormat fits;
  for (int i = 0; i < kMaxFormatTokens; ++i) fits.AddToken(kTokenLiteral, 0, 'a');
  EXPECT_TRUE(WrapTokens(fake.Measurer(), &fits, 2000));  // no break needed
}

TEST_F(TokenLayout, ElideTakesTokensFromTheMiddleLeftPartFirst) {
  struct Case {
    const char* text;
    int32_t width;
    const char* elided;
  } cases[] = {
      {"a", 0, "a"},                    // a single token stays
      {"abcdefgh", 11, "abcd...efgh"},  // the first candidate already fits
      {"abcdefgh", 10, "abc...efgh"},
      {"abcdefgh", 9, "abc...fgh"},
      {"abcdefgh", 8, "ab...fgh"},
      {"abcdefgh", 0, "a..."},  // never fits: the first token and the dots
      {"ab", 0, "a..."},
  };
  for (const Case& c : cases) {
    NumberFormat tokens = Tokens(c.text);
    ASSERT_TRUE(ElideTokens(fake.Measurer(), &tokens, c.width)) << c.text;
    EXPECT_EQ(Shown(tokens), c.elided) << c.text << " in " << c.width;
  }
}

}  // namespace
