#include "files/native_xml/xml_background.h"

#include <cctype>
#include <cmath>
#include <initializer_list>
#include <cstring>

#include "core/numfmt/double_to_text.h"
#include "core/numfmt/format_colors.h"
#include "files/errors/file_errors.h"
#include "files/native_xml/xml_attribute_text.h"
#include "files/native_xml/xml_styles.h"
#include "files/xml/xml_reader.h"

namespace {

const char* const kViews[] = {"Default", "FitToWindowSize", "Wallpaper"};

struct FractalField {
  const char* name;
  double FractalParameters::*field;
};
const FractalField kFractalFields[] = {{"Zr", &FractalParameters::zr},     {"Zi", &FractalParameters::zi},
                                       {"MinX", &FractalParameters::minX}, {"MaxX", &FractalParameters::maxX},
                                       {"MinY", &FractalParameters::minY}, {"MaxY", &FractalParameters::maxY}};

bool HasImageExtension(const char* name) {
  const char* dot = std::strrchr(name, '.');
  if (!dot)
    return false;
  char extension[8] = {};
  for (size_t i = 0; dot[i] && i < sizeof extension - 1; ++i)
    extension[i] = char(std::toupper(static_cast<unsigned char>(dot[i])));
  if (std::strlen(dot) >= sizeof extension)
    return false;
  for (const char* known : {".BMP", ".JPG", ".JPEG", ".PNG"})
    if (std::strcmp(extension, known) == 0)
      return true;
  return false;
}

void WriteFractal(CXmlReader* writer, const XmlBackground& background, int depth) {
  XmlAttributeText text;
  alignas(double) FractalParameters fractal = background.fractal;
  for (const FractalField& f : kFractalFields) {
    // Exact texts, so that a save does not move the region.
    char number[kExactDoubleTextCapacity];
    DoubleToExactText(fractal.*f.field, number, sizeof number, nullptr);
    text.Add("%s%s=\"%s\"", f.name == kFractalFields[0].name ? "" : " ", f.name, number);
  }
  writer->WriteElement("Fractal", text.Text(), kXmlWriteStart, depth, 1);
  for (uint32_t colour : background.palette) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", unsigned(colour & 0xFF), unsigned((colour >> 8) & 0xFF),
                  unsigned((colour >> 16) & 0xFF));
    writer->WriteTextElement("Color", hex, depth + 1, 1);
  }
  writer->WriteElement("Fractal", nullptr, kXmlWriteEnd, depth, 1);
}

void ReadFractal(CXmlReader* reader, XmlBackground* background) {
  alignas(double) FractalParameters fractal = background->fractal;
  for (const FractalField& f : kFractalFields)
    if (reader->FindAttribute(nullptr, f.name)) {
      double value = 0;
      reader->ParseDouble(&value, -1.7976931348623157e308, 1.7976931348623157e308, reader->AttributeValue());
      fractal.*f.field = value;
    }
  background->fractal = fractal;
  background->kind = kBackgroundFractal;
  for (uint32_t& colour : background->palette) {
    reader->ReadElementText(nullptr, "Color", kXmlClearAttributes, int32_t(kXmlMaxCharacterData));
    uint32_t value = 0;
    if (!ParseColorName(reader->text, &value))
      ThrowXmlError(kFileXmlBadAttribute);
    colour = value;
  }
  reader->FindElement(nullptr, "Fractal", kXmlEndTag);
}

}  // namespace

bool IsImageFileName(const char* name) { return HasImageExtension(name); }

XmlBackground ReadableBackground(const XmlBackground& background, FractalParameters defaults) {
  XmlBackground readable = background;
  if (readable.kind == kBackgroundImage && !IsImageFileName(readable.imageName))
    readable.kind = kBackgroundNone;
  // Worked on in aligned locals: the record's doubles are packed.
  alignas(double) FractalParameters fractal = readable.fractal;
  alignas(double) const FractalParameters fallback = defaults;
  for (const FractalField& f : kFractalFields)
    if (!std::isfinite(fractal.*f.field))
      fractal.*f.field = fallback.*f.field;
  readable.fractal = fractal;
  return readable;
}

