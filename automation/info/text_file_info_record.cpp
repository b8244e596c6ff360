#include "automation/info/text_file_info_record.h"

void TextFileInfoRecord::SetSeparator(char separator) {
  options.separator = separator;
  options.fixedWidth = 0;
}

bool TextFileInfoRecord::SetEncoding(int32_t encoding) {
  if (encoding < kTextCharsetUtf8 || encoding > kTextCharsetOem) {
    error = kInfoInvalidArgument;
    return false;
  }
  options.charset = static_cast<uint8_t>(encoding);
  return true;
}

bool TextFileInfoRecord::SetConversion(int32_t conversion) {
  if (conversion != 0 && conversion != 1) {
    error = kInfoInvalidArgument;
    return false;
  }
  options.recognizeValues = static_cast<uint8_t>(conversion);
  return true;
}

bool TextFileInfoRecord::WidthBoundsFit(int32_t lower, int32_t upper) {
  // An empty array's upper bound lies below its lower one and reads as a
  // huge unsigned bound.
  if (static_cast<uint32_t>(lower) >= kColumnCount || static_cast<uint32_t>(upper) >= kColumnCount) {
    error = kInfoInvalidArgument;
    return false;
  }
  return true;
}
