#include "functions/variant_to_eval_value_win32.h"

#include <cstdio>
#include <cstring>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "core/cells/cell_record.h"
#include "core/eval/eval_array_builder.h"
#include "platform/com/bstr_text_win32.h"

namespace {

// References to references are followed this deep; a longer chain, a loop
// among them included, gives no value.
constexpr int kMaxReferenceDepth = 16;

uint8_t LargerError(uint8_t a, uint8_t b) { return a > b ? a : b; }

// A scalar's value before it becomes an operand or a cell.
struct ScalarValue : VariantScalar {
  void Reset() {
    kind = kEvalEmpty;
    number = 0;
    error = kErrorNone;
    text[0] = '\0';
  }
  void SetNumber(double x) {
    kind = kEvalNumber;
    number = IsBadNumber(x) ? 0 : x;
    if (IsBadNumber(x)) error = kErrorNum;
  }
};

// The variant a chain of VT_VARIANT references ends at; null when it does
// not end.
const VARIANT* Referenced(const VARIANT* variant) {
  for (int depth = 0; V_VT(variant) == (VT_BYREF | VT_VARIANT); ++depth) {
    if (depth == kMaxReferenceDepth || V_VARIANTREF(variant) == nullptr) return nullptr;
    variant = V_VARIANTREF(variant);
  }
  return variant;
}

void ReadDate(DATE date, ScalarValue* out) {
  SYSTEMTIME time;
  if (!VariantTimeToSystemTime(date, &time)) {
    out->error = kErrorValue;
    return;
  }
  std::snprintf(out->text, sizeof out->text, "%04d-%02d-%02d", time.wYear, time.wMonth, time.wDay);
  out->kind = kEvalText;
}

// A variant that is neither an array nor a reference.
void ReadScalar(const VARIANT& variant, ScalarValue* out) {
  out->Reset();
  double number = 0;
  switch (V_VT(&variant) & VT_TYPEMASK) {
    case VT_I1: out->SetNumber(static_cast<signed char>(V_I1(&variant))); break;
    case VT_I2: out->SetNumber(V_I2(&variant)); break;
    case VT_I4: out->SetNumber(V_I4(&variant)); break;
    case VT_INT: out->SetNumber(V_INT(&variant)); break;
    case VT_UI2: out->SetNumber(V_UI2(&variant)); break;
    case VT_UI4: out->SetNumber(V_UI4(&variant)); break;
    case VT_R4: out->SetNumber(V_R4(&variant)); break;
    case VT_R8: out->SetNumber(V_R8(&variant)); break;
    case VT_CY:
      if (SUCCEEDED(VarR8FromCy(V_CY(&variant), &number))) out->SetNumber(number);
      else out->error = kErrorValue;
      break;
    case VT_DECIMAL: {
      DECIMAL decimal = V_DECIMAL(&variant);
      if (SUCCEEDED(VarR8FromDec(&decimal, &number))) out->SetNumber(number);
      else out->error = kErrorValue;
      break;
    }
    case VT_BOOL: out->SetNumber(V_BOOL(&variant) == VARIANT_TRUE ? 1 : 0); break;
    case VT_UI1:
      // The byte is a cell error's table index.
      out->SetNumber(0);
      out->error = V_UI1(&variant) <= kErrorCodeCount ? uint8_t(V_UI1(&variant) * kErrorCodeStep)
                                                       : uint8_t(kErrorValue);
      break;
    case VT_DATE: ReadDate(V_DATE(&variant), out); break;
    case VT_BSTR:
      BstrToAnsi(V_BSTR(&variant), out->text, sizeof out->text);
      out->kind = kEvalText;
      break;
    default: break;
  }
}

// The same for any variant but an array: a reference is read through a copy
// of what it points to.
void ReadScalarThroughReference(const VARIANT& variant, ScalarValue* out) {
  if ((V_VT(&variant) & VT_BYREF) == 0) {
    ReadScalar(variant, out);
    return;
  }
  out->Reset();
  VARIANT copy;
  VariantInit(&copy);
  // The copy only reads what the reference points to.
  if (SUCCEEDED(VariantCopyInd(&copy, const_cast<VARIANT*>(&variant))) &&
      (V_VT(&copy) & (VT_ARRAY | VT_BYREF)) == 0)
    ReadScalar(copy, out);
  VariantClear(&copy);
}

// The size of an element of an array of the type, for the types whose
// elements are read; 0 for the others, whose elements have no value.
UINT ReadableElementSize(VARTYPE type) {
  switch (type) {
    case VT_I1: case VT_UI1: return 1;
    case VT_I2: case VT_UI2: case VT_BOOL: return 2;
    case VT_I4: case VT_UI4: case VT_INT: case VT_R4: return 4;
    case VT_R8: case VT_CY: case VT_DATE: return 8;
    case VT_BSTR: return sizeof(BSTR);
    case VT_DECIMAL: return sizeof(DECIMAL);
    case VT_VARIANT: return sizeof(VARIANT);
    default: return 0;
  }
}

// The elements of an array, each read into a variant of its own type. An
// array whose elements are not of the size their type has cannot be read:
// reading would overrun the variant.
class ElementReader {
 public:
  ElementReader(SAFEARRAY* array, VARTYPE type)
      : array_(array), type_(type),
        readable_(ReadableElementSize(type) != 0 && SafeArrayGetElemsize(array) == ReadableElementSize(type)) {}

