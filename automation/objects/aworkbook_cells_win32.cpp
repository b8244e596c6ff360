// The Workbook object's members that read and write the active worksheet's
// cells, ranges and formats.

#include <cstring>

#include "automation/objects/array_elements_win32.h"
#include "automation/objects/aworkbook_win32.h"
#include "automation/objects/bstr_text_win32.h"
#include "automation/objects/format_info_win32.h"
#include "automation/objects/variant_value_win32.h"
#include "automation/worksheet/format_request.h"
#include "core/edit/cell_display_text.h"
#include "core/edit/cell_input.h"
#include "core/edit/cell_text.h"
#include "core/edit/format_selection.h"
#include "view/draw_context/screen_measurer.h"

namespace {

// The longest formula a client hands over, in bytes of the ANSI code page.
constexpr size_t kFormulaArgumentSize = 1025;

constexpr int kClearData = 1;
constexpr int kClearFormat = 2;

bool IsOneCell(const CellRange& range) {
  return range.firstColumn == range.lastColumn && range.firstRow == range.lastRow;
}

HRESULT TextResult(const char* text, BSTR* out) {
  *out = AnsiToBstr(text, static_cast<int>(kMaxCellTextOutput + 1));
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// The attributes of a client's FormatInfo object, read through its
// properties as it answers them (unset colours as the system colours they
// stand for); false when any property fails.
bool ReadFormatInfo(IFormatInfo* info, FormatInfoRecord* record) {
  *record = FormatInfoRecord{};
  BSTR name = nullptr;
  int size = 0, styleId = 0, fillType = 0, borderType = 0, borderPosition = 0;
  LONG bold = 0, italic = 0, underline = 0, strikeout = 0;
  ULONG fontColor = 0, patternColor = 0, backgroundColor = 0, borderColor = 0;
  if (info == nullptr || FAILED(info->get_fontName(&name))) return false;
  BstrToAnsi(name, record->fontName, sizeof record->fontName);
  SysFreeString(name);
  if (FAILED(info->get_fontSize(&size)) || FAILED(info->get_boldFont(&bold)) ||
      FAILED(info->get_italicFont(&italic)) || FAILED(info->get_underlineFont(&underline)) ||
      FAILED(info->get_strikeoutFont(&strikeout)) || FAILED(info->get_fontColor(&fontColor)) ||
      FAILED(info->get_styleID(&styleId)) || FAILED(info->get_fillType(&fillType)) ||
      FAILED(info->get_fillPatternColor(&patternColor)) || FAILED(info->get_fillBackgroundColor(&backgroundColor)) ||
      FAILED(info->get_borderType(&borderType)) || FAILED(info->get_borderColor(&borderColor)) ||
      FAILED(info->get_borderPosition(&borderPosition)))
    return false;
  record->fontSize = static_cast<uint8_t>(size);
  record->bold = bold > 0 ? 1 : 0;
  record->italic = FormatInfoRecord::FlagOf(italic);
  record->underline = FormatInfoRecord::FlagOf(underline);
  record->strikeout = FormatInfoRecord::FlagOf(strikeout);
  record->fontColor = fontColor;
  record->fontColorSet = 1;
  // A style id that is no byte names no category either.
  record->styleId = static_cast<uint8_t>(styleId >= 0 && styleId <= 0xFF ? styleId : 0xFF);
  record->fillType = static_cast<uint8_t>(fillType);
  record->fillPatternColor = patternColor;
  record->fillPatternColorSet = 1;
  record->fillBackgroundColor = backgroundColor;
  record->fillBackgroundColorSet = 1;
  record->borderType = static_cast<uint8_t>(borderType);
  record->borderColor = borderColor;
  record->borderColorSet = 1;
  record->borderPosition = static_cast<uint8_t>(borderPosition);
  return true;
}

// The two-dimensional array of values a client hands to PutRange: its lower
// bounds and extents, rows first; false for any other array.
struct ValueArray {
  SAFEARRAY* array;
  LONG firstRow;
  LONG firstColumn;
  uint32_t rows;
  uint32_t columns;

  bool Take(SAFEARRAY* values) {
    array = values;
    LONG upperRow = 0, upperColumn = 0;
    if (!HasElementsOfSize(values, sizeof(VARIANT)) || SafeArrayGetDim(values) != 2 ||
        FAILED(SafeArrayGetLBound(values, 1, &firstRow)) || FAILED(SafeArrayGetUBound(values, 1, &upperRow)) ||
        FAILED(SafeArrayGetLBound(values, 2, &firstColumn)) || FAILED(SafeArrayGetUBound(values, 2, &upperColumn)))
      return false;
    rows = upperRow >= firstRow ? static_cast<uint32_t>(upperRow - firstRow) + 1 : 0;
    columns = upperColumn >= firstColumn ? static_cast<uint32_t>(upperColumn - firstColumn) + 1 : 0;
    return true;
  }

  // The value of element (row, column) from the first; an element that
  // cannot be read is empty.
  HRESULT Read(uint32_t row, uint32_t column, WorksheetValue* value, char* text, size_t size) const {
    LONG indexes[2] = {firstRow + static_cast<LONG>(row), firstColumn + static_cast<LONG>(column)};
    VARIANT element;
    VariantInit(&element);
    if (FAILED(SafeArrayGetElement(array, indexes, &element))) {
      *value = WorksheetValue{};
      return S_OK;
    }
    const HRESULT converted = VariantToWorksheetValue(element, value, text, size);
    VariantClear(&element);
    return converted;
  }
};

}  // namespace

STDMETHODIMP CAWorkbook::get_WorksheetTree(ITree** tree) {
  if (tree == nullptr) return E_POINTER;
  return SUCCEEDED(QueryInterface(IID_ITree, reinterpret_cast<void**>(tree))) ? S_OK : E_FAIL;
}

STDMETHODIMP CAWorkbook::CreateFormatInfo(IFormatInfo** formatInfo) {
  return CreateObjectForCaller<CFormatInfo>(formatInfo);
}

STDMETHODIMP CAWorkbook::GetValue(BSTR cell, VARIANT* value) {
  if (value == nullptr) return E_POINTER;
  VariantInit(value);
  CellRange range;
  if (!ParseCellArg(cell, &range)) return E_INVALIDARG;
  if (activeWorksheet == nullptr) return NoWorksheet();
  if (IsOneCell(range))
    return WorksheetValueToVariant(ReadWorksheetValue(activeWorksheet->cells.GetCell(range.firstRow, range.firstColumn)),
                                   value);
  char text[kMaxCellTextOutput + 1];
  activeWorksheet->GetCellText(this, text, sizeof text, range.firstColumn, range.lastColumn, range.firstRow,
                               range.lastRow, true, false);
  BSTR string = nullptr;
  const HRESULT made = TextResult(text, &string);
  if (FAILED(made)) return made;
  V_VT(value) = VT_BSTR;
  V_BSTR(value) = string;
  return S_OK;
}

// A value that is not one a cell holds is refused before the range loses
// anything.
STDMETHODIMP CAWorkbook::PutValue(BSTR cell, VARIANT value) {
  CellRange range;
  if (!ParseCellArg(cell, &range)) return E_INVALIDARG;
  char text[kMaxCellTextLength + 1];
  WorksheetValue stored;
  const HRESULT converted = VariantToWorksheetValue(value, &stored, text, sizeof text);
  if (FAILED(converted)) return converted;
  if (activeWorksheet == nullptr) return NoWorksheet();
  return FillRangeWithValue(&activeWorksheet->cells, range, stored) ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CAWorkbook::GetFormula(BSTR cell, BSTR* formula) {
  if (formula == nullptr) return E_POINTER;
  *formula = nullptr;
  CellRange range;
  if (!ParseCellArg(cell, &range)) return E_INVALIDARG;
  if (activeWorksheet == nullptr) return NoWorksheet();
  char text[kMaxCellTextOutput + 1];
  if (IsOneCell(range)) {
    const CellRecord* record = activeWorksheet->cells.GetCell(range.firstRow, range.firstColumn);
    if (record == nullptr || !record->IsFormula()) return S_FALSE;
    FormulaDisplayText(evaluator, *record, text, sizeof text);
  } else {
    activeWorksheet->GetCellText(this, text, sizeof text, range.firstColumn, range.lastColumn, range.firstRow,
                                 range.lastRow, false, false);
  }
  return TextResult(text, formula);
}

// A text that is no formula is refused with the range as it was.
STDMETHODIMP CAWorkbook::PutFormula(BSTR cell, BSTR formula) {
  CellRange range;
  if (!ParseCellArg(cell, &range)) return E_INVALIDARG;
  char text[kFormulaArgumentSize];
  BstrToAnsi(formula, text, sizeof text);
  if (text[0] != '=' && text[0] != '+') return E_INVALIDARG;
  if (FormulaDisplayFormDiffers() &&
      !evaluator.TranslateFormula(text, sizeof text, range.firstColumn, range.firstRow, true))
    return E_INVALIDARG;
  if (activeWorksheet == nullptr) return NoWorksheet();
  return FillRangeWithFormula(&activeWorksheet->cells, range, text) ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CAWorkbook::GetRange(BSTR cells, SAFEARRAY** values) {
  if (values == nullptr) return E_POINTER;
  *values = nullptr;
  CellRange range;
  if (!ParseCellArg(cells, &range)) return E_INVALIDARG;
  if (activeWorksheet == nullptr) return NoWorksheet();
  SAFEARRAYBOUND bounds[2] = {{range.lastRow - range.firstRow + 1, 0},
                              {static_cast<ULONG>(range.lastColumn - range.firstColumn + 1), 0}};
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
  if (array == nullptr) return E_OUTOFMEMORY;
  CellCursor cursor;
  for (uint32_t row = range.firstRow; row <= range.lastRow; ++row) {
    for (uint32_t column = range.firstColumn; column <= range.lastColumn; ++column) {
      VARIANT element;
      const HRESULT made = WorksheetValueToVariant(
          ReadWorksheetValue(activeWorksheet->cells.FindCell(row, static_cast<uint16_t>(column), &cursor)), &element);
      LONG indexes[2] = {static_cast<LONG>(row - range.firstRow), static_cast<LONG>(column - range.firstColumn)};
      const HRESULT put = SUCCEEDED(made) ? SafeArrayPutElement(array, indexes, &element) : made;
      VariantClear(&element);
      if (FAILED(put)) {
        SafeArrayDestroy(array);
        return put == E_OUTOFMEMORY ? E_OUTOFMEMORY : E_FAIL;
      }
    }
  }
  *values = array;
  return S_OK;
}

// Every element is read before anything changes: an array holding a value
// no cell takes is refused with the range as it was. Cells beyond the
// array's extent are left empty.
STDMETHODIMP CAWorkbook::PutRange(BSTR cells, SAFEARRAY* values) {
  CellRange range;
  if (!ParseCellArg(cells, &range)) return E_INVALIDARG;
  ValueArray array;
  if (!array.Take(values)) return E_INVALIDARG;
  if (activeWorksheet == nullptr) return NoWorksheet();
  const uint32_t rows = range.lastRow - range.firstRow + 1 < array.rows ? range.lastRow - range.firstRow + 1 : array.rows;
  const uint32_t columns =
      range.lastColumn - range.firstColumn + 1u < array.columns ? range.lastColumn - range.firstColumn + 1u
                                                                 : array.columns;
  char text[kMaxCellTextLength + 1];
  WorksheetValue value;
  for (uint32_t row = 0; row < rows; ++row)
    for (uint32_t column = 0; column < columns; ++column)
      if (FAILED(array.Read(row, column, &value, text, sizeof text))) return E_INVALIDARG;

  CellStore& store = activeWorksheet->cells;
  store.DeleteRange(range.firstColumn, range.lastColumn, range.firstRow, range.lastRow, nullptr, false);
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  for (uint32_t row = 0; row < rows; ++row) {
    for (uint32_t column = 0; column < columns; ++column) {
      array.Read(row, column, &value, text, sizeof text);
      if (!StoreWorksheetValue(&store, range.firstRow + row, static_cast<uint16_t>(range.firstColumn + column), value,
                               &cursor))
        return E_OUTOFMEMORY;
    }
  }
  return S_OK;
}

STDMETHODIMP CAWorkbook::UpdateWorksheet() {
  if (activeWorksheet == nullptr) return NoWorksheet();
  return Recalculate(&activeWorksheet->cells) ? S_OK : ReportError(error, IID_IWorksheet, 0);
}

STDMETHODIMP CAWorkbook::GetStyleID(BSTR cell, int* id) {
  if (id == nullptr) return E_POINTER;
  CellRange range;
  if (!ParseCellArg(cell, &range)) return E_INVALIDARG;
  if (activeWorksheet == nullptr) return NoWorksheet();
  const StyleRun* run = activeWorksheet->format.runs.FindRun(range.firstRow, range.firstColumn);
  *id = run != nullptr ? run->style : 0;
  return S_OK;
}

// The rectangle's runs are cleared first: runs of a row never overlap.
STDMETHODIMP CAWorkbook::PutStyleID(BSTR cell, int id) {
  CellRange range;
  if (!ParseCellArg(cell, &range) || id < 0 || id >= StyleTable::kMaxStyles) return E_INVALIDARG;
  if (activeWorksheet == nullptr) return NoWorksheet();
  StyleRunStore& runs = activeWorksheet->format.runs;
  if (!runs.ClearRect(range.firstColumn, range.lastColumn, range.firstRow, range.lastRow, nullptr, false))
    return E_OUTOFMEMORY;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  for (uint32_t row = range.firstRow; row <= range.lastRow; ++row) {
    const StyleRun run = {range.firstColumn, range.lastColumn, row, static_cast<uint16_t>(id)};
    if (!runs.InsertRun(run, &cursor)) return E_OUTOFMEMORY;
  }
  return S_OK;
}

STDMETHODIMP CAWorkbook::Clear(BSTR cells, int clearType) {
  CellRange range;
  if (!ParseCellArg(cells, &range)) return E_INVALIDARG;
  if (activeWorksheet == nullptr) return NoWorksheet();
  if (clearType == kClearData)
    activeWorksheet->cells.DeleteRange(range.firstColumn, range.lastColumn, range.firstRow, range.lastRow, nullptr,
                                       false);
  if (clearType == kClearFormat &&
      !activeWorksheet->format.runs.ClearRect(range.firstColumn, range.lastColumn, range.firstRow, range.lastRow,
                                              nullptr, false))
    return E_OUTOFMEMORY;
  return S_OK;
}

STDMETHODIMP CAWorkbook::format(BSTR cells, int formatType, IFormatInfo* formatInfo) {
  FormatInfoRecord info;
  if (!ReadFormatInfo(formatInfo, &info)) return E_FAIL;
  FormatRequest request;
  if (!BuildFormatRequest(formatType, info, &request)) return E_INVALIDARG;
  if (request.kind == 0) return S_OK;
  CellRange range;
  if (!ParseCellArg(cells, &range)) return E_INVALIDARG;
  if (activeWorksheet == nullptr) return NoWorksheet();
  const FormatSelection rect = {range.firstColumn, range.lastColumn, range.firstRow,
                                range.lastRow,     range.firstColumn, range.firstRow};
  if (!ApplyFormatToRectangle(this, rect, request.kind, request.style, request.font))
    return error == kWorkbookOutOfMemory ? E_OUTOFMEMORY : ReportError(error, IID_IWorksheet, 0);
  if (FormatChangesRowHeights(formatType)) {
    ScreenMeasurer screen;
    RefitRowHeightsOfRows(this, screen.Measurer(), range.firstRow, range.lastRow);
  }
  return S_OK;
}
