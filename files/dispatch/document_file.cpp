#include "files/dispatch/document_file.h"

#include <cstdio>
#include <cstring>

#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/dispatch/native_kind.h"
#include "files/native_xml/native_xml.h"
#include "files/xbase/xbase_memo.h"
#include "platform/os_files.h"
#include "platform/os_services.h"

namespace {

// Temporary names tried beside the target before giving up, and the
// longest suffix they add (".~99").
constexpr int kTemporaryNameTries = 100;
constexpr size_t kTemporarySuffixSize = 4;

bool MakeTemporaryPath(const char* path, char* out, size_t size) {
  for (int n = 0; n < kTemporaryNameTries; ++n) {
    const int length = std::snprintf(out, size, "%s.~%d", path, n);
    if (length < 0 || size_t(length) >= size)
      return false;
    if (!OsFileExists(out))
      return true;
  }
  return false;
}

// The local date and time to the second as ISO 8601 text, with the suffix.
void LocalTimeText(char* out, size_t size, const char* suffix) {
  OsLocalTime now{};
  OsGetLocalTime(&now);
  std::snprintf(out, size, "%04u-%02u-%02uT%02u:%02u:%02u%s", unsigned(now.year), unsigned(now.month),
                unsigned(now.day), unsigned(now.hour), unsigned(now.minute), unsigned(now.second), suffix);
}

void StampLastModification(CWorkBook* book) {
  LastModificationBlock& modification = book->lastModification;
  std::memset(modification.user, 0, sizeof modification.user);
  OsGetUserName(modification.user, sizeof modification.user);
  LocalTimeText(modification.date, sizeof modification.date, "");
}

bool IsXBaseFormat(uint8_t format) { return format >= kFormatXBaseFirst && format <= kFormatXBaseLast; }

// An xBase writer makes the table's memo file afresh beside the file it
// writes: the memo file there is kept aside until the save has succeeded,
// and put back when it fails or when the new table has no memo file. A
// memo file that a failed save made where there was none goes again.
class KeptMemoFile {
 public:
  // False when the memo file is there but cannot be moved aside.
  bool Keep(const char* tablePath, uint8_t dialect) {
    if (!XBaseMemoFileName(tablePath, memo_, sizeof memo_, dialect)) {
      memo_[0] = '\0';
      return true;
    }
    if (!OsFileExists(memo_))
      return true;
    if (!MakeTemporaryPath(memo_, kept_, sizeof kept_) || !OsReplaceFile(memo_, kept_))
      return false;
    moved_ = true;
    return true;
  }
  void Finish(bool saved) {
    if (!moved_) {
      if (!saved && memo_[0] != '\0')
        std::remove(memo_);
      return;
    }
    if (saved && OsFileExists(memo_)) {
      std::remove(kept_);
      return;
    }
    if (!saved)
      std::remove(memo_);
    OsReplaceFile(kept_, memo_);
  }

 private:
  char memo_[kFilePathSize] = {};
  char kept_[kFilePathSize] = {};
  bool moved_ = false;
};

// Runs the writer the workbook's format byte and sub-kind choose.
bool WriteDocument(CWorkBook* book, const TextMeasurer* measurer) {
  if (book->sourceFormat == kFormatExcelXml)
    return book->SaveExcelXml(measurer);
  if (book->sourceFormat == kFormatText)
    return book->SaveText(book->activeWorksheet);
  if (IsXBaseFormat(book->sourceFormat)) {
    book->xbaseTable.dialect = book->sourceFormat;
    return book->SaveXBase(book->activeWorksheet);
  }
  if (book->sourceFormat != kFormatNative) {
    book->error = kFileBadFormat;
    return false;
  }
  StampLastModification(book);
  switch (book->saveKind) {
    case kNativeXmlPlain:
    case kNativeXmlGzip:
      // A compressed XML file is saved as plain XML, as every XML save is.
      return SaveXml(book, measurer);
    case kNativeBinaryPlain:
    case kNativeBinaryGzip:
      return book->SaveBinary();
    case kNativeOldBinary:
      // The older format has no writer: such a document is saved as a
      // compressed binary file from now on.
      book->saveKind = kNativeBinaryGzip;
      return book->SaveBinary();
    default:
      book->error = kFileBadFormat;
      return false;
  }
}

bool SamePath(const char* a, const char* b) {
#ifdef _WIN32
  return _stricmp(a, b) == 0;
#else
  return std::strcmp(a, b) == 0;
#endif
}

}  // namespace

