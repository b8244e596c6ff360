#include "dialogs/printing/print_sheet_values.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

PageSettings Defaults() {
  PageSettings settings;
  InitPageSettings(&settings);
  return settings;
}

const LengthUnit kCentimetres = {false, '.'};
const LengthUnit kInches = {true, ','};
const PrinterMinimumMargins kNoMinimum = {0, 0, 0, 0};
const PaperExtent kA4 = {210, 297};

TEST(PrintSheetValues, LengthsShowInCentimetresOrInchesAndComeBack) {
  EXPECT_DOUBLE_EQ(MillimetresToShown(25.3995, kInches), 1.0);
  EXPECT_DOUBLE_EQ(ShownToMillimetres(1.0, kInches), 25.3995);
  EXPECT_DOUBLE_EQ(MillimetresToShown(12.7, kCentimetres), 1.27);
  PageSettings settings = Defaults();
  settings.marginLeft = 25.3995;
  settings.headerMargin = 12.7;
  PrintSheetValues values;
  LoadPrintSheetValues(settings, kInches, &values);
  EXPECT_STREQ(values.marginLeft, "1");
  EXPECT_STREQ(values.headerPosition, "0,5");
  PageSettings stored = Defaults();
  StorePrintSheetValues(values, kInches, &stored);
  EXPECT_DOUBLE_EQ(stored.marginLeft, 25.3995);
}

TEST(PrintSheetValues, RangeKindsAlignmentAndFieldsRoundTrip) {
  struct Case {
    uint8_t kind;
    int choice;
    uint8_t stored;
  } cases[] = {{kPrintAll, 0, kPrintAll},
               {kPrintSelectedCells, 1, kPrintSelection},
               {kPrintContainer, 1, kPrintSelection},
               {kPrintPageList, 2, kPrintPageList}};
  for (const Case& c : cases) {
    PageSettings settings = Defaults();
    settings.printRangeKind = c.kind;
    std::strcpy(settings.pages, "1-2");
    settings.alignment = 4 | 32;
    PrintSheetValues values;
    LoadPrintSheetValues(settings, kCentimetres, &values);
    EXPECT_EQ(values.rangeChoice, c.choice);
    EXPECT_EQ(values.horizontalItem, 2);
    EXPECT_EQ(values.verticalItem, 2);
    PageSettings stored = Defaults();
    StorePrintSheetValues(values, kCentimetres, &stored);
    EXPECT_EQ(stored.printRangeKind, c.stored) << int(c.kind);
    EXPECT_EQ(stored.alignment, 4 | 32);
  }
  // A field of 128 characters without its NUL stays 127 long and ended.
  PageSettings settings = Defaults();
  std::memset(settings.headerText, 'x', sizeof settings.headerText);
  PrintSheetValues values;
  LoadPrintSheetValues(settings, kCentimetres, &values);
  StorePrintSheetValues(values, kCentimetres, &settings);
  EXPECT_EQ(std::strlen(settings.headerText), 127u);
}

