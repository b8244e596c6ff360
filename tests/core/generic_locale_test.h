#ifndef TALVERO_TESTS_CORE_GENERIC_LOCALE_TEST_H
#define TALVERO_TESTS_CORE_GENERIC_LOCALE_TEST_H

// A fixture for tests of typed and shown cell texts: the generic regional
// settings, the default global options and a clock fixed on 2011-03-09,
// all restored afterwards.

#include <gtest/gtest.h>

#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "platform/os_services.h"

// A locale with comma decimals and point grouping.
inline const RegionalSettings kCommaDecimal = {3, ',', '.', '.', ':', ';', '\\', 1, 1, "EUR", 0};

inline void Clock2011(OsLocalTime* out) {
  *out = OsLocalTime{};
  out->year = 2011;
  out->month = 3;
  out->day = 9;
  out->dayOfWeek = 3;
  out->hour = 14;
}

class GenericLocaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = CurrentRegionalSettings();
    UseGenericLocale();
    OsSetClockForTesting(Clock2011);
  }
  void TearDown() override {
    CurrentRegionalSettings() = saved_;
    ResetGlobalOptions();
    OsSetClockForTesting(nullptr);
  }

  static void UseGenericLocale() {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
  }
  // Comma decimals with the list separators such a locale gets.
  static void UseCommaDecimals() {
    RegionalSettings& current = CurrentRegionalSettings();
    current.decimalSeparator = ',';
    ASSERT_TRUE(ChooseListSeparators(&current));
  }

  RegionalSettings saved_;
};

#endif
