#include "automation/objects/variant_value_win32.h"

#include <cstring>

#include "automation/objects/bstr_text_win32.h"

namespace {

// The longest text a client is given, in characters.
constexpr int kValueTextCharacters = 1025;

bool IsNumberType(VARTYPE type) {
  switch (type) {
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
    case VT_INT:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DECIMAL:
    case VT_BOOL:
      return true;
    default:
      return false;
  }
}

HRESULT ValueOf(const VARIANT& variant, WorksheetValue* value, char* text, size_t size) {
  const VARTYPE type = V_VT(&variant);
  if ((type & VT_ARRAY) != 0) return E_INVALIDARG;
  if (type == VT_EMPTY || type == VT_NULL) return S_OK;
  if (type == VT_UI1) {
    if (V_UI1(&variant) < kFirstClientError || V_UI1(&variant) > kLastClientError) return E_INVALIDARG;
    value->kind = kWorksheetError;
    value->error = V_UI1(&variant);
    return S_OK;
  }
  if (type == VT_BSTR) {
    BstrToAnsi(V_BSTR(&variant), text, size);
    value->kind = kWorksheetText;
    value->text = text;
    value->length = static_cast<uint16_t>(std::strlen(text));
    return S_OK;
  }
  if (!IsNumberType(type)) return E_INVALIDARG;
  VARIANT number;
  VariantInit(&number);
  if (FAILED(VariantChangeType(&number, const_cast<VARIANT*>(&variant), 0, VT_R8))) return E_INVALIDARG;
  value->kind = kWorksheetNumber;
  value->number = V_R8(&number);
  return S_OK;
}

}  // namespace

HRESULT VariantToWorksheetValue(const VARIANT& variant, WorksheetValue* value, char* text, size_t size) {
  *value = WorksheetValue{};
  // Script hosts hand their variables over by reference.
  VARIANT direct;
  VariantInit(&direct);
  if (FAILED(VariantCopyInd(&direct, const_cast<VARIANT*>(&variant)))) return E_INVALIDARG;
  const HRESULT converted = ValueOf(direct, value, text, size);
  VariantClear(&direct);
  return converted;
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
