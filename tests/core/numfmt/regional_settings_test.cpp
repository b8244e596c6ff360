#include "core/numfmt/regional_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/os_services.h"

namespace {

// Region of the English (United States) locale in the region table.
constexpr uint8_t kRegionEnglishUnitedStates = 38;
// Region of the German (Germany) locale.
constexpr uint8_t kRegionGerman = 61;

bool SameSettings(const RegionalSettings& a, const RegionalSettings& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

RegionalSettings GenericFrom(uint8_t region) {
  RegionalSettings s = kGenericRegionalSettings;
  s.localeChoice = region;
  return s;
}

class RegionalSettingsTest : public testing::Test {
 protected:
  void SetUp() override { ApplyRegionalSettings(kRegionGeneric, true); }
  void TearDown() override { ApplyRegionalSettings(kRegionGeneric, true); }
};

using NameGetter = size_t (*)(int, uint8_t, char*, size_t);

std::string Name(NameGetter get, int index, uint8_t region) {
  char buffer[kLocaleNameCapacity];
  size_t length = get(index, region, buffer, sizeof buffer);
  EXPECT_EQ(length, std::strlen(buffer));
  return buffer;
}

}  // namespace

TEST_F(RegionalSettingsTest, CurrentRecordStartsAsTheGenericOne) {
  EXPECT_TRUE(SameSettings(CurrentRegionalSettings(), kGenericRegionalSettings));
  EXPECT_STREQ(kGenericRegionalSettings.currency, "$");
}

// The settings profile stores region indices, so the table must not shift.
TEST_F(RegionalSettingsTest, RegionTableMapsIndicesToLocales) {
  struct Case { int region; uint32_t locale; };
  const Case cases[] = {{0, 0},     {1, 0x800},   {2, 0x400},   {3, 0x436},  {38, 0x409},
                        {61, 0x407}, {129, 0x42a}, {130, 0},    {255, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(RegionLocaleId(static_cast<uint8_t>(c.region)), c.locale) << c.region;
}

// Both builds run on an English (United States) system: the native one by
// construction, the Windows one under a default Wine prefix.
TEST_F(RegionalSettingsTest, EnglishRegionsGiveGenericSeparators) {
  for (uint8_t region : {kRegionSystemDefault, kRegionUserDefault, kRegionEnglishUnitedStates}) {
    EXPECT_TRUE(ApplyRegionalSettings(region, true)) << int(region);
    EXPECT_TRUE(SameSettings(CurrentRegionalSettings(), GenericFrom(region))) << int(region);
  }
}

TEST_F(RegionalSettingsTest, FailuresLeaveTheGenericRecord) {
  for (int region : {130, 200, 255}) {
    ASSERT_TRUE(ApplyRegionalSettings(kRegionUserDefault, true));
    EXPECT_FALSE(ApplyRegionalSettings(static_cast<uint8_t>(region), true)) << region;
    EXPECT_TRUE(SameSettings(CurrentRegionalSettings(), kGenericRegionalSettings)) << region;
  }
  EXPECT_TRUE(ApplyRegionalSettings(kRegionGeneric, false));
  EXPECT_TRUE(SameSettings(CurrentRegionalSettings(), kGenericRegionalSettings));
}

TEST_F(RegionalSettingsTest, WithoutForceARecordFromTheSameRegionIsKept) {
  ASSERT_TRUE(ApplyRegionalSettings(kRegionUserDefault, true));
  CurrentRegionalSettings().decimalSeparator = 'x';
  EXPECT_TRUE(ApplyRegionalSettings(kRegionUserDefault, false));
  EXPECT_EQ(CurrentRegionalSettings().decimalSeparator, 'x');
  EXPECT_TRUE(ApplyRegionalSettings(kRegionUserDefault, true));
  EXPECT_EQ(CurrentRegionalSettings().decimalSeparator, '.');
  CurrentRegionalSettings().decimalSeparator = 'x';
  EXPECT_TRUE(ApplyRegionalSettings(kRegionSystemDefault, false));
  EXPECT_EQ(CurrentRegionalSettings().decimalSeparator, '.');
}

TEST_F(RegionalSettingsTest, ListSeparatorsFollowTheDecimalSeparator) {
  struct Case { char decimal; bool ok; char list, arrayRow; };
  const Case cases[] = {{'.', true, ',', ';'}, {',', true, ';', '\\'},
                        {'\\', true, ',', ';'}, {';', false, '?', '?'}};
  for (const Case& c : cases) {
    RegionalSettings s = kGenericRegionalSettings;
    s.decimalSeparator = c.decimal;
    s.listSeparator = '?';
    s.arrayRowSeparator = '?';
    EXPECT_EQ(ChooseListSeparators(&s), c.ok) << c.decimal;
    EXPECT_EQ(s.listSeparator, c.list) << c.decimal;
    EXPECT_EQ(s.arrayRowSeparator, c.arrayRow) << c.decimal;
  }
}

#ifdef _WIN32
TEST_F(RegionalSettingsTest, GermanRegionUsesCommaDecimalAndSemicolonLists) {
  ASSERT_TRUE(ApplyRegionalSettings(kRegionGerman, true));
  const RegionalSettings& s = CurrentRegionalSettings();
  EXPECT_EQ(s.localeChoice, kRegionGerman);
  EXPECT_EQ(s.decimalSeparator, ',');
  EXPECT_EQ(s.thousandsSeparator, '.');
  EXPECT_EQ(s.listSeparator, ';');
  EXPECT_EQ(s.arrayRowSeparator, '\\');
  EXPECT_EQ(s.shortDateOrder, kDateOrderDayMonthYear);
  EXPECT_EQ(Name(GetLocaleDayName, 0, kRegionGerman), "Sonntag");
  EXPECT_EQ(Name(GetLocaleMonthName, 0, kRegionGerman), "Januar");
}
#else
TEST_F(RegionalSettingsTest, UninstalledLocaleFallsBackToGeneric) {
  ASSERT_TRUE(ApplyRegionalSettings(kRegionUserDefault, true));
  EXPECT_FALSE(ApplyRegionalSettings(kRegionGerman, true));
  EXPECT_TRUE(SameSettings(CurrentRegionalSettings(), kGenericRegionalSettings));
  // Names of a locale the system lacks are the English ones.
  EXPECT_EQ(Name(GetLocaleDayName, 0, kRegionGerman), "Sunday");
}
#endif

TEST_F(RegionalSettingsTest, EnglishNamesForBuiltInAndEnglishRegions) {
  const char* const days[7] = {"Sunday", "Monday", "Tuesday", "Wednesday",
                               "Thursday", "Friday", "Saturday"};
  const char* const months[12] = {"January", "February", "March", "April", "May", "June",
                                  "July", "August", "September", "October", "November",
                                  "December"};
  for (uint8_t region : {kRegionGeneric, kRegionUserDefault, kRegionSystemDefault,
                         kRegionEnglishUnitedStates}) {
    SCOPED_TRACE(int(region));
    for (int i = 0; i < 7; ++i) {
      EXPECT_EQ(Name(GetLocaleDayName, i, region), days[i]);
      EXPECT_EQ(Name(GetLocaleAbbrevDayName, i, region), std::string(days[i], 3));
    }
    for (int i = 0; i < 12; ++i) {
      EXPECT_EQ(Name(GetLocaleMonthName, i, region), months[i]);
      EXPECT_EQ(Name(GetLocaleAbbrevMonthName, i, region), std::string(months[i], 3));
      char buffer[kLocaleNameCapacity];
      EXPECT_EQ(GetLocaleGenitiveMonthName(2009, i + 1, 16, region, buffer, sizeof buffer),
                std::strlen(months[i]));
      EXPECT_STREQ(buffer, months[i]);
    }
  }
}

TEST_F(RegionalSettingsTest, NameLookupsNeverOverrun) {
  struct Case { NameGetter get; int index; };
  const Case bad[] = {{GetLocaleDayName, -1}, {GetLocaleDayName, 7},
                      {GetLocaleAbbrevDayName, 7}, {GetLocaleMonthName, 12},
                      {GetLocaleAbbrevMonthName, -1}};
  for (const Case& c : bad) {
    char buffer[8] = "x";
    EXPECT_EQ(c.get(c.index, kRegionUserDefault, buffer, sizeof buffer), 0u) << c.index;
    EXPECT_STREQ(buffer, "");
  }
  char small[4];
  EXPECT_EQ(GetLocaleMonthName(8, kRegionUserDefault, small, sizeof small), 3u);
  EXPECT_STREQ(small, "Sep");
  EXPECT_EQ(GetLocaleDayName(0, kRegionGeneric, small, 0), 0u);
  char buffer[kLocaleNameCapacity] = "x";
  EXPECT_EQ(GetLocaleGenitiveMonthName(2009, 13, 1, kRegionUserDefault, buffer, sizeof buffer),
            0u);
  EXPECT_STREQ(buffer, "");
  // An impossible date still gives the month's name.
  EXPECT_EQ(GetLocaleGenitiveMonthName(2009, 2, 30, kRegionUserDefault, buffer, sizeof buffer),
            8u);
  EXPECT_STREQ(buffer, "February");
}
