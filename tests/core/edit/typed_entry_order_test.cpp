#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/edit/cell_input.h"
#include "core/formula/eval_state.h"
#include "core/numfmt/num_format_params.h"
#include "core/numfmt/regional_settings.h"

#include "tests/core/generic_locale_test.h"
#include "tests/test_seed.h"

namespace {

using TypedEntryOrder = GenericLocaleTest;

// Regions that differ in everything typed input reads: separators, date
// orders, and names built in or fetched from the system.
const RegionalSettings kRegions[] = {
    kGenericRegionalSettings,
    {3, ',', '.', '.', ':', ';', '\\', kDateOrderDayMonthYear, kDateOrderDayMonthYear, "EUR", 0},
    {kRegionSystemDefault, '.', ',', '-', '.', ',', ';', kDateOrderYearMonthDay, kDateOrderMonthDayYear, "kr", 0},
};
constexpr int kRegionChoices = sizeof kRegions / sizeof kRegions[0];

struct Entry {
  std::string text;
  int region;
  NumFormatParams format;
};

struct Typed {
  std::vector<uint8_t> record;
  NumFormatParams format;
};

Typed TypeEntry(EvalState& translator, const Entry& entry) {
  CurrentRegionalSettings() = kRegions[entry.region];
  Typed typed;
  typed.format = entry.format;
  uint8_t record[kCellInputCapacity];
  const uint32_t size = ParseCellInput(translator, entry.text.c_str(), &typed.format, 6, 3, record, sizeof record);
  typed.record.assign(record, record + size);
  return typed;
}

std::string RandomText(std::mt19937& random) {
  static const char* const kPieces[] = {
      "-105", "7", "3.5", "3,5", "1,234.5", "12%", "$5", "5 EUR", "1e3", "1 1/4", "3/4", "(5)", "0.07",
      "2025-01-03", "3/4/2025", "4.3.2025", "2025-3-4", "May 16, 2009", "16 May, 2009", "may-16", "Wed, May 16, 2009",
      "10:30 PM", "12:30:15", "9.05", "100:00:00", "PT1H", "beta12", "alpha3", "1.2.3", "12a", "--5", "#N/A",
      "=A1+B2*2", "=SUM(A1:C3)", "=sum(a1;b2)", "=IF(A1>1,\"x\",2.5)", " ", "-", "/", ":", "."};
  const int pieces = 1 + int(random() % 3);
  std::string text;
  for (int i = 0; i < pieces; ++i) text += kPieces[random() % (sizeof kPieces / sizeof kPieces[0])];
  return text;
}

NumFormatParams RandomFormat(std::mt19937& random) {
  static const uint8_t kCategories[] = {kNumFormatDefault, kNumFormatGeneral,  kNumFormatDate,
                                        kNumFormatTime,    kNumFormatDateTime, kNumFormatCurrency,
                                        kNumFormatPercent, kNumFormatFraction};
  NumFormatParams format;
  std::memset(&format, 0, sizeof format);
  format.category = kCategories[random() % sizeof kCategories];
  if (format.category == kNumFormatCurrency) {
    std::strcpy(format.options.currency.symbol, random() % 2 ? "EUR" : "$");
  } else if (format.category >= kNumFormatDate && format.category <= kNumFormatDateTime) {
    format.options.dateTime.dateStyle = uint8_t(random() % 11);
    format.options.dateTime.timeStyle = uint8_t(random() % 11);
    format.options.dateTime.useLocaleOrder = uint8_t(random() % 2);
    format.options.dateTime.timeFirst = uint8_t(random() % 2);
  }
  return format;
}

// What typing makes of a text in a region and a cell never depends on what
// was typed before it, in whichever region: whatever typing keeps between
// entries must follow the settings.
TEST_F(TypedEntryOrder, TypedCellsDoNotDependOnEarlierEntries) {
  const uint32_t seed = TestSeed(20261208);
  std::mt19937 random(seed);
  std::vector<Entry> entries;
  for (int i = 0; i < 3000; ++i) entries.push_back({RandomText(random), int(random() % kRegionChoices), RandomFormat(random)});

  EvalState translator;
  std::vector<Typed> first;
  for (const Entry& entry : entries) first.push_back(TypeEntry(translator, entry));

  std::vector<size_t> order(entries.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), random);
  for (size_t i : order) {
    const Typed again = TypeEntry(translator, entries[i]);
    ASSERT_EQ(again.record, first[i].record)
        << '"' << entries[i].text << "\" in region " << entries[i].region << " seed " << seed;
    ASSERT_EQ(std::memcmp(&again.format, &first[i].format, sizeof again.format), 0)
        << '"' << entries[i].text << "\" in region " << entries[i].region << " seed " << seed;
  }
}

}  // namespace
