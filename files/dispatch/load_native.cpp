#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/dispatch/native_kind.h"
#include "files/native_xml/native_xml.h"

bool CWorkBook::LoadNative(const char* password) {
  uint8_t kind;
  uint8_t hint;
  if (!SniffNative(&kind, &hint))
    return false;
  bool loaded = false;
  switch (kind) {
    case kNativeBinaryPlain:
    case kNativeBinaryGzip:
      loaded = LoadBinary(password);
      break;
    case kNativeXmlPlain:
    case kNativeXmlGzip:
      loaded = LoadXml(this, &xmlErrorLine);
      break;
    case kNativeOldBinary:
      loaded = LoadOldBinary();
      break;
    case kNativeEmpty:
      loaded = NewDocument();
      break;
    default:
      error = kFileBadFormat;
      break;
  }
  if (!loaded)
    return false;
  saveKind = kind == kNativeEmpty ? uint8_t(kNativeBinaryPlain) : kind;
  sourceFormat = kFormatNative;
  return true;
}
