#include "automation/objects/variant_value_win32.h"

#include <algorithm>
#include <cstring>

#include "platform/com/bstr_text_win32.h"

#include "core/base/error_code.h"
#include "functions/variant_to_eval_value_win32.h"

namespace {

// The longest text a client is given, in characters.
constexpr int kValueTextCharacters = 1025;

}  // namespace

// The conversion RTD and UDF make of what they receive, so that a value
// means the same whichever way it comes in.
HRESULT VariantToWorksheetValue(const VARIANT& variant, WorksheetValue* value, char* text, size_t size) {
  *value = WorksheetValue{};
  VariantScalar scalar;
  if (!VariantToScalar(variant, &scalar)) return E_INVALIDARG;
  if (scalar.error != kErrorNone) {
    value->kind = kWorksheetError;
    value->error = static_cast<uint8_t>(scalar.error / kErrorCodeStep);
  } else if (scalar.kind == kEvalNumber) {
    value->kind = kWorksheetNumber;
    value->number = scalar.number;
  } else if (scalar.kind == kEvalText && size > 0) {
    const size_t length = std::min(std::strlen(scalar.text), size - 1);
    std::memcpy(text, scalar.text, length);
    text[length] = '\0';
    value->kind = kWorksheetText;
    value->text = text;
    value->length = static_cast<uint16_t>(length);
  }
  return S_OK;
}

HRESULT WorksheetValueToVariant(const WorksheetValue& value, VARIANT* out) {
  VariantInit(out);
  switch (value.kind) {
    case kWorksheetNumber:
      V_VT(out) = VT_R8;
      V_R8(out) = value.number;
      return S_OK;
    case kWorksheetError:
      V_VT(out) = VT_UI1;
      V_UI1(out) = value.error;
      return S_OK;
    case kWorksheetText: {
      char text[kValueTextCharacters + 1];
      const size_t length = value.length < kValueTextCharacters ? value.length : kValueTextCharacters;
      std::memcpy(text, value.text, length);
      text[length] = '\0';
      BSTR string = AnsiToBstr(text, kValueTextCharacters);
      if (string == nullptr) return E_OUTOFMEMORY;
      V_VT(out) = VT_BSTR;
      V_BSTR(out) = string;
      return S_OK;
    }
    default:
      return S_OK;
  }
}
