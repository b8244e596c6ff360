#ifndef TALVERO_FILES_ERRORS_FILE_ERRORS_H
#define TALVERO_FILES_ERRORS_FILE_ERRORS_H

// The codes that the file readers and writers leave in a workbook's error
// byte, and their message texts.

#include <cstdint>

enum FileErrorCode : uint8_t {
  kFileOutOfMemory = 8,
  kFileNoWorksheet = 9,
  kFileBadFormat = 21,
  kFileNoCryptoKey = 25,
  kFileBadPassword = 26,
  kFileCannotOpenForReading = 34,
  kFileCannotOpenForWriting = 35,
  kFileReadError = 38,
  kFileWriteError = 39,
  kFileOnlyUtf8 = 46,
  kFileXmlOutOfMemory = 56,
  kFileXmlUnexpectedElement = 57,
  kFileXmlBadAttribute = 58,
  kFileXmlMissingAttribute = 59,
  kFileXmlBadData = 60,
  kFileTooManyFields = 62,
  // A number needs more characters than its xBase field holds.
  kFileNumberTooWide = 64,
  // A path longer than a file name can be: refused rather than cut.
  kFilePathTooLong = 65,
};

// The message text of a file error code; "No error" for any other code.
const char* FileErrorText(uint8_t code);

#endif
