#ifndef TALVERO_FILES_NATIVE_XML_UNIQUE_CONTAINER_ID_H
#define TALVERO_FILES_NATIVE_XML_UNIQUE_CONTAINER_ID_H

// Container ids must be unique in a workbook, but a file may repeat one:
// the reader gives a repeated id, whatever its size, the smallest free id,
// and takes the id it keeps.

#include <cstdint>

#include "core/workbook/container_id_set.h"

// The id the container keeps, now taken; a repeated one is replaced by the
// smallest free id (kept only when no id is free). Id 0 counts as taken.
inline uint16_t TakeUniqueContainerId(ContainerIdSet* used, uint16_t id) {
  used->Take(0);
  if (used->IsTaken(id)) {
    if (const uint16_t free = used->TakeSmallestFree())
      return free;
    return id;
  }
  used->Take(id);
  return id;
}

#endif
