// The page settings of an older worksheet, read field by field. Of its
// fields the paper code (the first field), the printer name, the five small
// fields (orientation, scale, first page number, copies, pages per sheet),
// the margins in centimetres (left, right, top, bottom), the header and
// footer texts, their margins, the header font and the three fields of
// centring and headings are taken over.

#include <cstdio>
#include <cstring>

#include "core/model/color_font_record.h"
#include "core/model/page_settings.h"
#include "files/errors/file_errors.h"
#include "files/old_binary/old_binary.h"
#include "files/old_binary/old_binary_source.h"

namespace {

constexpr uint32_t kLongestPageText = 499;
constexpr size_t kSkippedBlockSize = 16;

struct SheetLayout {
  uint8_t pages;
  uint8_t across;
  uint8_t down;
};

// The layouts of several pages on one sheet of paper.
const SheetLayout kLayouts[] = {{1, 1, 1},  {2, 1, 2},  {2, 2, 1},  {4, 2, 2},  {4, 4, 1},  {4, 1, 4},
                                {6, 3, 2},  {6, 2, 3},  {6, 6, 1},  {6, 1, 6},  {9, 3, 3},  {12, 4, 3},
                                {12, 3, 4}, {12, 6, 2}, {12, 2, 6}, {16, 4, 4}, {25, 5, 5}};

void SetPagesPerSheet(uint16_t pages, PageSettings* page) {
  if (pages <= 1)
    return;
  // The first layout of that many pages; other counts keep the default.
  for (const SheetLayout& layout : kLayouts)
    if (layout.pages == pages) {
      page->pagesPerSheetColumns = layout.across;
      page->pagesPerSheetRows = layout.down;
      return;
    }
}

// A length in centimetres as millimetres; nonsense keeps the length there
// was (the record is packed, so it is passed and returned as a value).
double ReadLength(OldBinarySource& in, double millimetres) {
  const double centimetres = in.F64();
  return centimetres >= 0 && centimetres <= 1000 ? centimetres * 10 : millimetres;
}

}  // namespace

void ReadOldPageSettings(OldBinarySource& in, PageSettings* page) {
  // Only the first version of the record is known; what follows another
  // cannot be found.
  if (in.U8() != 1)
    ThrowOldBinaryError(kFileBadFormat);
  in.U32();
  std::snprintf(page->sheetSizeName, sizeof page->sheetSizeName, "%s", in.U32() == 1 ? "Letter" : "A4");
  ReadOldText(in, page->printerName, sizeof page->printerName, kLongestPageText);
  page->landscape = in.U16() != 0;
  const uint16_t scale = in.U16();
  if (scale >= 10 && scale <= 1000)
    page->scale = scale;
  const uint16_t firstPage = in.U16();
  if (firstPage >= 1)
    page->firstPageNumber = firstPage;
  const uint16_t copies = in.U16();
  if (copies >= 1)
    page->copies = copies;
  SetPagesPerSheet(in.U16(), page);
  page->marginLeft = ReadLength(in, page->marginLeft);
  page->marginRight = ReadLength(in, page->marginRight);
  page->marginTop = ReadLength(in, page->marginTop);
  page->marginBottom = ReadLength(in, page->marginBottom);
  ReadOldText(in, page->headerText, sizeof page->headerText, kLongestPageText);
  ReadOldText(in, page->footerText, sizeof page->footerText, kLongestPageText);
  page->headerMargin = ReadLength(in, page->headerMargin);
  page->footerMargin = ReadLength(in, page->footerMargin);
  ColorFontRecord header{};
  ReadOldColorFont(in, &header);
  page->headerFont = header.font;
  page->headerColor = header.color;
  page->headerColorSet = header.colorSet;
  ColorFontRecord footer{};
  ReadOldColorFont(in, &footer);
  page->alignment = uint8_t(in.U32());
  page->rowHeadings = in.U32() != 0;
  page->columnHeadings = in.U32() != 0;
  in.Skip(2 * kSkippedBlockSize);
  char skipped[1];
  ReadOldText(in, skipped, sizeof skipped, kLongestPageText);
  ReadOldText(in, skipped, sizeof skipped, kLongestPageText);
}
