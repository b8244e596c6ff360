// The Workbook object as a C++ client in another process meets it: cell
// arguments, values and arrays carried across the process boundary, errors
// with their texts, and printing without a printer. The VBScript client of
// scripts/worksheet.vbs covers formulas, formats and files.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/startup/program_process.h"
#include "automation/talver.h"
#include "services/messages/error_text.h"
#include "tests/view/printing/test_printer_win32.h"

namespace {

struct Text {
  explicit Text(const char* text) {
    const std::string narrow(text);
    bstr = SysAllocString(std::wstring(narrow.begin(), narrow.end()).c_str());
  }
  ~Text() { SysFreeString(bstr); }
  operator BSTR() const { return bstr; }
  BSTR bstr;
};

std::string Narrow(BSTR text) {
  std::string narrow;
  for (UINT i = 0; text != nullptr && i < SysStringLen(text); ++i) narrow += static_cast<char>(text[i]);
  return narrow;
}

VARIANT Value(VARTYPE type, double number) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = type;
  if (type == VT_R8) V_R8(&value) = number;
  if (type == VT_UI1) V_UI1(&value) = static_cast<BYTE>(number);
  if (type == VT_DATE) V_DATE(&value) = number;
  return value;
}

// What a call by name failed with: its exception's code and description.
struct Failure {
  HRESULT scode;
  std::string description;
};

Failure InvokeByName(IDispatch* object, const wchar_t* member, VARIANT* argumentsLastFirst, UINT count) {
  LPOLESTR name = const_cast<LPOLESTR>(member);
  DISPID id = 0;
  if (FAILED(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) return {E_FAIL, "no member"};
  DISPPARAMS params = {argumentsLastFirst, nullptr, count, 0};
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO exception = {};
  const HRESULT invoked =
      object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, &exception, nullptr);
  VariantClear(&result);
  const Failure failure = {invoked == DISP_E_EXCEPTION ? exception.scode : invoked,
                           Narrow(exception.bstrDescription)};
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return failure;
}

class WorksheetClient : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CoInitialize(nullptr);
    ASSERT_EQ(program_process::RunCommand("\"" + program_process::ProgramPath() + "\" /RegServer"), 0u);
  }
  static void TearDownTestSuite() { CoUninitialize(); }
  void SetUp() override {
    ASSERT_EQ(CoCreateInstance(CLSID_Workbook, nullptr, CLSCTX_LOCAL_SERVER, IID_IWorksheet,
                               reinterpret_cast<void**>(&book)),
              S_OK);
    ASSERT_EQ(book->NewDocument(), S_OK);
  }
  void TearDown() override {
    if (book != nullptr) book->Release();
  }
  // The value of a cell as "type:value".
  std::string At(const char* cell) {
    VARIANT value;
    VariantInit(&value);
    if (book->GetValue(Text(cell), &value) != S_OK) return "refused";
    std::string shown = std::to_string(V_VT(&value)) + ":";
    if (V_VT(&value) == VT_R8) shown += std::to_string(static_cast<int>(V_R8(&value)));
    if (V_VT(&value) == VT_UI1) shown += std::to_string(V_UI1(&value));
    if (V_VT(&value) == VT_BSTR) shown += Narrow(V_BSTR(&value));
    VariantClear(&value);
    return shown;
  }

  IWorksheet* book = nullptr;
};

