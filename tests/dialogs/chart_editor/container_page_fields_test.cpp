// The container pages' and the fractal dialog's stores: the ranges of the
// grid fields, the size kept from the left and top edges, the background
// choice, the fractal numbers parsed whole before any is stored, and every
// value the pages store read back unchanged from a saved workbook.

#include "dialogs/chart_editor/container_page_fields.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "core/base/scheme_colors.h"
#include "core/workbook/workbook.h"
#include "dialogs/controls/parsed_text.h"
#include "tests/files/native_xml/native_xml_support.h"
#include "tests/test_seed.h"

namespace {

struct GridTexts {
  const char* texts[kContainerGridFields];
};

ContainerHeader PlacedHeader() {
  ContainerHeader header = {};
  header.columns = 2;
  header.rows = 3;
  header.horizontalSpacing = 4;
  header.verticalSpacing = 4;
  header.anchor = ContainerAnchor{3, 7, 9};
  header.rect = ContainerRect{20, 30, 219, 129};
  return header;
}

TEST(ContainerPageFields, GridFieldsAreCheckedInOrderAndTheFirstRefusedStoresNothing) {
  struct Case {
    GridTexts input;
    int refused;  // kContainerGridFields when stored
  };
  const Case cases[] = {
      {{{"3", "4", "5", "2", "300", "150"}}, kContainerGridFields},
      {{{"10", "10", "0", "0", "10000", "10"}}, kContainerGridFields},  // spacing 0 is kept
      {{{" 1 ", "1", "255", "255", "10", "10000"}}, kContainerGridFields},
      {{{"0", "1", "1", "1", "100", "100"}}, kGridColumns},
      {{{"11", "255", "1", "1", "100", "100"}}, kContainerGridFields},  // the grid the editor grows to
      {{{"256", "1", "1", "1", "100", "100"}}, kGridColumns},
      {{{"1", "0", "1", "1", "100", "100"}}, kGridRows},
      {{{"1", "1", "256", "1", "100", "100"}}, kGridHorzSpacing},
      {{{"1", "1", "1", "-1", "100", "100"}}, kGridVertSpacing},
      {{{"1", "1", "1", "1", "10001", "100"}}, kGridWidth},
      {{{"1", "1", "1", "1", "9", "100"}}, kGridWidth},
      {{{"1", "1", "1", "1", "100", "0"}}, kGridHeight},
      {{{"1", "x", "256", "1", "100", "100"}}, kGridRows},  // the first failure decides
      {{{"1", "1", "1", "1", "1.5", "100"}}, kGridWidth},
      {{{"", "1", "1", "1", "100", "100"}}, kGridColumns},
  };
  for (const Case& c : cases) {
    ContainerHeader header = PlacedHeader();
    const ContainerHeader before = header;
    const int refused = StoreContainerGrid(c.input.texts, &header);
    SCOPED_TRACE(std::string(c.input.texts[0]) + "/" + c.input.texts[1] + "/" + c.input.texts[4]);
    EXPECT_EQ(refused, c.refused);
    if (refused != kContainerGridFields) {
      EXPECT_EQ(std::memcmp(&header, &before, sizeof header), 0);
      continue;
    }
    int32_t values[kContainerGridFields];
    LoadContainerGrid(header, values);
    for (int i = 0; i < kContainerGridFields; ++i) {
      int64_t expected = 0;
      ASSERT_TRUE(ParseIntegerText(c.input.texts[i], &expected));
      EXPECT_EQ(values[i], expected) << "field " << i;
    }
    // Packed fields are compared as values.
    EXPECT_EQ(int32_t{header.rect.left}, 20);
    EXPECT_EQ(int32_t{header.rect.top}, 30);
    EXPECT_EQ(uint16_t{header.anchor.column}, 3);
    EXPECT_EQ(uint32_t{header.anchor.row}, 7u);
  }
}

TEST(ContainerPageFields, AWidthOf300FromLeft20EndsAt319AndAnEdgeBeyondTheOffsetsIsRefused) {
  ContainerHeader header = PlacedHeader();
  const GridTexts size300 = {{"1", "1", "1", "1", "300", "20"}};
  ASSERT_EQ(StoreContainerGrid(size300.texts, &header), kContainerGridFields);
  EXPECT_EQ(int32_t{header.rect.right}, 319);
  EXPECT_EQ(int32_t{header.rect.bottom}, 49);

  header.rect.left = 2147483647 - 5;
  EXPECT_EQ(StoreContainerGrid(size300.texts, &header), kGridWidth);
  EXPECT_EQ(int32_t{header.rect.right}, 319);
}

TEST(ContainerPageFields, TheBackgroundKindLoadsAsARadioButtonAndSavesAsAKindTheFilesKeep) {
  struct Case {
    uint8_t kind;
    BackgroundChoice checked;
    uint8_t stored;
  };
  const Case cases[] = {
      {kBackgroundNone, kChoosePattern, kBackgroundPattern},  // kind 0 saves as 1
      {kBackgroundPattern, kChoosePattern, kBackgroundPattern},
      {kBackgroundImage, kChooseImage, kBackgroundImage},
      {kBackgroundFractal, kChooseFractal, kBackgroundFractal},
      {7, kChoosePattern, kBackgroundPattern},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BackgroundChoiceOfKind(c.kind), c.checked) << int(c.kind);
    EXPECT_EQ(BackgroundKindOfChoice(BackgroundChoiceOfKind(c.kind), c.kind), c.stored) << int(c.kind);
  }
  EXPECT_EQ(BackgroundKindOfChoice(-1, kBackgroundFractal), kBackgroundFractal);  // none checked
}

