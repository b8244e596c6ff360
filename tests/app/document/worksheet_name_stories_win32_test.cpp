// Stories of a user who works in the worksheet tree, told through the real
// document window with its keys and its tree. F2 in the tree edits an
// item's name, never a cell.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/app/document/document_window_fixture.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

class NameStories : public DocumentEditingTest {
 protected:
  void NewShownDocument() {
    doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    if (!doc->Workbook()->panes.treePaneVisible) Command(doc, ID_VIEW_TREE);
    doc->m_splitOuter.SetSplitterPos(200);
    Pump();
  }
  CTreeItem* Item(const char* path) { return doc->Workbook()->FindItemByPath(path); }
  HTREEITEM Handle(const char* path) { return doc->FindTreeItem(nullptr, Item(path)); }
  // The item selected in the tree, which takes the focus.
  void SelectItem(const char* path) {
    HTREEITEM item = Handle(path);
    ASSERT_NE(item, nullptr) << path;
    ::SetFocus(doc->m_tree);
    doc->m_tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    Pump();
  }
  HWND LabelEdit() { return doc->m_tree.LabelEdit(); }
  // Typed into a cell of the worksheet, shown by selecting it in the tree.
  void TypeInto(const char* path, uint32_t row, uint32_t column, const char* text) {
    SelectItem(path);
    FocusCell(doc, row, column);
    Type(text);
    Key(VK_RETURN);
  }
  // The items as "name:depth" words.
  std::string Items() {
    std::string out;
    for (CTreeItem* item = doc->Workbook()->firstItem; item; item = item->next)
      out += std::string(out.empty() ? "" : " ") + item->name + ":" + std::to_string(item->depth);
    return out;
  }

  CChildFrame* doc = nullptr;
};

// F2 with the focus in the tree edits the selected item's name, as Enter
// does there; the active cell keeps its text and no cell editor opens. On
// the root, which keeps its name, F2 does nothing.
TEST_F(NameStories, F2InTheTreeEditsTheItemsNameNeverACell) {
  NewShownDocument();
  TypeInto("\\Worksheet1", 0, 0, "keep");
  SelectItem("\\Worksheet1");
  ASSERT_EQ(::GetFocus(), doc->m_tree.m_hWnd);
  Key(VK_F2);
  ASSERT_NE(LabelEdit(), nullptr);
  EXPECT_EQ(::GetFocus(), LabelEdit());
  EXPECT_EQ(doc->m_editing, kEditIdle);
  Type("Sales");
  Key(VK_RETURN);
  EXPECT_EQ(Items(), "Sales:1");
  EXPECT_EQ(doc->m_editing, kEditIdle);
  EXPECT_EQ(TextAt(*doc->Workbook(), 0, 0), "keep");

  Key(VK_HOME);  // the root
  ASSERT_EQ(doc->m_tree.SelectedItem(),
            reinterpret_cast<HTREEITEM>(doc->m_tree.SendMessage(TVM_GETNEXTITEM, TVGN_ROOT, 0)));
  Key(VK_F2);
  EXPECT_EQ(LabelEdit(), nullptr);
  EXPECT_EQ(doc->m_editing, kEditIdle);
  Type("x");
  EXPECT_EQ(doc->m_editing, kEditIdle);
  EXPECT_EQ(TextAt(*doc->Workbook(), 0, 0), "keep");
  EXPECT_EQ(Items(), "Sales:1");
  EXPECT_TRUE(g_boxes.empty());
}

}  // namespace