TEST_F(WorksheetClient, ValuesFillAbsoluteRangesAndRefusalsChangeNothing) {
  const std::string five = std::to_string(VT_R8) + ":5", empty = std::to_string(VT_EMPTY) + ":";
  ASSERT_EQ(book->PutValue(Text("$A$1:$B$2"), Value(VT_R8, 5)), S_OK);
  for (const char* cell : {"$A$1", "$A$2", "$B$1", "$B$2"}) EXPECT_EQ(At(cell), five) << cell;
  EXPECT_EQ(At("$A$1:$B$2"), std::to_string(VT_BSTR) + ":{5, 5; 5, 5}");
  for (const char* refused : {"B2", "$B$2:$C", "$B2", "", "$B$2 x"}) {
    EXPECT_EQ(At(refused), "refused") << refused;
    EXPECT_EQ(book->PutValue(Text(refused), Value(VT_R8, 1)), E_INVALIDARG) << refused;
  }
  // Values convert as RTD and UDF convert what they receive: a date is the
  // ISO text of its day, true is 1, a byte past the errors "#VALUE!" (7).
  ASSERT_EQ(book->PutValue(Text("$A$1:$B$2"), Value(VT_DATE, 40000)), S_OK);
  EXPECT_EQ(At("$B$2"), std::to_string(VT_BSTR) + ":2009-07-06");
  VARIANT truth = Value(VT_BOOL, 0);
  V_BOOL(&truth) = VARIANT_TRUE;
  ASSERT_EQ(book->PutValue(Text("$A$1"), truth), S_OK);
  EXPECT_EQ(At("$A$1"), std::to_string(VT_R8) + ":1");
  ASSERT_EQ(book->PutValue(Text("$A$1"), Value(VT_UI1, 13)), S_OK);
  EXPECT_EQ(At("$A$1"), std::to_string(VT_UI1) + ":7");
  // An array is no single value: refused, the range as it was.
  SAFEARRAYBOUND extent = {2, 0};
  VARIANT array;
  V_VT(&array) = VT_ARRAY | VT_R8;
  V_ARRAY(&array) = SafeArrayCreate(VT_R8, 1, &extent);
  EXPECT_EQ(book->PutValue(Text("$A$1:$B$2"), array), E_INVALIDARG);
  VariantClear(&array);
  EXPECT_EQ(At("$B$2"), std::to_string(VT_BSTR) + ":2009-07-06");
  ASSERT_EQ(book->PutValue(Text("$C$3"), Value(VT_UI1, 7)), S_OK);
  EXPECT_EQ(At("$C$3"), std::to_string(VT_UI1) + ":7");
  ASSERT_EQ(book->PutValue(Text("$A$1:$B$2"), Value(VT_EMPTY, 0)), S_OK);
  EXPECT_EQ(At("$A$1"), empty);
  EXPECT_EQ(At("$B$2"), empty);
}

TEST_F(WorksheetClient, RangesTravelAsArraysRowsFirst) {
  ASSERT_EQ(book->PutValue(Text("$C$2"), Value(VT_R8, 9)), S_OK);
  SAFEARRAY* values = nullptr;
  ASSERT_EQ(book->GetRange(Text("$A$1:$C$2"), &values), S_OK);
  LONG upperRow = 0, upperColumn = 0;
  SafeArrayGetUBound(values, 1, &upperRow);
  SafeArrayGetUBound(values, 2, &upperColumn);
  EXPECT_EQ(upperRow, 1);
  EXPECT_EQ(upperColumn, 2);
  LONG last[2] = {1, 2}, first[2] = {0, 0};
  VARIANT element;
  ASSERT_EQ(SafeArrayGetElement(values, last, &element), S_OK);
  EXPECT_EQ(V_R8(&element), 9.0);
  SafeArrayGetElement(values, first, &element);
  EXPECT_EQ(V_VT(&element), VT_EMPTY);
  SafeArrayDestroy(values);

  SAFEARRAYBOUND extents[2] = {{1, 0}, {2, 0}};
  SAFEARRAY* texts = SafeArrayCreate(VT_VARIANT, 2, extents);
  const wchar_t* words[] = {L"north", L"south"};
  for (LONG column = 0; column < 2; ++column) {
    VARIANT word;
    V_VT(&word) = VT_BSTR;
    V_BSTR(&word) = SysAllocString(words[column]);
    LONG index[2] = {0, column};
    SafeArrayPutElement(texts, index, &word);
    VariantClear(&word);
  }
  ASSERT_EQ(book->PutRange(Text("$A$5:$C$5"), texts), S_OK);
  EXPECT_EQ(At("$A$5"), std::to_string(VT_BSTR) + ":north");
  EXPECT_EQ(At("$B$5"), std::to_string(VT_BSTR) + ":south");
  // An element no cell takes (an array) refuses the whole array.
  SAFEARRAYBOUND inner = {1, 0};
  VARIANT nested;
  V_VT(&nested) = VT_ARRAY | VT_R8;
  V_ARRAY(&nested) = SafeArrayCreate(VT_R8, 1, &inner);
  LONG second[2] = {0, 1};
  SafeArrayPutElement(texts, second, &nested);
  VariantClear(&nested);
  EXPECT_EQ(book->PutRange(Text("$A$6:$B$6"), texts), E_INVALIDARG);
  EXPECT_EQ(At("$A$6"), std::to_string(VT_EMPTY) + ":");
  SafeArrayDestroy(texts);
}

