#include "view/draw_context/text_placement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "view/draw_context/portable_text_measurer.h"

namespace {

// With no font selected every character is 7 x 16.
struct Drawn {
  int32_t x, y;
  std::string text;
  bool operator==(const Drawn& o) const { return x == o.x && y == o.y && text == o.text; }
};
std::ostream& operator<<(std::ostream& out, const Drawn& d) { return out << d.text << "@" << d.x << "," << d.y; }

struct Recording {
  std::vector<Drawn> drawn;
  static bool Draw(void* self, int32_t x, int32_t y, const char* text, size_t length) {
    static_cast<Recording*>(self)->drawn.push_back({x, y, std::string(text, length)});
    return true;
  }
  TextSink Sink() { return {&Recording::Draw, this}; }
};

NumberFormat Tokens(const char* text) {
  NumberFormat tokens;
  for (const char* c = text; *c; ++c) {
    if (*c == '_')
      tokens.AddToken(kTokenBlank, 0, 'x');
    else if (*c == '*')
      tokens.AddToken(kTokenFill, 0, '.');
    else
      tokens.AddToken(kTokenLiteral, 0, static_cast<uint8_t>(*c));
  }
  return tokens;
}

TEST(TextPlacement, LinesFollowTheVerticalCodeAndTheAngle) {
  PortableTextMeasurer portable;
  const double up = std::acos(-1.0) / 2;  // text running upwards: its lines follow to the right
  struct Case {
    const char* text;
    double angle;
    int vertical;
    std::vector<Drawn> drawn;
  } cases[] = {
      {"ab", 0, kAlignTop, {{10, 20, "ab"}}},
      {"ab\r\ncd", 0, kAlignTop, {{10, 20, "ab"}, {10, 36, "cd"}}},
      {"ab\n\rcd\n\ne", 0, kAlignTop, {{10, 20, "ab"}, {10, 36, "cd"}, {10, 52, ""}, {10, 68, "e"}}},
      {"ab\r\ncd", 0, kAlignMiddle, {{10, 4, "ab"}, {10, 20, "cd"}}},
      {"ab\r\ncd", 0, kAlignBottom, {{10, -12, "ab"}, {10, 4, "cd"}}},
      {"ab\ncd", up, kAlignTop, {{10, 20, "ab"}, {26, 20, "cd"}}},
      {"ab\ncd", up, kAlignBottom, {{-22, 20, "ab"}, {-6, 20, "cd"}}},
  };
  for (const Case& c : cases) {
    Recording r;
    ASSERT_TRUE(PlaceTextLines(portable.Measurer(), r.Sink(), 10, 20, c.text, std::strlen(c.text), c.angle,
                               c.vertical));
    EXPECT_EQ(r.drawn, c.drawn) << c.text << " code " << c.vertical;
  }
}

TEST(TextPlacement, CellTextAnchorsRunsBlanksAndFillsByTheHorizontalCode) {
  PortableTextMeasurer portable;
  struct Case {
    const char* tokens;
    int32_t width;
    int horizontal;
    std::vector<Drawn> drawn;
  } cases[] = {
      {"abc", 50, kAlignLeft, {{100, 0, "abc"}}},
      {"abc", 50, kAlignRight, {{101, 0, "abc"}}},  // the text ends on the given pixel
      {"abc", 50, kAlignCentre, {{100, 0, "abc"}}},
      {"ab_c", 0, kAlignLeft, {{100, 0, "ab"}, {121, 0, "c"}}},  // the blank takes its 7 pixels
      // A fill spreads over the spare width: 50 - 21 = 29, four dots (28) stay below it.
      {"a*bc", 50, kAlignLeft, {{100, 0, "a"}, {107, 0, "...."}, {136, 0, "bc"}}},
      {"a*bc", 50, kAlignRight, {{58, 0, "a"}, {87, 0, "...."}, {101, 0, "bc"}}},
      {"abc*", 21, kAlignLeft, {{100, 0, "abc"}}},  // no spare width: the fill draws nothing
  };
  for (const Case& c : cases) {
    Recording r;
    ASSERT_TRUE(PlaceCellText(portable.Measurer(), r.Sink(), 100, 0, Tokens(c.tokens), c.width, 0, c.horizontal,
                              kAlignTop));
    EXPECT_EQ(r.drawn, c.drawn) << c.tokens << " code " << c.horizontal;
  }
}

}  // namespace
