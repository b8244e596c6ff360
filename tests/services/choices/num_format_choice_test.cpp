#include "services/choices/num_format_choice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "core/numfmt/regional_settings.h"
#include "resources/resource_ids.h"
#include "services/settings/global_options.h"

namespace {

// The current settings of a continental region for one test.
class CommaDecimals {
 public:
  CommaDecimals() : saved_(CurrentRegionalSettings()) {
    RegionalSettings& s = CurrentRegionalSettings();
    s.decimalSeparator = ',';
    s.thousandsSeparator = '.';
    s.dateSeparator = '.';
    s.shortDateOrder = kDateOrderDayMonthYear;
    std::snprintf(s.currency, sizeof s.currency, "%s", "kr");
  }
  ~CommaDecimals() { CurrentRegionalSettings() = saved_; }

 private:
  RegionalSettings saved_;
};

struct Host {
  std::unique_ptr<ProfileLists> lists = std::make_unique<ProfileLists>();
  NumFormatChoice choice;
  NumFormatChoice::Shown shown = {};
  int bad = 0;

  Host() {
    std::memset(lists.get(), 0, sizeof *lists);
    choice.Reset();
  }
  void AddNamed(const char* name, const char* pattern) {
    const int k = lists->userFormatCount++;
    std::snprintf(lists->userFormatNames[k], kUserFormatTextSize, "%s", name);
    std::snprintf(lists->userFormatPatterns[k], kUserFormatTextSize, "%s", pattern);
  }
  int ComboCount() const { return kBuiltinCategoryCount + lists->userFormatCount; }
  // The sub-page's controls as the last load left them.
  SubPageFields Fields() const {
    SubPageFields fields;
    LoadSubPageFields(shown.subPage, choice.saved[shown.subPage].options, &fields);
    return fields;
  }
  // A combo entry chosen by the user: chosen, loaded, stored.
  bool Choose(int index) {
    choice.ChooseEntry(index, lists.get());
    choice.Load(lists.get(), &shown);
    const SubPageFields fields = Fields();
    return choice.Store(shown.comboIndex, shown.code, &fields, lists.get(), &shown, &bad);
  }
  bool Type(const char* code) {
    const int index = shown.comboIndex < kBuiltinCategoryCount ? -1 : shown.comboIndex;
    return choice.Store(index, code, nullptr, lists.get(), &shown, &bad);
  }
  bool Edit(const SubPageFields& fields) {
    return choice.Store(shown.comboIndex, shown.code, &fields, lists.get(), &shown, &bad);
  }
};

TEST(NumFormatChoice, CategoryOptionsSurviveVisitingAnother) {
  Host h;
  ASSERT_TRUE(h.Choose(kNumFormatCurrency));
  SubPageFields fields = h.Fields();
  fields.value[0] = 4;  // decimals
  ASSERT_TRUE(h.Edit(fields));
  EXPECT_EQ(4, h.choice.params.options.currency.decimals);
  ASSERT_TRUE(h.Choose(kNumFormatDate));
  EXPECT_EQ(kNumFormatDate, h.choice.params.category);
  ASSERT_TRUE(h.Choose(kNumFormatCurrency));
  EXPECT_EQ(4, h.Fields().value[0]);
  EXPECT_EQ(4, h.choice.params.options.currency.decimals);
  EXPECT_STREQ("\\$#,##0.0000", h.shown.code);
  // A new host starts from the defaults again.
  h.choice.Reset();
  EXPECT_EQ(2, h.choice.saved[kNumFormatCurrency].options.currency.decimals);
}

TEST(NumFormatChoice, TypedCodeBecomesAUserPatternOrEditsTheNamedFormat) {
  Host h;
  h.AddNamed("Two places", "0.00");
  ASSERT_TRUE(h.Choose(kNumFormatCurrency));
  ASSERT_TRUE(h.Type("0.000"));
  EXPECT_EQ(-1, h.shown.comboIndex);
  EXPECT_EQ(kNumFormatUserPattern, h.choice.params.category);
  EXPECT_STREQ("0.000", h.choice.params.code);

  ASSERT_TRUE(h.Choose(kBuiltinCategoryCount));
  EXPECT_STREQ("0.00", h.choice.params.code);
  EXPECT_TRUE(h.shown.deleteEnabled);
  ASSERT_TRUE(h.Type("0.0#"));
  EXPECT_EQ(kBuiltinCategoryCount, h.shown.comboIndex);
  EXPECT_STREQ("0.0#", h.lists->userFormatPatterns[0]);
  // A code too long for a pattern leaves the named format and its entry.
  const std::string longCode = "0.00" + std::string(60, '#');
  ASSERT_TRUE(h.Type(longCode.c_str()));
  EXPECT_EQ(-1, h.shown.comboIndex);
  EXPECT_STREQ("0.0#", h.lists->userFormatPatterns[0]);
  EXPECT_EQ(longCode, h.choice.params.code);
  // A code that does not compile stores nothing.
  const NumFormatParams before = h.choice.params;
  EXPECT_FALSE(h.Type("0.0\"unclosed"));
  EXPECT_EQ(0, std::memcmp(&before, &h.choice.params, sizeof before));
}

TEST(NumFormatChoice, LoadSelectsTheNamedFormatWhosePatternMatches) {
  Host h;
  h.AddNamed("One", "0.0");
  h.AddNamed("Two", "0.00");
  h.AddNamed("Two again", "0.00");
  h.choice.params.category = kNumFormatUserPattern;
  std::snprintf(h.choice.params.code, sizeof h.choice.params.code, "%s", "0.00");
  h.choice.Load(h.lists.get(), &h.shown);
  EXPECT_EQ(kBuiltinCategoryCount + 1, h.shown.comboIndex);
  std::snprintf(h.choice.params.code, sizeof h.choice.params.code, "%s", "0.000");
  h.choice.Load(h.lists.get(), &h.shown);
  EXPECT_EQ(-1, h.shown.comboIndex);
  EXPECT_FALSE(h.shown.deleteEnabled);
  EXPECT_STREQ("0.000", h.shown.code);
  // A scientific cell loads its options and sub-page; loading stores nothing.
  h.choice.params = {};
  h.choice.params.category = kNumFormatScientific;
  h.choice.params.options.scientific.decimals = 3;
  h.choice.params.options.scientific.fixedDecimals = 1;
  h.choice.Load(h.lists.get(), &h.shown);
  EXPECT_EQ(kNumFormatScientific, h.shown.comboIndex);
  EXPECT_EQ(kNumFormatScientific, h.shown.subPage);
  EXPECT_EQ(3, h.choice.saved[kNumFormatScientific].options.scientific.decimals);
  EXPECT_STREQ("0.000e+00", h.shown.code);
}

TEST(NumFormatChoice, NewIsRefusedAtItsLimits) {
  const struct {
    int named;
    bool allowed;
  } cases[] = {{0, true}, {39, true}, {40, false}, {45, true}, {49, false}, {50, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.named);
    Host h;
    for (int i = 0; i < c.named; ++i) h.AddNamed("x", "0");
    EXPECT_EQ(c.allowed, h.choice.AddUserFormat("Mine", "0.0", h.ComboCount(), h.lists.get()));
    EXPECT_EQ(c.named + (c.allowed ? 1 : 0), h.lists->userFormatCount);
  }
  Host h;
  // A pattern must compile and fit its 49 characters.
  EXPECT_FALSE(h.choice.AddUserFormat("Bad", "\"open", h.ComboCount(), h.lists.get()));
  EXPECT_FALSE(h.choice.AddUserFormat("Long", std::string(50, '0').c_str(), h.ComboCount(), h.lists.get()));
  ASSERT_TRUE(h.choice.AddUserFormat("Mine", "0.0", h.ComboCount(), h.lists.get()));
  EXPECT_STREQ("Mine", h.lists->userFormatNames[0]);
  h.choice.Load(h.lists.get(), &h.shown);
  EXPECT_EQ(kBuiltinCategoryCount, h.shown.comboIndex);
}

TEST(NumFormatChoice, DeletingTheFirstNamedFormatChoosesScientific) {
  Host h;
  h.AddNamed("A", "0.0");
  h.AddNamed("B", "0.00");
  ASSERT_TRUE(h.Choose(kBuiltinCategoryCount));
  ASSERT_TRUE(h.choice.DeleteUserFormat(kBuiltinCategoryCount, h.lists.get()));
  EXPECT_EQ(1, h.lists->userFormatCount);
  EXPECT_STREQ("B", h.lists->userFormatNames[0]);
  EXPECT_STREQ("0.00", h.lists->userFormatPatterns[0]);
  EXPECT_EQ(kNumFormatScientific, h.choice.params.category);
  EXPECT_FALSE(h.choice.DeleteUserFormat(kNumFormatScientific, h.lists.get()));
}

TEST(NumFormatChoice, InvalidFractionOrExponentStoresNothing) {
  const struct {
    uint8_t category;
    int mode;
    const char* first;
    const char* second;
    int bad;
  } cases[] = {
      {kNumFormatFraction, 0, "0", "2", IDC_TEXT_EDIT},
      {kNumFormatFraction, 0, "15", "2", IDC_TEXT_EDIT},
      {kNumFormatFraction, 1, "x", "2", IDC_TEXT_EDIT},
      {kNumFormatFraction, 1, "3", "0", IDC_SECOND_EDIT},
      {kNumFormatFraction, 0, "3", "4294967295", IDC_SECOND_EDIT},
      {kNumFormatFraction, 1, "14", "4294967294", 0},
      {kNumFormatScientific, 1, "", "100", IDC_TEXT_EDIT},
      {kNumFormatScientific, 1, "", "-100", IDC_TEXT_EDIT},
      {kNumFormatScientific, 0, "", "1e", IDC_TEXT_EDIT},
      {kNumFormatScientific, 1, "", "-99", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.first) + " " + c.second);
    Host h;
    ASSERT_TRUE(h.Choose(c.category));
    const NumFormatParams before = h.choice.params;
    SubPageFields fields = h.Fields();
    if (c.category == kNumFormatFraction) {
      fields.value[0] = c.mode;
      std::snprintf(fields.text[1], kSubFieldTextSize, "%s", c.first);
      std::snprintf(fields.text[2], kSubFieldTextSize, "%s", c.second);
    } else {
      fields.value[2] = c.mode;
      std::snprintf(fields.text[3], kSubFieldTextSize, "%s", c.second);
    }
    EXPECT_EQ(c.bad == 0, h.Edit(fields));
    EXPECT_EQ(c.bad, h.bad);
    if (c.bad != 0) {
      EXPECT_EQ(0, std::memcmp(&before, &h.choice.params, sizeof before));
    }
  }
  // The fraction's entries stay in its saved options even when refused.
  Host h;
  ASSERT_TRUE(h.Choose(kNumFormatFraction));
  SubPageFields fields = h.Fields();
  fields.value[0] = 1;
  std::snprintf(fields.text[1], kSubFieldTextSize, "0");
  std::snprintf(fields.text[2], kSubFieldTextSize, "16");
  EXPECT_FALSE(h.Edit(fields));
  EXPECT_EQ(1, h.choice.saved[kNumFormatFraction].options.fraction.fixedDenominator);
  EXPECT_EQ(0, h.choice.saved[kNumFormatFraction].options.fraction.denominatorDigits);
  EXPECT_EQ(16u, h.choice.saved[kNumFormatFraction].options.fraction.denominator + 0u);
  // A negative exponent is its magnitude and the negative style.
  ASSERT_TRUE(h.Choose(kNumFormatScientific));
  fields = h.Fields();
  fields.value[2] = 1;
  std::snprintf(fields.text[3], kSubFieldTextSize, "-7");
  ASSERT_TRUE(h.Edit(fields));
  EXPECT_EQ(kExponentFixedNegative, h.choice.params.options.scientific.exponentStyle);
  EXPECT_EQ(7, h.choice.params.options.scientific.exponentValue);
}

