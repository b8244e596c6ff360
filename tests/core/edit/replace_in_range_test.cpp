#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/edit/cell_input.h"
#include "core/cells/cell_store.h"
#include "core/edit/cell_text.h"
#include "core/formula/eval_state.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "core/edit/replace_in_range.h"
#include "core/styles/sheet_format.h"
#include "core/styles/style_table.h"

namespace {

struct ReplaceCase {
  const char* text;
  const char* pattern;
  const char* replacement;
  bool matchCase;
  bool wholeText;
  const char* result;  // null: nothing matched
};

TEST(ReplaceInText, ReplacesExactlyWhatMatched) {
  const ReplaceCase cases[] = {
      {"5*3", "~*", "x", false, false, "5x3"},
      {"abc", "b", "", false, false, "ac"},
      {"aaa", "a", "bb", false, false, "bbbbbb"},
      {"a.b.c", ".", "..", false, false, "a..b..c"},
      {"abcabc", "b?", "X", false, false, "aXaX"},
      {"xaXbYb", "a*b", "_", false, false, "x_Yb"},
      {"abc", "a*c", "X", false, true, "X"},
      {"abc", "b", "X", false, true, nullptr},
      {"abc", "*", "X", false, false, "X"},
      {"", "*", "X", false, false, "X"},
      {"ab", "abc", "X", false, false, nullptr},  // the pattern runs past the text
      {"xab", "abc", "X", false, false, nullptr},
      {"ABC", "b", "x", false, false, "AxC"},
      {"ABC", "b", "x", true, false, nullptr},
      {"x~y", "~y", "Z", false, false, "xZ"},
      {"what?", "~?", "!", false, false, "what!"},
      {"12", "", "X", false, false, nullptr},
  };
  for (const ReplaceCase& c : cases) {
    char buffer[1025];
    bool changed = true;
    ASSERT_TRUE(ReplaceInText(c.text, c.pattern, c.replacement, c.matchCase, c.wholeText, buffer, sizeof buffer,
                              &changed))
        << c.text;
    EXPECT_EQ(changed, c.result != nullptr) << c.text << " / " << c.pattern;
    EXPECT_STREQ(buffer, c.result ? c.result : c.text) << c.text << " / " << c.pattern;
  }
}

TEST(ReplaceInText, RefusesResultsBeyondTheCellLimit) {
  char buffer[1025];
  bool changed = false;
  const std::string a600(600, 'a');
  EXPECT_FALSE(ReplaceInText(a600.c_str(), "a", "bb", false, false, buffer, sizeof buffer, &changed));
  EXPECT_TRUE(changed);
  EXPECT_STREQ(buffer, "");
  const std::string a512(512, 'a');
  ASSERT_TRUE(ReplaceInText(a512.c_str(), "a", "bb", false, false, buffer, sizeof buffer, &changed));
  EXPECT_EQ(std::strlen(buffer), 1024u);
  char small[8];
  EXPECT_FALSE(ReplaceInText("abcdef", "c", "xyz", false, false, small, sizeof small, &changed));
}

class ReplaceInRangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = CurrentRegionalSettings();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ResetGlobalOptions();
  }
  void TearDown() override {
    CurrentRegionalSettings() = saved_;
    ResetGlobalOptions();
    SetStorePageAllocatorForTesting(nullptr);
  }

  std::vector<uint8_t> Typed(uint32_t row, uint16_t column, const char* text) {
    NumFormatParams format = formats_.At(row, column);
    std::vector<uint8_t> bytes(kCellInputCapacity);
    bytes.resize(ParseCellInput(translator_, text, &format, row, column, bytes.data(), bytes.size()));
    return bytes;
  }
  void Type(uint32_t row, uint16_t column, const char* text) { Put(Typed(row, column, text)); }
  void Put(const std::vector<uint8_t>& bytes) {
    ASSERT_FALSE(bytes.empty());
    ASSERT_TRUE(cells_.InsertCell(AsCellRecord(bytes.data()), nullptr));
  }
  void PutText(uint32_t row, uint16_t column, const std::string& text, uint8_t typeExtra = 0) {
    std::vector<uint8_t> bytes(kTextCellHeadSize + text.size());
    BuildTextCell(bytes.data(), bytes.size(), row, column, text.data(), static_cast<uint16_t>(text.size()),
                  typeExtra);
    Put(bytes);
  }
  // The cell's record, byte for byte.
  std::vector<uint8_t> At(uint32_t row, uint16_t column) {
    const CellRecord* cell = cells_.GetCell(row, column);
    if (!cell) return {};
    return std::vector<uint8_t>(cell->Bytes(), cell->Bytes() + cell->Size());
  }
  std::string EditText(uint32_t row, uint16_t column) {
    char buffer[1025];
    GetCellText(translator_, cells_, formats_, column, column, row, row, false, false, buffer, sizeof buffer);
    return buffer;
  }
  bool Replace(const char* pattern, const char* replacement, bool matchCase = false, bool wholeText = false) {
    return ReplaceInRange(translator_, cells_, formats_, 0, kMaxColumn, 0, kMaxRow, pattern, replacement,
                          matchCase, wholeText, &outcome_);
  }

  RegionalSettings saved_;
  EvalState translator_;
  CellStore cells_;
  std::unique_ptr<StyleTable> styles_ = std::make_unique<StyleTable>();
  std::unique_ptr<SheetFormat> sheet_ = std::make_unique<SheetFormat>();
  CellFormats formats_{sheet_.get(), styles_.get()};
  ReplaceOutcome outcome_{};
};

