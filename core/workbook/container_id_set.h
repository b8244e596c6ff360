#ifndef TALVERO_CORE_CONTAINER_ID_SET_H
#define TALVERO_CORE_CONTAINER_ID_SET_H

// The container ids taken in a workbook, one bit each, so that finding the
// smallest free id costs one pass over the containers and none per id tried.

#include <cstdint>
#include <cstring>

#include "core/model/container_record.h"

class ContainerIdSet {
 public:
  ContainerIdSet() { std::memset(bits_, 0, sizeof bits_); }

  void Take(uint16_t id) { bits_[id >> 3] = static_cast<uint8_t>(bits_[id >> 3] | (1u << (id & 7))); }
  bool IsTaken(uint16_t id) const { return (bits_[id >> 3] >> (id & 7)) & 1u; }
  // Every id of the containers of a worksheet's list.
  void TakeAll(const ContainerRecord* list) {
    for (; list; list = list->next) Take(list->header.id);
  }
  // The smallest id from 1 that is not taken, now taken; 0 when every id up
  // to kContainerMaxId is.
  uint16_t TakeSmallestFree() {
    for (uint32_t byte = 0; byte < sizeof bits_; ++byte) {
      if (bits_[byte] == 0xFF)
        continue;
      for (uint32_t bit = 0; bit < 8; ++bit) {
        const uint32_t id = byte * 8 + bit;
        if (id == 0 || IsTaken(static_cast<uint16_t>(id)))
          continue;
        if (id > kContainerMaxId)
          return 0;
        Take(static_cast<uint16_t>(id));
        return static_cast<uint16_t>(id);
      }
    }
    return 0;
  }

 private:
  uint8_t bits_[65536 / 8];
};

#endif
