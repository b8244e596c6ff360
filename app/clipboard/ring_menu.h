#ifndef TALVERO_APP_CLIPBOARD_RING_MENU_H
#define TALVERO_APP_CLIPBOARD_RING_MENU_H

// The paste ring's drop-down under the toolbar's Paste button: one entry per
// ring slot from the oldest to the newest, numbered from 1.

#include <cstddef>
#include <cstdint>

class EvalState;
class UndoHistory;

// The drop-down lists at most this many entries (commands 32954 to 32969).
constexpr int32_t kRingMenuEntries = 16;

// The text of slot's entry: "<n>.\tPaste container <id> (<path>)" for a
// container, "<n>.\tPaste  <path>" for tree items and "<n>.\tPaste  " with
// the worksheet-qualified range in the current addressing style for cells.
// False for an empty slot, which is not listed.
bool FormatRingEntryText(const UndoHistory& ring, int32_t slot, const EvalState& state, char* out, size_t size);

#endif
