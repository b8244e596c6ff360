// Copy, cut, paste and delete of the document window, with the paste ring
// that every document shares. Copies go into the ring; the Windows clipboard
// receives the selection as text for other programs and the private format
// that tells a later paste to take the ring's newest entry. Text from other
// programs is pasted as typed input.

#include "app/document/child_frame.h"

#include <cstdio>
#include <cstring>

#include "app/clipboard/clipboard_format.h"
#include "app/clipboard/clipboard_ring.h"
#include "app/clipboard/range_text.h"
#include "app/clipboard/ring_paste.h"
#include "app/frame/main_frame.h"
#include "app/tree/tree_edits.h"
#include "platform/ui/wait_cursor.h"
#include "view/draw_context/screen_measurer.h"

namespace {

// "Can't open the Clipboard"
constexpr uint8_t kClipboardBusy = 110;

UndoRange SelectionOf(const CDocumentView& view) {
  const SelectionRange s = view.Selection();
  return UndoRange{static_cast<uint16_t>(s.firstColumn), s.firstRow, static_cast<uint16_t>(s.lastColumn), s.lastRow};
}

bool Held(int key) { return ::GetKeyState(key) < 0; }

HGLOBAL CopyToGlobal(const char* bytes, size_t length) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, length + 1);
  char* data = block != nullptr ? static_cast<char*>(::GlobalLock(block)) : nullptr;
  if (data == nullptr) {
    if (block != nullptr) ::GlobalFree(block);
    return nullptr;
  }
  std::memcpy(data, bytes, length);
  data[length] = '\0';
  ::GlobalUnlock(block);
  return block;
}

void PutOnClipboard(UINT format, HGLOBAL block) {
  if (block != nullptr && ::SetClipboardData(format, block) == nullptr) ::GlobalFree(block);
}

// The edit control of the frame's name box or formula bar when it has the
// focus: edit commands are its own there.
HWND FocusedBarEdit(CMainFrame* frame) {
  const HWND focus = ::GetFocus();
  if (frame == nullptr || focus == nullptr) return nullptr;
  if (focus == frame->FormulaBar() || focus == frame->NameBox() || ::IsChild(frame->NameBox(), focus)) return focus;
  return nullptr;
}

}  // namespace

bool CChildFrame::RouteEditToControl(UINT message) {
  if (HWND edit = FocusedBarEdit(m_owner)) {
    ::SendMessageA(edit, message, 0, 0);
    return true;
  }
  CDocumentView* view = GetActiveView();
  if (m_editing != kEditInCell || view == nullptr) return false;
  view->m_editor.SendMessage(message);
  // A pasted text may need more room than the editor had.
  if (message == WM_PASTE) view->PlaceEditor();
  return true;
}

void CChildFrame::OnEditCopy() {
  if (RouteEditToControl(WM_COPY)) return;
  CDocumentView* view = GetActiveView();
  if (view == nullptr || m_workbook.activeWorksheet == nullptr) return;
  WaitCursor wait;
  UndoHistory& ring = ClipboardRing();
  CWorkSheetTree::CTreeItem* treeItem = FocusInTree() ? SelectedTreeWorkbookItem() : nullptr;
  ContainerRecord* container = treeItem == nullptr && view->m_selectedContainer != 0
                                   ? view->FindContainer(view->m_selectedContainer)
                                   : nullptr;
  bool recorded;
  if (treeItem != nullptr) {
    recorded = CopyItemsToRing(ring, &m_workbook, treeItem);
  } else if (container != nullptr) {
    recorded = CopyContainerToRing(ring, &m_workbook, container);
  } else {
    recorded = CopyRangeToRing(ring, &m_workbook, SelectionOf(*view));
  }
  if (!recorded) ShowError(m_workbook.error);
  // A copy the ring did not take must not name the ring's older entry, or
  // the next Paste would paste that instead: the clipboard then gets the
  // text alone, as from another program.
  PutRingEntryOnClipboard(ring.Current(), recorded);
  RefreshFrameUI();
}