TEST_F(ReplaceInRangeTest, RetypesChangedCells) {
  Type(0, 0, "1");
  Type(0, 1, "apple");
  Type(1, 0, "=A1*10");
  Type(1, 1, "3.14159");
  PutText(0, 2, "1", kCellSpillValue);            // a value an array formula wrote
  PutText(0, 3, std::string(1500, '1'));          // longer than a cell may take
  PutText(0, 4, std::string(600, '1') + "x");     // would grow past the limit
  const std::vector<uint8_t> spill = At(0, 2);

  ASSERT_TRUE(Replace("1", "2"));
  EXPECT_EQ(outcome_.replaced, 4u);
  EXPECT_EQ(outcome_.refused, 1u);
  EXPECT_EQ(EditText(0, 4), std::string(600, '2') + "x");
  ASSERT_TRUE(Replace("2", "11"));
  EXPECT_EQ(outcome_.replaced, 3u);
  EXPECT_EQ(outcome_.refused, 1u);
  EXPECT_EQ(At(0, 0), Typed(0, 0, "11"));
  EXPECT_EQ(At(1, 0), Typed(1, 0, "=A11*110"));
  EXPECT_EQ(At(1, 1), Typed(1, 1, "3.1141159"));
  EXPECT_EQ(EditText(0, 1), "apple");
  EXPECT_EQ(At(0, 2), spill);
  EXPECT_EQ(cells_.GetCell(0, 3)->TextLength(), 1500);
  EXPECT_EQ(EditText(0, 4), std::string(600, '2') + "x");
  EXPECT_TRUE(cells_.CheckInvariants());
}

TEST_F(ReplaceInRangeTest, OptionsAndRetypedKinds) {
  Type(0, 0, "APPLE");
  Type(1, 0, "5*3");
  Type(2, 0, "12");
  ASSERT_TRUE(Replace("apple", "pear", true));
  EXPECT_EQ(outcome_.replaced, 0u);
  ASSERT_TRUE(Replace("a*e", "pear", false, true));
  EXPECT_EQ(EditText(0, 0), "pear");
  ASSERT_TRUE(Replace("~*", "e"));
  EXPECT_EQ(At(1, 0), Typed(1, 0, "5e3"));  // now a number
  EXPECT_DOUBLE_EQ(cells_.GetCell(1, 0)->Number(), 5000);
  ASSERT_TRUE(Replace("12", "=1+"));
  EXPECT_TRUE(cells_.GetCell(2, 0)->IsFormula());
}

TEST_F(ReplaceInRangeTest, ArrayFormulaKeepsItsExtent) {
  std::vector<uint8_t> bytes = Typed(0, 0, "=A5:B7*2");
  AsCellRecord(bytes.data())->SetArrayColumns(2);
  AsCellRecord(bytes.data())->SetArrayRows(3);
  AsCellRecord(bytes.data())->SetResultFlags(kResultCachedNumber | kResultArray);
  Put(bytes);
  ASSERT_TRUE(Replace("2", "3"));
  const CellRecord* cell = cells_.GetCell(0, 0);
  ASSERT_TRUE(cell->IsFormula());
  EXPECT_EQ(EditText(0, 0), "=A5:B7*3");
  EXPECT_EQ(cell->ArrayColumns(), 2);
  EXPECT_EQ(cell->ArrayRows(), 3u);
  EXPECT_TRUE(cell->ResultFlags() & kResultArray);
}

void* NoMemory(size_t) { return nullptr; }

TEST_F(ReplaceInRangeTest, OutOfMemoryChangesNothing) {
  for (uint32_t row = 0; row < 200; ++row) Type(row, 0, "1");
  const std::vector<uint8_t> before = At(0, 0);
  SetStorePageAllocatorForTesting(NoMemory);
  EXPECT_FALSE(Replace("1", "2"));
  SetStorePageAllocatorForTesting(nullptr);
  EXPECT_EQ(At(0, 0), before);
  EXPECT_EQ(At(199, 0), Typed(199, 0, "1"));
  EXPECT_TRUE(cells_.CheckInvariants());
}

}  // namespace
