#include "dialogs/format_cells/format_page.h"

#include "dialogs/format_cells/format_prop_sheet.h"
#include "platform/ui/window_class.h"
#include "platform/ui/window_impl.h"

HWND CreatePreviewWindow(CWindowImpl& preview, const char* className, HWND page, const RECT& rect) {
  WindowClass cls{};
  if (!RegisterOwnClass(className, 0, LoadCursor(nullptr, IDC_ARROW), nullptr, &cls)) return nullptr;
  return preview.Create(cls, page, rect, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP);
}

FormatSheetHost* CFormatPage::Host() const { return m_sheet != nullptr ? m_sheet->Host() : nullptr; }

bool CFormatPage::FilterPageInput(MSG* msg) { return m_sheet != nullptr && m_sheet->FilterInput(msg); }

bool CFormatPage::IsUserChange(HWND control, bool focusNeeded) const {
  return !m_loading && control != nullptr && ::IsWindowVisible(control) && (!focusNeeded || GetFocus() == control);
}