void CChildFrame::PutRingEntryOnClipboard(int32_t slot, bool withRingSlot) {
  CDocumentView* view = GetActiveView();
  CWorkSheet* sheet = m_workbook.activeWorksheet;
  if (view == nullptr || sheet == nullptr) return;
  HGLOBAL text = nullptr;
  // A selected container would go as its picture, which only the container
  // painter can make; until it can, the clipboard names the ring slot alone,
  // so that Paste still brings the container back.
  const bool container = view->m_selectedContainer != 0 && view->FindContainer(view->m_selectedContainer) != nullptr;
  if (!container) {
    RangeText range;
    if (!FormatRangeText(&m_workbook, sheet, SelectionOf(*view), &range) ||
        (text = CopyToGlobal(range.text, range.length)) == nullptr) {
      ShowError(kWorkbookOutOfMemory);
      return;
    }
  } else if (!withRingSlot) {
    return;
  }
  HGLOBAL index = nullptr;
  if (withRingSlot) {
    char digits[kPrivateClipboardBlockSize] = {};
    std::snprintf(digits, sizeof digits, "%d", static_cast<int>(slot));
    index = CopyToGlobal(digits, kPrivateClipboardBlockSize - 1);
    if (index == nullptr) {
      if (text != nullptr) ::GlobalFree(text);
      ShowError(kWorkbookOutOfMemory);
      return;
    }
  }
  if (!::OpenClipboard(m_owner != nullptr ? m_owner->m_hWnd : m_hWnd)) {
    if (text != nullptr) ::GlobalFree(text);
    if (index != nullptr) ::GlobalFree(index);
    ShowError(kClipboardBusy);
    return;
  }
  ::EmptyClipboard();
  PutOnClipboard(CF_TEXT, text);
  PutOnClipboard(PrivateClipboardFormat(), index);
  ::CloseClipboard();
}

void CChildFrame::OnEditCut() {
  if (RouteEditToControl(WM_CUT)) return;
  OnEditCopy();
  // Cut takes the cells whatever keys gave it: Ctrl+X holds Ctrl, which for
  // Delete means the formats alone.
  DeleteSelection(false);
}

