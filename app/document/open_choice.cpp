#include "app/document/open_choice.h"

#include <cstring>

#include "app/document/save_choice.h"
#include "core/base/text_compare.h"
#include "files/dispatch/native_kind.h"

namespace {

constexpr uint8_t kDBaseIV = kFormatXBaseFirst + 1;

struct ExtensionType {
  const char* extension;
  uint8_t type;
};

const ExtensionType kExtensionTypes[] = {
    {".tlv", kFormatNative}, {".tlw", kFormatNative}, {".txt", kFormatText}, {".csv", kFormatText},
    {".tsv", kFormatText},   {".xml", kFormatExcelXml}, {".dbf", kDBaseIV},
};

}  // namespace

const char kOpenFilter[] =
    "Talvero (*.tlv;*.tlw)\0*.tlv;*.tlw\0"
    "Text (*.txt;*.csv;*.tsv)\0*.txt;*.csv;*.tsv\0"
    "Excel 2003 XML (*.xml)\0*.xml\0"
    "dBase III+ (*.dbf)\0*.dbf\0"
    "dBase IV (*.dbf)\0*.dbf\0"
    "FoxPro 2.x (*.dbf)\0*.dbf\0"
    "Clipper (*.dbf)\0*.dbf\0"
    "All Files (*.*)\0*.*\0";

uint8_t GetFileTypeFromExtension(const char* path) {
  const size_t length = path != nullptr ? std::strlen(path) : 0;
  if (length < 4) return kFormatNative;
  for (const ExtensionType& entry : kExtensionTypes)
    if (CompareTextIgnoringCase(path + length - 4, 4, entry.extension, 4) == 0) return entry.type;
  return kFormatNative;
}

uint8_t FileTypeOfOpenFilter(uint32_t filterIndex, const char* path) {
  // No choice and the native entry read by the extension; the other entries
  // stand in the same order as the save dialog's.
  if (filterIndex <= 1)
    return GetFileTypeFromExtension(path);
  return FileKindOfSaveFilter(filterIndex);
}
