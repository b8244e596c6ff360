#include "platform/os_services.h"
#include "platform/os_services_system.h"

namespace {
OsClock testClock = nullptr;
}  // namespace

void OsSetClockForTesting(OsClock clock) { testClock = clock; }

void OsGetLocalTime(OsLocalTime* out) {
  if (testClock)
    testClock(out);
  else
    OsSystemLocalTime(out);
}

void OsUpperText(char* text, size_t length) {
  for (size_t i = 0; i < length && text[i]; ++i)
    text[i] = static_cast<char>(OsCharUpper(static_cast<uint8_t>(text[i])));
}

void OsLowerText(char* text, size_t length) {
  for (size_t i = 0; i < length && text[i]; ++i)
    text[i] = static_cast<char>(OsCharLower(static_cast<uint8_t>(text[i])));
}
