// Variants as formula values: every scalar type, references, arrays of
// variants and of plain types, and what cannot be converted.

#include "functions/variant_to_eval_value_win32.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/base/error_code.h"
#include "core/numfmt/double_to_text.h"
#include "tests/core/eval_test_cells.h"

namespace {

// The value as one text: a number as DoubleToText writes it, a text in
// double quotes, an array as a stored-form constant, an error by its name,
// "empty" for an empty value.
std::string Converted(const VARIANT& variant) {
  EvalState state;
  EvalValue value;
  VariantToEvalValue(variant, value, state);
  if (value.kind == kEvalArray) {
    EXPECT_EQ(value.error, 0u);
    return TopArrayText(state, value);
  }
  EXPECT_EQ(state.strings.Count(), value.kind == kEvalText ? 1 : 0);
  if (value.error != kErrorNone) return ErrorName(static_cast<uint8_t>(value.error));
  if (value.kind == kEvalText) return "\"" + std::string(state.strings.Top()) + "\"";
  if (value.kind == kEvalEmpty) return "empty";
  char number[64];
  DoubleToText(value.number, number, sizeof number, nullptr);
  return number;
}

VARIANT Made(VARTYPE type, const std::function<void(VARIANT&)>& fill) {
  VARIANT v;
  VariantInit(&v);
  fill(v);
  V_VT(&v) = type;
  return v;
}

DATE Date(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
  SYSTEMTIME time = {year, month, 0, day, hour, minute, 0, 0};
  DATE date = 0;
  SystemTimeToVariantTime(&time, &date);
  return date;
}

TEST(VariantToEvalValue, ScalarsOfEveryType) {
  double r8 = 6.5;
  VARIANT inner = Made(VT_R8, [](VARIANT& v) { V_R8(&v) = -3; });
  VARIANT loop;
  VariantInit(&loop);
  V_VT(&loop) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&loop) = &loop;
  const struct {
    VARIANT variant;
    const char* expected;
  } cases[] = {
      {Made(VT_I1, [](VARIANT& v) { V_I1(&v) = -5; }), "-5"},
      {Made(VT_I2, [](VARIANT& v) { V_I2(&v) = -300; }), "-300"},
      {Made(VT_I4, [](VARIANT& v) { V_I4(&v) = -70000; }), "-70000"},
      {Made(VT_INT, [](VARIANT& v) { V_INT(&v) = 12; }), "12"},
      {Made(VT_UI2, [](VARIANT& v) { V_UI2(&v) = 65535; }), "65535"},
      {Made(VT_UI4, [](VARIANT& v) { V_UI4(&v) = 4000000000u; }), "4000000000"},
      {Made(VT_R4, [](VARIANT& v) { V_R4(&v) = 1.5f; }), "1.5"},
      {Made(VT_R8, [](VARIANT& v) { V_R8(&v) = 1e300 * 1e300; }), "#NUM!"},
      {Made(VT_CY, [](VARIANT& v) { V_CY(&v).int64 = 123456; }), "12.3456"},
      {Made(VT_CY, [](VARIANT& v) { V_CY(&v).int64 = -5; }), "-0.0005"},
      {Made(VT_DECIMAL, [](VARIANT& v) { VarDecFromR8(-7.25, &V_DECIMAL(&v)); }), "-7.25"},
      {Made(VT_BOOL, [](VARIANT& v) { V_BOOL(&v) = VARIANT_TRUE; }), "1"},
      {Made(VT_BOOL, [](VARIANT& v) { V_BOOL(&v) = 1; }), "0"},
      {Made(VT_UI1, [](VARIANT& v) { V_UI1(&v) = 4; }), "#N/A!"},
      {Made(VT_UI1, [](VARIANT& v) { V_UI1(&v) = 1; }), "#DIV/0!"},
      {Made(VT_UI1, [](VARIANT& v) { V_UI1(&v) = 0; }), "0"},
      {Made(VT_UI1, [](VARIANT& v) { V_UI1(&v) = 13; }), "#VALUE!"},
      {Made(VT_UI1, [](VARIANT& v) { V_UI1(&v) = 200; }), "#VALUE!"},
      {Made(VT_DATE, [](VARIANT& v) { V_DATE(&v) = Date(2005, 12, 1, 18, 30); }), "\"2005-12-01\""},
      {Made(VT_DATE, [](VARIANT& v) { V_DATE(&v) = Date(1899, 12, 29, 6, 0); }), "\"1899-12-29\""},
      {Made(VT_DATE, [](VARIANT& v) { V_DATE(&v) = 1e10; }), "#VALUE!"},
      {Made(VT_BSTR, [](VARIANT& v) { V_BSTR(&v) = SysAllocString(L"abc"); }), "\"abc\""},
      {Made(VT_BSTR, [](VARIANT& v) { V_BSTR(&v) = nullptr; }), "\"\""},
      {Made(VT_EMPTY, [](VARIANT&) {}), "empty"},
      {Made(VT_NULL, [](VARIANT&) {}), "empty"},
      {Made(VT_I8, [](VARIANT& v) { V_I8(&v) = 7; }), "empty"},
      {Made(VT_BYREF | VT_R8, [&r8](VARIANT& v) { V_R8REF(&v) = &r8; }), "6.5"},
      {Made(VT_BYREF | VT_VARIANT, [&inner](VARIANT& v) { V_VARIANTREF(&v) = &inner; }), "-3"},
      {loop, "empty"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Converted(c.variant), c.expected) << "type " << V_VT(&c.variant);
    VARIANT owned = c.variant;
    if ((V_VT(&owned) & VT_BYREF) == 0) VariantClear(&owned);
  }
}

