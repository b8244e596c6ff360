#ifndef TALVERO_DIALOGS_CHART_EDITOR_CHART_EDITOR_OWNER_H
#define TALVERO_DIALOGS_CHART_EDITOR_CHART_EDITOR_OWNER_H

// What the chart editor asks of the document window that owns it. Windows
// only.

#include <windows.h>

#include "view/painting/selection_painter.h"

class CWorkBook;
class ContainerRecord;

class ChartEditorOwner {
 public:
  virtual HWND DocumentWindow() = 0;
  // The document's workbook, whose evaluator translates series formulas.
  virtual CWorkBook* Workbook() = 0;
  // The selection of the active grid view; false without one.
  virtual bool ActiveSelection(SelectionRange* selection) = 0;
  // The working copy goes into the worksheet's container of the same id,
  // as one undo step, which is then reloaded and repainted.
  virtual void ApplyContainerEdit(ContainerRecord& copy) = 0;

 protected:
  ~ChartEditorOwner() = default;
};

#endif
