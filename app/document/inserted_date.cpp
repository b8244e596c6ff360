#include "app/document/inserted_date.h"

#include "core/numfmt/date_time.h"
#include "resources/resource_ids.h"

namespace {

// The days or months a command moves from today; false for a command of today.
bool StepOf(uint32_t command, Duration* step, bool* endOfMonth) {
  *step = Duration{};
  *endOfMonth = false;
  switch (command) {
    case ID_DATE_NEXT_WEEK:
    case ID_DATE_PREVIOUS_WEEK:
      step->days = 7;
      break;
    case ID_DATE_END_OF_NEXT_MONTH:
    case ID_DATE_END_OF_PREVIOUS_MONTH:
      *endOfMonth = true;
      step->months = 1;
      break;
    case ID_DATE_NEXT_MONTH:
    case ID_DATE_PREVIOUS_MONTH:
      step->months = 1;
      break;
    default:
      return false;
  }
  step->negative = command == ID_DATE_PREVIOUS_WEEK || command == ID_DATE_PREVIOUS_MONTH ||
                   command == ID_DATE_END_OF_PREVIOUS_MONTH;
  return true;
}

}  // namespace

bool ComposeInsertedDate(uint32_t command, const OsLocalTime& now, char* text, size_t size) {
  if (size > 0) text[0] = '\0';
  const bool time = command == ID_INSERT_TIME || command == ID_INSERT_DATE_TIME;
  Duration step;
  bool endOfMonth = false;
  const bool moved = StepOf(command, &step, &endOfMonth);
  if (!time && !moved && command != ID_INSERT_DATE) return false;
  DateTime value{};
  value.hasDate = command != ID_INSERT_TIME;
  value.hasTime = time;
  value.year = now.year;
  value.month = now.month;
  value.day = now.day;
  if (time) {
    value.hour = now.hour;
    value.minute = now.minute;
    value.second = now.second;
  }
  if (moved) {
    DateTime later;
    if (!value.AddDuration(step, &later)) return false;
    value = later;
    if (endOfMonth) value.day = DaysInMonth(value.year, value.month);
  }
  return DateTimeToIsoText(value, text, size);
}
