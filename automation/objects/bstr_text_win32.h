#ifndef TALVERO_AUTOMATION_BSTR_TEXT_H
#define TALVERO_AUTOMATION_BSTR_TEXT_H

// The objects' text conversions live with the COM layer, where the
// automation-client functions share them.

#include "platform/com/bstr_text_win32.h"

#endif