TEST(VariantToEvalValue, LongTextsStopAt1024Characters) {
  std::wstring wide(2000, L'w');
  VARIANT text = Made(VT_BSTR, [&wide](VARIANT& v) { V_BSTR(&v) = SysAllocString(wide.c_str()); });
  EXPECT_EQ(Converted(text), "\"" + std::string(1024, 'w') + "\"");
  // A full text pool takes no more text.
  EvalState state;
  for (int i = 0; i < FormulaStrings::kStringCapacity; ++i) ASSERT_TRUE(state.strings.PushSz("x"));
  EvalValue value;
  VariantToEvalValue(text, value, state);
  EXPECT_EQ(value.kind, kEvalEmpty);
  EXPECT_EQ(value.error, kErrorValue);
  VariantClear(&text);
}

SAFEARRAY* VariantMatrix(LONG rows, LONG rowFrom, LONG columns, LONG columnFrom) {
  SAFEARRAYBOUND bounds[2] = {{ULONG(rows), rowFrom}, {ULONG(columns), columnFrom}};
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
  for (LONG r = 0; r < rows; ++r) {
    for (LONG c = 0; c < columns; ++c) {
      LONG indices[2] = {rowFrom + r, columnFrom + c};
      VARIANT element = Made(VT_R8, [r, c](VARIANT& v) { V_R8(&v) = 10 * (r + 1) + c + 1; });
      if (r == 1 && c == 0) element = Made(VT_BSTR, [](VARIANT& v) { V_BSTR(&v) = SysAllocString(L"t"); });
      if (r == 1 && c == 1) element = Made(VT_EMPTY, [](VARIANT&) {});
      if (r == 2 && c == 1) element = Made(VT_UI1, [](VARIANT& v) { V_UI1(&v) = 4; });
      SafeArrayPutElement(array, indices, &element);
      VariantClear(&element);
    }
  }
  return array;
}

TEST(VariantToEvalValue, ArraysRunRowsOverTheFirstDimension) {
  SAFEARRAY* doubles = SafeArrayCreateVector(VT_R8, -1, 3);
  for (LONG i = -1; i <= 1; ++i) {
    double x = i + 0.5;
    SafeArrayPutElement(doubles, &i, &x);
  }
  SAFEARRAY* wide = SafeArrayCreateVector(VT_I8, 0, 2);
  SAFEARRAYBOUND cube[3] = {{2, 0}, {2, 0}, {2, 0}};
  SAFEARRAYBOUND wider[2] = {{1, 0}, {2048, 0}};
  SAFEARRAY* widerArray = SafeArrayCreate(VT_VARIANT, 2, wider);
  SAFEARRAY* matrix = VariantMatrix(3, 5, 2, -2);
  SAFEARRAY* empty = SafeArrayCreateVector(VT_VARIANT, 0, 0);
  const struct {
    VARTYPE type;
    SAFEARRAY* array;
    const char* expected;
  } cases[] = {
      {VT_VARIANT, matrix, "{11, 12; \"t\", #VALUE!; 31, #N/A!}"},
      {VT_R8, doubles, "{-0.5; 0.5; 1.5}"},
      // Elements of a type without a value are not read.
      {VT_I8, wide, "{#VALUE!; #VALUE!}"},
      {VT_VARIANT, SafeArrayCreate(VT_VARIANT, 3, cube), "#REF!"},
      {VT_VARIANT, widerArray, "#REF!"},
      {VT_VARIANT, empty, "empty"},
      {VT_VARIANT, nullptr, "empty"},
  };
  for (const auto& c : cases) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_ARRAY | c.type;
    V_ARRAY(&v) = c.array;
    EXPECT_EQ(Converted(v), c.expected) << c.type;
    // A reference to the array reads the same.
    VARIANT reference;
    VariantInit(&reference);
    V_VT(&reference) = VT_BYREF | VT_ARRAY | c.type;
    SAFEARRAY* array = c.array;
    V_ARRAYREF(&reference) = &array;
    EXPECT_EQ(Converted(reference), c.expected) << c.type;
    if (c.array) SafeArrayDestroy(c.array);
  }
  // A variant that claims elements of another size is not read either.
  SAFEARRAY* shorts = SafeArrayCreateVector(VT_I2, 0, 2);
  VARIANT mismatched;
  VariantInit(&mismatched);
  V_VT(&mismatched) = VT_ARRAY | VT_R8;
  V_ARRAY(&mismatched) = shorts;
  EXPECT_EQ(Converted(mismatched), "{#VALUE!; #VALUE!}");
  SafeArrayDestroy(shorts);
}

}  // namespace