// Wine carries no error information across processes with a call through
// the vtable: the text comes with the exception of a call by name, and what
// an earlier call left behind stays out of a later one's exception.
TEST_F(WorksheetClient, AMissingFileIsErrorThirtyFourWithItsText) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string missing = std::string(folder) + "talvero_no_such_file.tlv";
  ASSERT_EQ(book->PutValue(Text("$A$1"), Value(VT_R8, 1)), S_OK);
  EXPECT_EQ(book->Load(Text(missing.c_str()), nullptr, 0, nullptr, nullptr), static_cast<HRESULT>(0x80040022));
  VARIANT cell;
  V_VT(&cell) = VT_BSTR;
  V_BSTR(&cell) = SysAllocString(L"B2");
  const Failure refused = InvokeByName(book, L"GetValue", &cell, 1);
  VariantClear(&cell);
  EXPECT_EQ(refused.scode, E_INVALIDARG);
  EXPECT_NE(refused.description, GetErrorText(34));

  VARIANT arguments[5];
  for (VARIANT& argument : arguments) VariantInit(&argument);
  V_VT(&arguments[4]) = VT_BSTR;
  V_BSTR(&arguments[4]) = SysAllocString(Text(missing.c_str()));
  V_VT(&arguments[3]) = VT_BSTR;
  V_VT(&arguments[2]) = VT_I4;
  V_VT(&arguments[1]) = V_VT(&arguments[0]) = VT_DISPATCH;
  const Failure missed = InvokeByName(book, L"Load", arguments, 5);
  for (VARIANT& argument : arguments) VariantClear(&argument);
  EXPECT_EQ(missed.scode, static_cast<HRESULT>(0x80040022));
  EXPECT_EQ(missed.description, GetErrorText(34));
  // A format that is none loads nothing and keeps the document.
  EXPECT_EQ(book->Load(Text(missing.c_str()), nullptr, 7, nullptr, nullptr), S_OK);
  EXPECT_EQ(At("$A$1"), std::to_string(VT_R8) + ":1");
}

TEST_F(WorksheetClient, WithoutAPrinterNothingIsPrintedButPageSettingsTravel) {
  NoDefaultPrinter none;
  ASSERT_EQ(book->PutValue(Text("$A$1"), Value(VT_R8, 1)), S_OK);
  EXPECT_EQ(book->PrintAll(), S_FALSE);
  EXPECT_EQ(book->PrintRange(Text("$A$1:$B$2")), S_FALSE);
  IPageInfo* page = nullptr;
  ASSERT_EQ(book->CreatePageInfo(&page), S_OK);
  page->SetMargins(30, 20, 10, 5);
  ASSERT_EQ(book->SetPageSettings(page), S_OK);
  page->SetMargins(0, 0, 0, 0);
  ASSERT_EQ(book->GetPageSettings(page), S_OK);
  double left = 0, top = 0, right = 0, bottom = 0;
  page->GetMargins(&left, &top, &right, &bottom);
  EXPECT_EQ(left, 30.0);
  EXPECT_EQ(bottom, 5.0);
  page->Release();
}

