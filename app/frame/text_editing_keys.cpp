#include "app/frame/text_editing_keys.h"

namespace {

// Virtual-key codes of the keyboard.
constexpr uint32_t kKeyBackspace = 0x08;
constexpr uint32_t kKeySpace = 0x20;
constexpr uint32_t kKeyInsert = 0x2D;
constexpr uint32_t kKeyDelete = 0x2E;

}  // namespace

bool IsTextEditingKey(uint32_t key, bool ctrl, bool shift, bool alt) {
  switch (key) {
    case kKeySpace:
      return !ctrl && !alt;
    case kKeyDelete:  // with Shift: cut; with Ctrl: to the end of the line
      return !alt;
    case kKeyInsert:  // with Ctrl: copy; with Shift: paste
      return (ctrl != shift) && !alt;
    case kKeyBackspace:  // with Alt: undo
      return !ctrl && !shift;
    case 'A':
    case 'C':
    case 'V':
    case 'X':
    case 'Z':
      return ctrl && !shift && !alt;
  }
  return false;
}
