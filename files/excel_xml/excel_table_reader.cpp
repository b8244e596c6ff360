// The Table element of the import: columns, rows and cells, each at the
// position its Index gives or one past the one before.

#include <cstring>

#include "core/base/error_code.h"
#include "core/cells/cell_record_buffer.h"
#include "core/formula/eval_state.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/excel_xml/excel_lengths.h"
#include "files/excel_xml/excel_names.h"
#include "files/excel_xml/excel_reader.h"
#include "files/xml/xml_reader.h"

namespace {

constexpr size_t kMaxDataText = 1024;
constexpr uint32_t kLargestSpan = 0x7FFFFFFF;

struct TablePosition {
  CellCursor cells;
  CellCursor runs;
  // The furthest styled position so far: a run after it cannot overlap one
  // before it.
  bool anyRun = false;
  uint32_t runRow = 0;
  uint16_t runColumn = 0;
};

double ReadPoints(CXmlReader* xml, const char* value) {
  double points = 0;
  xml->ParseDouble(&points, -1.7976931348623157e308, 1.7976931348623157e308, value);
  return points;
}

// One Column element at *column, covering ss:Span more columns after it.
// What lies past the grid is only formatting and is dropped.
void ReadColumn(const ExcelReader& in, CWorkSheet* sheet, uint32_t* column) {
  CXmlReader* xml = in.xml;
  if (const char* value = ExcelAttribute(xml, "Index")) {
    uint16_t index = 0;
    xml->ParseUInt16(&index, 1, kColumnCount, value);
    *column = index - 1u;
  }
  uint32_t span = 0;
  if (const char* value = ExcelAttribute(xml, "Span"))
    xml->ParseUInt32(&span, 0, kLargestSpan, value);
  bool fixedGiven = false;
  uint8_t autoFit = 1;
  if (const char* value = ExcelAttribute(xml, "AutoFitWidth")) {
    xml->ParseUInt8(&autoFit, 0, 1, value);
    fixedGiven = true;
  }
  const char* width = ExcelAttribute(xml, "Width");
  const uint16_t pixels = width ? PointsToPixels(ReadPoints(xml, width), in.pixelsPerInch) : 0;
  uint16_t style = 0;
  const char* styleId = ExcelAttribute(xml, "StyleID");
  const bool styled = styleId && in.styleIds->Find(styleId, &style);
  for (uint32_t c = *column; c < kColumnCount && c - *column <= span; ++c) {
    ColumnRecord& record = sheet->format.columns[c];
    record.SetWidth(width ? pixels : record.Width(), fixedGiven ? !autoFit : record.WidthFixed());
    if (styled)
      record.SetStyle(style);
  }
  sheet->format.ColumnsChanged();
  *column = *column + span + 1 > kColumnCount ? kColumnCount : *column + span + 1;
}

void ReadRowHeight(const ExcelReader& in, CWorkSheet* sheet, uint32_t row) {
  CXmlReader* xml = in.xml;
  const char* height = ExcelAttribute(xml, "Height");
  if (!height)
    return;
  const uint16_t pixels = PointsToPixels(ReadPoints(xml, height), in.pixelsPerInch);
  uint8_t autoFit = 1;
  if (const char* value = ExcelAttribute(xml, "AutoFitHeight"))
    xml->ReadBool(&autoFit, value);
  if (row >= kRowCount)
    return;
  RowTable& rows = sheet->format.rows;
  // Heights come in ascending rows: a second one for a row is refused.
  if (rows.Count() > row)
    ThrowXmlError(kFileXmlUnexpectedElement);
  if (!rows.SetRow(row, pixels, !autoFit))
    ThrowXmlError(kFileXmlOutOfMemory);
}

void InsertStyle(CWorkSheet* sheet, TablePosition* at, uint32_t row, uint16_t column, uint16_t style) {
  StyleRunStore& runs = sheet->format.runs;
  // Runs are inserted in order; a position at or before the last one may
  // lie in a run already there, which is cut out first.
  const bool inOrder = !at->anyRun || row > at->runRow || (row == at->runRow && column > at->runColumn);
  if (!inOrder) {
    at->runs = CellCursor{};
    if (!runs.ClearRect(column, column, row, row, nullptr, false))
      ThrowXmlError(kFileXmlOutOfMemory);
  }
  at->runs.flags = kCursorAfterRecord;
  if (!runs.InsertRun(StyleRun{column, column, row, style}, inOrder ? &at->runs : nullptr))
    ThrowXmlError(kFileXmlOutOfMemory);
  if (!inOrder)
    at->runs = CellCursor{};
  if (inOrder) {
    at->anyRun = true;
    at->runRow = row;
    at->runColumn = column;
  }
}

struct CellData {
  bool present = false;
  char type[16] = {};
  char text[kMaxDataText + 1] = {};
  size_t length = 0;

