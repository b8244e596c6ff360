#ifndef TALVERO_FILES_BINARY_FORMAT_H
#define TALVERO_FILES_BINARY_FORMAT_H

// The native binary workbook file: an 11-character header, for a protected
// file whose values stay readable a values-only copy of the body, then the
// body, plain or as one RC4 stream behind the body's MD5 digest, then 8
// trailing bytes. All integers little-endian.

#include <cstddef>
#include <cstdint>

class CWorkBook;

constexpr size_t kBinaryHeaderSize = 11;
constexpr size_t kBinaryTrailerSize = 8;
constexpr uint8_t kBinaryVersionWritten = 3;
constexpr size_t kInspectRecordSize = 396;
constexpr size_t kChartImageSize = 732;
constexpr size_t kViewMatrixSize = 64;
constexpr size_t kSeriesImageBytes = 3528;
constexpr size_t kContainerHeaderImageSize = 984;
constexpr size_t kSheetSettingsSize = 472;
constexpr size_t kPageSettingsImageSize = 1152;
// Version 1 and 2 drop-down list records.
constexpr size_t kOldListRecordSize = 34;
constexpr size_t kOldListTextMax = 30;

// Protection modes: 0 none; 1 and 2 a 40-bit key, 3 and 4 a 128-bit key;
// modes 1 and 3 keep a values-only copy readable without the password.
constexpr uint8_t kProtectionModeCount = 5;

struct BinaryHeader {
  uint8_t version;     // 1..3
  uint8_t protection;  // mode 0..4
  int keyBits;         // 0, 40 or 128
  bool valuesCopy;     // modes 1 and 3
};

// The 11 characters written for a protection mode (0..4).
void BuildBinaryHeader(uint8_t protectionMode, char header[kBinaryHeaderSize]);
// The version and protection of a header as the reader takes them; false
// when the version digit is not 1..3.
bool ParseBinaryHeader(const char header[kBinaryHeaderSize], BinaryHeader* out);
// Key bits of a protection mode: 0, 40 or 128.
int ProtectionKeyBits(uint8_t protectionMode);
bool ProtectionHasValuesCopy(uint8_t protectionMode);
// Bytes of filler after the length byte n: 4 x n, but 1 when n is 0.
inline size_t DigestFillerSize(uint8_t n) { return n ? 4u * n : 1u; }

// Where a body's bytes go: the file stream, or a digest. put returns false
// when the bytes could not all be taken; the writer goes on and the owner
// of the sink decides at the end.
struct BodySink {
  bool (*put)(void* context, const void* bytes, size_t count);
  void* context;
};

// Where a body's bytes come from. read returns the count read, short at the
// end of the data or on an error; hasError tells a real error of the data
// (corrupt or failed reads) from its end.
struct BodySource {
  size_t (*read)(void* context, void* bytes, size_t count);
  bool (*hasError)(void* context);
  void* context;
};

// Writes the body of the workbook, or with valuesOnly its values-only copy
// (formulas replaced by the cells their shown text makes). False only when
// memory for the values-only copy runs out (the book's error then 8); the
// sink's own failures are its owner's to judge.
bool WriteBinaryBody(CWorkBook* book, BodySink* sink, bool valuesOnly);

// Reads a body of the version into the workbook, which the caller has
// emptied. Every count, length and record image is checked before it
// reaches the workbook. False with the book's error: 21 for a malformed
// body, 38 for a short or failed read, 8 when memory runs out; the workbook
// is then emptied again, with that error.
bool ReadBinaryBody(CWorkBook* book, BodySource* source, int version);

#endif
