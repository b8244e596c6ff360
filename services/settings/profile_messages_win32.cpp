#include "services/messages/message_boxes.h"
#include "services/settings/settings_profile.h"

uint8_t ReadProfile(const char* path, bool showErrors) {
  const uint8_t code = ReadProfileFile(path, Options);
  if (code != 0 && showErrors) ShowError(code);
  return code;
}

uint8_t WriteProfile(const char* path, bool showErrors) {
  const uint8_t code = WriteProfileFile(path, Options);
  if (code != 0 && showErrors) ShowError(code);
  return code;
}
