#include <gtest/gtest.h>

#include <cmath>

#include "functions/complex_text.h"

namespace {

TEST(ParseComplex, ReadsTheFormsOfAComplexNumber) {
  const struct {
    const char* text;
    double real, imaginary;
  } valid[] = {
      {"3+4i", 3, 4},     {"-2.5j", 0, -2.5},  {"1-i", 1, -1},     {"7", 7, 0},         {"i", 0, 1},
      {"-i", 0, -1},      {"2+i", 2, 1},       {" - 2 ", -2, 0},   {"1e2-1.5e-1j", 100, -0.15},
      {"3 + 4i", 3, 4},   {"4i  ", 0, 4},      {".5", 0.5, 0},     {"-0", 0, 0},
  };
  for (const auto& c : valid) {
    double re = 99, im = 99;
    ASSERT_TRUE(ParseComplex(c.text, &re, &im)) << c.text;
    EXPECT_EQ(re, c.real) << c.text;
    EXPECT_EQ(im, c.imaginary) << c.text;
    if (c.real == 0) {
      EXPECT_FALSE(std::signbit(re)) << c.text;
    }
  }
  const char* const invalid[] = {"2+3", "3+4i ", "", "+3", "i2", "1e999", "inf", "0x10", "3+4k", "3 4", "--1",
                                 "1e", "3+4ii", "ij", "."};
  for (const char* text : invalid) {
    double re = 99, im = 99;
    EXPECT_FALSE(ParseComplex(text, &re, &im)) << text;
  }
}

}  // namespace
