#include "automation/server/error_description.h"

#include <cstdio>

#include "services/messages/error_text.h"

namespace {

bool IsXmlReaderError(uint8_t code) { return code >= 56 && code <= 60; }

}  // namespace

void ComposeErrorDescription(uint8_t code, uint32_t line, char* out, size_t size) {
  if (IsXmlReaderError(code) && line != 0)
    FormatErrorTextWithLine(code, static_cast<int>(line), out, size);
  else
    std::snprintf(out, size, "%s", GetErrorText(code));
}