FractalChoice OpenedChoice(char separator) {
  FractalChoice choice = {};
  choice.numbers = FractalParameters{0.25, -0.5, -2, 2, -1.5, 1.5};
  for (int i = 0; i < kPaletteSize; ++i) choice.colors[i] = uint32_t(0x010203 * i);
  choice.Show(separator);
  return choice;
}

TEST(FractalChoice, NumbersShowWithTheRegionalSeparatorAndTheDotIsRefusedUnderAComma) {
  FractalChoice comma = OpenedChoice(',');
  EXPECT_STREQ(comma.shownTexts[0], "0,25");
  EXPECT_STREQ(comma.shownTexts[3], "2");
  std::strcpy(comma.shownTexts[1], "1,5");
  ASSERT_EQ(comma.Accept(','), kFractalNumbers);
  EXPECT_EQ(comma.numbers.zi, 1.5);

  struct Case {
    char separator;
    const char* text;
    bool accepted;
  };
  const Case cases[] = {
      {',', "1.5", false}, {',', "-0,75", true}, {'.', "1,5", false}, {'.', "1e3", true},
      {'.', "", false},    {'.', "1e999", false}, {'.', "nan", false}, {'.', " 2 ", true},
  };
  for (const Case& c : cases) {
    FractalChoice choice = OpenedChoice(c.separator);
    std::strcpy(choice.shownTexts[4], c.text);
    EXPECT_EQ(choice.Accept(c.separator), c.accepted ? kFractalNumbers : 4) << c.text;
  }
}

TEST(FractalChoice, ALaterFailureStoresNoneOfTheEarlierNumbers) {
  FractalChoice choice = OpenedChoice('.');
  const FractalChoice before = choice;
  std::strcpy(choice.shownTexts[0], "9");
  std::strcpy(choice.shownTexts[1], "8");
  std::strcpy(choice.shownTexts[5], "y");
  choice.shownColors[0] = 0x123456;
  EXPECT_EQ(choice.Accept('.'), 5);
  EXPECT_EQ(std::memcmp(&choice.numbers, &before.numbers, sizeof choice.numbers), 0);
  EXPECT_EQ(std::memcmp(choice.colors, before.colors, sizeof choice.colors), 0);
}

TEST(FractalChoice, ResetShowsTheDefaultsAndStoresThemOnlyOnAccept) {
  FractalChoice choice = OpenedChoice(',');
  const FractalChoice before = choice;
  choice.Reset(',');
  EXPECT_STREQ(choice.shownTexts[0], "0,11");
  EXPECT_STREQ(choice.shownTexts[2], "-1,1");
  // Cancel: the settings are as they were.
  EXPECT_EQ(std::memcmp(&choice.numbers, &before.numbers, sizeof choice.numbers), 0);
  EXPECT_EQ(std::memcmp(choice.colors, before.colors, sizeof choice.colors), 0);
  ASSERT_EQ(choice.Accept(','), kFractalNumbers);
  EXPECT_EQ(std::memcmp(&choice.numbers, &kDefaultFractal, sizeof choice.numbers), 0);
  EXPECT_EQ(std::memcmp(choice.colors, kProgramPalette, sizeof choice.colors), 0);
}