uint8_t NativeSaveVariant(uint8_t sourceFormat, uint8_t saveKind, uint8_t optionSaveFormat) {
  const uint8_t variant = sourceFormat != kFormatNative ? optionSaveFormat : saveKind;
  return variant == kNativeXmlPlain || variant == kNativeXmlGzip ? kNativeXmlPlain : kNativeBinaryGzip;
}

void StampExcelProperties(CWorkBook* book, bool newFile) {
  DocumentPropertyTexts& properties = book->documentProperties;
  char user[kDocumentPropertyNameSize] = {};
  OsGetUserName(user, sizeof user);
  std::memcpy(properties.lastAuthor, user, sizeof user);
  if (newFile || !properties.author[0])
    std::memcpy(properties.author, user, sizeof user);
  LocalTimeText(properties.lastSaved, sizeof properties.lastSaved, "Z");
  if (newFile || !properties.created[0])
    std::memcpy(properties.created, properties.lastSaved, sizeof properties.created);
  if (!properties.version[0])
    std::snprintf(properties.version, sizeof properties.version, "10.2625");
}

bool OpenDocumentFile(CWorkBook* book, const char* path) {
  BufferedFile& file = book->bufferedFile;
  if (std::strlen(path) >= kFilePathSize) {
    book->error = kFilePathTooLong;
    return false;
  }
  if (!file.Open(path, "r+b") && !file.Open(path, "rb")) {
    book->error = kFileCannotOpenForReading;
    return false;
  }
  book->readOnly = file.readOnly;
  return true;
}

bool SaveDocumentFile(CWorkBook* book, const char* path, const TextMeasurer* measurer) {
  char temporary[kFilePathSize];
  // The file is written beside its place under a longer name first.
  if (std::strlen(path) + kTemporarySuffixSize >= kFilePathSize) {
    book->error = kFilePathTooLong;
    return false;
  }
  if (!MakeTemporaryPath(path, temporary, sizeof temporary)) {
    book->error = kFileCannotOpenForWriting;
    return false;
  }
  BufferedFile staged;
  if (!staged.Open(temporary, "w+b")) {
    book->error = kFileCannotOpenForWriting;
    return false;
  }
  const uint8_t format = book->sourceFormat;
  const uint8_t kind = book->saveKind;

  KeptMemoFile memo;
  if (IsXBaseFormat(format) && !memo.Keep(path, format)) {
    std::fclose(staged.file);
    std::remove(temporary);
    book->error = kFileCannotOpenForWriting;
    return false;
  }

  // The writer works on the document's open file: the staged file stands in
  // for it under the path being saved to, and the file the document holds
  // stays untouched and locked.
  BufferedFile held = book->bufferedFile;
  book->bufferedFile = staged;
  std::snprintf(book->bufferedFile.path, sizeof book->bufferedFile.path, "%s", path);
  bool saved = WriteDocument(book, measurer);
  if (saved && std::fflush(book->bufferedFile.file) != 0) {
    book->error = kFileWriteError;
    saved = false;
  }
  std::FILE* written = book->bufferedFile.file;
  book->bufferedFile = held;
  if (std::fclose(written) != 0 && saved) {
    book->error = kFileWriteError;
    saved = false;
  }
  if (!saved) {
    std::remove(temporary);
    memo.Finish(false);
    book->sourceFormat = format;
    book->saveKind = kind;
    return false;
  }

  // The file the document holds is let go only now; on a failed replace it
  // is taken up again.
  const bool replacesHeld = book->bufferedFile.file && SamePath(book->bufferedFile.path, path);
  char heldPath[kFilePathSize];
  std::memcpy(heldPath, book->bufferedFile.path, sizeof heldPath);
  if (replacesHeld)
    book->bufferedFile.Close();
  const bool replaced = OsReplaceFile(temporary, path);
  memo.Finish(replaced);
  if (!replaced) {
    std::remove(temporary);
    if (replacesHeld)
      OpenDocumentFile(book, heldPath);
    book->sourceFormat = format;
    book->saveKind = kind;
    // All was written; what failed is taking the place of the file there,
    // which another document or program holds open or which is read-only.
    book->error = kFileCannotOpenForWriting;
    return false;
  }
  book->bufferedFile.Close();
  if (!book->bufferedFile.Open(path, "r+b")) {
    book->error = kFileCannotOpenForWriting;
    return false;
  }
  book->readOnly = 0;
  return true;
}