  // Cleared for the next cell without touching the whole buffer.
  void Clear() {
    present = false;
    type[0] = text[0] = 0;
    length = 0;
  }
};

// The Data child, when it is the first child of the Cell; the rest of the
// Cell is passed over.
void ReadCellData(CXmlReader* xml, CellData* data) {
  if (!ExcelTagHasContent(xml))
    return;
  bool first = true;
  while (NextExcelChild(xml)) {
    if (first && !std::strcmp(xml->name, "Data")) {
      data->present = true;
      const char* type = ExcelAttribute(xml, "Type");
      std::strncpy(data->type, type ? type : "", sizeof data->type - 1);
      data->length = ReadExcelText(xml, data->text, kMaxDataText);
    } else {
      SkipExcelElement(xml);
    }
    first = false;
  }
}

uint8_t ErrorCodeOfText(const char* text) {
  // Other programs write "#N/A" for the program's "#N/A!".
  return ExcelWordsEqual(text, "#N/A") ? uint8_t(kErrorNA) : ErrorCodeFromText(text);
}

// The cell a Cell element describes, into record; its size.
uint32_t BuildCell(CXmlReader* xml, CellRecordBuffer* record, uint32_t row, uint16_t column,
                   const char* formula, size_t formulaLength, bool isArray, const CellData& data) {
  double number = 0;
  uint8_t error = 0;
  bool isText = false;
  if (data.present) {
    if (!std::strcmp(data.type, "Number")) {
      xml->ParseDouble(&number, -1.7976931348623157e308, 1.7976931348623157e308, data.text);
      // The format knows no negative zero (the export writes it as 0).
      if (number == 0)
        number = 0;
    } else if (!std::strcmp(data.type, "String") || !std::strcmp(data.type, "DateTime")) {
      isText = true;
    } else if (!std::strcmp(data.type, "Error")) {
      error = ErrorCodeOfText(data.text);
    } else if (!std::strcmp(data.type, "Boolean")) {
      // Truth values are written 1 and 0.
      number = !std::strcmp(data.text, "1") || ExcelWordsEqual(data.text, "TRUE") ? 1 : 0;
    }
  }
  if (!formula)
    return isText ? record->BuildText(row, column, data.text, uint16_t(data.length))
                  : record->BuildNumber(row, column, number, error);
  FormulaCellFields fields;
  fields.formula = formula;
  fields.formulaLength = uint16_t(formulaLength);
  fields.typeExtra = error;
  fields.resultFlags = isArray ? kResultArray : 0;
  if (isText) {
    fields.cachedText = data.text;
    fields.cachedTextLength = uint16_t(data.length);
  } else if (data.present) {
    fields.resultFlags |= kResultCachedNumber;
    fields.cachedNumber = number;
  }
  return record->BuildFormula(row, column, fields);
}

void ReadCell(const ExcelReader& in, CWorkSheet* sheet, TablePosition* at, uint32_t row, uint32_t* column) {
  CXmlReader* xml = in.xml;
  if (const char* value = ExcelAttribute(xml, "Index")) {
    uint16_t index = 0;
    xml->ParseUInt16(&index, 1, 65534, value);
    *column = index - 1u;
  }
  const bool inGrid = *column < kColumnCount && row < kRowCount;
  const char* styleId = ExcelAttribute(xml, "StyleID");
  uint16_t style = 0;
  if (styleId && !in.styleIds->Find(styleId, &style))
    style = 0;
  static thread_local char formula[kXmlTextSize];
  const bool isFormula = ReadExcelAttributeText(xml, "Formula", formula, sizeof formula);
  const size_t formulaLength = isFormula ? std::strlen(formula) : 0;
  // A formula longer than the program takes is refused, never cut.
  if (formulaLength > kFormulaTextCapacity)
    ThrowXmlError(kFileXmlBadData);
  const bool isArray = ExcelAttribute(xml, "ArrayRange") != nullptr;
  if (styleId && inGrid)
    InsertStyle(sheet, at, row, uint16_t(*column), style);
  static thread_local CellData data;
  data.Clear();
  ReadCellData(xml, &data);
  if (isFormula || data.present) {
    // A value off the grid has nowhere to go; formatting there is dropped.
    if (!inGrid)
      ThrowXmlError(kFileXmlBadData);
    static thread_local CellRecordBuffer record;
    const uint32_t size = BuildCell(xml, &record, row, uint16_t(*column),
                                    isFormula ? formula : nullptr, formulaLength, isArray, data);
    at->cells.flags = kCursorAfterRecord;
    if (!size || !sheet->cells.InsertCell(record.Record(), &at->cells))
      ThrowXmlError(kFileXmlOutOfMemory);
  }
  ++*column;
}

void ReadRow(const ExcelReader& in, CWorkSheet* sheet, TablePosition* at, uint32_t* row) {
  CXmlReader* xml = in.xml;
  if (const char* value = ExcelAttribute(xml, "Index")) {
    uint32_t index = 0;
    xml->ParseUInt32(&index, 1, kRowCount, value);
    *row = index - 1;
  }
  ReadRowHeight(in, sheet, *row);
  if (ExcelTagHasContent(xml)) {
    uint32_t column = 0;
    bool cells = true;
    while (NextExcelChild(xml)) {
      // The first child that is no Cell ends the row's cells.
      cells = cells && !std::strcmp(xml->name, "Cell");
      if (cells)
        ReadCell(in, sheet, at, *row, &column);
      else
        SkipExcelElement(xml);
    }
  }
  if (*row < kRowCount)
    ++*row;
}

}  // namespace

void ReadExcelTable(const ExcelReader& in, CWorkSheet* sheet) {
  CXmlReader* xml = in.xml;
  if (!ExcelTagHasContent(xml))
    return;
  TablePosition at;
  uint32_t column = 0;
  uint32_t row = 0;
  bool inRows = false;
  bool ended = false;
  while (NextExcelChild(xml)) {
    if (!ended && !inRows && !std::strcmp(xml->name, "Column")) {
      ReadColumn(in, sheet, &column);
    } else if (!ended && !std::strcmp(xml->name, "Row")) {
      inRows = true;
      ReadRow(in, sheet, &at, &row);
      continue;
    } else {
      ended = true;
    }
    SkipExcelElement(xml);
  }
}
