#include <cstring>

#include "core/base/error_code.h"
#include "core/eval/read_plain_cell.h"
#include "core/formula/eval_state.h"
#include "core/numfmt/date_time.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/element_call.h"
#include "functions/fn_date.h"
#include "functions/plain_text_cell.h"
#include "functions/scalar_call.h"

namespace {

constexpr int32_t kSunday = 1;
constexpr int32_t kSaturday = 7;

// Holidays mark a month and day in every year: bit d of a month's mask
// marks its day d.
struct HolidayTable {
  uint32_t markedDays[13];
  uint32_t markedMonths;  // bit m for a month m with any day marked
};

// The bits of the days first .. last (1 .. 31) of a month.
uint32_t DaysMask(int32_t first, int32_t last) {
  return ((2u << last) - 1u) & ~((1u << first) - 1u);
}

// The days of a month from 1 to 12: the same as DaysInMonth, without its
// carrying of months outside the year, which the calendar's own months never
// need.
int32_t MonthLength(int32_t year, int32_t month) {
  static const int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Counted by halves, quarters and bytes: no call to a runtime routine
// where the processor has no instruction for it.
int32_t BitCount(uint32_t bits) {
  bits = bits - ((bits >> 1) & 0x55555555u);
  bits = (bits & 0x33333333u) + ((bits >> 2) & 0x33333333u);
  bits = (bits + (bits >> 4)) & 0x0F0F0F0Fu;
  return int32_t((bits * 0x01010101u) >> 24);
}

// The number of the lowest set bit of bits, not 0.
int32_t LowestBit(uint32_t bits) {
#if defined(__GNUC__)
  return __builtin_ctz(bits);
#else
  int32_t n = 0;
  for (; (bits & 1u) == 0; bits >>= 1) ++n;
  return n;
#endif
}

// The number of the highest set bit of bits, not 0.
int32_t HighestBit(uint32_t bits) {
#if defined(__GNUC__)
  return 31 - __builtin_clz(bits);
#else
  int32_t n = 31;
  for (; (bits >> n) == 0; --n) {
  }
  return n;
#endif
}

// The bits of a month's weekend days (bit d for day d) when its day 1
// falls on the given weekday (1 Sunday .. 7 Saturday).
constexpr uint32_t WeekendDays(int32_t firstWeekday) {
  constexpr uint64_t kEveryWeek = 0x10204081u;  // bits 0, 7, 14, 21, 28
  const int32_t saturday = (7 - firstWeekday) % 7 + 1;
  const int32_t sunday = (8 - firstWeekday) % 7 + 1;
  return uint32_t((kEveryWeek << saturday) | (kEveryWeek << sunday));
}

// Tables made once for the counting of every call: the weekend bits of a
// month by the weekday of its day 1, and the weekdays among the first n
// (0 .. 6) days of a span by the weekday of its first day.
struct WeekTables {
  uint32_t weekendDays[8];
  uint8_t weekdaysInFirst[8][7];
  constexpr WeekTables() : weekendDays(), weekdaysInFirst() {
    for (int32_t first = 1; first <= 7; ++first) {
      weekendDays[first] = WeekendDays(first);
      for (int32_t n = 1; n < 7; ++n) {
        const int32_t weekday = (first - 1 + n - 1) % 7 + 1;
        weekdaysInFirst[first][n] =
            uint8_t(weekdaysInFirst[first][n - 1] + (weekday == kSunday || weekday == kSaturday ? 0 : 1));
      }
    }
  }
};
constexpr WeekTables kWeekTables;

// The days before each month of a common year, modulo 7.
constexpr int32_t kDaysBeforeMonthInWeek[12] = {0, 3, 3, 6, 1, 4, 6, 2, 5, 0, 3, 5};


// The days from a fixed day to the given one of the Gregorian calendar:
// the difference of two is the days between them.
int64_t DaySerial(int32_t year, int32_t month, int32_t day) {
  const int64_t y = year - (month <= 2 ? 1 : 0);
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yearOfEra = y - era * 400;
  const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
}

// The days of a span of length days that are not weekend days, its first
// falling on the given weekday: whole weeks hold five, the rest are in the
// table.
int64_t WeekdaysInSpan(int32_t length, int32_t weekday) {
  return int64_t(length / 7) * 5 + kWeekTables.weekdaysInFirst[weekday][length % 7];
}

// A day of the calendar that steps one day at a time, its weekday along.
struct CalendarDay {
  int32_t year, month, day, weekday;  // weekday 1 Sunday .. 7 Saturday
  int32_t monthLength;                // the days of the month

  // A date read from an argument, its month 1 .. 12. Only a day that
  // steps or counts from itself needs its weekday and month length.
  CalendarDay(const PlainDate& value, bool stepping) {
    year = value.year;
    month = value.month;
    day = value.day;
    weekday = 0;
    monthLength = 0;
    if (!stepping) return;
    // Day 1, 0001-01-01, was a Monday.
    weekday = int32_t(PlainDayNumber(value) % 7) + 1;
    monthLength = MonthLength(year, month);
  }
  // Steps over count (1 or more) working days, forward or back, a month
  // at a time: the month's working days on the way are its days past this
  // one (before it, going back) that are neither weekend days nor
  // holidays; a month holding too few is passed whole. False when the step
  // leaves the years a date can hold.
  bool StepWorkdays(int64_t count, bool back, const HolidayTable& holidays) {
    // The weekday of the month's day 1, counted from 0 (Sunday).
    int32_t first = ((weekday - day) % 7 + 7) % 7;
    uint32_t days = 0;
    if (back && day > 1) days = DaysMask(1, day - 1);
    if (!back && day < monthLength) days = DaysMask(day + 1, monthLength);
    for (;;) {
      const uint32_t working = days & ~kWeekTables.weekendDays[first + 1] & ~holidays.markedDays[month];
      const int32_t found = BitCount(working);
      if (found >= count) {
        uint32_t bits = working;
        for (int64_t i = 1; i < count; ++i) bits = back ? bits & ~(1u << HighestBit(bits)) : bits & (bits - 1);
        day = back ? HighestBit(bits) : LowestBit(bits);
        weekday = (first + day - 1) % 7 + 1;
        return true;
      }
      count -= found;
      if (back) {
        if (--month < 1) {
          month = 12;
          if (--year < kMinIsoYear) return false;
        }
        monthLength = MonthLength(year, month);
        first = ((first - monthLength) % 7 + 7) % 7;
      } else {
        first = (first + monthLength) % 7;
        if (++month > 12) {
          month = 1;
          if (++year > kMaxIsoYear) return false;
        }
        monthLength = MonthLength(year, month);
      }
      days = DaysMask(1, monthLength);
    }
  }
  bool After(const CalendarDay& other) const {
    if (year != other.year) return year > other.year;
    if (month != other.month) return month > other.month;
    return day > other.day;
  }
  // The working days from this day through last, both counted: the
  // weekdays of the span less the holidays among them, found in the months
  // that have any.
  int64_t CountWorkdaysThrough(const CalendarDay& last, const HolidayTable& holidays) const {
    if (After(last)) return 0;
    const int64_t start = DaySerial(year, month, day);
    int64_t count = WeekdaysInSpan(int32_t(DaySerial(last.year, last.month, last.day) - start + 1), weekday);
    for (int32_t y = year; y <= last.year && holidays.markedMonths != 0; ++y) {
      // The weekday of 1 January counted from 0 (Sunday). The year's first
      // day may come before this one: its offset is taken modulo 7 first,
      // so that it is never negative.
      const int32_t newYear = (weekday - 1 + int32_t((DaySerial(y, 1, 1) - start) % 7 + 7)) % 7;
      const int32_t leapDay = IsLeapYear(y) ? 1 : 0;
      // Only the marked months the span meets this year.
      uint32_t months = holidays.markedMonths;
      if (y == year) months &= ~((1u << month) - 1u);
      if (y == last.year) months &= (2u << last.month) - 1u;
      for (; months != 0; months &= months - 1) {
        const int32_t m = LowestBit(months);
        const int32_t from = y == year && m == month ? day : 1;
        const int32_t through = y == last.year && m == last.month ? last.day : MonthLength(y, m);
        const uint32_t marked = holidays.markedDays[m] & DaysMask(from, through);
        if (marked == 0) continue;
        int32_t first = newYear + kDaysBeforeMonthInWeek[m - 1] + (m > 2 ? leapDay : 0);
        if (first >= 7) first -= 7;
        count -= BitCount(marked & ~kWeekTables.weekendDays[first + 1]);
      }
    }
    return count;
  }
};

// A holiday column is looked up cell by cell up to this many rows: walked in
// storage order, each step would pass the rest of a row to reach the next.
constexpr uint32_t kLookedUpHolidayRows = 64;

void MarkHoliday(HolidayTable* holidays, int32_t month, int32_t day) {
  holidays->markedDays[month] |= 1u << day;
  holidays->markedMonths |= 1u << month;
}

// The holidays of a short one-column range of a worksheet whose cells are
// all blank or plain text cells in the form dates are written in, as the
// walk below reads them; false for any other argument (the table then partly
// marked), which the walk reads again from the start.
bool ReadHolidayColumn(EvalState& state, const EvalValue& value, HolidayTable* holidays) {
  if (value.kind != kEvalRange || value.error != kErrorNone || !value.sheet ||
      value.first.column != value.second.column || value.second.row - value.first.row >= kLookedUpHolidayRows)
    return false;
  CellStore& sheet = *value.sheet;
  const uint32_t column = value.first.column;
  state.NoteSpillAreaMeeting(&sheet, column, column, value.first.row, value.second.row);
  for (uint32_t row = value.first.row; row <= value.second.row; ++row) {
    const CellRecord* cell = nullptr;
    if (!state.FindGridCell(sheet, RefCorner{column, row, kRefCell}, &cell)) return false;
    if (!cell) continue;
    const char* text = nullptr;
    size_t length = 0;
    PlainDate day;
    if (!ReadPlainTextCell(state, cell, &text, &length) || !ReadPlainIsoDay(text, length, &day)) return false;
    MarkHoliday(holidays, day.month, day.day);
  }
  return true;
}

// The holidays' walk goes on past dates and stops at anything else: it
// stops at a cell whose new value is not a text of a day alone (one with a
// time too stops it, as reading on would have to be proven for it). Such a
// text is no longer than any date the walk read on past, so the pool that
// held that one holds it.
bool HolidaysStopAt(const void*, const CellRecord* cell) {
  PlainDate day;
  return cell->ErrorCode() != 0 || !cell->HasCachedText() ||
         !ReadPlainIsoDay(cell->CachedText(), cell->CachedTextLength(), &day);
}

// The holiday argument: a range or an array of dates, or omitted. A cell's
// error is the answer's; a value that is no date gives noDate. A plain
// text cell in the form dates are written in, nearly every holiday, gives
// its day without a whole date record.
uint32_t ReadHolidays(EvalState& state, uint16_t slot, uint32_t noDate, HolidayTable* holidays) {
  std::memset(holidays, 0, sizeof *holidays);
  if (ReadHolidayColumn(state, state.operands[slot], holidays)) return kErrorNone;
  std::memset(holidays, 0, sizeof *holidays);
  ArgRange range;
  uint32_t error = GetArgRange(state, slot, &range);
  static constexpr uint8_t kNoKey = 0;
  PendingGather& gather = state.pendingGather;
  PendingGather::SearchScope search(gather, &HolidaysStopAt, &kNoKey, sizeof kNoKey);
  while (error == kErrorNone) {
    const CellRecord* cell = NextArgCell(range);
    if (!cell) break;
    const char* text = nullptr;
    size_t length = 0;
    PlainDate day;
    if (ReadPlainTextCell(state, cell, &text, &length) && ReadPlainIsoDay(text, length, &day)) {
      MarkHoliday(holidays, day.month, day.day);
      continue;
    }
    const uint32_t listed = gather.End();
    DateTime holiday{};
    error = ReadCellDate(state, range, cell, &holiday);
    if (error == kErrorNone && !holiday.hasDate) error = noDate;
    if (error == kErrorNone) {
      MarkHoliday(holidays, holiday.month, holiday.day);
    } else if (gather.Open() && gather.End() == listed + 1) {
      // A cell not yet calculated, just listed, whose stored value is no
      // date: the evaluation is to be made again, and reading on lists the
      // rest, each taken only if this one becomes a date.
      gather.EndListIfLastKept();
      error = kErrorNone;
    }
  }
  ReleaseArgRange(state, range);
  return error;
}

// A date argument as GetArgDate reads it, its day alone (hasDate clear
// for a value without one). A reference to a plain text cell in the form
// dates are written in, nearly every date argument, is read where it
// stands, the slot left as reading it through the pool leaves it; so is
// such a text itself (a date written in the formula), dropped from the pool
// as GetArgDate drops it.
uint8_t ReadDayArg(EvalState& state, uint16_t slot, PlainDate* day, bool* hasDate) {
  EvalValue& value = state.operands[slot];
  const CellRecord* cell = nullptr;
  const char* text = nullptr;
  size_t length = 0;
  *hasDate = true;
  if (value.kind == kEvalCellRef && value.error == kErrorNone && value.sheet &&
      state.FindGridCell(*value.sheet, value.cell, &cell) && cell && ReadPlainTextCell(state, cell, &text, &length) &&
      ReadPlainIsoDay(text, length, day)) {
    value.Clear();
    value.kind = kEvalEmpty;
    return kErrorNone;
  }
  if (value.kind == kEvalText && value.error == kErrorNone && slot < EvalState::kStackSlots) {
    const uint16_t depth = state.OwnersAbove(slot, kEvalText);
    if (ReadPlainIsoDay(state.strings.FromTop(depth), state.strings.LengthFromTop(depth), day)) {
      state.DropSlotText(value, depth);
      return kErrorNone;
    }
  }
  DateTime read{};
  const uint8_t error = GetArgDate(state, slot, &read);
  *hasDate = read.hasDate != 0;
  *day = PlainDate{read.year, read.month, read.day};
  return error;
}

// WEEKDAY and WEEKNUM: a date and an optional numbering.
uint32_t ReadDateAndNumbering(EvalState& state, int32_t maxNumbering, uint32_t noDate, DateTime* value,
                              int32_t* numbering) {
  const uint16_t positions = ArgCount(state) >= 2 ? 2 : 1;
  *numbering = 1;
  uint32_t error = kErrorNone;
  if (positions == 2) error = GetArgInt(state, ArgSlot(state, 1), numbering, 1, maxNumbering);
  error = LargerErrorOf(error, GetArgDate(state, ArgSlot(state, 0), value));
  if (error == kErrorNone && !value->hasDate) error = noDate;
  if (error == kErrorNone) value->ComputeDayOfYear();
  return error;
}

}  // namespace

// Numbering 1: Sunday 1 .. Saturday 7; 2: Sunday 0, Monday 1 .. Saturday
// 6; 3: one less than 2, so Sunday is -1.
void FnWeekDay(EvalState& state) {
  if (!BeginListCall(state, 1, 2, 0x3u)) return;
  DateTime value{};
  int32_t numbering = 1;
  const uint32_t error = ReadDateAndNumbering(state, 3, kErrorValue, &value, &numbering);
  int32_t day = value.weekday;
  if (numbering >= 2) day = (day + 6) % 7;
  if (numbering == 3) day -= 1;
  SetNumberResult(state, day, error);
}

// Weeks counted from the one holding 1 January, starting on Sunday
// (numbering 1) or Monday (numbering 2); under numbering 2 a 1 January
// that is a Sunday lies in week 0.
void FnWeekNum(EvalState& state) {
  if (!BeginListCall(state, 1, 2, 0x3u)) return;
  DateTime value{};
  int32_t numbering = 1;
  const uint32_t error = ReadDateAndNumbering(state, 2, kErrorNum, &value, &numbering);
  double week = 0;
  if (error == kErrorNone) {
    DateTime newYear{};
    newYear.hasDate = 1;
    newYear.year = value.year;
    newYear.month = 1;
    newYear.day = 1;
    newYear.ComputeDayOfYear();
    const int32_t w = newYear.weekday;
    const int32_t d = value.dayOfYear;
    const int32_t days = numbering == 1 ? d + w - 1 : (w + 6) % 7 + d - 1;
    week = (days + 6) / 7;
  }
  SetNumberResult(state, week, error);
}

// Days from the first date to the second, both counted, that are neither
// weekend days nor holidays; 0 when the first date is later.
void FnNetWorkDays(EvalState& state) {
  if (!BeginElementCall(state, 3, 0x2u)) return;
  HolidayTable holidays;
  PlainDate lastDay{};
  PlainDate firstDay{};
  bool hasLast = false;
  bool hasFirst = false;
  uint32_t error = ReadHolidays(state, ArgSlot(state, 2), kErrorValue, &holidays);
  error = LargerErrorOf(error, ReadDayArg(state, ArgSlot(state, 1), &lastDay, &hasLast));
  error = LargerErrorOf(error, ReadDayArg(state, ArgSlot(state, 0), &firstDay, &hasFirst));
  if (error == kErrorNone && (!hasFirst || !hasLast)) error = kErrorValue;
  double count = 0;
  if (error == kErrorNone) {
    const CalendarDay day(firstDay, true);
    count = double(day.CountWorkdaysThrough(CalendarDay(lastDay, false), holidays));
  }
  SetNumberResult(state, count, error);
}

// The date after stepping over n working days, backwards for a negative n.
// A step beyond the years a date can hold is "#NUM!".
void FnWorkDay(EvalState& state) {
  if (!BeginElementCall(state, 3, 0x2u)) return;
  HolidayTable holidays;
  int32_t n = 1;
  PlainDate start{};
  bool hasStart = false;
  uint32_t error = ReadHolidays(state, ArgSlot(state, 2), kErrorNum, &holidays);
  error = LargerErrorOf(error, GetArgInt(state, ArgSlot(state, 1), &n, -2147483647, 2147483647));
  error = LargerErrorOf(error, ReadDayArg(state, ArgSlot(state, 0), &start, &hasStart));
  if (error == kErrorNone && !hasStart) error = kErrorNum;
  DateTime result{};
  if (error == kErrorNone) {
    CalendarDay day(start, true);
    if (n != 0 && !day.StepWorkdays(n < 0 ? -int64_t(n) : int64_t(n), n < 0, holidays)) error = kErrorNum;
    result.hasDate = 1;
    result.year = day.year;
    result.month = day.month;
    result.day = day.day;
  }
  char text[kIsoTextCapacity] = "";
  if (error == kErrorNone) DateTimeToIsoText(result, text, sizeof text);
  SetTextOrError(state, text, std::strlen(text), error);
}
