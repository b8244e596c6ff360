#include "files/errors/file_errors.h"

namespace {

struct FileErrorEntry {
  uint8_t code;
  const char* text;
};

const FileErrorEntry kFileErrors[] = {
    {kFileOutOfMemory, "Out of memory while creating/editing worksheet data"},
    {kFileNoWorksheet, "A workbook must contain at least one worksheet"},
    {kFileBadFormat,
     "Invalid Talvero file format\n\nPlease choose the correct format from the 'Files of type' list in the "
     "'Open' dialog box."},
    {kFileNoCryptoKey, "Can't generate the cryptographic key"},
    {kFileBadPassword, "Invalid password"},
    {kFileCannotOpenForReading, "Can't open the specified file for reading"},
    {kFileCannotOpenForWriting, "Can't open the specified file for writing"},
    {kFileReadError, "Error while reading from a file"},
    {kFileWriteError, "Error while writing to a file"},
    {kFileOnlyUtf8, "Only UTF-8 encoding is supported"},
    {kFileXmlOutOfMemory, "Out of memory while loading an xml document"},
    {kFileXmlUnexpectedElement, "An unexpected xml element"},
    {kFileXmlBadAttribute, "An invalid attribute value"},
    {kFileXmlMissingAttribute, "A required attribute is missing"},
    {kFileXmlBadData, "Invalid xml element data (c_data)"},
    {kFileTooManyFields, "Too many database fields - max. record size = 64K"},
    {kFileNumberTooWide, "A number is too wide for its database field"},
    {kFilePathTooLong, "The file path is too long"},
};

}  // namespace

const char* FileErrorText(uint8_t code) {
  for (const FileErrorEntry& entry : kFileErrors)
    if (entry.code == code)
      return entry.text;
  return "No error";
}
