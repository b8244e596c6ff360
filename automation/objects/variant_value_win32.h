#ifndef TALVERO_AUTOMATION_VARIANT_VALUE_H
#define TALVERO_AUTOMATION_VARIANT_VALUE_H

// Cell values across the interfaces as VARIANTs: VT_EMPTY for no cell, VT_R8
// for a number, VT_BSTR for a text and VT_UI1 for a cell error code.

#include <windows.h>

#include <oleauto.h>

#include <cstddef>

#include "automation/worksheet/worksheet_value.h"

// The value a client's VARIANT (by reference or not) gives a cell, as RTD
// and UDF convert what they receive (VariantToScalar): a number for the
// integer, real, currency, decimal and truth types (true is 1), the ISO
// text of a date's day, a text (converted into text, size bytes) for
// VT_BSTR, an error for VT_UI1 (a byte past the codes is "#VALUE!", 0 the
// number 0), "#NUM!" for a number no cell holds, and empty for VT_EMPTY,
// VT_NULL and every other kind. E_INVALIDARG for an array.
HRESULT VariantToWorksheetValue(const VARIANT& variant, WorksheetValue* value, char* text, size_t size);

// The VARIANT a client reads of a value; a text of at most 1025 characters.
// E_OUTOFMEMORY when the string cannot be made.
HRESULT WorksheetValueToVariant(const WorksheetValue& value, VARIANT* out);

#endif
