#include "core/model/page_settings.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/base/scheme_colors.h"

TEST(PageSettings, NewWorksheetPrintsAtFullSizeFromPageOne) {
  PageSettings settings;
  std::memset(&settings, 0xAB, sizeof settings);
  InitPageSettings(&settings);

  EXPECT_EQ(settings.scale, 100);
  EXPECT_EQ(settings.firstPageNumber, 1);
  EXPECT_EQ(settings.copies, 1);
  EXPECT_STREQ(settings.headerText, "&c Document: &f");
  EXPECT_STREQ(settings.footerText, "&c &p");
  EXPECT_EQ(settings.headerColorSet, 1);
  EXPECT_EQ(settings.headerColor, GetSchemeColor(kSchemeWindowText));
  EXPECT_EQ(settings.onFirstPage, 1);
  EXPECT_EQ(settings.headerMargin, 12.7);
  EXPECT_EQ(settings.footerMargin, 20.32);
  EXPECT_EQ(settings.marginLeft, 12.7);
  EXPECT_EQ(settings.marginRight, 12.7);
  EXPECT_EQ(settings.marginTop, 20.32);
  EXPECT_EQ(settings.marginBottom, 27.939);
  EXPECT_EQ(settings.pagesPerSheetRows, 1);
  EXPECT_EQ(settings.pagesPerSheetColumns, 1);
  EXPECT_EQ(settings.rowHeadings, 1);
  EXPECT_EQ(settings.columnHeadings, 1);
  EXPECT_EQ(settings.landscape, 0);
  EXPECT_EQ(settings.printRangeKind, kPrintAll);
  EXPECT_EQ(settings.fitToSheetSize, 0);
}

// Files store the record byte for byte: everything but the defaults, the
// reserved bytes and the tails of the texts included, must be zero.
TEST(PageSettings, EveryOtherByteIsZero) {
  PageSettings settings;
  std::memset(&settings, 0xCD, sizeof settings);
  InitPageSettings(&settings);

  PageSettings rest = settings;
  rest.scale = 0;
  rest.firstPageNumber = 0;
  rest.copies = 0;
  std::memset(rest.headerText, 0, std::strlen(rest.headerText));
  std::memset(rest.footerText, 0, std::strlen(rest.footerText));
  rest.headerColorSet = 0;
  rest.headerColor = 0;
  rest.onFirstPage = 0;
  rest.headerMargin = rest.footerMargin = 0;
  rest.marginLeft = rest.marginRight = rest.marginTop = rest.marginBottom = 0;
  rest.pagesPerSheetRows = rest.pagesPerSheetColumns = 0;
  rest.rowHeadings = rest.columnHeadings = 0;

  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&rest);
  for (size_t i = 0; i < sizeof rest; ++i) ASSERT_EQ(bytes[i], 0) << "offset " << i;
}
