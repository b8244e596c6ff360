#include "files/native_xml/xml_background.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "core/numfmt/double_to_text.h"
#include "core/numfmt/format_colors.h"
#include "files/dispatch/file_errors.h"
#include "files/native_xml/xml_attribute_text.h"
#include "files/native_xml/xml_element_reading.h"
#include "files/native_xml/xml_style_names.h"
#include "files/native_xml/xml_styles.h"
#include "files/xml/xml_reader.h"

namespace {

const char* const kFractalNames[] = {"Zr", "Zi", "MinX", "MaxX", "MinY", "MaxY"};

// The six numbers in the order of kFractalNames, which is their order in
// the packed record.
constexpr int kFractalNumbers = 6;
static_assert(sizeof(FractalParameters) == kFractalNumbers * sizeof(double), "six doubles in name order");

// The image files the program can show, by their extension in any case.
bool HasImageExtension(const char* name) {
  const char* dot = std::strrchr(name, '.');
  if (!dot)
    return false;
  static const char* const kExtensions[] = {".bmp", ".jpg", ".jpeg", ".png"};
  for (const char* extension : kExtensions) {
    size_t i = 0;
    while (extension[i] && dot[i] && (dot[i] | 0x20) == extension[i]) ++i;
    if (!extension[i] && !dot[i])
      return true;
  }
  return false;
}

void WriteFractal(CXmlReader* writer, const XmlBackground& background, int depth) {
  XmlAttributeText attributes;
  double values[kFractalNumbers];
  std::memcpy(values, &background.fractal, sizeof values);
  for (int i = 0; i < kFractalNumbers; ++i) {
    const double value = values[i];
    // The reader takes finite numbers only; an absent one keeps its default.
    if (!std::isfinite(value))
      continue;
    char number[kExactDoubleTextCapacity];
    DoubleToExactText(value, number, sizeof number, nullptr);
    attributes.Add(" %s=\"%s\"", kFractalNames[i], number);
  }
  writer->WriteElement("Fractal", attributes.Text(), kXmlWriteStart, depth, 1);
  for (uint32_t color : background.palette) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", unsigned(color & 0xFF), unsigned((color >> 8) & 0xFF),
                  unsigned((color >> 16) & 0xFF));
    writer->WriteTextElement("Color", text, depth + 1, 1);
  }
  writer->WriteElement("Fractal", nullptr, kXmlWriteEnd, depth, 1);
}

void ReadFractal(CXmlReader* reader, XmlBackground* background) {
  background->kind = kBackgroundFractal;
  double values[kFractalNumbers];
  std::memcpy(values, &background->fractal, sizeof values);
  const double largest = std::numeric_limits<double>::max();
  for (int i = 0; i < kFractalNumbers; ++i)
    if (reader->FindAttribute(nullptr, kFractalNames[i]))
      reader->ParseDouble(&values[i], -largest, largest, reader->AttributeValue());
  std::memcpy(&background->fractal, values, sizeof values);
  if (IsEmptyXmlElement(reader))
    ThrowXmlError(kFileXmlUnexpectedElement);
  for (uint32_t& color : background->palette) {
    ReadXmlTextElement(reader, "Color", false, int32_t(kXmlTextSize - 1));
    if (!ParseColorName(reader->text, &color))
      ThrowXmlError(kFileXmlBadAttribute);
  }
  CloseXmlElement(reader, "Fractal");
}

void ReadImage(CXmlReader* reader, XmlBackground* background) {
  uint8_t view = background->imageView;
  if (reader->FindAttribute(nullptr, "View")) {
    static const char* const kViews[] = {"Default", "FitToWindowSize", "Wallpaper"};
    view = ReadXmlName(reader, XmlNameTable{kViews, 3});
  }
  char name[kContainerImageNameSize] = {};
  if (!IsEmptyXmlElement(reader)) {
    reader->ReadText(nullptr);
    const int32_t length = reader->DecodeEntities();
    if (length < 0 || length > int32_t(sizeof name - 1))
      ThrowXmlError(kFileXmlBadData);
    std::memcpy(name, reader->text, size_t(length) + 1);
    CloseXmlElement(reader, "Image");
  }
  background->imageView = view;
  if (!name[0])
    return;
  if (!HasImageExtension(name))
    ThrowXmlError(kFileXmlBadData);
  background->kind = kBackgroundImage;
  std::memcpy(background->imageName, name, sizeof name);
}

}  // namespace

XmlBackground BackgroundOf(const ContainerHeader& header) {
  XmlBackground background;
  background.kind = header.backgroundKind;
  background.fill = header.fill;
  std::memcpy(background.imageName, header.imageName, sizeof background.imageName);
  background.imageName[sizeof background.imageName - 1] = 0;
  background.imageView = header.imageView;
  background.fractal = header.fractal;
  std::memcpy(background.palette, header.palette, sizeof background.palette);
  return background;
}

void SetBackground(ContainerHeader* header, const XmlBackground& background) {
  header->backgroundKind = background.kind;
  header->fill = background.fill;
  std::memcpy(header->imageName, background.imageName, sizeof header->imageName);
  header->imageView = background.imageView;
  header->fractal = background.fractal;
  std::memcpy(header->palette, background.palette, sizeof header->palette);
}

void WriteXmlBackground(CXmlReader* writer, const XmlBackground& background, int depth) {
  uint8_t kind = background.kind;
  if (kind == kBackgroundImage && !HasImageExtension(background.imageName))
    kind = kBackgroundNone;
  if (kind > kBackgroundFractal)
    kind = kBackgroundNone;
  writer->WriteElement("Background", nullptr, kXmlWriteStart, depth, 1);
  switch (kind) {
    case kBackgroundPattern:
      WriteXmlFillPattern(writer, background.fill, depth + 1);
      break;
    case kBackgroundImage: {
      const char* view = background.imageView & kImageViewFit         ? "FitToWindowSize"
                         : background.imageView & kImageViewWallpaper ? "Wallpaper"
                                                                      : "Default";
      XmlAttributeText attributes;
      attributes.Add(" View=\"%s\"", view);
      writer->WriteElement("Image", attributes.Text(), kXmlWriteStart, depth + 1, 0);
      writer->WriteText(background.imageName, std::strlen(background.imageName), true);
      writer->WriteElement("Image", nullptr, kXmlWriteEnd, 0, 1);
      break;
    }
    case kBackgroundFractal:
      WriteFractal(writer, background, depth + 1);
      break;
    default: {
      // No background: a fill without a pattern, its colours kept.
      FillRecord none = background.fill;
      none.pattern = 0;
      WriteXmlFillPattern(writer, none, depth + 1);
      break;
    }
  }
  writer->WriteElement("Background", nullptr, kXmlWriteEnd, depth, 1);
}

void ReadXmlBackground(CXmlReader* reader, XmlBackground* background) {
  if (!OpenXmlElement(reader, "Background", true) || IsEmptyXmlElement(reader))
    return;
  if (OpenXmlElement(reader, "FillPattern", true)) {
    background->kind = kBackgroundPattern;
    ReadXmlFillPattern(reader, &background->fill);
    if (!IsEmptyXmlElement(reader))
      CloseXmlElement(reader, "FillPattern");
  } else if (OpenXmlElement(reader, "Fractal", true)) {
    ReadFractal(reader, background);
  } else if (OpenXmlElement(reader, "Image", true)) {
    ReadImage(reader, background);
  }
  CloseXmlElement(reader, "Background");
}
