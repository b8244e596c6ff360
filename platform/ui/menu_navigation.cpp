#include "platform/ui/menu_navigation.h"

#include "platform/os_services.h"

int NextMenuItem(const uint8_t* selectable, int count, int current, int step) {
  if (count <= 0) return -1;
  int index = current;
  if (index < 0 || index >= count) index = step > 0 ? -1 : count;
  for (int tries = 0; tries < count; ++tries) {
    index += step;
    if (index >= count) index = 0;
    if (index < 0) index = count - 1;
    if (selectable[index]) return index;
  }
  return -1;
}

uint8_t MenuMnemonic(const char* text) {
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p != '&') continue;
    if (p[1] == '&') {
      ++p;
      continue;
    }
    return p[1] == '\0' ? 0 : OsCharUpper(static_cast<uint8_t>(p[1]));
  }
  return 0;
}

int FindMnemonicItem(const char* const* texts, int count, uint8_t key) {
  uint8_t wanted = OsCharUpper(key);
  if (wanted == 0) return -1;
  for (int i = 0; i < count; ++i) {
    if (texts[i] != nullptr && MenuMnemonic(texts[i]) == wanted) return i;
  }
  return -1;
}
