#include "app/clipboard/clipboard_format.h"

UINT PrivateClipboardFormat() {
  static const UINT format = ::RegisterClipboardFormatA(kPrivateClipboardFormatName);
  return format;
}
