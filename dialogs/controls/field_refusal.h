#ifndef TALVERO_DIALOGS_FIELD_REFUSAL_H
#define TALVERO_DIALOGS_FIELD_REFUSAL_H

// How a dialog refuses a number field whose text is no integer within its
// bounds: the message names the bounds, and the field keeps the text the
// user typed, selected for typing over.

#include <cstdint>

#include <windows.h>

// "Please enter an integer between minimum and maximum." in an exclamation
// box owned by the dialog and captioned with the product title, then the
// focus on the field.
void RefuseIntegerField(HWND dialog, HWND field, int32_t minimum, int32_t maximum);

#endif