// Random page inputs, stored as the pages store them, then the workbook
// saved and loaded again: every stored value comes back, and the document
// always opens.
TEST(ContainerPageFields, WhatThePagesStoreIsReadBackFromASavedWorkbook) {
  const uint32_t seed = TestSeed(20261207u);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  auto below = [&](uint32_t n) { return uint32_t(random() % n); };
  static const char* const kNames[] = {"C:\\pictures\\photo.png", "a.JPG", "tiles.jpeg", "x.bmp", ""};
  for (int round = 0; round < 40; ++round) {
    CWorkBook book;
    CWorkSheet* sheet = NewWorksheet("One", 1);
    book.InsertItems(sheet, nullptr);
    book.activeWorksheet = sheet;
    ContainerRecord* box = new ContainerRecord;
    ASSERT_TRUE(book.AssignContainerId(box));
    sheet->AddContainer(box);
    ContainerHeader& h = box->header;

    char texts[kContainerGridFields][16];
    const char* pointers[kContainerGridFields];
    for (int i = 0; i < kContainerGridFields; ++i) {
      const ContainerFieldRange r = kContainerGridRanges[i];
      // The ends of each range as often as the values between them.
      const uint32_t pick = below(3);
      const int32_t value = pick == 0   ? r.minimum
                            : pick == 1 ? r.maximum
                                        : int32_t(r.minimum + below(uint32_t(r.maximum - r.minimum + 1)));
      std::snprintf(texts[i], sizeof texts[i], "%d", int(value));
      pointers[i] = texts[i];
    }
    h.rect.left = int32_t(below(2000)) - 1000;
    h.rect.top = int32_t(below(2000));
    ASSERT_EQ(StoreContainerGrid(pointers, &h), kContainerGridFields);

    const int choice = int(below(3));
    h.backgroundKind = BackgroundKindOfChoice(choice, h.backgroundKind);
    h.imageView = ImageViewOfItem(int(below(4)) - 1);
    std::snprintf(h.imageName, sizeof h.imageName, "%s", kNames[below(choice == kChooseImage ? 4 : 5)]);
    h.fill.pattern = uint8_t(below(23));
    h.fill.patternColorSet = uint8_t(below(2));
    h.fill.patternColor = random() & 0xFFFFFF;
    h.border.style = uint8_t(below(9));
    h.border.colorSet = uint8_t(below(2));
    h.border.color = random() & 0xFFFFFF;

    FractalChoice fractal = {};
    fractal.numbers = h.fractal;
    std::memcpy(fractal.colors, h.palette, sizeof fractal.colors);
    fractal.Show(',');
    for (int i = 0; i < kFractalNumbers; ++i)
      std::snprintf(fractal.shownTexts[i], sizeof fractal.shownTexts[i], "%d,%u", int(below(2001)) - 1000,
                    below(1000));
    for (uint32_t& c : fractal.shownColors) c = random() & 0xFFFFFF;
    ASSERT_EQ(fractal.Accept(','), kFractalNumbers);
    h.fractal = fractal.numbers;
    std::memcpy(h.palette, fractal.colors, sizeof h.palette);

    for (size_t i = 0, n = below(128); i < n; ++i) h.titleText[i] = char('a' + below(26));
    for (size_t i = 0, n = below(128); i < n; ++i) h.subtitleText[i] = char('A' + below(26));
    StoreChosenFontColor(random() & 0xFFFFFF, GetSchemeColor(kSchemeWindowText), &h.subtitleFont);

    uint8_t error = 0;
    const std::string text = xmldoc::SaveXmlText(&book, &error);
    ASSERT_EQ(error, 0);
    auto loaded = xmldoc::LoadXmlText(text, &error);
    ASSERT_EQ(error, 0) << "round " << round;
    const ContainerRecord* back = loaded->FindContainerById(h.id);
    ASSERT_NE(back, nullptr);
    const ContainerHeader& b = back->header;
    EXPECT_EQ(b.columns, h.columns);
    EXPECT_EQ(b.rows, h.rows);
    EXPECT_EQ(b.horizontalSpacing, h.horizontalSpacing) << "round " << round;
    EXPECT_EQ(b.verticalSpacing, h.verticalSpacing);
    EXPECT_EQ(std::memcmp(&b.rect, &h.rect, sizeof b.rect), 0);
    EXPECT_EQ(b.backgroundKind, h.backgroundKind) << "round " << round;
    EXPECT_EQ(b.border.style, h.border.style);
    EXPECT_STREQ(b.titleText, h.titleText);
    EXPECT_STREQ(b.subtitleText, h.subtitleText);
    // Files keep a title's font with its text only.
    if (h.subtitleText[0]) {
      EXPECT_EQ(b.subtitleFont.colorSet, h.subtitleFont.colorSet);
      EXPECT_EQ(uint32_t{b.subtitleFont.color}, uint32_t{h.subtitleFont.color});
    }
    // and the settings of the chosen background only.
    if (h.backgroundKind == kBackgroundFractal) {
      EXPECT_EQ(std::memcmp(&b.fractal, &h.fractal, sizeof b.fractal), 0);
      EXPECT_EQ(std::memcmp(b.palette, h.palette, sizeof b.palette), 0);
    }
    if (h.backgroundKind == kBackgroundImage) {
      EXPECT_STREQ(b.imageName, h.imageName);
      EXPECT_EQ(b.imageView, h.imageView);
    }
    if (h.backgroundKind == kBackgroundPattern) {
      EXPECT_EQ(b.fill.pattern, h.fill.pattern);
    }
  }
}

}  // namespace
