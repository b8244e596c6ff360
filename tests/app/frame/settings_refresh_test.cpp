// What a change of the options changes in the open workbooks and the
// process.

#include "app/frame/settings_refresh.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "app/clipboard/clipboard_ring.h"
#include "core/workbook/open_document_table.h"
#include "core/workbook/workbook.h"
#include "services/settings/global_options.h"
#include "view/draw_context/default_font.h"
#include "view/grid_view/grid_view_options.h"

namespace {

TEST(SettingsRefresh, NewLevelsReachEveryOpenWorkbookAndTheRing) {
  SetDefaultOptions(Options);
  // Workbooks are too large for the stack of the Windows build.
  auto books = std::make_unique<CWorkBook[]>(3);
  CWorkBook& first = books[0];
  CWorkBook& second = books[1];
  CWorkBook& closed = books[2];
  for (int i = 0; i < 3; ++i) books[i].undoHistory.SetLevels(Options.UndoLevel);
  ASSERT_TRUE(RegisterOpenDocument(&first, nullptr, "first.tlv"));
  ASSERT_TRUE(RegisterOpenDocument(&second, nullptr, "second.tlv"));
  ClipboardRing().SetLevels(Options.CopyLevel);

  const SettingsLevels before = NoteSettingsLevels();
  Options.UndoLevel = 7;
  Options.CopyLevel = 5;
  Options.ShowFormulas = 1;
  std::strcpy(Options.DefaultFont.faceName, "Tahoma");
  ApplyChangedSettings(before);
  EXPECT_EQ(7u, first.undoHistory.Levels());
  EXPECT_EQ(7u, second.undoHistory.Levels());
  EXPECT_EQ(20u, closed.undoHistory.Levels());
  EXPECT_EQ(5u, ClipboardRing().Levels());
  EXPECT_STREQ("Tahoma", DefaultFaceName());
  FontRecord font;
  CopyDefaultFont(&font);
  EXPECT_STREQ("Tahoma", font.faceName);
  EXPECT_EQ(1, ViewOptions().showFormulas);

  // Unchanged levels leave a workbook's own levels alone.
  first.undoHistory.SetLevels(3);
  Options.DefaultFont.faceName[0] = '\0';
  ApplyChangedSettings(NoteSettingsLevels());
  EXPECT_EQ(3u, first.undoHistory.Levels());
  EXPECT_STREQ(kDefaultFaceName, DefaultFaceName());

  UnregisterOpenDocument(&first);
  UnregisterOpenDocument(&second);
  SetDefaultOptions(Options);
  ClipboardRing().SetLevels(Options.CopyLevel);
  ResetGridViewOptions();
}

}  // namespace
