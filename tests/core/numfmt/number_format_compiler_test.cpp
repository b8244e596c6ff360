#include <gtest/gtest.h>

#include <string>

#include "core/numfmt/format_colors.h"
#include "core/numfmt/number_format.h"
#include "core/numfmt/regional_settings.h"

namespace {

const RegionalSettings kCommaDecimal = {3, ',', '.', '.', ':', ';', '\\', 1, 1, "EUR", 0};

// One word per token: placeholders and separators as written, 'x' a
// literal, _x and *x blanks and fills, @ general, E+ exponent, "bar", [cond],
// [color], y4 M2 d1 h2 m2 s2 (M month, m minute), AM/PM, [h] elapsed; "|"
// between sections.
std::string Signature(const NumberFormat& f) {
  std::string out;
  int section = 0;
  for (int i = 0; i < f.tokenCount; ++i) {
    const FormatToken& t = f.tokens[i];
    while (section < t.section) {
      out += " |";
      ++section;
    }
    out += ' ';
    const char c = static_cast<char>(t.character);
    const std::string count(1, static_cast<char>('0' + t.character));
    const bool elapsed = (t.kind & kTokenElapsed) != 0;
    switch (t.kind & ~kTokenElapsed) {
      case kTokenLiteral: out += std::string("'") + c + "'"; break;
      case kTokenPlaceholder: out += c; break;
      case kTokenGroup: out += ","; break;
      case kTokenDecimal: out += "."; break;
      case kTokenExponent: out += std::string(1, c) + static_cast<char>(f.sections[t.section].exponentSign); break;
      case kTokenFractionBar: out += "bar"; break;
      case kTokenGeneral: out += "@"; break;
      case kTokenBlank: out += std::string("_") + c; break;
      case kTokenFill: out += std::string("*") + c; break;
      case kTokenCondition: out += "[cond]"; break;
      case kTokenNamedColor:
      case kTokenHexColor: out += "[color]"; break;
      case kTokenYear: out += "y" + count; break;
      case kTokenMonth: out += "M" + count; break;
      case kTokenDay: out += (elapsed ? "[d" : "d") + count + (elapsed ? "]" : ""); break;
      case kTokenHour: out += (elapsed ? "[h" : "h") + count + (elapsed ? "]" : ""); break;
      case kTokenMinute: out += (elapsed ? "[m" : "m") + count + (elapsed ? "]" : ""); break;
      case kTokenSecond: out += (elapsed ? "[s" : "s") + count + (elapsed ? "]" : ""); break;
      case kTokenAmPm: out += t.character == 5 ? "AM/PM" : "A/P"; break;
      case kTokenTimeSeparator: out += ":"; break;
      case kTokenDateSeparator: out += "/"; break;
      default: out += "?kind"; break;
    }
  }
  return out.empty() ? out : out.substr(1);
}

TEST(NumberFormatCompiler, CompilesEveryTokenKind) {
  const struct {
    const char* code;
    const char* tokens;
    int sections;
  } cases[] = {
      {"", "", 0},
      {"#,##0.00", "# , # # 0 . 0 0", 1},
      {"#,,##0", "# , # # 0", 1},
      {"0.00E+00", "0 . 0 0 E+ 0 0", 1},
      {"# ?\?/??", "# ' ' ? ? bar ? ?", 1},
      {"General", "@", 1},
      {"G", "'G'", 1},
      {"Generally", "@ 'l' 'y'", 1},
      {"_(0_)* ", "_( 0 _) * ", 1},
      {"\"kg\" 0 'a;b'", "'k' 'g' ' ' 0 ' ' 'a' ';' 'b'", 1},
      {"\\#0\\", "'#' 0 '\\'", 1},
      {"[Red]0;[Blue]-0", "[color] 0 | [color] '-' 0", 2},
      {"[<=100]0;[ > 5 ]0", "[cond] 0 | [cond] 0", 2},
      {"[$-409]0", "0", 1},
      {"0;;0", "0 | | 0", 3},
      {"0;0;0;@", "0 | 0 | 0 | @", 4},
      {"yyyy-mm-dd", "y4 '-' M2 '-' d2", 1},
      {"yyyyy yyy y", "y4 'y' ' ' y2 'y' ' ' 'y'", 1},
      {"YYYY", "'Y' 'Y' 'Y' 'Y'", 1},
      {"mmmmmm dddd ddd", "M5 M1 ' ' d4 ' ' d3", 1},
      {"m/d/yy", "M1 / d1 / y2", 1},
      {"hh:mm", "h2 : m2", 1},
      {"mm:ss", "m2 : s2", 1},
      {"h \"x\" mm", "h1 ' ' 'x' ' ' m2", 1},
      {"h AM/PM mm", "h1 ' ' AM/PM ' ' M2", 1},
      {"h:mm A/P", "h1 : m2 ' ' A/P", 1},
      {"Am/Pm", "'A' M1 / 'P' M1", 1},  // only "AM/PM" and "A/P" as written
      {"mm;ss", "M2 | s2", 2},
      {"hh:mm:ss.000", "h2 : m2 : s2 . 0 0 0", 1},
      {"[h]:mm:ss", "[h1] : m2 : s2", 1},
      {"[mm]:ss", "[m2] : s2", 1},
      {"[d] hh:mm", "[d1] ' ' h2 : m2", 1},
      {"[ hh ]", "[h2]", 1},
      {"0:00", "0 ':' 0 0", 1},
      {"# ?/8", "# ' ' ? bar '8'", 1},
      {"0.0E+3", "0 . 0 E+ '3'", 1},
      {"0E+0E+0", "0 E+ 0 'E' '+' 0", 1},
      {"@ 0", "@ ' ' 0", 1},
  };
  for (const auto& c : cases) {
    NumberFormat f;
    ASSERT_TRUE(f.Compile(c.code, nullptr)) << c.code;
    EXPECT_EQ(Signature(f), c.tokens) << c.code;
    EXPECT_EQ(f.sectionCount, c.sections) << c.code;
  }
}

TEST(NumberFormatCompiler, MeasuresEachSection) {
  const struct {
    const char* code;
    int section;
    int integerDigits, fractionDigits, exponentDigits, scaling;
    bool trailingHash;
    char exponentSign;
  } cases[] = {
      {"#,##0.00", 0, 4, 2, 0, 0, false, 0},
      {"#,##0,", 0, 4, 0, 0, 1, false, 0},
      {"0.0,,", 0, 1, 1, 0, 2, false, 0},
      {"0.0,0", 0, 1, 2, 0, 1, false, 0},
      {"0.0#", 0, 1, 2, 0, 0, true, 0},
      {"0.#0", 0, 1, 2, 0, 0, false, 0},
      {"##0.0E+00", 0, 3, 1, 2, 0, false, '+'},
      {"0E+\"12\"", 0, 1, 0, 2, 0, false, '+'},
      {"# ?\?/??", 0, 3, 2, 0, 0, false, 0},
      {"?/16", 0, 1, 2, 0, 0, false, 0},
      {"0;#,##0.0,", 1, 4, 1, 0, 1, false, 0},
      {"ss.00", 0, 0, 2, 0, 0, false, 0},
  };
  for (const auto& c : cases) {
    NumberFormat f;
    ASSERT_TRUE(f.Compile(c.code, nullptr)) << c.code;
    const FormatSection& s = f.sections[c.section];
    EXPECT_EQ(s.integerDigits, c.integerDigits) << c.code;
    EXPECT_EQ(s.fractionDigits, c.fractionDigits) << c.code;
    EXPECT_EQ(s.exponentDigits, c.exponentDigits) << c.code;
    EXPECT_EQ(s.thousandsScaling, c.scaling) << c.code;
    EXPECT_EQ(s.trailingHash != 0, c.trailingHash) << c.code;
    if (c.exponentSign) {
      EXPECT_EQ(s.exponentSign, c.exponentSign) << c.code;
    }
  }
}

TEST(NumberFormatCompiler, ReadsConditionsAndColours) {
  const struct {
    const char* code;
    uint32_t kind;
    uint8_t comparison;
    double value;
    uint32_t colour;
  } cases[] = {
      {"[<=100]0", kTokenCondition, kCompareLessEqual, 100, 0},
      {"[>=-1.5e3]0", kTokenCondition, kCompareGreaterEqual, -1500, 0},
      {"[=.5]0", kTokenCondition, kCompareEqual, 0.5, 0},
      {"[<+7]0", kTokenCondition, kCompareLess, 7, 0},
      {"[>1e-3]0", kTokenCondition, kCompareGreater, 0.001, 0},
      {"[Red]0", kTokenNamedColor, 0, 0, 0x0000FF},
      {"[BLUE]0", kTokenNamedColor, 0, 0, 0xFF0000},
      {"[Redish]0", kTokenNamedColor, 0, 0, 0x0000FF},
      {"[#00ff80]0", kTokenHexColor, 0, 0, 0x80FF00},
      {"[#A0B0C0]0", kTokenHexColor, 0, 0, 0xC0B0A0},
  };
  for (const auto& c : cases) {
    NumberFormat f;
    ASSERT_TRUE(f.Compile(c.code, nullptr)) << c.code;
    ASSERT_EQ(f.sections[0].bracketCount, 1) << c.code;
    const FormatBracket& b = f.sections[0].brackets[0];
    EXPECT_EQ(b.kind, c.kind) << c.code;
    if (c.kind == kTokenCondition) {
      EXPECT_EQ(b.comparison, c.comparison) << c.code;
      EXPECT_EQ(b.value, c.value) << c.code;
    } else {
      EXPECT_EQ(b.colour, c.colour) << c.code;
    }
  }
  NumberFormat comma;
  ASSERT_TRUE(comma.Compile("[<1,5]0", &kCommaDecimal));
  EXPECT_EQ(comma.sections[0].brackets[0].value, 1.5);
}

TEST(NumberFormatCompiler, MatchesAllConditionsOfASection) {
  NumberFormat f;
  ASSERT_TRUE(f.Compile("[>0][<10][red]0;0", nullptr));
  const struct {
    double value;
    bool first, second;
  } cases[] = {{5, true, true}, {0, false, true}, {10, false, true}, {9.99, true, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(f.MatchCondition(c.value, 0), c.first) << c.value;
    EXPECT_EQ(f.MatchCondition(c.value, 1), c.second) << c.value;
  }
}

TEST(NumberFormatCompiler, RefusesInvalidCodes) {
  const char* invalid[] = {
      "0;0;0;@;0",   // a fifth section
      "0.00 d",      // a date code after digit placeholders
      "0 h",
      "d 0",         // a placeholder after a date code
      "hh:mm 0",
      "0E+",         // an exponent without digits
      "0E+0\"",      // unterminated quote
      "'abc",
      "0/",          // a fraction without denominator
      "/8",          // a fraction without numerator placeholders
      "?/\"0\"",     // a fixed denominator must start with 1..9
      "[mmm]",       // elapsed codes: m, mm, h, hh, s, ss, d, dd only
      "[ddd]",
      "[yy]",
      "[A/P]",
      "[h",          // missing "]"
      "[<5",
      "[<]0",        // an operator without its number
      "[<x]0",
      "[#00ff8]",    // six hex digits exactly
      "[#00ff801]",
      "[red][blue][green][white]0",  // a fourth bracket in one section
      "0[h]",        // an elapsed code where digits were
      "[h]:mm:[ss]",
      "[h][h]",
  };
  for (const char* code : invalid) {
    NumberFormat f;
    EXPECT_FALSE(f.Compile(code, nullptr)) << code;
  }
  NumberFormat f;
  EXPECT_TRUE(f.Compile("[red][blue][green]0;[white]0", nullptr));
  EXPECT_TRUE(f.Compile(nullptr, nullptr));
  EXPECT_EQ(f.sectionCount, 0);
}

TEST(NumberFormatCompiler, HoldsAtMostTheTokenLimit) {
  std::string code(kMaxFormatTokens, '0');
  NumberFormat f;
  EXPECT_TRUE(f.Compile(code.c_str(), nullptr));
  EXPECT_EQ(f.tokenCount, kMaxFormatTokens);
  EXPECT_FALSE(f.overflow);
  code += "0";
  EXPECT_FALSE(f.Compile(code.c_str(), nullptr));
  EXPECT_TRUE(f.overflow);
  // Quoted literals count as tokens too.
  std::string quoted = "\"" + std::string(kMaxFormatTokens + 5, 'x') + "\"";
  EXPECT_FALSE(f.Compile(quoted.c_str(), nullptr));

  NumberFormat g;
  for (int i = 0; i < kMaxFormatTokens; ++i) ASSERT_TRUE(g.AddToken(kTokenLiteral, 0, 'x'));
  EXPECT_FALSE(g.AddToken(kTokenLiteral, 0, 'x'));
  EXPECT_FALSE(g.AddString("x", 0));
  EXPECT_FALSE(g.AddTokens(f, 0, 1, false));
  EXPECT_TRUE(g.overflow);
  EXPECT_EQ(g.tokenCount, kMaxFormatTokens);
}

TEST(NumberFormatCompiler, ReadsTheSeparatorsItIsGiven) {
  const struct {
    const char* generic;
    const char* comma;
  } cases[] = {
      {"#,##0.00", "#.##0,00"},
      {"0.0,,", "0,0.."},
      {"dd/mm/yyyy hh:mm", "dd.mm.yyyy hh:mm"},
      {"[h]:mm:ss.00", "[h]:mm:ss,00"},
      {"[<1.5]0.0", "[<1,5]0,0"},
  };
  for (const auto& c : cases) {
    NumberFormat generic, comma;
    ASSERT_TRUE(generic.Compile(c.generic, nullptr)) << c.generic;
    ASSERT_TRUE(comma.Compile(c.comma, &kCommaDecimal)) << c.comma;
    EXPECT_EQ(Signature(comma), Signature(generic)) << c.comma;
    EXPECT_EQ(comma.sections[0].thousandsScaling, generic.sections[0].thousandsScaling);
  }
  // In the comma form a "." is a group separator, here one that scales.
  NumberFormat f;
  ASSERT_TRUE(f.Compile("0.\\x", &kCommaDecimal));
  EXPECT_EQ(Signature(f), "0 'x'");
  EXPECT_EQ(f.sections[0].thousandsScaling, 1);
}

TEST(FormatColors, NamesAndParsesColours) {
  uint32_t colour = 0;
  EXPECT_TRUE(ParseColorName("Teal", &colour));
  EXPECT_EQ(colour, 0x808000u);
  EXPECT_TRUE(ParseColorName("#FF8000", &colour));
  EXPECT_EQ(colour, 0x0080FFu);
  EXPECT_FALSE(ParseColorName("orange", &colour));
  EXPECT_FALSE(ParseColorName("#12345", &colour));
  char name[16];
  EXPECT_TRUE(ColorToName(name, sizeof name, 0x0000FF, true));
  EXPECT_STREQ(name, "red");
  EXPECT_TRUE(ColorToName(name, sizeof name, 0x0000FF, false));
  EXPECT_STREQ(name, "#FF0000");
  EXPECT_TRUE(ColorToName(name, sizeof name, 0x123456, true));
  EXPECT_STREQ(name, "#563412");
  EXPECT_FALSE(ColorToName(name, 7, 0x123456, false));
  EXPECT_STREQ(name, "");
}

}  // namespace