void WriteXmlBackground(CXmlReader* writer, const XmlBackground& background, int depth) {
  if (background.kind == kBackgroundNone || background.kind > kBackgroundFractal) {
    writer->WriteElement("Background", nullptr, kXmlWriteEmpty, depth, 2);
    return;
  }
  writer->WriteElement("Background", nullptr, kXmlWriteStart, depth, 1);
  switch (background.kind) {
    case kBackgroundPattern:
      WriteXmlFillPattern(writer, background.fill, depth + 1);
      break;
    case kBackgroundImage: {
      char attributes[32];
      const uint8_t view = background.imageView <= 2 ? background.imageView : 0;
      std::snprintf(attributes, sizeof attributes, "View=\"%s\"", kViews[view]);
      char name[kContainerImageNameSize];
      std::memcpy(name, background.imageName, sizeof name);
      name[sizeof name - 1] = 0;
      writer->WriteElement("Image", attributes, kXmlWriteStart, depth + 1, 0);
      writer->WriteText(name, std::strlen(name), true);
      writer->WriteElement("Image", nullptr, kXmlWriteEnd, 0, 1);
      break;
    }
    default:
      WriteFractal(writer, background, depth + 1);
      break;
  }
  writer->WriteElement("Background", nullptr, kXmlWriteEnd, depth, 1);
}

void ReadXmlBackground(CXmlReader* reader, XmlBackground* background) {
  if (!reader->FindElement(nullptr, "Background", kXmlClearAttributes | kXmlStartTag | kXmlEndTag | kXmlOptional))
    return;
  if (!reader->tag.hasContent)
    ThrowXmlError(kFileXmlUnexpectedElement);
  if (reader->tag.isEnd)
    return;
  if (FindXmlEmptyElement(reader, "FillPattern")) {
    background->kind = kBackgroundPattern;
    ReadXmlFillPattern(reader, &background->fill);
  } else if (reader->FindElement(nullptr, "Fractal", kXmlClearAttributes | kXmlStartTag | kXmlOptional)) {
    ReadFractal(reader, background);
  } else if (reader->ReadElementText(nullptr, "Image", kXmlClearAttributes | kXmlOptional,
                                     int32_t(kContainerImageNameSize - 1))) {
    if (reader->text[0]) {
      if (!HasImageExtension(reader->text))
        ThrowXmlError(kFileXmlBadData);
      background->kind = kBackgroundImage;
      std::memset(background->imageName, 0, sizeof background->imageName);
      std::memcpy(background->imageName, reader->text, std::strlen(reader->text));
    }
    if (reader->FindAttribute(nullptr, "View")) {
      uint8_t view = 0;
      while (view < 3 && std::strcmp(kViews[view], reader->AttributeValue()) != 0) ++view;
      if (view == 3)
        ThrowXmlError(kFileXmlBadAttribute);
      background->imageView = view;
    }
  }
  reader->FindElement(nullptr, "Background", kXmlEndTag);
}

XmlBackground SheetBackground(const WorksheetViewFormat& view) {
  XmlBackground background{};
  background.kind = view.backgroundMode;
  background.fill = view.fill;
  std::memcpy(background.imageName, view.imagePath, sizeof background.imageName);
  background.imageView = view.imageSizeMode;
  background.fractal = view.fractal;
  std::memcpy(background.palette, view.palette, sizeof background.palette);
  return background;
}

void SetSheetBackground(const XmlBackground& background, WorksheetViewFormat* view) {
  view->backgroundMode = background.kind;
  view->fill = background.fill;
  std::memcpy(view->imagePath, background.imageName, sizeof view->imagePath);
  view->imageSizeMode = background.imageView;
  view->fractal = background.fractal;
  std::memcpy(view->palette, background.palette, sizeof view->palette);
}
