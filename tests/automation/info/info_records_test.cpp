// The rules of the FormatInfo and TextFileInfo objects' members.

#include "automation/info/format_info_record.h"
#include "automation/info/text_file_info_record.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/os_services.h"

namespace {

TEST(FormatInfoRecord, UnsetColoursReadAsTheSystemColoursACellShows) {
  FormatInfoRecord record = {};
  const uint32_t text = OsSysColor(kOsColorWindowText), window = OsSysColor(kOsColorWindow);
  EXPECT_EQ(record.FontColor(), text);
  EXPECT_EQ(record.FillBackgroundColor(), window);
  EXPECT_EQ(record.FillPatternColor(), window);
  EXPECT_EQ(record.BorderColor(), text);
  record.fillType = 1;
  EXPECT_EQ(record.FillPatternColor(), window);
  record.fillType = 4;
  EXPECT_EQ(record.FillPatternColor(), text);
  record.fillPatternColorSet = 1;
  record.fillPatternColor = 0x123456;
  EXPECT_EQ(record.FillPatternColor(), 0x123456u);
}

TEST(FormatInfoRecord, FontSizeAndNameStayWithinTheirRoom) {
  const struct {
    int32_t size;
    bool taken;
  } sizes[] = {{0, false}, {1, true}, {254, true}, {255, false}, {-3, false}, {100000, false}};
  for (const auto& c : sizes) {
    FormatInfoRecord record = {};
    EXPECT_EQ(record.SetFontSize(c.size), c.taken) << c.size;
    EXPECT_EQ(record.fontSize, c.taken ? c.size : 0);
    EXPECT_EQ(record.error, c.taken ? kInfoNoError : kInfoInvalidArgument);
  }
  FormatInfoRecord record = {};
  EXPECT_TRUE(record.SetFontName(std::string(127, 'a').c_str()));
  EXPECT_FALSE(record.SetFontName(std::string(128, 'b').c_str()));
  EXPECT_EQ(std::string(record.fontName), std::string(127, 'a'));
  EXPECT_EQ(FormatInfoRecord::FlagOf(-1), 1);
  EXPECT_EQ(FormatInfoRecord::FlagOf(0), 0);
}

TEST(TextFileInfoRecord, StartsWithCommaQuoteUtf8AndRecognisedValues) {
  TextFileInfoRecord record;
  EXPECT_EQ(record.options.separator, ',');
  EXPECT_EQ(record.options.quote, '"');
  EXPECT_EQ(record.options.charset, 1);
  EXPECT_EQ(record.options.recognizeValues, 1);
  EXPECT_EQ(record.options.fixedWidth, 0);
}

TEST(TextFileInfoRecord, ChecksEncodingConversionAndWidthBounds) {
  TextFileInfoRecord record;
  for (int32_t encoding : {0, 4}) EXPECT_FALSE(record.SetEncoding(encoding));
  EXPECT_TRUE(record.SetEncoding(3));
  EXPECT_EQ(record.options.charset, 3);
  for (int32_t conversion : {-1, 2}) EXPECT_FALSE(record.SetConversion(conversion));
  EXPECT_TRUE(record.SetConversion(0));
  EXPECT_EQ(record.options.recognizeValues, 0);

  const struct {
    int32_t lower, upper;
    bool fits;
  } bounds[] = {{0, 2046, true}, {5, 9, true}, {0, 2047, false}, {-1, 3, false}, {0, -1, false}, {2046, 2046, true}};
  for (const auto& b : bounds) EXPECT_EQ(record.WidthBoundsFit(b.lower, b.upper), b.fits) << b.lower << ".." << b.upper;
}

TEST(TextFileInfoRecord, FixedWidthsOnlyForExactlyOneAndASeparatorEndsThem) {
  TextFileInfoRecord record;
  const struct {
    int32_t value;
    uint8_t flag;
  } cases[] = {{1, 1}, {-1, 0}, {2, 0}, {1, 1}, {0, 0}};
  for (const auto& c : cases) {
    record.SetFixedWidths(c.value);
    EXPECT_EQ(record.options.fixedWidth, c.flag) << c.value;
  }
  record.SetFixedWidths(1);
  record.SetSeparator(';');
  EXPECT_EQ(record.options.separator, ';');
  EXPECT_EQ(record.options.fixedWidth, 0);
}

}  // namespace
