// The document window's commands that fill the selection with generated
// content: dates and times, data series and quick-statistics formulas.

#include "app/document/child_frame.h"

#include "app/document/inserted_date.h"
#include "app/document/quick_statistics.h"
#include "app/document/selection_cells.h"
#include "core/edit/data_series.h"
#include "platform/os_services.h"
#include "platform/ui/wait_cursor.h"
#include "resources/resource_ids.h"
#include "services/messages/message_boxes.h"
#include "services/ui_services/help_topics.h"
#include "view/draw_context/screen_measurer.h"
#include "view/grid_view/grid_view_options.h"

namespace {

// The help page about selecting cells for the quick statistics.
constexpr int kQuickStatisticsHelpTopic = 18;

}  // namespace

void CChildFrame::OnInsertDate(UINT command) {
  if (GetActiveView() == nullptr) return;
  EndOpenEdit();
  OsLocalTime now{};
  OsGetLocalTime(&now);
  char text[64];
  if (!ComposeInsertedDate(command, now, text, sizeof text)) return;
  EnterTextIntoSelection(text);
}

void CChildFrame::OnDataSeries() {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  const SelectionRange s = view->Selection();
  uint8_t outcome;
  {
    WaitCursor wait;
    outcome = FillDataSeries(&m_workbook, CellRangeOfSelection(s));
  }
  if (outcome == kSeriesNoSeed) ShowMessageRes(IDS_SERIES_NEEDS_SEEDS, MB_ICONEXCLAMATION | MB_OK);
  // A failure leaves what was filled before it, and the step for it.
  if (outcome == kSeriesFailed) ShowError(m_workbook.error);
  if (outcome != kSeriesFilled && outcome != kSeriesFailed) return;
  InvalidateCellRange(s.firstColumn, s.lastColumn, s.firstRow, s.lastRow);
  CompleteEdit();
}

void CChildFrame::OnQuickStatistic(UINT command) {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  const SelectionRange s = view->Selection();
  if (s.firstColumn == s.lastColumn && s.firstRow == s.lastRow) {
    if (ShowMessageRes(IDS_NO_RANGE_SELECTED, MB_ICONINFORMATION | MB_OKCANCEL) == IDOK)
      ShowHelpTopic(kQuickStatisticsHelpTopic);
    return;
  }
  uint8_t outcome;
  {
    WaitCursor wait;
    ScreenMeasurer screen;
    outcome = EnterQuickStatistics(&m_workbook, screen.Measurer(), command, CellRangeOfSelection(s),
                                   ViewOptions().autoFormatting != 0);
  }
  if (outcome == kQuickStatisticsNothing) return;
  if (outcome == kQuickStatisticsFailed) ShowError(kWorkbookOutOfMemory);
  view->UpdateScrollRanges(true, true);
  InvalidateCellRange(s.firstColumn, s.lastColumn, s.firstRow, s.lastRow);
  CompleteEdit();
}
