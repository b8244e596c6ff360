#ifndef TALVERO_CORE_MODEL_INSPECT_CELL_H
#define TALVERO_CORE_MODEL_INSPECT_CELL_H

// The fields of one 396-byte inspect-cell record, a cell the inspect pane
// watches: column, row, the reference flags of its address, the full path
// of its worksheet and the name the user gave it.

#include <cstddef>
#include <cstdint>
#include <cstring>

constexpr uint32_t kInspectCellRecordSize = 396;

constexpr size_t kInspectColumnOffset = 0;
constexpr size_t kInspectRowOffset = 2;
constexpr size_t kInspectFlagsOffset = 6;
constexpr size_t kInspectPathOffset = 12;
constexpr size_t kInspectPathSize = 256;
constexpr size_t kInspectNameOffset = kInspectPathOffset + kInspectPathSize;
constexpr size_t kInspectNameSize = 128;
static_assert(kInspectNameOffset + kInspectNameSize == kInspectCellRecordSize, "inspect-cell record layout");

struct InspectCellFields {
  uint16_t column = 0;
  uint32_t row = 0;
  uint32_t flags = 0;
  char path[kInspectPathSize] = {};
  char name[kInspectNameSize] = {};
};

inline void ReadInspectCell(const uint8_t* record, InspectCellFields* out) {
  std::memcpy(&out->column, record + kInspectColumnOffset, 2);
  std::memcpy(&out->row, record + kInspectRowOffset, 4);
  std::memcpy(&out->flags, record + kInspectFlagsOffset, 4);
  std::memcpy(out->path, record + kInspectPathOffset, kInspectPathSize);
  out->path[kInspectPathSize - 1] = 0;
  std::memcpy(out->name, record + kInspectNameOffset, kInspectNameSize);
  out->name[kInspectNameSize - 1] = 0;
}

inline void WriteInspectCell(const InspectCellFields& in, uint8_t* record) {
  std::memset(record, 0, kInspectCellRecordSize);
  std::memcpy(record + kInspectColumnOffset, &in.column, 2);
  std::memcpy(record + kInspectRowOffset, &in.row, 4);
  std::memcpy(record + kInspectFlagsOffset, &in.flags, 4);
  std::memcpy(record + kInspectPathOffset, in.path, kInspectPathSize);
  std::memcpy(record + kInspectNameOffset, in.name, kInspectNameSize);
}

#endif
