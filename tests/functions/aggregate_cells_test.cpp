#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/numfmt/date_time.h"
#include "functions/aggregate_cells.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

bool SameDateTime(const DateTime& a, const DateTime& b) {
  return a.hasDate == b.hasDate && a.hasTime == b.hasTime && a.year == b.year && a.month == b.month &&
         a.day == b.day && a.hour == b.hour && a.minute == b.minute && a.second == b.second &&
         a.millisecond == b.millisecond && a.zoneNegative == b.zoneNegative && a.zoneHours == b.zoneHours &&
         a.zoneMinutes == b.zoneMinutes && a.dayOfYear == b.dayOfYear && a.weekday == b.weekday;
}

// Texts near the written form: digits, dashes and a few other characters
// in each place, lengths around ten, days past their month's end, leap
// days of century years, year 0000.
std::string DateLikeText(std::mt19937& random) {
  static const char kChars[] = "0123456789012345678901234567890123456789--- T:x\0";
  std::string text = "2000-02-29";
  if (random() % 2) {
    char written[16];
    std::snprintf(written, sizeof written, "%04u-%02u-%02u", unsigned(random() % 10000), unsigned(random() % 14),
                  unsigned(random() % 33));
    text = written;
  }
  for (uint32_t changes = random() % 3; changes-- > 0;)
    text[random() % text.size()] = kChars[random() % (sizeof kChars - 1)];
  if (random() % 8 == 0) text += random() % 2 ? " " : "T10:00:00";
  if (random() % 8 == 0) text.pop_back();
  return text;
}

using InPlaceReads = FormulaTableTest;

// Reading a cell's number in place gives ReadCellNumber's number, to the
// bit, and its error for every kind of cell: numbers (huge, tiny, with
// errors), texts that spell numbers or not, formulas with numbers, texts
// or errors cached.
TEST_F(InPlaceReads, GiveWhatReadingThroughTheSlotGives) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const double numbers[] = {0.0, -0.0, 2.5, -1e308, 1e-310, 4.9e-324, 1e300};
  const char* const texts[] = {"12", " 7.5", "abc", "", "1e400", "-3"};
  for (int round = 0; round < 3000; ++round) {
    sheet.Clear(true);
    const double number = numbers[random() % 7];
    const char* text = texts[random() % 6];
    const uint8_t error = random() % 4 == 0 ? uint8_t(kErrorNA) : uint8_t(kErrorNone);
    switch (random() % 4) {
      case 0:
        PutNumber(sheet, 0, 0, number, error);
        break;
      case 1:
        PutText(sheet, 0, 0, text, error);
        break;
      case 2:
        PutFormula(sheet, 0, 0, "=1", number, nullptr, error, true);
        break;
      default:
        PutFormula(sheet, 0, 0, "=1", 0, text, error, true);
        break;
    }
    const CellRecord* cell = sheet.GetCell(0, 0);
    ASSERT_NE(cell, nullptr);
    ArgRange range{};
    range.sheet = &sheet;
    double through = 7;
    double inPlace = 7;
    state.operandTop = 2;
    state.operands[1].Clear();
    const uint8_t throughError = ReadCellNumber(state, 1, range, cell, &through);
    state.operands[1].Clear();
    const uint8_t inPlaceError = ReadCellNumberInPlace(state, 1, range, cell, &inPlace);
    ASSERT_EQ(inPlaceError, throughError) << "round " << round;
    ASSERT_EQ(std::memcmp(&inPlace, &through, sizeof through), 0) << "round " << round;
  }
}

// A date argument gives the general parser's date and error, for texts
// near the written form, with and without their own error; every date in
// the written form is read in place.
TEST_F(InPlaceReads, ReadDateArgumentsAsTheGeneralParserDoes) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const auto read = [this](const std::string& text, uint32_t error, DateTime* out) {
    state.operandTop = 2;
    state.operands[1].Clear();
    state.operands[1].kind = kEvalText;
    state.operands[1].error = error;
    EXPECT_TRUE(state.strings.Push(text.data(), text.size()));
    *out = DateTime{};
    return GetArgDate(state, 1, out);
  };
  const auto general = [](const std::string& text, uint32_t error, DateTime* out) -> uint8_t {
    *out = DateTime{};
    if (error != kErrorNone) return static_cast<uint8_t>(error);
    DateTime parsed;
    if (!ParseIsoDateTime(&parsed, text.c_str())) return kErrorValue;
    *out = parsed;
    return kErrorNone;
  };
  uint32_t written = 0;
  for (int i = 0; i < 50000; ++i) {
    const std::string text = DateLikeText(random);
    const uint32_t error = random() % 8 == 0 ? kErrorNA : kErrorNone;
    DateTime expected;
    DateTime got;
    const uint8_t expectedError = general(text, error, &expected);
    ASSERT_EQ(read(text, error, &got), expectedError) << text;
    ASSERT_TRUE(SameDateTime(got, expected)) << text;
    DateTime plain;
    const bool isWritten = text.size() == 10 && ParseIsoDateTime(&plain, text.c_str()) && !plain.hasTime;
    ASSERT_EQ(ReadPlainIsoDate(text.data(), text.size(), &plain), isWritten) << text;
    written += isWritten;
  }
  EXPECT_GT(written, 5000u);
  char message[200] = "";
  EXPECT_TRUE(state.CheckStackOwnership(message, sizeof message)) << message;
}

}  // namespace
