#ifndef TALVERO_CORE_LAST_MODIFICATION_H
#define TALVERO_CORE_LAST_MODIFICATION_H

// Who changed a workbook last and when, as the native files keep it. The file
// formats write and read the block; a new workbook has it cleared.

#include <cstddef>
#include <cstdint>

constexpr size_t kLastModificationUserSize = 128;  // NUL-terminated
constexpr size_t kLastModificationDateSize = 50;   // ISO 8601, NUL-terminated
constexpr size_t kLastModificationBlockSize = 4488;

struct LastModificationBlock {
  char user[kLastModificationUserSize];
  char date[kLastModificationDateSize];
  // Laid out by the file formats.
  uint8_t fileData[kLastModificationBlockSize - kLastModificationUserSize - kLastModificationDateSize];
};

static_assert(sizeof(LastModificationBlock) == kLastModificationBlockSize, "the block is 4488 bytes");
static_assert(offsetof(LastModificationBlock, date) == 128, "");

#endif
