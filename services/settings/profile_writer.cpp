#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "services/settings/settings_profile.h"
#include "core/base/global_options.h"
#include "files/errors/file_errors.h"
#include "files/stream/file_stream.h"
#include "files/xml/xml_reader.h"

namespace {

const char* YesNo(uint8_t flag) { return flag ? "Yes" : "No"; }

// The text escaped for an attribute value, in the writer's text buffer.
const char* Escaped(CXmlReader* w, const char* text) {
  if (w->EscapeText(text, std::strlen(text)) < 0) ThrowXmlError(kFileXmlBadData);
  return w->text;
}

void WriteNumberElement(CXmlReader* w, const char* name, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  w->WriteTextElement(name, text, 1, 1);
}

void WriteFlag(CXmlReader* w, const char* name, uint8_t flag) {
  if (flag) w->WriteElement(name, nullptr, kXmlWriteEmpty, 1, 1);
}

void WriteWindows(CXmlReader* w, const COptions& o) {
  char attributes[160];
  const OptionsRect& f = o.FrameRect;
  if (o.FrameShowState == kShowStateMaximized)
    std::snprintf(attributes, sizeof attributes, "Position=\"Maximize\"");
  else if (o.FrameShowState == kShowStateMinimized)
    std::snprintf(attributes, sizeof attributes, "Position=\"Minimize\"");
  else
    std::snprintf(attributes, sizeof attributes, "Position=\"%d %d %d %d\"", int(f.left), int(f.top),
                  int(f.right), int(f.bottom));
  // Written either way: the reader changes the option only when the
  // attribute is there, so a cleared option left out would not survive.
  std::strcat(attributes, o.MaximizeDocWindow ? " MaximizeDocWindow=\"Yes\"" : " MaximizeDocWindow=\"No\"");
  w->WriteElement("ApplicationWindow", attributes, kXmlWriteEmpty, 1, 1);

  const OptionsRect& c = o.ComposerRect;
  std::snprintf(attributes, sizeof attributes, "Position=\"%d %d %d %d %d\" Visible=\"%s\"", int(c.left),
                int(c.top), int(c.right), int(c.bottom), int(o.ComposerSplitter), YesNo(o.ComposerVisible));
  w->WriteElement("ComposerWindow", attributes, kXmlWriteEmpty, 1, 1);

  struct ToolWindow { const char* name; const OptionsRect& rect; uint8_t page; uint8_t visible; };
  const ToolWindow toolWindows[] = {
      {"CellFormatWindow", o.CellFormatRect, o.CellFormatPage, o.CellFormatVisible},
      {"WorksheetFormatWindow", o.WorksheetFormatRect, o.WorksheetFormatPage, o.WorksheetFormatVisible},
  };
  for (const ToolWindow& t : toolWindows) {
    std::snprintf(attributes, sizeof attributes, "Position=\"%d %d %d %d\" ActivePage=\"%d\" Visible=\"%s\"",
                  int(t.rect.left), int(t.rect.top), int(t.rect.right), int(t.rect.bottom), int(t.page),
                  YesNo(t.visible));
    w->WriteElement(t.name, attributes, kXmlWriteEmpty, 1, 1);
  }
}

void WriteFont(CXmlReader* w, const COptions& o) {
  char attributes[kXmlTextSize + 32];
  // An empty face is written too: left out, the next start would keep the
  // default face instead.
  char face[kFaceNameSize];
  std::memcpy(face, o.DefaultFont.faceName, kFaceNameSize);
  face[kFaceNameSize - 1] = 0;
  std::snprintf(attributes, sizeof attributes, "Name=\"%s\"", Escaped(w, face));
  if (o.FontColorSet) {
    const size_t used = std::strlen(attributes);
    std::snprintf(attributes + used, sizeof attributes - used, " Color=\"#%02X%02X%02X\"",
                  unsigned(o.FontColor & 0xFF), unsigned(o.FontColor >> 8 & 0xFF),
                  unsigned(o.FontColor >> 16 & 0xFF));
  }
  w->WriteElement("Font", attributes, kXmlWriteEmpty, 1, 1);
}

// A list text: its slot may have lost its terminator only through a fault
// elsewhere, so the copy is cut at the slot's end.
void WriteSlotText(CXmlReader* w, const char* name, const char* slot, size_t size, int indent) {
  const size_t length = strnlen(slot, size - 1);
  w->WriteElement(name, nullptr, kXmlWriteStart, indent, 0);
  w->WriteText(slot, length, true);
  w->WriteElement(name, nullptr, kXmlWriteEnd, 0, 1);
}

void WriteLists(CXmlReader* w, const ProfileLists& l) {
  const int formats = std::min<int>(l.userFormatCount, kUserFormatCount);
  for (int i = 0; i < formats; ++i) {
    w->WriteElement("UserNumericFormat", nullptr, kXmlWriteStart, 1, 1);
    WriteSlotText(w, "Name", l.userFormatNames[i], kUserFormatTextSize, 2);
    WriteSlotText(w, "Pattern", l.userFormatPatterns[i], kUserFormatTextSize, 2);
    w->WriteElement("UserNumericFormat", nullptr, kXmlWriteEnd, 1, 1);
  }
  const int bookmarks = std::min<int>(l.bookmarkCount, kBookmarkCount);
  for (int i = 0; i < bookmarks; ++i) WriteSlotText(w, "Bookmark", l.bookmarks[i], kProfilePathSize, 1);
  const int cellTexts = std::min<int>(l.recentCellTextCount, kRecentCellTextCount);
  for (int i = 0; i < cellTexts; ++i)
    WriteSlotText(w, "RecentCellData", l.recentCellTexts[i], kRecentCellTextSize, 1);
  const int files = std::min<int>(l.recentFileCount, kRecentFileCount);
  for (int i = 0; i < files; ++i) WriteSlotText(w, "RecentFile", l.recentFiles[i], kProfilePathSize, 1);
}

void WriteBody(CXmlReader* w, const COptions& o) {
  w->WriteRaw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n");
  w->WriteElement("Profile", nullptr, kXmlWriteStart, 0, 1);
  WriteNumberElement(w, "UndoLevel", o.UndoLevel);
  WriteNumberElement(w, "CopyLevel", o.CopyLevel);
  WriteWindows(w, o);
  WriteFlag(w, "LockEdit", o.LockEdit);
  WriteFlag(w, "AddressingA1", AddressingA1);
  WriteFlag(w, "ShowFormulas", o.ShowFormulas);
  WriteFlag(w, "HideCellMarkers", o.HideCellMarkers);
  WriteFlag(w, "AutoFormatting", o.AutoFormatting);
  WriteNumberElement(w, "AutoSave", o.AutoSave);
  WriteNumberElement(w, "AutoClose", o.AutoClose);
  WriteNumberElement(w, "WhenEnterPressed", o.WhenEnterPressed);
  WriteNumberElement(w, "Opacity", o.Opacity);
  WriteFlag(w, "AutomaticUpdating", AutomaticUpdating == kUpdateAutomatic);
  // A save format no profile has set yet acts as the binary one.
  WriteFlag(w, "BinaryFileFormat", o.SaveFormat != kSaveFormatXml);
  char region[24];
  std::snprintf(region, sizeof region, "Region=\"%d\"", int(o.Region));
  w->WriteElement("Locales", region, kXmlWriteEmpty, 1, 1);
  if (o.Folder[0])
    WriteSlotText(w, "Folder", o.Folder, kFolderSize, 1);
  else
    w->WriteElement("Folder", nullptr, kXmlWriteEmpty, 1, 1);
  WriteFont(w, o);
  if (o.Lists) WriteLists(w, *o.Lists);
  w->WriteElement("Profile", nullptr, kXmlWriteEnd, 0, 1);
}

}  // namespace

uint8_t WriteProfileFile(const char* path, const COptions& options) {
  std::FILE* file = std::fopen(path, "wb");
  if (!file) return kFileCannotOpenForWriting;
  std::unique_ptr<CXmlReader> writer(new (std::nothrow) CXmlReader);
  if (!writer) {
    std::fclose(file);
    return kFileOutOfMemory;
  }
  FileStream stream;
  stream.Reset();
  stream.Attach(file);
  writer->Reset();
  writer->source.stream = &stream;
  writer->tag.encoding = kXmlEncodingUtf8;
  uint8_t code = 0;
  try {
    WriteBody(writer.get(), options);
  } catch (int thrown) {
    code = uint8_t(thrown);
  }
  if (stream.HasError() && code == 0) code = kFileWriteError;
  stream.ReleaseCrypto();
  if (std::fclose(file) != 0 && code == 0) code = kFileWriteError;
  return code;
}