// A client renames worksheet Data, which Worksheet1's A1 reads, to the
// name of its sibling Other in either letter case: refused with the code
// and text the window gives, and the formula goes on reading Data, not
// Other. The window's other rules hold for a client as well: a backslash
// is refused, blanks around a name are cut and blanks alone are no name,
// and a name the formula naming the worksheet could not be rewritten to is
// refused. A free name is taken and followed by the formula.
TEST_F(WorksheetClient, ARenameToASiblingsNameIsRefusedAndNoFormulaChangesItsWorksheet) {
  ITree* tree = nullptr;
  ASSERT_EQ(book->QueryInterface(IID_ITree, reinterpret_cast<void**>(&tree)), S_OK);
  BSTR first = nullptr;
  ASSERT_EQ(tree->GetItemPath(0, &first), S_OK);
  const std::string worksheet1 = Narrow(first);
  SysFreeString(first);
  int index = -1;
  ASSERT_EQ(tree->InsertItem(-1, TREE_TYPE_WORKSHEET, Text("Data"), &index), S_OK);
  ASSERT_EQ(index, 1);
  ASSERT_EQ(tree->InsertItem(-1, TREE_TYPE_WORKSHEET, Text("Other"), &index), S_OK);
  ASSERT_EQ(tree->SetActiveWorksheet(Text("\\Data")), S_OK);
  ASSERT_EQ(book->PutValue(Text("$A$1"), Value(VT_R8, 99)), S_OK);
  ASSERT_EQ(tree->SetActiveWorksheet(Text("\\Other")), S_OK);
  ASSERT_EQ(book->PutValue(Text("$A$1"), Value(VT_R8, 2)), S_OK);
  ASSERT_EQ(tree->SetActiveWorksheet(Text(worksheet1.c_str())), S_OK);
  ASSERT_EQ(book->PutFormula(Text("$A$1"), Text("=Data!A1")), S_OK);
  std::string eight = "=";
  for (int i = 0; i < 8; ++i) eight += std::string(i ? "+" : "") + "\\Data!A1";
  ASSERT_EQ(book->PutFormula(Text("$B$1"), Text(eight.c_str())), S_OK);
  const auto name = [&]() {
    BSTR text = nullptr;
    EXPECT_EQ(tree->GetItemName(1, &text), S_OK);
    const std::string narrow = Narrow(text);
    SysFreeString(text);
    return narrow;
  };
  const auto reads = [&]() {
    EXPECT_EQ(tree->UpdateWorkbook(), S_OK);
    return At("$A$1") + " " + At("$B$1");
  };
  const std::string ninetyNine = std::to_string(VT_R8) + ":99 " + std::to_string(VT_R8) + ":792";
  ASSERT_EQ(reads(), ninetyNine);

  const struct {
    std::string name;
    uint8_t code;
  } refusals[] = {
      {"Other", 67}, {"OTHER", 67}, {"  other ", 67}, {"a\\b", 68}, {"it's \"x\"", 69},
      {std::string(127, 'M'), 63},
  };
  for (const auto& c : refusals) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(tree->SetItemName(1, Text(c.name.c_str())), static_cast<HRESULT>(0x80040000 + c.code));
    // A script client's call by name raises the code with its text.
    VARIANT arguments[2];
    V_VT(&arguments[0]) = VT_BSTR;
    V_BSTR(&arguments[0]) = SysAllocString(Text(c.name.c_str()));
    V_VT(&arguments[1]) = VT_I4;
    V_I4(&arguments[1]) = 1;
    const Failure refused = InvokeByName(tree, L"SetItemName", arguments, 2);
    VariantClear(&arguments[0]);
    EXPECT_EQ(refused.scode, static_cast<HRESULT>(0x80040000 + c.code));
    EXPECT_EQ(refused.description, GetErrorText(c.code));
    EXPECT_EQ(name(), "Data");
    EXPECT_EQ(reads(), ninetyNine);
  }
  EXPECT_EQ(tree->SetItemName(1, Text("   ")), E_INVALIDARG);
  EXPECT_EQ(name(), "Data");

  EXPECT_EQ(tree->SetItemName(1, Text("  Sales  ")), S_OK);
  EXPECT_EQ(name(), "Sales");
  EXPECT_EQ(reads(), ninetyNine);
  BSTR formula = nullptr;
  ASSERT_EQ(book->GetFormula(Text("$A$1"), &formula), S_OK);
  EXPECT_NE(Narrow(formula).find("\\Sales"), std::string::npos) << Narrow(formula);
  SysFreeString(formula);
  tree->Release();
}

}  // namespace
