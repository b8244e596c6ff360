#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "services/settings/settings_profile.h"
#include "core/base/global_options.h"
#include "core/numfmt/format_colors.h"
#include "files/errors/file_errors.h"
#include "files/stream/file_stream.h"
#include "files/xml/xml_reader.h"

namespace {

// A self-closed element reads as both a start and an end tag.
constexpr uint8_t kFindElement = kXmlClearAttributes | kXmlStartTag | kXmlEndTag | kXmlOptional;
constexpr int32_t kImageTextLimit = 32767;

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Reads up to count integers separated by blanks into values, each stored
// as it is read; stops at the first text that is no number. Positions are
// free coordinates, so a text without numbers is no error: the values keep
// what they held.
void ScanIntegers(const char* text, int32_t* const* values, int count) {
  const char* p = text;
  for (int i = 0; i < count; ++i) {
    while (IsBlank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (*p < '0' || *p > '9') return;
    int64_t magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
      if (magnitude <= 0x80000000ll) magnitude = magnitude * 10 + (*p - '0');
    if (negative) magnitude = -magnitude;
    if (magnitude > INT32_MAX) magnitude = INT32_MAX;
    if (magnitude < INT32_MIN) magnitude = INT32_MIN;
    *values[i] = int32_t(magnitude);
  }
}

class ProfileReader {
 public:
  ProfileReader(CXmlReader* reader, COptions& options) : r_(reader), o_(options) {}

  void Read() {
    ReadDeclarations();
    if (!Find("Profile")) ThrowXmlError(kFileXmlUnexpectedElement);
    // "<Profile/>" holds nothing: every lookup below finds its element
    // absent, as in an empty "<Profile></Profile>".
    const bool selfClosed = r_->tag.isEnd;
    ReadNumber("UndoLevel", &o_.UndoLevel, kMinUndoLevel, kMaxUndoLevel);
    ReadNumber("CopyLevel", &o_.CopyLevel, kMinCopyLevel, kMaxCopyLevel);
    ReadApplicationWindow();
    ReadComposerWindow();
    ReadToolWindow("CellFormatWindow", &o_.CellFormatRect, &o_.CellFormatPage, kMaxCellFormatPage,
                   &o_.CellFormatVisible);
    ReadToolWindow("WorksheetFormatWindow", &o_.WorksheetFormatRect, &o_.WorksheetFormatPage,
                   kMaxWorksheetFormatPage, &o_.WorksheetFormatVisible);
    o_.LockEdit = TakeElement("LockEdit");
    AddressingA1 = TakeElement("AddressingA1");
    o_.ShowFormulas = TakeElement("ShowFormulas");
    o_.HideCellMarkers = TakeElement("HideCellMarkers");
    o_.AutoFormatting = TakeElement("AutoFormatting");
    ReadNumber("AutoSave", &o_.AutoSave, 0, kMaxAutoMinutes);
    ReadNumber("AutoClose", &o_.AutoClose, 0, kMaxAutoMinutes);
    ReadNumber("WhenEnterPressed", &o_.WhenEnterPressed, 0, kMaxWhenEnterPressed);
    ReadNumber("Opacity", &o_.Opacity, 0, kMaxOpacity);
    ReadUpdateMode();
    ReadSaveFormat();
    ReadLocales();
    ReadFolder();
    ReadFont();
    ReadLists();
    if (!selfClosed) r_->FindElement(nullptr, "Profile", kXmlEndTag);
  }

 private:
  // The first declaration chooses how texts are decoded; any further ones
  // are passed over.
  void ReadDeclarations() {
    r_->tag.encoding = kXmlEncodingUtf8;
    if (!Find("?xml")) return;
    if (r_->FindAttribute(nullptr, "encoding")) {
      const char* value = r_->AttributeValue();
      if (std::strcmp(value, "UTF-8") != 0 && std::strcmp(value, "utf-8") != 0)
        r_->tag.encoding = !std::strncmp(value, "ISO-", 4) || !std::strncmp(value, "iso-", 4)
                               ? kXmlEncodingIso
                               : kXmlEncodingBytes;
    }
    while (Find("?xml")) {
    }
  }

  // Whether the element starts here, its attributes then at hand. An end tag
  // of that name without its start is refused.
  bool Find(const char* name) {
    if (!r_->FindElement(nullptr, name, kFindElement)) return false;
    if (!r_->tag.hasContent) ThrowXmlError(kFileXmlUnexpectedElement);
    return true;
  }

  // Whether the element stands here; one written with content is passed
  // over to its end tag.
  bool TakeElement(const char* name) {
    if (!Find(name)) return false;
    if (!r_->tag.isEnd) r_->SkipElement(nullptr, name);
    return true;
  }

  // The text of the element when it stands here; 60 when it is longer than
  // maximum.
  bool ReadElementText(const char* name, int32_t maximum) {
    if (!r_->FindElement(nullptr, name, kFindElement | kXmlPeek)) return false;
    if (!r_->tag.hasContent) ThrowXmlError(kFileXmlUnexpectedElement);
    return r_->ReadElementText(nullptr, name, kXmlStartTag | kXmlEndTag, maximum);
  }

  void SkipRestOf(const char* name) {
    if (!r_->tag.isEnd) r_->SkipElement(nullptr, name);
  }

  void ReadNumber(const char* name, uint8_t* field, uint32_t lowest, uint32_t highest) {
    if (!ReadElementText(name, kXmlMaxCharacterData)) return;
    uint8_t value;
    r_->ParseUInt8(&value, lowest, highest, nullptr);
    *field = value;
  }

  void ReadFlagAttribute(const char* name, uint8_t* field) {
    if (!r_->FindAttribute(nullptr, name)) return;
    uint8_t value;
    r_->ReadBool(&value, r_->AttributeValue());
    *field = value;
  }

  void ReadPosition(OptionsRect* rect, int32_t* fifth) {
    if (!r_->FindAttribute(nullptr, "Position")) return;
    int32_t* values[5] = {&rect->left, &rect->top, &rect->right, &rect->bottom, fifth};
    ScanIntegers(r_->AttributeValue(), values, fifth ? 5 : 4);
  }

  void ReadApplicationWindow() {
    if (!Find("ApplicationWindow")) return;
    if (r_->FindAttribute(nullptr, "Position")) {
      const char* position = r_->AttributeValue();
      if (std::strcmp(position, "Maximize") == 0) {
        o_.FrameShowState = kShowStateMaximized;
      } else if (std::strcmp(position, "Minimize") == 0) {
        o_.FrameShowState = kShowStateMinimized;
      } else {
        o_.FrameShowState = kShowStateRestored;
        ReadPosition(&o_.FrameRect, nullptr);
      }
    }
    ReadFlagAttribute("MaximizeDocWindow", &o_.MaximizeDocWindow);
    if (r_->tag.isEnd) return;
    // Bars of earlier versions, whose settings are no longer kept.
    static const char* const kBars[] = {"PrimaryToolbar", "SecondaryToolbar", "SearchToolbar", "Statusbar"};
    for (bool found = true; found;) {
      found = false;
      for (const char* bar : kBars)
        if (TakeElement(bar)) found = true;
    }
    r_->FindElement(nullptr, "ApplicationWindow", kXmlEndTag);
  }

  void ReadComposerWindow() {
    if (!Find("ComposerWindow")) return;
    ReadPosition(&o_.ComposerRect, &o_.ComposerSplitter);
    ReadFlagAttribute("Visible", &o_.ComposerVisible);
    // Formulas kept by earlier versions are not restored.
    SkipRestOf("ComposerWindow");
  }

  void ReadToolWindow(const char* name, OptionsRect* rect, uint8_t* page, uint8_t maxPage, uint8_t* visible) {
    if (!Find(name)) return;
    ReadPosition(rect, nullptr);
    if (r_->FindAttribute(nullptr, "ActivePage")) {
      uint8_t value;
      r_->ParseUInt8(&value, 0, maxPage, r_->AttributeValue());
      *page = value;
    }
    ReadFlagAttribute("Visible", visible);
    SkipRestOf(name);
  }

  // Files of earlier versions hold UpdateMode and FileFormat elements; where
  // one stands it decides.
  void ReadUpdateMode() {
    AutomaticUpdating = TakeElement("AutomaticUpdating") ? kUpdateAutomatic : kUpdateManual;
    if (!Find("UpdateMode")) return;
    uint8_t automatic = 1;
    ReadFlagAttribute("Automatic", &automatic);
    AutomaticUpdating = automatic ? kUpdateAutomatic : kUpdateManual;
    SkipRestOf("UpdateMode");
  }

  void ReadSaveFormat() {
    o_.SaveFormat = TakeElement("BinaryFileFormat") ? kSaveFormatBinary : kSaveFormatXml;
    if (!Find("FileFormat")) return;
    uint8_t xml = 1;
    ReadFlagAttribute("Xml", &xml);
    o_.SaveFormat = xml ? kSaveFormatXml : kSaveFormatBinary;
    SkipRestOf("FileFormat");
  }

  void ReadLocales() {
    if (!Find("Locales")) return;
    if (r_->FindAttribute(nullptr, "Region")) {
      uint8_t region;
      r_->ParseUInt8(&region, 0, kMaxRegion, r_->AttributeValue());
      o_.Region = region;
    }
    SkipRestOf("Locales");
  }

  // The text of an element into its slot; 60 when it is longer than the
  // slot holds.
  bool ReadSlotText(const char* name, char* slot, size_t size) {
    if (!ReadElementText(name, int32_t(size - 1))) return false;
    std::memcpy(slot, r_->text, std::strlen(r_->text) + 1);
    return true;
  }

  void ReadFolder() { ReadSlotText("Folder", o_.Folder, sizeof o_.Folder); }

  void ReadFont() {
    if (!Find("Font")) return;
    if (r_->FindAttribute(nullptr, "Name")) {
      const int32_t length = r_->DecodeAttributeText(int32_t(kFaceNameSize - 1));
      if (length < 0) ThrowXmlError(kFileXmlBadAttribute);
      std::memset(o_.DefaultFont.faceName, 0, kFaceNameSize);
      std::memcpy(o_.DefaultFont.faceName, r_->text, size_t(length));
    }
    if (r_->FindAttribute(nullptr, "Color")) {
      uint32_t colour;
      if (!ParseColorName(r_->AttributeValue(), &colour)) ThrowXmlError(kFileXmlBadAttribute);
      o_.FontColor = colour;
      o_.FontColorSet = 1;
    }
    SkipRestOf("Font");
  }

  // The next element of a list that already holds `count` of at most
  // `bound` entries; 57 when the list is full.
  bool NextEntry(const char* name, uint8_t count, int bound) {
    if (!r_->FindElement(nullptr, name, kFindElement | kXmlPeek)) return false;
    if (!r_->tag.hasContent) ThrowXmlError(kFileXmlUnexpectedElement);
    if (count >= bound) ThrowXmlError(kFileXmlUnexpectedElement);
    return true;
  }

  void ReadLists() {
    if (!o_.Lists) ThrowXmlError(kFileXmlOutOfMemory);
    ProfileLists& l = *o_.Lists;
    l.userFormatCount = 0;
    while (NextEntry("UserNumericFormat", l.userFormatCount, kUserFormatCount)) {
      r_->FindElement(nullptr, "UserNumericFormat", kXmlStartTag | kXmlEndTag);
      const int i = l.userFormatCount;
      l.userFormatNames[i][0] = l.userFormatPatterns[i][0] = 0;
      if (!r_->tag.isEnd) {
        ReadSlotText("Name", l.userFormatNames[i], kUserFormatTextSize);
        ReadSlotText("Pattern", l.userFormatPatterns[i], kUserFormatTextSize);
        r_->FindElement(nullptr, "UserNumericFormat", kXmlEndTag);
      }
      ++l.userFormatCount;
    }
    l.bookmarkCount = 0;
    while (NextEntry("Bookmark", l.bookmarkCount, kBookmarkCount))
      if (ReadSlotText("Bookmark", l.bookmarks[l.bookmarkCount], kProfilePathSize)) ++l.bookmarkCount;
    // Pictures kept by earlier versions.
    while (ReadElementText("Image", kImageTextLimit)) {
    }
    l.recentCellTextCount = 0;
    while (NextEntry("RecentCellData", l.recentCellTextCount, kRecentCellTextCount))
      if (ReadSlotText("RecentCellData", l.recentCellTexts[l.recentCellTextCount], kRecentCellTextSize))
        ++l.recentCellTextCount;
    l.recentFileCount = 0;
    while (NextEntry("RecentFile", l.recentFileCount, kRecentFileCount))
      if (ReadSlotText("RecentFile", l.recentFiles[l.recentFileCount], kProfilePathSize)) ++l.recentFileCount;
  }

  CXmlReader* r_;
  COptions& o_;
};

}  // namespace

uint8_t ReadProfileFile(const char* path, COptions& options) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return kFileCannotOpenForReading;
  std::unique_ptr<CXmlReader> reader(new (std::nothrow) CXmlReader);
  if (!reader) {
    std::fclose(file);
    return kFileOutOfMemory;
  }
  FileStream stream;
  stream.Reset();
  stream.Attach(file);
  reader->Reset();
  reader->source.stream = &stream;
  uint8_t code = 0;
  try {
    const uint8_t first = reader->source.PeekByte();
    // UTF-16 text starts with its byte-order mark.
    if (first == 0xFE || first == 0xFF) ThrowXmlError(kFileOnlyUtf8);
    if (reader->source.MatchLiteral("\xEF\xBB\xBF", 3))
      for (int i = 0; i < 3; ++i) reader->source.NextByte();
    ProfileReader(reader.get(), options).Read();
    if (stream.HasError()) code = kFileReadError;
  } catch (int thrown) {
    code = uint8_t(thrown);
  }
  stream.ReleaseCrypto();
  std::fclose(file);
  return code;
}
