#include "view/painting/heading_label.h"

#include <cstdio>

#include "core/base/bounded_text.h"
#include "core/base/global_options.h"
#include "core/formula/formula_ref_text.h"

void ColumnHeadingLabel(uint16_t column, char* buffer, size_t size) {
  if (AddressingA1) {
    BoundedText out(buffer, size);
    const RefCorner corner = {column, 0, kRefHasColumn | kRefColumnRelative};
    FormatA1Reference(out, corner);
  } else {
    std::snprintf(buffer, size, "C%u", static_cast<unsigned>(column) + 1);
  }
}
