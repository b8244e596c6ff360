#include "files/native_xml/xml_container.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "core/formula/formula_ref_text.h"
#include "core/model/chart_record.h"
#include "core/workbook/container_id_set.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/native_xml/unique_container_id.h"
#include "files/native_xml/xml_attribute_text.h"
#include "files/native_xml/xml_background.h"
#include "files/native_xml/xml_chart.h"
#include "files/native_xml/xml_element_reading.h"
#include "files/native_xml/xml_style_names.h"
#include "files/native_xml/xml_styles.h"
#include "files/native_xml/xml_title.h"
#include "files/xml/xml_reader.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

constexpr int32_t kMaxOffset = 2147483647;
// The largest id a file may give; the workbook itself assigns ids only up
// to kContainerMaxId, so one above that is renumbered on reading.
constexpr uint16_t kMaxFileId = 65534;

uint8_t AtLeastOne(uint8_t value) { return value ? value : uint8_t(1); }
int32_t WithinOffsets(int32_t value) { return value < -kMaxOffset ? -kMaxOffset : value; }

void WritePlacement(CXmlReader* writer, const ContainerHeader& header) {
  const ContainerAnchor anchor = header.anchor;
  if ((anchor.flags & kRefCell) != kRefCell || anchor.column >= kColumnCount || anchor.row >= kRowCount)
    return;
  const ContainerRect rect = header.rect;
  XmlAttributeText attributes;
  attributes.Add("rc=\"r%uc%u\" Left=\"%d\" Top=\"%d\" Right=\"%d\" Bottom=\"%d\"", unsigned(anchor.row + 1),
                 unsigned(anchor.column + 1), int(WithinOffsets(rect.left)), int(WithinOffsets(rect.top)),
                 int(WithinOffsets(rect.right)), int(WithinOffsets(rect.bottom)));
  writer->WriteElement("Placement", attributes.Text(), kXmlWriteEmpty, 2, 1);
}

// Always written, style 0 as "None": without the element the reader would
// give the default border.
void WriteBorder(CXmlReader* writer, const BorderLine& border) {
  if (border.style) {
    WriteXmlLine(writer, "Border", border, 2);
    return;
  }
  XmlAttributeText attributes;
  attributes.Add("Style=\"None\"");
  if (border.colorSet)
    attributes.Add(" Color=\"#%02X%02X%02X\"", unsigned(border.color & 0xFF), unsigned((border.color >> 8) & 0xFF),
                   unsigned((border.color >> 16) & 0xFF));
  writer->WriteElement("Border", attributes.Text(), kXmlWriteEmpty, 2, 1);
}

void ReadContainerAttributes(CXmlReader* reader, ContainerHeader* header) {
  if (!reader->FindAttribute(nullptr, "ID"))
    ThrowXmlError(kFileXmlMissingAttribute);
  uint16_t id;
  reader->ParseUInt16(&id, 1, kMaxFileId, reader->AttributeValue());
  header->id = id;
  struct ByteAttribute {
    const char* name;
    uint8_t* field;
    uint32_t lowest;
    uint32_t highest;
  };
  const ByteAttribute bytes[] = {
      {"Columns", &header->columns, 1, 255},
      {"Rows", &header->rows, 1, 255},
      // The painter gives a gap of 0 one pixel; the editor stores 0.
      {"HorzSpacing", &header->horizontalSpacing, 0, 255},
      {"VertSpacing", &header->verticalSpacing, 0, 255},
      {"Opacity", &header->opacity, 0, 100},
  };
  for (const ByteAttribute& attribute : bytes)
    if (reader->FindAttribute(nullptr, attribute.name))
      reader->ParseUInt8(attribute.field, attribute.lowest, attribute.highest, reader->AttributeValue());
}

