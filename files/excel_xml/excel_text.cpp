#include "files/excel_xml/excel_text.h"

#include "files/text/code_pages.h"

namespace {

uint16_t DecodeAnsiByte(uint8_t byte) { return DecodeCodePageByte(kCodePageAnsi, byte); }

// Characters beyond the 16-bit units have no byte in any code page.
uint8_t EncodeAnsiCodePoint(uint32_t codePoint) {
  return codePoint > 0xFFFF ? uint8_t('?') : EncodeCodePageUnit(kCodePageAnsi, uint16_t(codePoint));
}

}  // namespace

const XmlCodePage kExcelAnsiText = {DecodeAnsiByte, EncodeAnsiCodePoint};
