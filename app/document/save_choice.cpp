#include "app/document/save_choice.h"

#include <cstring>
#include <initializer_list>

#include "core/base/text_compare.h"
#include "dialogs/xbase/xbase_description.h"
#include "files/dispatch/native_kind.h"

const char kNativeExtension[] = "tlv";

const char kSaveFilter[] =
    "Talvero (*.tlv)\0*.tlv\0"
    "Text (*.txt;*.csv;*.tsv)\0*.txt;*.csv;*.tsv\0"
    "Excel 2003 XML (*.xml)\0*.xml\0"
    "dBase III+ (*.dbf)\0*.dbf\0"
    "dBase IV (*.dbf)\0*.dbf\0"
    "FoxPro 2.x (*.dbf)\0*.dbf\0"
    "Clipper (*.dbf)\0*.dbf\0"
    "All Files (*.*)\0*.*\0";

uint8_t FileKindOfSaveFilter(uint32_t filterIndex) {
  switch (filterIndex) {
    case 2:
      return kFormatText;
    case 3:
      return kFormatExcelXml;
    case 4:
    case 5:
    case 6:
    case 7:
      return static_cast<uint8_t>(kFormatXBaseFirst + (filterIndex - 4));
    default:
      return kFormatNative;
  }
}

uint8_t FileKindOfSavedName(const char* path, uint8_t filterKind) {
  const size_t length = path != nullptr ? std::strlen(path) : 0;
  if (length < 4) return filterKind;
  for (const char* native : {".tlv", ".tlw"})
    if (CompareTextIgnoringCase(path + length - 4, 4, native, 4) == 0) return kFormatNative;
  return filterKind;
}

const char* SaveKindName(uint8_t kind) {
  if (kind == kFormatText) return "text";
  if (kind == kFormatExcelXml) return "Excel 2003 XML";
  return XBaseDialectName(kind);
}
