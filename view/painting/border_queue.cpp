#include "view/painting/border_queue.h"

#include <cstring>

bool BorderQueue::At(uint32_t index, BorderEntry* entry) const {
  const uint8_t* record = entries_.At(index);
  if (!record)
    return false;
  std::memcpy(entry, record, sizeof *entry);
  return true;
}