void ReadPlacement(CXmlReader* reader, CWorkBook* book, ContainerHeader* header) {
  if (reader->FindAttribute(nullptr, "rc")) {
    book->evaluator.row = 0;
    book->evaluator.column = 0;
    RefCorner corner{};
    const char* end = nullptr;
    const uint32_t flags = ParseR1C1Reference(book->evaluator, reader->AttributeValue(), &corner, &end);
    // A cell of the grid; an anchor outside it would place the box where
    // no row or column is.
    if ((flags & kRefCell) != kRefCell || (flags & kRefOutsideGrid) || *end || corner.column >= kColumnCount ||
        corner.row >= kRowCount)
      ThrowXmlError(kFileXmlBadAttribute);
    header->anchor = ContainerAnchor{uint16_t(corner.column), corner.row, uint8_t(kRefCell)};
  }
  // In the order of the packed rectangle's fields.
  int32_t offsets[4];
  static_assert(sizeof offsets == sizeof(ContainerRect), "four offsets");
  std::memcpy(offsets, &header->rect, sizeof offsets);
  const char* names[] = {"Left", "Top", "Right", "Bottom"};
  for (int i = 0; i < 4; ++i)
    if (reader->FindAttribute(nullptr, names[i]))
      reader->ParseInt32(&offsets[i], -kMaxOffset, kMaxOffset, reader->AttributeValue());
  std::memcpy(&header->rect, offsets, sizeof offsets);
}

void ReadObjects(CXmlReader* reader, ContainerRecord* container) {
  if (!OpenXmlElement(reader, "Objects", true) || IsEmptyXmlElement(reader))
    return;
  static const char* const kChartElements[] = {"Chart2D", "Chart3D", "ChartXY"};
  static const uint8_t kChartKinds[] = {kChart2D, kChart3D, kChartXY};
  // Each round takes one element, and a document has finitely many.
  while (!reader->FindElement(nullptr, "Objects", kXmlEndTag | kXmlOptional)) {
    if (container->header.itemCount >= kContainerMaxItems)
      ThrowXmlError(kFileXmlUnexpectedElement);
    int which = 0;
    while (which < 3 && !OpenXmlElement(reader, kChartElements[which], true)) ++which;
    if (which == 3)
      ThrowXmlError(kFileXmlUnexpectedElement);
    if (IsEmptyXmlElement(reader))
      continue;
    ChartRecord* chart = new (std::nothrow) ChartRecord(kChartKinds[which]);
    if (!chart)
      ThrowXmlError(kFileXmlOutOfMemory);
    // Owned by the container from here on, whatever the rest of the file.
    ContainerItem& item = container->items[container->header.itemCount];
    item.kind = kItemChart;
    item.chart = chart;
    ++container->header.itemCount;
    ReadXmlChart(reader, chart);
    CloseXmlElement(reader, kChartElements[which]);
  }
}

// The ids the containers of the other worksheets hold, all unique already.
void TakeOtherIds(const CWorkBook& book, const CWorkSheet* sheet, ContainerIdSet* used) {
  for (const CTreeItem* item = book.firstItem; item; item = item->next) {
    const CWorkSheet* other = CWorkSheet::FromItem(item);
    if (other && other != sheet)
      used->TakeAll(other->containers);
  }
}

// The container's background as the element carries it.
XmlBackground BackgroundOf(const ContainerHeader& header) {
  XmlBackground background{};
  background.kind = header.backgroundKind;
  background.fill = header.fill;
  std::memcpy(background.imageName, header.imageName, sizeof background.imageName);
  background.imageName[sizeof background.imageName - 1] = 0;
  background.imageView = header.imageView;
  background.fractal = header.fractal;
  std::memcpy(background.palette, header.palette, sizeof background.palette);
  return background;
}

void SetBackground(const XmlBackground& background, ContainerHeader* header) {
  header->backgroundKind = background.kind;
  header->fill = background.fill;
  std::memcpy(header->imageName, background.imageName, sizeof header->imageName);
  header->imageView = background.imageView;
  header->fractal = background.fractal;
  std::memcpy(header->palette, background.palette, sizeof header->palette);
}

// What is written for the container's background. An empty element would
// read back as the default background and a name that is no image file's
// would be refused, so both are written as a fill without a pattern; a
// fractal number the reader would refuse is written as the default one.
XmlBackground WrittenBackground(const ContainerHeader& header) {
  XmlBackground background = ReadableBackground(BackgroundOf(header), kDefaultFractal);
  if (background.kind == kBackgroundNone || background.kind > kBackgroundFractal) {
    background.kind = kBackgroundPattern;
    background.fill.pattern = 0;
  }
  return background;
}

}  // namespace

