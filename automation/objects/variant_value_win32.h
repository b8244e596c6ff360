#ifndef TALVERO_AUTOMATION_VARIANT_VALUE_H
#define TALVERO_AUTOMATION_VARIANT_VALUE_H

// Cell values across the interfaces as VARIANTs: VT_EMPTY for no cell, VT_R8
// for a number, VT_BSTR for a text and VT_UI1 for a cell error code.

#include <windows.h>

#include <oleauto.h>

#include <cstddef>

#include "automation/worksheet/worksheet_value.h"

// The value a client's VARIANT (by reference or not) gives a cell: empty for
// VT_EMPTY and VT_NULL, an error for VT_UI1 1 to 12, a number for the
// integer, real, currency, decimal and truth types, a text (converted into
// text, size bytes) for VT_BSTR. E_INVALIDARG for an array, for a VT_UI1
// that names no cell error, and for every other kind.
HRESULT VariantToWorksheetValue(const VARIANT& variant, WorksheetValue* value, char* text, size_t size);

// The VARIANT a client reads of a value; a text of at most 1025 characters.
// E_OUTOFMEMORY when the string cannot be made.
HRESULT WorksheetValueToVariant(const WorksheetValue& value, VARIANT* out);

#endif
