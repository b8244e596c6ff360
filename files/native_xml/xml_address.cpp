#include "files/native_xml/xml_address.h"

#include "core/formula/formula_ref_text.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/xml/xml_reader.h"

RefCorner ReadXmlAddress(CWorkBook* book, const char* text, uint32_t need, bool absolute, uint32_t row,
                         uint16_t column, const char** end) {
  book->evaluator.row = row;
  book->evaluator.column = column;
  RefCorner corner{};
  const char* after = nullptr;
  const uint32_t flags = ParseR1C1Reference(book->evaluator, text, &corner, &after);
  const uint32_t relative = kRefRowRelative | kRefColumnRelative;
  if (!flags || (flags & kRefCell) != need || (flags & kRefOutsideGrid) || (absolute && (flags & relative)) ||
      corner.column >= kColumnCount || corner.row >= kRowCount || (!end && *after))
    ThrowXmlError(kFileXmlBadAttribute);
  if (end)
    *end = after;
  return corner;
}
