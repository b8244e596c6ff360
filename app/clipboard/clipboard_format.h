#ifndef TALVERO_APP_CLIPBOARD_CLIPBOARD_FORMAT_H
#define TALVERO_APP_CLIPBOARD_CLIPBOARD_FORMAT_H

// The private clipboard format that marks the clipboard as holding the
// program's own block: its data, the decimal index of the ring's newest
// slot in a 10-byte block, is never read back; the ring decides what is
// pasted. Windows only.

#include <windows.h>

constexpr char kPrivateClipboardFormatName[] = "Talvero_clipboard_format";
constexpr SIZE_T kPrivateClipboardBlockSize = 10;

// The format's number, registered on the first call; 0 when the system refuses.
UINT PrivateClipboardFormat();

#endif
