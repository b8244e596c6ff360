#include "core/base/range_list.h"

namespace {

enum class ListState { kStart, kAfterNumber, kAfterComma, kAfterDash, kAfterBlank };

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

uint32_t AppendDigit(uint32_t number, char digit) {
  const uint32_t d = static_cast<uint32_t>(digit - '0');
  if (number > (UINT32_MAX - d) / 10)
    return UINT32_MAX;
  return number * 10 + d;
}

struct PairCollector {
  RangePair* pairs;
  int capacity;
  int written;
};

void CollectPair(void* context, uint32_t from, uint32_t to) {
  PairCollector* c = static_cast<PairCollector*>(context);
  if (c->written < c->capacity)
    c->pairs[c->written++] = {from, to};
}

struct ContainsTest {
  uint32_t value;
  bool found;
};

void TestPair(void* context, uint32_t from, uint32_t to) {
  ContainsTest* t = static_cast<ContainsTest*>(context);
  if (t->value >= from && t->value <= to)
    t->found = true;
}

}  // namespace

int ParseRangeListEach(const char* text, uint32_t minimum, uint32_t maximum, RangePairSink sink, void* context) {
  const char* p = text;
  while (IsBlank(*p)) ++p;
  if (*p == '\0')
    return 0;

  ListState state = ListState::kStart;
  uint32_t number = 0;      // the number being read or last read
  bool closesRange = false; // it follows a dash
  uint32_t rangeFrom = 0;
  bool rangeClosed = false; // the last number completed a range
  bool numberSeen = false;  // the blank follows a number
  int count = 0;

  auto emit = [&](uint32_t from, uint32_t to) {
    if (from > to) {
      const uint32_t swap = from;
      from = to;
      to = swap;
    }
    if (sink)
      sink(context, from, to);
    ++count;
  };
  // A number is complete at the first separator or the end; false when it
  // lies outside the bounds.
  auto complete = [&]() {
    if (number < minimum || number > maximum)
      return false;
    rangeClosed = closesRange;
    if (closesRange)
      emit(rangeFrom, number);
    closesRange = false;
    return true;
  };
  auto afterNumber = [&]() { return state == ListState::kAfterNumber || (state == ListState::kAfterBlank && numberSeen); };

  for (; *p; ++p) {
    const char c = *p;
    if (IsDigit(c)) {
      if (state == ListState::kAfterBlank)
        return -1;
      if (state != ListState::kAfterNumber) {
        closesRange = state == ListState::kAfterDash;
        number = 0;
      }
      number = AppendDigit(number, c);
      state = ListState::kAfterNumber;
    } else if (c == ',' || c == '-') {
      if (!afterNumber())
        return -1;
      if (state == ListState::kAfterNumber && !complete())
        return -1;
      if (c == ',') {
        if (!rangeClosed)
          emit(number, number);
        state = ListState::kAfterComma;
      } else {
        rangeFrom = number;
        state = ListState::kAfterDash;
      }
      rangeClosed = false;
    } else if (IsBlank(c)) {
      if (state == ListState::kAfterNumber) {
        if (!complete())
          return -1;
        numberSeen = true;
      } else if (state != ListState::kAfterBlank) {
        numberSeen = false;
      }
      state = ListState::kAfterBlank;
    }
  }
  switch (state) {
    case ListState::kAfterNumber:
      if (!complete())
        return -1;
      if (!rangeClosed)
        emit(number, number);
      return count;
    case ListState::kAfterComma:
      return count;
    default:
      return -1;
  }
}

int ParseRangeList(const char* text, RangePair* pairs, int capacity, uint32_t minimum, uint32_t maximum) {
  PairCollector collector = {pairs, pairs ? capacity : 0, 0};
  return ParseRangeListEach(text, minimum, maximum, pairs ? CollectPair : nullptr, &collector);
}

bool RangeListContains(const char* text, uint32_t value, uint32_t minimum, uint32_t maximum) {
  // A malformed list selects nothing, even where its first pairs would.
  if (ParseRangeListEach(text, minimum, maximum, nullptr, nullptr) <= 0)
    return false;
  ContainsTest test = {value, false};
  ParseRangeListEach(text, minimum, maximum, TestPair, &test);
  return test.found;
}
