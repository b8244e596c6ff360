#include "app/frame/settings_refresh.h"

#include "app/clipboard/clipboard_ring.h"
#include "core/workbook/open_document_table.h"
#include "core/workbook/workbook.h"
#include "services/settings/global_options.h"
#include "services/settings/grid_view_options_copy.h"
#include "view/draw_context/default_font.h"

SettingsLevels NoteSettingsLevels() { return SettingsLevels{Options.UndoLevel, Options.CopyLevel}; }

void ApplyChangedSettings(const SettingsLevels& before) {
  if (Options.CopyLevel != before.copyLevel) ClipboardRing().SetLevels(Options.CopyLevel);
  if (Options.UndoLevel != before.undoLevel) {
    for (OpenDocument& document : OpenDocuments().slots) {
      if (document.workbook != nullptr) document.workbook->undoHistory.SetLevels(Options.UndoLevel);
    }
  }
  SetDefaultFaceName(Options.DefaultFont.faceName);
  CopyOptionsToGridViews(Options);
}
