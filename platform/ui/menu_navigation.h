#ifndef TALVERO_PLATFORM_UI_MENU_NAVIGATION_H
#define TALVERO_PLATFORM_UI_MENU_NAVIGATION_H

// Keyboard navigation of a menu bar: which item the arrow keys go to and which
// item a mnemonic letter opens.

#include <cstdint>

// The next item from `current` in the direction of `step` (+1 or -1) whose
// flag in `selectable` is set, wrapping around the ends; -1 when none is.
// A current item of -1 starts before the first (or after the last) item.
int NextMenuItem(const uint8_t* selectable, int count, int current, int step);

// The letter after the single "&" of a menu text, upper-cased; "&&" is a
// literal ampersand. 0 when the text has none.
uint8_t MenuMnemonic(const char* text);

// The first item whose mnemonic is `key` (letter case ignored), or -1.
int FindMnemonicItem(const char* const* texts, int count, uint8_t key);

#endif
