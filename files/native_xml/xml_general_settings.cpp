// The GeneralSettings element: how a worksheet is shown.

#include <cstdio>

#include "core/model/worksheet_view_state.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/native_binary/record_checks.h"
#include "files/native_xml/xml_address.h"
#include "files/native_xml/xml_attribute_text.h"
#include "files/native_xml/xml_background.h"
#include "files/native_xml/xml_sheet_settings.h"
#include "files/native_xml/xml_styles.h"
#include "files/xml/xml_reader.h"

namespace {

constexpr uint32_t kCornerGiven = kCornerRowGiven | kCornerColumnGiven;
static_assert(kCornerRowGiven == kRefHasRow && kCornerColumnGiven == kRefHasColumn,
              "view corners keep the flags of parsed references");

void AddColor(XmlAttributeText* text, const char* name, uint32_t color) {
  text->Add(" %s=\"#%02X%02X%02X\"", name, unsigned(color & 0xFF), unsigned((color >> 8) & 0xFF),
            unsigned((color >> 16) & 0xFF));
}

void WriteCorner(CXmlReader* writer, const char* name, const char* format, const ViewCorner& a, const ViewCorner* b) {
  char attributes[96];
  if (b)
    std::snprintf(attributes, sizeof attributes, format, unsigned(a.row + 1), unsigned(a.column + 1),
                  unsigned(b->row + 1), unsigned(b->column + 1));
  else
    std::snprintf(attributes, sizeof attributes, format, unsigned(a.row + 1), unsigned(a.column + 1));
  writer->WriteElement(name, attributes, kXmlWriteEmpty, 3, 1);
}

ViewCorner CornerOf(const RefCorner& at) {
  return ViewCorner{uint16_t(at.column), at.row, uint8_t(at.flags & kCornerGiven)};
}

}  // namespace

void WriteXmlGeneralSettings(CXmlReader* writer, const CWorkSheet& sheet) {
  // Values set beyond what the reader takes are written as the nearest it does.
  WorksheetViewFormat view = sheet.viewFormat;
  CheckSheetSettings(&view);
  writer->WriteElement("GeneralSettings", nullptr, kXmlWriteStart, 1, 1);
  WorksheetViewFormat defaults;
  InitWorksheetViewFormat(&defaults);
  WriteXmlBackground(writer, ReadableBackground(SheetBackground(view), defaults.fractal), 2);
  XmlAttributeText text;
  if (view.zoom != 100)
    text.Add(" Scale=\"%u%%\"", unsigned(view.zoom));
  if (!view.gridLines)
    text.Add(" ShowGrid=\"0\"");
  if (view.gridColorSet)
    AddColor(&text, "GridColor", view.gridColor);
  if (view.headingsColorSet)
    AddColor(&text, "HeadingsColor", view.headingsColor);
  writer->WriteElement("Table", text.Text(), kXmlWriteStart, 2, 1);
  const WorksheetViewState& state = *ViewStateOf(&view);
  WriteCorner(writer, "TopLeft", "rc=\"r%uc%u\"", state.topLeft, nullptr);
  WriteCorner(writer, "Selection", "rc=\"r%uc%u:r%uc%u\"", state.selection[0], &state.selection[1]);
  char frozen[32];
  if (state.frozen.flags & kCornerRowGiven)
    std::snprintf(frozen, sizeof frozen, "rc=\"r%u\"", unsigned(state.frozen.row + 1));
  else if (state.frozen.flags & kCornerColumnGiven)
    std::snprintf(frozen, sizeof frozen, "rc=\"c%u\"", unsigned(state.frozen.column + 1));
  if (state.frozen.flags & kCornerGiven)
    writer->WriteElement("Freezed", frozen, kXmlWriteEmpty, 3, 1);
  writer->WriteElement("Table", nullptr, kXmlWriteEnd, 2, 1);
  writer->WriteElement("GeneralSettings", nullptr, kXmlWriteEnd, 1, 2);
}

void ReadXmlGeneralSettings(CXmlReader* reader, CWorkBook* book, CWorkSheet* sheet) {
  if (!reader->FindElement(nullptr, "GeneralSettings", kXmlStartTag | kXmlOptional))
    return;
  WorksheetViewFormat& view = sheet->viewFormat;
  XmlBackground background = SheetBackground(view);
  ReadXmlBackground(reader, &background);
  SetSheetBackground(background, &view);
  reader->FindElement(nullptr, "Table", kXmlClearAttributes | kXmlStartTag);
  if (reader->FindAttribute(nullptr, "Scale")) {
    static const char* const kPercent[] = {"%"};
    uint16_t zoom = 0;
    reader->ParseUInt16Unit(&zoom, kMinZoom, kMaxZoom, kPercent, 1, reader->AttributeValue());
    view.zoom = zoom;
  }
  if (reader->FindAttribute(nullptr, "ShowGrid"))
    reader->ReadBool(&view.gridLines, reader->AttributeValue());
  uint32_t color = 0;
  if (ReadXmlColorAttribute(reader, "GridColor", &color)) {
    view.gridColor = color;
    view.gridColorSet = 1;
  }
  if (ReadXmlColorAttribute(reader, "HeadingsColor", &color)) {
    view.headingsColor = color;
    view.headingsColorSet = 1;
  }
  WorksheetViewState& state = *ViewStateOf(&view);
  if (FindXmlEmptyElement(reader, "TopLeft") && reader->FindAttribute(nullptr, "rc"))
    state.topLeft = CornerOf(ReadXmlAddress(book, reader->AttributeValue(), kRefCell, true, 0, 0));
  if (FindXmlEmptyElement(reader, "Selection") && reader->FindAttribute(nullptr, "rc")) {
    const char* end = nullptr;
    const RefCorner first = ReadXmlAddress(book, reader->AttributeValue(), kRefCell, true, 0, 0, &end);
    if (*end != ':')
      ThrowXmlError(kFileXmlBadAttribute);
    state.selection[1] = CornerOf(ReadXmlAddress(book, end + 1, kRefCell, true, 0, 0));
    state.selection[0] = CornerOf(first);
  }
  if (FindXmlEmptyElement(reader, "Freezed") && reader->FindAttribute(nullptr, "rc")) {
    const char* text = reader->AttributeValue();
    if (!*text) {
      state.frozen = ViewCorner{0, 0, 0};
    } else {
      const bool isRow = text[0] == 'r' || text[0] == 'R';
      state.frozen = CornerOf(ReadXmlAddress(book, text, isRow ? kRefHasRow : kRefHasColumn, true, 0, 0));
    }
  }
  reader->FindElement(nullptr, "Table", kXmlEndTag);
  reader->FindElement(nullptr, "GeneralSettings", kXmlEndTag);
}