  void Read(LONG* indices, ScalarValue* out) {
    out->Reset();
    VARIANT element;
    VariantInit(&element);
    if (Fetch(indices, &element)) {
      const VARIANT* target = Referenced(&element);
      if (target && (V_VT(target) & VT_ARRAY) == 0) ReadScalarThroughReference(*target, out);
    }
    if (out->kind == kEvalEmpty) out->error = LargerError(out->error, kErrorValue);
    VariantClear(&element);
  }

 private:
  bool Fetch(LONG* indices, VARIANT* element) {
    if (!readable_) return false;
    if (type_ == VT_VARIANT) return SUCCEEDED(SafeArrayGetElement(array_, indices, element));
    if (type_ == VT_DECIMAL) {
      DECIMAL decimal;
      if (FAILED(SafeArrayGetElement(array_, indices, &decimal))) return false;
      V_DECIMAL(element) = decimal;
    } else if (FAILED(SafeArrayGetElement(array_, indices, &V_UI1(element)))) {
      return false;
    }
    // Set last: a decimal's value covers the type field.
    V_VT(element) = type_;
    return true;
  }

  SAFEARRAY* array_;
  VARTYPE type_;
  bool readable_;
};

void AddElementCell(ArrayBuilder& builder, uint32_t column, uint32_t row, const ScalarValue& element) {
  if (element.kind == kEvalText)
    builder.AddText(column, row, element.text, std::strlen(element.text), element.error);
  else
    builder.AddNumber(column, row, element.number, element.error);
}

void SetEmpty(EvalValue& value, uint32_t error) {
  value.Clear();
  value.kind = kEvalEmpty;
  value.error = error;
}

void ArrayToValue(SAFEARRAY* array, VARTYPE elementType, EvalValue& value, EvalState& state) {
  SetEmpty(value, kErrorNone);
  if (array == nullptr) return;
  const UINT dimensions = SafeArrayGetDim(array);
  LONG firstRow = 0, lastRow = -1, firstColumn = 0, lastColumn = 0;
  if (dimensions < 1 || dimensions > 2 || FAILED(SafeArrayGetLBound(array, 1, &firstRow)) ||
      FAILED(SafeArrayGetUBound(array, 1, &lastRow)) ||
      (dimensions == 2 &&
       (FAILED(SafeArrayGetLBound(array, 2, &firstColumn)) || FAILED(SafeArrayGetUBound(array, 2, &lastColumn))))) {
    SetEmpty(value, kErrorRef);
    return;
  }
  const int64_t rows = int64_t(lastRow) - firstRow + 1;
  const int64_t columns = int64_t(lastColumn) - firstColumn + 1;
  if (rows > int64_t(kRowCount) || columns > int64_t(kColumnCount)) {
    SetEmpty(value, kErrorRef);
    return;
  }
  if (rows <= 0 || columns <= 0) return;

  ElementReader reader(array, elementType);
  ArrayBuilder builder(state.arrays, &state.arrayElementsLeft);
  ScalarValue element;
  for (int64_t row = 0; row < rows && !builder.Failed(); ++row) {
    for (int64_t column = 0; column < columns && !builder.Failed(); ++column) {
      LONG indices[2] = {LONG(firstRow + row), LONG(firstColumn + column)};
      reader.Read(indices, &element);
      AddElementCell(builder, uint32_t(column), uint32_t(row), element);
    }
  }
  const bool failed = builder.Failed();
  CellBlock* chain = builder.Finish();
  if (failed) {
    SetEmpty(value, kErrorMemory);
    return;
  }
  if (!state.arrays.PushChain(chain)) {
    state.arrays.ReleaseChain(chain);
    SetEmpty(value, kErrorValue);
    return;
  }
  value.SetArray(uint32_t(columns), uint32_t(rows));
}

}  // namespace

void VariantToEvalValue(const VARIANT& variant, EvalValue& value, EvalState& state) {
  SetEmpty(value, kErrorNone);
  const VARIANT* target = Referenced(&variant);
  if (target == nullptr) return;
  const VARTYPE type = V_VT(target);
  if (type & VT_ARRAY) {
    SAFEARRAY* array = V_ARRAY(target);
    if (type & VT_BYREF) array = V_ARRAYREF(target) != nullptr ? *V_ARRAYREF(target) : nullptr;
    ArrayToValue(array, VARTYPE(type & VT_TYPEMASK), value, state);
    return;
  }
  ScalarValue scalar;
  ReadScalarThroughReference(*target, &scalar);
  value.error = scalar.error;
  if (scalar.kind != kEvalText) {
    value.kind = scalar.kind;
    value.number = scalar.number;
    return;
  }
  if (state.strings.PushSz(scalar.text)) {
    value.kind = kEvalText;
  } else {
    value.error = LargerError(scalar.error, kErrorValue);
  }
}

bool VariantToScalar(const VARIANT& variant, VariantScalar* out) {
  ScalarValue scalar;
  scalar.Reset();
  const VARIANT* target = Referenced(&variant);
  if (target != nullptr) {
    if (V_VT(target) & VT_ARRAY) return false;
    ReadScalarThroughReference(*target, &scalar);
  }
  *out = scalar;
  return true;
}
