#include "platform/ui/message_box.h"

namespace {

int SystemMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  return MessageBoxA(owner, text, caption, type);
}

MessageBoxFunction g_messageBox = SystemMessageBox;

}  // namespace

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  return g_messageBox(owner, text, caption, type);
}

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction fn) {
  MessageBoxFunction previous = g_messageBox;
  g_messageBox = fn != nullptr ? fn : SystemMessageBox;
  return previous;
}
