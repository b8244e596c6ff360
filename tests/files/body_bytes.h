#ifndef TALVERO_TESTS_FILES_BODY_BYTES_H
#define TALVERO_TESTS_FILES_BODY_BYTES_H

// Bodies of the native binary format composed byte by byte, for the files
// our writer never makes: older versions and malformed records.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/cells/cell_record.h"
#include "core/model/chart_record.h"
#include "core/model/container_record.h"
#include "core/styles/style_record.h"
#include "core/workbook/workbook.h"
#include "files/native_binary/binary_format.h"

namespace body {

struct Bytes {
  std::string s;
  Bytes& U8(uint8_t v) { return Raw(&v, 1); }
  Bytes& U16(uint16_t v) { return Raw(&v, 2); }
  Bytes& U32(uint32_t v) { return Raw(&v, 4); }
  Bytes& Raw(const void* p, size_t n) {
    s.append(static_cast<const char*>(p), n);
    return *this;
  }
  Bytes& Zeros(size_t n) {
    s.append(n, '\0');
    return *this;
  }
  Bytes& Add(const std::string& more) {
    s += more;
    return *this;
  }
};

// User, date, panes, the lists section, fonts and styles, no inspect cells.
inline std::string Prologue(const std::string& lists, uint8_t fonts = 1, uint16_t styles = 1) {
  Bytes b;
  b.Zeros(128).Zeros(50).U16(1).U16(200).U16(0).U16(100).Add(lists);
  b.U8(fonts).Zeros(sizeof(FontRecord) * fonts);
  StyleRecord style = StyleRecord::Default();
  b.U16(styles);
  for (uint16_t i = 0; i < styles; ++i) b.Raw(&style, sizeof style);
  b.U32(0);
  return b.s;
}

inline std::string Head(const std::string& name, uint16_t level, uint8_t kind, uint8_t flag) {
  Bytes b;
  b.U8(uint8_t(name.size())).Add(name).U16(level).U8(kind).U8(flag);
  return b.s;
}

inline std::string OneColumnRun(int version) {
  Bytes b;
  b.U16(2047);
  if (version >= 2)
    b.Zeros(6);
  else
    b.U32(0);
  return b.s;
}

inline std::string Blocks(const std::vector<std::string>& blocks) {
  Bytes b;
  b.U32(uint32_t(blocks.size()));
  for (const std::string& block : blocks) b.U16(uint16_t(block.size())).Add(block);
  return b.s;
}

// A worksheet's contents after its head.
struct Sheet {
  std::string containers = std::string(4, '\0');
  std::string columns;
  std::string rows = std::string(4, '\0');
  std::string runs = std::string(4, '\0');
  std::string cells = std::string(4, '\0');
  std::string Bytes(int version) const {
    return containers + (columns.empty() ? OneColumnRun(version) : columns) + rows + runs + cells +
           std::string(kPageSettingsImageSize + kSheetSettingsSize, '\0');
  }
};

inline std::string NumberCell(uint32_t row, uint16_t column, double value) {
  uint8_t record[kNumberCellSize];
  BuildNumberCell(record, sizeof record, row, column, value);
  return std::string(reinterpret_cast<char*>(record), sizeof record);
}

inline std::string Chart(uint8_t kind, uint8_t series, int16_t rotationX = 0) {
  ChartOptions options{};
  options.kind = kind;
  options.seriesCount = series;
  options.rotationX = rotationX;
  return std::string(reinterpret_cast<char*>(&options), sizeof options);
}

inline std::string ContainerHeaderBytes(uint16_t id, uint8_t charts) {
  ContainerHeader header{};
  header.id = id;
  header.itemCount = charts;
  return std::string(reinterpret_cast<char*>(&header), sizeof header);
}

// A body held in memory, read as the file reader reads its stream.
struct Memory {
  const std::string* bytes;
  size_t at;
  static size_t Read(void* context, void* out, size_t count) {
    auto* memory = static_cast<Memory*>(context);
    const size_t left = memory->bytes->size() - memory->at;
    const size_t got = count < left ? count : left;
    std::memcpy(out, memory->bytes->data() + memory->at, got);
    memory->at += got;
    return got;
  }
  static bool NoError(void*) { return false; }
};

// Reads a body into the workbook; the error code, or 0 on success.
inline int ReadBody(const std::string& bytes, int version, CWorkBook* book) {
  Memory memory{&bytes, 0};
  BodySource source{Memory::Read, Memory::NoError, &memory};
  return ReadBinaryBody(book, &source, version) ? 0 : book->error;
}

// The body the writer makes of the workbook.
inline std::string WriteBody(CWorkBook* book) {
  std::string bytes;
  BodySink sink{[](void* context, const void* data, size_t count) {
                  static_cast<std::string*>(context)->append(static_cast<const char*>(data), count);
                  return true;
                },
                &bytes};
  WriteBinaryBody(book, &sink, false);
  return bytes;
}

}  // namespace body

#endif
