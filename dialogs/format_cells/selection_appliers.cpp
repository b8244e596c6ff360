#include "dialogs/format_cells/selection_appliers.h"

#include <cstring>
#include <optional>

#include "core/edit/format_selection.h"
#include "core/workbook/workbook.h"
#include "dialogs/format_cells/format_sheet_host.h"
#include "platform/ui/wait_cursor.h"
#include "services/messages/message_boxes.h"
#include "view/draw_context/screen_measurer.h"

namespace {

bool Apply(FormatSheetHost* host, int kind, const StyleRecord& style, const FontRecord& font, bool showWait) {
  CWorkBook* book = nullptr;
  FormatSelection selection{};
  if (!host || !host->ActiveSelection(&book, &selection) || !book) return true;
  std::optional<WaitCursor> wait;
  if (showWait) wait.emplace();
  ScreenMeasurer screen;
  if (!ApplyFormatToSelection(book, selection, kind, style, font, &screen.Measurer())) {
    wait.reset();
    ShowError(book->error);
    return false;
  }
  host->SelectionFormatted(selection);
  return true;
}

StyleRecord ClearedStyle() {
  StyleRecord style;
  std::memset(&style, 0, sizeof style);
  return style;
}

FontRecord ClearedFont() {
  FontRecord font;
  std::memset(&font, 0, sizeof font);
  return font;
}

}  // namespace

bool ApplyNumFormatToSelection(FormatSheetHost* host, const NumFormatParams& params) {
  StyleRecord style = ClearedStyle();
  style.numFormat = params;
  const int kind = params.category < kNumFormatUserPattern ? kApplyNumberFormat : kApplyUserNumberFormat;
  return Apply(host, kind, style, ClearedFont(), false);
}

bool ApplyFontToSelection(FormatSheetHost* host, const FontWithColor& font, int kind) {
  StyleRecord style = ClearedStyle();
  style.fontColorSet = font.colorSet;
  style.fontColor = font.color;
  return Apply(host, kind, style, font.font, true);
}

bool ApplyAlignmentToSelection(FormatSheetHost* host, const StyleRecord& style, int kind) {
  return Apply(host, kind, style, ClearedFont(), true);
}

bool ApplyBorderToSelection(FormatSheetHost* host, const StyleRecord& style, int kind) {
  return Apply(host, kind, style, ClearedFont(), false);
}

bool ApplyDropDownListToSelection(FormatSheetHost* host, const StyleRecord& style) {
  return Apply(host, kApplyDropDown, style, ClearedFont(), false);
}