TEST(PrintSheetValues, EachPagesChecksNameTheirControlAndMessage) {
  namespace ids = print_sheet_ids;
  struct Case {
    const char* what;
    void (*change)(PrintSheetValues*);
    int page;  // 0 General, 1 Layout, 2 Content
    int control;
    unsigned message;
  } cases[] = {
      {"pages", [](PrintSheetValues* v) { std::strcpy(v->pages, "3-x"); }, 0, ids::kPages, 130},
      {"copies", [](PrintSheetValues* v) { std::strcpy(v->copies, "0"); }, 0, ids::kCopies, 130},
      // A text that is no integer names the range as a number beyond it does.
      {"copies text", [](PrintSheetValues* v) { std::strcpy(v->copies, "two"); }, 0, ids::kCopies, 130},
      // Digits past what any integer holds are out of range, not a text.
      {"copies digits", [](PrintSheetValues* v) { std::memset(v->copies, '9', 31); }, 0, ids::kCopies, 130},
      {"header", [](PrintSheetValues* v) { std::memset(v->headerText, 'h', 128); }, 1, ids::kHeaderText, 131},
      {"rows", [](PrintSheetValues* v) { std::strcpy(v->sheetRows, "11"); }, 1, ids::kSheetRows, 130},
      {"margin", [](PrintSheetValues* v) { std::strcpy(v->marginTop, "0.1"); }, 1, ids::kMarginTop, 132},
      {"footer", [](PrintSheetValues* v) { std::strcpy(v->footerPosition, "0"); }, 1, ids::kFooterPosition, 132},
      {"scale", [](PrintSheetValues* v) { std::strcpy(v->scale, "9"); }, 2, ids::kScale, 130},
      {"scale text", [](PrintSheetValues* v) { std::strcpy(v->scale, "abc"); }, 2, ids::kScale, 130},
      {"scale fraction", [](PrintSheetValues* v) { std::strcpy(v->scale, "2.5"); }, 2, ids::kScale, 130},
      // The files keep the first page number in 16 bits.
      {"first page", [](PrintSheetValues* v) { std::strcpy(v->firstPage, "65535"); }, 2, ids::kFirstPage, 130},
      // A negative length lies below the printer's minimum; one that is no
      // number at all is asked for as a number from that minimum.
      {"negative", [](PrintSheetValues* v) { std::strcpy(v->marginLeft, "-5"); }, 1, ids::kMarginLeft, 132},
      {"empty", [](PrintSheetValues* v) { v->marginRight[0] = '\0'; }, 1, ids::kMarginRight, 176},
      {"letters", [](PrintSheetValues* v) { std::strcpy(v->headerPosition, "abc"); }, 1, ids::kHeaderPosition, 176},
      {"rows list", [](PrintSheetValues* v) { std::strcpy(v->excludedRows, "0-3"); }, 2, ids::kExcludedRows, 133},
      {"columns list", [](PrintSheetValues* v) { std::strcpy(v->excludedColumns, "2048"); }, 2,
       ids::kExcludedColumns, 133},
  };
  const PrinterMinimumMargins minimum = {6.35, 6.35, 6.35, 6.35};
  for (const Case& c : cases) {
    PrintSheetValues values;
    LoadPrintSheetValues(Defaults(), kCentimetres, &values);
    PrintSheetFailure failure = {};
    ASSERT_TRUE(CheckGeneralPage(values, &failure) && CheckLayoutPage(values, kCentimetres, minimum, kA4, &failure) &&
                CheckContentPage(values, &failure));
    c.change(&values);
    const bool passed = c.page == 0   ? CheckGeneralPage(values, &failure)
                        : c.page == 1 ? CheckLayoutPage(values, kCentimetres, minimum, kA4, &failure)
                                      : CheckContentPage(values, &failure);
    EXPECT_FALSE(passed) << c.what;
    EXPECT_EQ(failure.controlId, c.control) << c.what;
    EXPECT_EQ(failure.messageId, c.message) << c.what;
  }
  // The minimum is shown in the field's unit, for a number below it and
  // for a text that is none.
  PrintSheetValues values;
  for (const char* text : {"0", "", "x"}) {
    LoadPrintSheetValues(Defaults(), kCentimetres, &values);
    std::strcpy(values.marginLeft, text);
    PrintSheetFailure failure = {};
    EXPECT_FALSE(CheckLayoutPage(values, kCentimetres, minimum, kA4, &failure));
    EXPECT_EQ(std::string(failure.text), "0.635") << text;
  }
  PrintSheetFailure failure = {};
  // A list with a blank after a comma passes.
  std::strcpy(values.pages, "1, 3");
  EXPECT_TRUE(CheckGeneralPage(values, &failure));

  // The first page number is refused beyond what the files keep, naming
  // that limit; the largest it takes is stored as it stands.
  std::strcpy(values.firstPage, "16777215");
  EXPECT_FALSE(CheckContentPage(values, &failure));
  EXPECT_EQ(failure.first, 1);
  EXPECT_EQ(failure.second, 65534);
  std::strcpy(values.firstPage, "65534");
  ASSERT_TRUE(CheckContentPage(values, &failure));
  PageSettings settings = Defaults();
  StorePrintSheetValues(values, kCentimetres, &settings);
  EXPECT_EQ(settings.firstPageNumber, 65534);
}

// Lengths each above the printer's minimum may still leave no page to print
// on: refused with the printable area's size, on the field most likely
// mistyped.
TEST(PrintSheetValues, LengthsMustLeaveRoomToPrint) {
  namespace ids = print_sheet_ids;
  using Field = char(PrintSheetValues::*)[kPrintNumberCapacity];
  const struct {
    LengthUnit unit;
    Field field;
    const char* text;
    int control;  // 0: accepted
  } cases[] = {
      {kCentimetres, &PrintSheetValues::marginLeft, "1e308", ids::kMarginLeft},
      // With the left margin of 1.27 cm: past the paper's width, then not.
      {kCentimetres, &PrintSheetValues::marginRight, "19.8", ids::kMarginRight},
      {kCentimetres, &PrintSheetValues::marginRight, "19.7", 0},
      {kCentimetres, &PrintSheetValues::marginTop, "27", ids::kMarginTop},
      {kCentimetres, &PrintSheetValues::headerPosition, "30", ids::kHeaderPosition},
      {kInches, &PrintSheetValues::marginRight, "7,8", ids::kMarginRight},
  };
  for (const auto& c : cases) {
    PrintSheetValues values;
    LoadPrintSheetValues(Defaults(), c.unit, &values);
    std::strcpy(values.*c.field, c.text);
    PrintSheetFailure failure = {};
    EXPECT_EQ(CheckLayoutPage(values, c.unit, kNoMinimum, kA4, &failure), c.control == 0) << c.text;
    if (c.control == 0) continue;
    EXPECT_EQ(failure.controlId, c.control) << c.text;
    EXPECT_EQ(failure.messageId, kPrintNoRoomMessage) << c.text;
    EXPECT_EQ(std::string(failure.text), c.unit.imperial ? "8,268\" x 11,693\"" : "21 x 29.7 cm");
  }
}

}  // namespace
