#include "app/clipboard/ring_menu.h"

#include <cstdio>

#include "core/base/bounded_text.h"
#include "core/formula/eval_state.h"
#include "core/formula/formula_ref_text.h"
#include "core/model/container_record.h"
#include "core/workbook/undo_history.h"

bool FormatRingEntryText(const UndoHistory& ring, int32_t slot, const EvalState& state, char* out, size_t size) {
  if (size == 0 || slot < 0 || slot >= kUndoScratchRecord) return false;
  const UndoRecord& entry = ring.Record(slot);
  const int number = slot + 1;
  switch (entry.storageKind) {
    case kUndoOwnsContainer:
      std::snprintf(out, size, "%d.\tPaste container %u (%s)", number, unsigned(entry.containerId), entry.sheetPath);
      return true;
    case kUndoOwnsItems:
      std::snprintf(out, size, "%d.\tPaste  %s", number, entry.sheetPath);
      return true;
    case kUndoOwnsCellsAndFormats: {
      EvalValue range;
      range.Clear();
      range.first = RefCorner{entry.snapshotFirst.column, entry.snapshotFirst.row, kRefCell};
      range.second = RefCorner{entry.snapshotLast.column, entry.snapshotLast.row, kRefCell};
      char reference[kQualifiedRefCapacity];
      BoundedText text(reference, sizeof reference);
      const bool isRange = range.first.column != range.second.column || range.first.row != range.second.row;
      if (!FormatFormulaRef(state, nullptr, entry.sheetPath, range, text, false, isRange)) reference[0] = '\0';
      std::snprintf(out, size, "%d.\tPaste  %s", number, reference);
      return true;
    }
  }
  return false;
}