void CChildFrame::OnEditPaste() {
  if (RouteEditToControl(WM_PASTE)) return;
  WaitCursor wait;
  if (!::OpenClipboard(m_owner != nullptr ? m_owner->m_hWnd : m_hWnd)) {
    ShowError(kClipboardBusy);
    return;
  }
  const UndoHistory& ring = ClipboardRing();
  if (::IsClipboardFormatAvailable(PrivateClipboardFormat()) && ring.Current() >= 0) {
    PasteRingEntry(ring.Current());
  } else if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
    // The block's size bounds a text that another program left without its NUL.
    if (const char* text = static_cast<const char*>(::GlobalLock(data))) {
      const size_t size = ::GlobalSize(data);
      const void* end = std::memchr(text, '\0', size);
      PasteText(text, end != nullptr ? static_cast<size_t>(static_cast<const char*>(end) - text) : size);
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  CompleteEdit();
}

void CChildFrame::OnPasteRingEntry(int32_t slot) {
  EndOpenEdit();
  WaitCursor wait;
  PasteRingEntry(slot);
  CompleteEdit();
}

void CChildFrame::PasteRingEntry(int32_t slot) {
  CDocumentView* view = GetActiveView();
  UndoHistory& ring = ClipboardRing();
  if (view == nullptr || slot < 0 || slot >= kUndoScratchRecord) return;
  const UndoRange selection = SelectionOf(*view);
  switch (ring.Record(slot).storageKind) {
    case kUndoOwnsCells:
    case kUndoOwnsFormats:
    case kUndoOwnsCellsAndFormats: {
      ScreenMeasurer screen;
      UndoRange target{};
      // Shift pastes the cells without their formats.
      if (!PasteRingRange(ring, slot, &m_workbook, screen.Measurer(), selection, Held(VK_SHIFT), &target)) {
        ShowError(m_workbook.error);
        return;
      }
      view->UpdateScrollRanges(true, true);
      InvalidateCellRange(target.firstColumn, target.lastColumn, target.firstRow, target.lastRow);
      return;
    }
    case kUndoOwnsContainer: {
      ContainerRecord* pasted =
          PasteRingContainer(ring, slot, &m_workbook, selection.firstColumn, selection.firstRow);
      if (pasted == nullptr) {
        ShowError(m_workbook.error);
        return;
      }
      if (view->m_selectedContainer != 0) view->RedrawContainer(view->m_selectedContainer, true);
      view->m_selectedContainer = pasted->header.id;
      view->RedrawContainer(pasted->header.id, true);
      view->SyncOtherPane();
      return;
    }
    case kUndoOwnsItems: {
      CWorkSheetTree::CTreeItem* copy = PasteRingItems(ring, slot, &m_workbook, SelectedTreeWorkbookItem());
      if (copy == nullptr) {
        ShowError(m_workbook.error);
        return;
      }
      if (ShowInsertedTreeItem(copy)) view->SyncOtherPane();
      return;
    }
  }
}

void CChildFrame::PasteText(const char* text, size_t length) {
  CDocumentView* view = GetActiveView();
  if (view == nullptr) return;
  const UndoRange selection = SelectionOf(*view);
  PastedBlock block;
  if (!ParsePastedText(&m_workbook, text, length, selection.firstColumn, selection.firstRow, &block)) {
    ShowError(kWorkbookOutOfMemory);
    return;
  }
  ScreenMeasurer screen;
  UndoRange target{};
  if (!PasteTextBlock(block, &m_workbook, screen.Measurer(), selection, &target)) {
    ShowError(m_workbook.error);
    return;
  }
  view->UpdateScrollRanges(true, true);
  InvalidateCellRange(target.firstColumn, target.lastColumn, target.firstRow, target.lastRow);
}

void CChildFrame::OnEditDelete() {
  // Ctrl takes the formats alone, else the cells alone.
  DeleteSelection(Held(VK_CONTROL));
}

void CChildFrame::DeleteSelection(bool formats) {
  if (RouteEditToControl(WM_CLEAR)) return;
  CDocumentView* view = GetActiveView();
  WaitCursor wait;
  CWorkSheet* sheet = m_workbook.activeWorksheet;
  const bool focusInView = view != nullptr && ::GetFocus() == view->m_hWnd;
  CWorkSheetTree::CTreeItem* treeItem = FocusInTree() ? SelectedTreeWorkbookItem() : nullptr;
  if (treeItem != nullptr) {
    if (RemoveTreeItem(&m_workbook, treeItem)) {
      DeleteTreeItem(treeItem);
      if (m_workbook.activeWorksheet != nullptr) SelectTreeItem(m_workbook.activeWorksheet);
    } else {
      ShowError(m_workbook.error);
    }
  } else if (focusInView && sheet != nullptr && view->m_selectedContainer != 0) {
    if (ContainerRecord* container = view->FindContainer(view->m_selectedContainer)) {
      view->RedrawContainer(container->header.id, true);
      view->m_selectedContainer = 0;
      sheet->RemoveContainer(container);
      m_workbook.undoHistory.RecordContainerRemoved(&m_workbook, container);
    }
  } else if (focusInView && sheet != nullptr) {
    const UndoRange range = SelectionOf(*view);
    if (!m_workbook.undoHistory.RecordCellsAndStyles(&m_workbook, range, !formats, formats)) {
      ShowError(kWorkbookOutOfMemory);
      return;
    }
    if (formats) {
      if (!sheet->format.runs.ClearRect(range.firstColumn, range.lastColumn, range.firstRow, range.lastRow, nullptr,
                                        true)) {
        m_workbook.undoHistory.DropLast(true);
        ShowError(kWorkbookOutOfMemory);
        return;
      }
    } else {
      sheet->cells.DeleteRange(range.firstColumn, range.lastColumn, range.firstRow, range.lastRow, nullptr, true);
    }
    ScreenMeasurer screen;
    CWorkSheet::AutoRowHeights(&m_workbook, screen.Measurer(), sheet, range.firstRow, range.lastRow);
    view->UpdateScrollRanges(true, true);
    InvalidateCellRange(range.firstColumn, range.lastColumn, range.firstRow, range.lastRow);
  }
  CompleteEdit();
}
