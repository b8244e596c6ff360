#include "core/base/range_list.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const char* SkipBlanks(const char* p) {
  while (IsBlank(*p)) ++p;
  return p;
}

// Reads a run of digits at p, saturating so that no long run wraps into the
// bounds; null when p holds no digit.
const char* ReadNumber(const char* p, uint32_t* number) {
  if (!IsDigit(*p))
    return nullptr;
  uint32_t n = 0;
  for (; IsDigit(*p); ++p) {
    const uint32_t d = static_cast<uint32_t>(*p - '0');
    n = n > (UINT32_MAX - d) / 10 ? UINT32_MAX : n * 10 + d;
  }
  *number = n;
  return p;
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
  const char* p = SkipBlanks(text);
  int count = 0;
  while (*p) {
    uint32_t from = 0;
    p = ReadNumber(p, &from);
    if (!p)
      return -1;
    uint32_t to = from;
    const char* dash = SkipBlanks(p);
    if (*dash == '-') {
      p = ReadNumber(SkipBlanks(dash + 1), &to);
      if (!p)
        return -1;
    }
    if (from < minimum || from > maximum || to < minimum || to > maximum)
      return -1;
    if (from > to) {
      const uint32_t swap = from;
      from = to;
      to = swap;
    }
    if (sink)
      sink(context, from, to);
    ++count;

    const char* next = SkipBlanks(p);
    if (*next == ',')
      next = SkipBlanks(next + 1);
    else if (next == p && *next)  // neither comma nor blank after the item
      return -1;
    p = next;
  }
  return count;
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
