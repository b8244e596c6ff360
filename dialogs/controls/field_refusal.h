#ifndef TALVERO_DIALOGS_FIELD_REFUSAL_H
#define TALVERO_DIALOGS_FIELD_REFUSAL_H

// How a dialog refuses a number field whose text is no integer within its
// bounds: a beep and a message that names the bounds, and the field keeps
// the text the user typed, selected for typing over.

#include <cstdint>

#include <windows.h>

class CParsedEdit;

// A beep, "Please enter an integer between minimum and maximum." in an
// exclamation box owned by the dialog and captioned with the product title,
// then the focus on the field.
void RefuseIntegerField(HWND dialog, HWND field, int32_t minimum, int32_t maximum);

// The edit's integer within the bounds given, or within its own limits;
// anything else, letters and an emptied field too, is refused as above and
// gives false.
bool ReadIntegerFieldOrRefuse(HWND dialog, const CParsedEdit& edit, int32_t minimum, int32_t maximum,
                              int32_t* value);
bool ReadIntegerFieldOrRefuse(HWND dialog, const CParsedEdit& edit, int32_t* value);

#endif
