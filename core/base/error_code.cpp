#include "core/base/error_code.h"

#include "platform/os_services.h"

namespace {

const char* const kErrorNames[kErrorCodeCount] = {
    "#DIV/0!", "#NAME?", "#NULL!", "#N/A!",  "#NUM!",  "#REF!",
    "#VALUE!", "#MEMORY!", "#FILL!", "#CIRC!", "#IMPL!", "#SYNTAX!"};

// Compares through the code page's upper case, as formulas compare texts.
bool EqualIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (OsCharUpper(static_cast<uint8_t>(*a)) != OsCharUpper(static_cast<uint8_t>(*b)))
      return false;
  }
  return *a == *b;
}

}  // namespace

const char* ErrorName(uint8_t code) {
  if (code == 0 || code % kErrorCodeStep != 0 || code / kErrorCodeStep > kErrorCodeCount)
    return "";
  return kErrorNames[code / kErrorCodeStep - 1];
}

uint8_t ErrorCodeFromText(const char* text) {
  if (!text || text[0] != '#') return 0;
  for (int i = 0; i < kErrorCodeCount; ++i) {
    if (EqualIgnoringCase(text, kErrorNames[i]))
      return static_cast<uint8_t>((i + 1) * kErrorCodeStep);
  }
  return 0;
}