TEST(NumFormatChoice, CodeEditShowsCurrentSeparatorsAndStoresGenericOnes) {
  CommaDecimals region;
  Host h;
  EXPECT_STREQ("kr", h.choice.saved[kNumFormatCurrency].options.currency.symbol);
  ASSERT_TRUE(h.Choose(kNumFormatGeneral));
  SubPageFields fields = h.Fields();
  fields.value[0] = 1;  // fixed decimals, 2
  fields.value[4] = 1;  // thousands
  ASSERT_TRUE(h.Edit(fields));
  EXPECT_STREQ("#.##0,00", h.shown.code);
  ASSERT_TRUE(h.Type("#.##0,000"));
  EXPECT_STREQ("#,##0.000", h.choice.params.code);
  h.choice.Load(h.lists.get(), &h.shown);
  EXPECT_STREQ("#.##0,000", h.shown.code);
}

TEST(NumFormatChoice, EveryCategoryGivesItsOptionsBackThroughItsControls) {
  NumFormatOptions samples[kBuiltinCategoryCount];
  std::memset(samples, 0, sizeof samples);
  samples[kNumFormatGeneral].number = {1, 3, 1, 5, 1, kNegativeRedParentheses, {}};
  samples[kNumFormatCurrency].currency = {"EUR", 4, kSymbolAfterWithBlank, kNegativeParentheses, {}};
  samples[kNumFormatAccounting].currency = {"$", 1, 0, 0, {}};
  samples[kNumFormatDate].dateTime = {7, 0, 1, 0, {}};
  samples[kNumFormatTime].dateTime = {0, 9, 0, 0, {}};
  samples[kNumFormatDateTime].dateTime = {3, 5, 1, 1, {}};
  samples[kNumFormatPercent].number = {1, 6, 0, 0, 0, 0, {}};
  samples[kNumFormatFraction].fraction = {1, 3, {}, 16, {}};
  samples[kNumFormatScientific].scientific = {1, 4, kExponentFixedPositive, 12, {}};
  for (uint8_t category = kNumFormatGeneral; category <= kNumFormatScientific; ++category) {
    SCOPED_TRACE(int(category));
    const SubPageLayout* layout = SubPageLayoutOf(category);
    ASSERT_NE(nullptr, layout);
    SubPageFields fields;
    LoadSubPageFields(category, samples[category], &fields);
    NumFormatOptions back;
    std::memset(&back, 0, sizeof back);
    int bad = -1;
    ASSERT_TRUE(StoreSubPageFields(category, fields, &back, &bad));
    EXPECT_EQ(0, std::memcmp(&samples[category], &back, sizeof back));
  }
  EXPECT_EQ(nullptr, SubPageLayoutOf(kNumFormatDefault));
  EXPECT_EQ(nullptr, SubPageLayoutOf(kNumFormatUserPattern));
}

TEST(NumFormatChoice, DateListsFollowTheOrderFlagInTheCurrentSeparators) {
  CommaDecimals region;
  char text[64];
  ASSERT_TRUE(SubPageItemText(kItemsDates, 1, false, text, sizeof text));
  EXPECT_STREQ("mm.dd.yyyy", text);
  ASSERT_TRUE(SubPageItemText(kItemsDates, 1, true, text, sizeof text));
  EXPECT_STREQ("dd.mm.yyyy", text);
  ASSERT_TRUE(SubPageItemText(kItemsTimes, 3, false, text, sizeof text));
  EXPECT_STREQ("hh:mm AM/PM", text);
  EXPECT_FALSE(SubPageItemText(kItemsDates, kDateTimeItemCount, false, text, sizeof text));
  ASSERT_TRUE(SubPageItemText(kItemsDigits, 14, false, text, sizeof text));
  EXPECT_STREQ("14", text);
  ASSERT_TRUE(SubPageItemText(kItemsSymbols, 0, false, text, sizeof text));
  EXPECT_STREQ("kr", text);
}

}  // namespace