void WriteXmlContainer(CXmlReader* writer, const ContainerRecord& container) {
  const ContainerHeader& header = container.header;
  XmlAttributeText attributes;
  // The reader renumbers an id it cannot keep; one that is not yet assigned
  // is written as such an id rather than as one it refuses.
  const uint16_t id = header.id;
  attributes.Add("ID=\"%u\" Columns=\"%u\" Rows=\"%u\" HorzSpacing=\"%u\" VertSpacing=\"%u\" Opacity=\"%u\"",
                 unsigned(id >= 1 && id <= kMaxFileId ? id : kMaxFileId), unsigned(AtLeastOne(header.columns)),
                 unsigned(AtLeastOne(header.rows)), unsigned(header.horizontalSpacing),
                 unsigned(header.verticalSpacing), header.opacity > 100 ? 100u : unsigned(header.opacity));
  writer->WriteElement("Container", attributes.Text(), kXmlWriteStart, 1, 1);
  WritePlacement(writer, header);
  WriteBorder(writer, header.border);
  WriteXmlBackground(writer, WrittenBackground(header), 2);
  WriteXmlTitles(writer, header.titleFont, header.titleText, header.subtitleFont, header.subtitleText, 2);
  int charts = 0;
  for (int i = 0; i < header.itemCount; ++i)
    if (container.items[i].kind == kItemChart && container.items[i].chart)
      ++charts;
  if (!charts) {
    writer->WriteElement("Objects", nullptr, kXmlWriteEmpty, 2, 1);
  } else {
    writer->WriteElement("Objects", nullptr, kXmlWriteStart, 2, 1);
    for (int i = 0; i < header.itemCount; ++i)
      if (container.items[i].kind == kItemChart && container.items[i].chart)
        WriteXmlChart(writer, *container.items[i].chart, 3);
    writer->WriteElement("Objects", nullptr, kXmlWriteEnd, 2, 1);
  }
  writer->WriteElement("Container", nullptr, kXmlWriteEnd, 1, 2);
}

void WriteXmlContainers(CXmlReader* writer, const CWorkSheet& sheet) {
  for (const ContainerRecord* container = sheet.containers; container; container = container->next)
    WriteXmlContainer(writer, *container);
}

void ReadXmlContainer(CXmlReader* reader, CWorkBook* book, ContainerRecord* container) {
  ContainerHeader& header = container->header;
  ReadContainerAttributes(reader, &header);
  if (OpenXmlElement(reader, "Placement", true)) {
    ReadPlacement(reader, book, &header);
    if (!IsEmptyXmlElement(reader))
      CloseXmlElement(reader, "Placement");
  }
  if (OpenXmlElement(reader, "Border", true)) {
    ReadXmlLine(reader, &header.border);
    if (!IsEmptyXmlElement(reader))
      CloseXmlElement(reader, "Border");
  }
  XmlBackground background = BackgroundOf(header);
  ReadXmlBackground(reader, &background);
  SetBackground(background, &header);
  if (ReadXmlTitle(reader, &header.titleFont, header.titleText, sizeof header.titleText))
    ReadXmlTitle(reader, &header.subtitleFont, header.subtitleText, sizeof header.subtitleText);
  ReadObjects(reader, container);
}

void ReadXmlContainers(CXmlReader* reader, CWorkBook* book, CWorkSheet* sheet) {
  ContainerIdSet used;
  TakeOtherIds(*book, sheet, &used);
  // Written only as a start tag: an empty Container stays pending and ends
  // the worksheet with 57.
  while (reader->FindElement(nullptr, "Container", kXmlClearAttributes | kXmlStartTag | kXmlOptional)) {
    ContainerRecord* container = new (std::nothrow) ContainerRecord;
    if (!container)
      ThrowXmlError(kFileXmlOutOfMemory);
    sheet->AddContainer(container);
    ReadXmlContainer(reader, book, container);
    // An id the workbook gives no container (above kContainerMaxId) is
    // renumbered like a repeated one.
    const uint16_t id = container->header.id;
    container->header.id = TakeUniqueContainerId(&used, id > kContainerMaxId ? 0 : id);
    if (!container->header.id)
      ThrowXmlError(kFileXmlBadData);
    CloseXmlElement(reader, "Container");
  }
}
