#ifndef TALVERO_FILES_NATIVE_KIND_H
#define TALVERO_FILES_NATIVE_KIND_H

// What a native workbook file holds, as detection finds it and as a
// workbook remembers it (its native sub-kind) for the next save.

#include <cstdint>

enum NativeKind : uint8_t {
  kNativeXmlPlain = 2,
  kNativeXmlGzip = 3,
  kNativeBinaryPlain = 4,
  kNativeBinaryGzip = 5,
  kNativeOldBinary = 6,
  kNativeEmpty = 7,
};

// Protection hints of a detected file.
enum NativeHint : uint8_t {
  kHintNoPassword = 0,
  kHintValuesReadable = 3,  // a password protects the file; its values can be read without it
  kHintAllEncrypted = 4,
};

// Format bytes of a workbook: the writer of its next save.
enum DocumentFormat : uint8_t {
  kFormatNative = 0,
  kFormatText = 1,
  kFormatExcelXml = 2,
  kFormatXBaseFirst = 3,
  kFormatXBaseLast = 6,
};

#endif
