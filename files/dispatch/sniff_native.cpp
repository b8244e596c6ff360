#include <cstring>

#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/dispatch/native_kind.h"
#include "files/native_binary/binary_format.h"
#include "files/stream/file_stream.h"

namespace {

constexpr char kOldSignature[] = "Talvero6000";
constexpr char kXmlStart[] = "<?xml";

// The kind of the first 11 bytes (zero beyond what was read), or 0 with the
// error code.
uint8_t Classify(FileStream& stream, const uint8_t* b, size_t got, uint8_t* hint, uint8_t* code) {
  *hint = kHintNoPassword;
  if (got == 0)
    return kNativeEmpty;
  if (std::memcmp(b, kOldSignature, kBinaryHeaderSize) == 0)
    return kNativeOldBinary;
  const uint8_t xmlKind = stream.IsCompressed() ? kNativeXmlGzip : kNativeXmlPlain;
  if (std::memcmp(b, kXmlStart, 5) == 0)
    return xmlKind;
  *code = kFileBadFormat;
  switch (b[0]) {
    case 0xEF:
      return b[1] == 0xBB && b[2] == 0xBF && std::memcmp(b + 3, kXmlStart, 5) == 0 ? xmlKind : 0;
    case 0xFE:
      if (b[1] == 0xFF)
        *code = kFileOnlyUtf8;
      return 0;
    case 0x00:
      if (b[1] == 0x00)
        *code = kFileOnlyUtf8;
      return 0;
    case '1':
    case '2':
    case '3':
      for (size_t i = 1; i < kBinaryHeaderSize; ++i)
        if (b[i] < '0' || b[i] > '9')
          return 0;
      if (b[1] >= '1')
        *hint = b[2] == '1' ? kHintValuesReadable : kHintAllEncrypted;
      return stream.IsCompressed() ? kNativeBinaryGzip : kNativeBinaryPlain;
    default:
      return 0;
  }
}

}  // namespace

bool CWorkBook::SniffNative(uint8_t* kind, uint8_t* hint) {
  FileStream stream;
  stream.Reset();
  *kind = 0;
  *hint = kHintNoPassword;
  if (!bufferedFile.file || !stream.OpenGz(bufferedFile.file, "rb")) {
    error = kFileReadError;
    return false;
  }
  uint8_t bytes[kBinaryHeaderSize] = {};
  const size_t got = stream.ReadGz(bytes, sizeof bytes);
  uint8_t code = kFileBadFormat;
  uint8_t found = Classify(stream, bytes, got, hint, &code);
  // Damaged compressed data shows here before any reader sees it.
  if (stream.HasErrorGz()) {
    found = 0;
    code = kFileReadError;
  }
  stream.CloseGz();
  if (!found) {
    *hint = kHintNoPassword;
    error = code;
    return false;
  }
  *kind = found;
  return true;
}
