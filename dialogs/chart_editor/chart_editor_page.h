#ifndef TALVERO_DIALOGS_CHART_EDITOR_CHART_EDITOR_PAGE_H
#define TALVERO_DIALOGS_CHART_EDITOR_CHART_EDITOR_PAGE_H

// A page of the chart editor: a child dialog without a frame that the
// editor creates inside its tab control when its tab is chosen, and that
// moves the working copy's settings between the record and its controls
// through one exchange. Windows only.

#include <cstdint>

#include "platform/ui/dialog_impl.h"

class ChartRecord;
class ContainerRecord;

// What a page edits: the working copy, and in chart mode the selected
// chart and series (-1 for none).
struct ChartPageTarget {
  ContainerRecord* container;
  ChartRecord* chart;
  int32_t series;
};

class CChartEditorPage : public CDialogImpl {
 public:
  explicit CChartEditorPage(int templateId) : CDialogImpl(templateId) {}

  // Load (save false): the controls show the record. Save: the controls are
  // checked and written into the record; false, after a beep and with the
  // focus on the offending control, when one holds something invalid.
  virtual bool ExchangeData(bool save, const ChartPageTarget& target) = 0;
};

#endif
