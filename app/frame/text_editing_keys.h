#ifndef TALVERO_APP_FRAME_TEXT_EDITING_KEYS_H
#define TALVERO_APP_FRAME_TEXT_EDITING_KEYS_H

// The keys with which an edit control edits its own text (a space typed
// with Shift, Delete, cut, copy, paste, undo, select all). While an edit
// control has the focus they are its own, although the frame's accelerators
// give the same keys to commands on cells.

#include <cstdint>

// key is the virtual-key code of a key-down; the flags tell which modifier
// keys are held.
bool IsTextEditingKey(uint32_t key, bool ctrl, bool shift, bool alt);

#endif
