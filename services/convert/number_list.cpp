#include "services/convert/number_list.h"

#include "core/base/range_list.h"

namespace {

struct ZeroBasedPairs {
  NumberListPair* pairs;
  int capacity;
  int written;
};

void AddZeroBased(void* context, uint32_t from, uint32_t to) {
  ZeroBasedPairs* out = static_cast<ZeroBasedPairs*>(context);
  if (out->written < out->capacity)
    out->pairs[out->written++] = {static_cast<int>(from) - 1, static_cast<int>(to) - 1};
}

}  // namespace

int ParseNumberList(const char* text, NumberListPair* pairs, int capacity, int minimum, int maximum) {
  if (maximum < 0 || minimum > maximum)
    return -1;
  const uint32_t low = minimum < 0 ? 0u : static_cast<uint32_t>(minimum);
  ZeroBasedPairs out = {pairs, pairs ? capacity : 0, 0};
  return ParseRangeListEach(text, low, static_cast<uint32_t>(maximum), pairs ? AddZeroBased : nullptr, &out);
}
