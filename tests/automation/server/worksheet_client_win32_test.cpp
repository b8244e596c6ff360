// The Workbook object as another process meets it: a C++ client calling
// IWorksheet over the process boundary, and a VBScript client of the
// prefix's cscript (scripts/worksheet.vbs) calling it by name.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/startup/program_process.h"
#include "automation/talver.h"
#include "services/messages/error_text.h"
#include "tests/automation/server/script_client.h"
#include "tests/view/printing/test_printer_win32.h"

namespace {

using namespace program_process;
using namespace script_client;

std::string TemporaryPath(const std::string& name) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  return std::string(folder) + name;
}

struct Text {
  explicit Text(const std::string& text) {
    const std::wstring wide(text.begin(), text.end());
    bstr = SysAllocString(wide.c_str());
  }
  ~Text() { SysFreeString(bstr); }
  operator BSTR() const { return bstr; }
  BSTR bstr;
};

VARIANT Number(double number) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_R8;
  V_R8(&value) = number;
  return value;
}

std::string FileStart(const std::string& path, size_t count) {
  std::string bytes(count, '\0');
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return "";
  bytes.resize(std::fread(&bytes[0], 1, count, file));
  std::fclose(file);
  return bytes;
}

std::string Narrow(BSTR text) {
  std::string narrow;
  for (UINT i = 0; text != nullptr && i < SysStringLen(text); ++i) narrow += static_cast<char>(text[i]);
  return narrow;
}

class WorksheetClient : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CoInitialize(nullptr);
    ASSERT_EQ(RunCommand(Quoted(ProgramPath()) + " /RegServer"), 0u);
  }
  static void TearDownTestSuite() { CoUninitialize(); }

  void SetUp() override {
    book = NewBook();
    ASSERT_NE(book, nullptr);
  }
  void TearDown() override {
    if (book != nullptr) book->Release();
  }
  static IWorksheet* NewBook() {
    IWorksheet* created = nullptr;
    if (FAILED(CoCreateInstance(CLSID_Workbook, nullptr, CLSCTX_LOCAL_SERVER, IID_IWorksheet,
                                reinterpret_cast<void**>(&created))))
      return nullptr;
    if (FAILED(created->NewDocument())) {
      created->Release();
      return nullptr;
    }
    return created;
  }
  VARIANT Get(const char* cell) {
    VARIANT value;
    VariantInit(&value);
    EXPECT_EQ(book->GetValue(Text(cell), &value), S_OK) << cell;
    return value;
  }
  VARTYPE TypeOf(const char* cell) {
    VARIANT value = Get(cell);
    const VARTYPE type = V_VT(&value);
    VariantClear(&value);
    return type;
  }
  double NumberAt(const char* cell) {
    VARIANT value = Get(cell);
    const double number = V_VT(&value) == VT_R8 ? V_R8(&value) : -1;
    VariantClear(&value);
    return number;
  }
  std::string GetText(const char* cell) {
    VARIANT value = Get(cell);
    const std::string text = V_VT(&value) == VT_BSTR ? Narrow(V_BSTR(&value)) : "<not a text>";
    VariantClear(&value);
    return text;
  }

  IWorksheet* book = nullptr;
};

TEST_F(WorksheetClient, CellsAreNamedByAbsoluteReferencesOnly) {
  VARIANT value;
  VariantInit(&value);
  EXPECT_EQ(book->GetValue(Text("$B$2"), &value), S_OK);
  EXPECT_EQ(V_VT(&value), VT_EMPTY);
  for (const char* refused : {"B2", "$B$2:$C", "$B2", "", "$B$2 x"}) {
    EXPECT_EQ(book->GetValue(Text(refused), &value), E_INVALIDARG) << refused;
    EXPECT_EQ(book->PutValue(Text(refused), Number(1)), E_INVALIDARG) << refused;
  }
}

TEST_F(WorksheetClient, ValuesFillRangesAndEmptyClearsThem) {
  ASSERT_EQ(book->PutValue(Text("$A$1:$B$2"), Number(5)), S_OK);
  for (const char* cell : {"$A$1", "$A$2", "$B$1", "$B$2"}) {
    VARIANT value = Get(cell);
    EXPECT_EQ(V_VT(&value), VT_R8) << cell;
    EXPECT_EQ(V_R8(&value), 5.0) << cell;
  }
  EXPECT_EQ(GetText("$A$1:$B$2"), "{5, 5; 5, 5}");
  // A value no cell holds is refused with the cells as they were.
  VARIANT date;
  VariantInit(&date);
  V_VT(&date) = VT_DATE;
  V_DATE(&date) = 40000;
  EXPECT_EQ(book->PutValue(Text("$A$1:$B$2"), date), E_INVALIDARG);
  EXPECT_EQ(NumberAt("$B$2"), 5.0);
  VARIANT empty;
  VariantInit(&empty);
  ASSERT_EQ(book->PutValue(Text("$A$1:$B$2"), empty), S_OK);
  for (const char* cell : {"$A$1", "$B$2"}) EXPECT_EQ(TypeOf(cell), VT_EMPTY) << cell;
}

TEST_F(WorksheetClient, ErrorCodesRoundTripAsBytes) {
  VARIANT error;
  VariantInit(&error);
  V_VT(&error) = VT_UI1;
  V_UI1(&error) = 7;
  ASSERT_EQ(book->PutValue(Text("$C$3"), error), S_OK);
  VARIANT value = Get("$C$3");
  EXPECT_EQ(V_VT(&value), VT_UI1);
  EXPECT_EQ(V_UI1(&value), 7);
  EXPECT_EQ(GetText("$C$3:$C$4"), "{#VALUE!; }");
  for (BYTE code : {0, 13}) {
    V_UI1(&error) = code;
    EXPECT_EQ(book->PutValue(Text("$C$3"), error), E_INVALIDARG) << int(code);
  }
}

TEST_F(WorksheetClient, FormulasGiveTheirResultsAfterAnUpdate) {
  ASSERT_EQ(book->PutValue(Text("$A$1"), Number(2)), S_OK);
  ASSERT_EQ(book->PutValue(Text("$A$2"), Number(3)), S_OK);
  ASSERT_EQ(book->PutFormula(Text("$B$1:$B$2"), Text("=A1*10")), S_OK);
  ASSERT_EQ(book->PutFormula(Text("$C$1"), Text("=\"ab\"&\"cd\"")), S_OK);
  ASSERT_EQ(book->UpdateWorksheet(), S_OK);
  EXPECT_EQ(NumberAt("$B$2"), 30.0);
  EXPECT_EQ(GetText("$C$1"), "abcd");
  BSTR formula = nullptr;
  ASSERT_EQ(book->GetFormula(Text("$B$2"), &formula), S_OK);
  EXPECT_EQ(Narrow(formula), "=A2*10");
  SysFreeString(formula);
  formula = nullptr;
  EXPECT_EQ(book->GetFormula(Text("$A$1"), &formula), S_FALSE);
  EXPECT_EQ(formula, nullptr);
  EXPECT_EQ(book->GetFormula(Text("$D$9"), &formula), S_FALSE);
  EXPECT_EQ(book->PutFormula(Text("$D$1"), Text("no formula")), E_INVALIDARG);
  EXPECT_EQ(TypeOf("$D$1"), VT_EMPTY);
}

TEST_F(WorksheetClient, RangesTravelAsTwoDimensionalArraysRowsFirst) {
  ASSERT_EQ(book->PutValue(Text("$C$2"), Number(9)), S_OK);
  SAFEARRAY* values = nullptr;
  ASSERT_EQ(book->GetRange(Text("$A$1:$C$2"), &values), S_OK);
  LONG bounds[4] = {};
  SafeArrayGetLBound(values, 1, &bounds[0]);
  SafeArrayGetUBound(values, 1, &bounds[1]);
  SafeArrayGetLBound(values, 2, &bounds[2]);
  SafeArrayGetUBound(values, 2, &bounds[3]);
  EXPECT_EQ(bounds[0], 0);
  EXPECT_EQ(bounds[1], 1);
  EXPECT_EQ(bounds[2], 0);
  EXPECT_EQ(bounds[3], 2);
  LONG last[2] = {1, 2};
  VARIANT element;
  VariantInit(&element);
  ASSERT_EQ(SafeArrayGetElement(values, last, &element), S_OK);
  EXPECT_EQ(V_VT(&element), VT_R8);
  EXPECT_EQ(V_R8(&element), 9.0);
  LONG first[2] = {0, 0};
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
  EXPECT_EQ(GetText("$A$5"), "north");
  EXPECT_EQ(GetText("$B$5"), "south");
  EXPECT_EQ(TypeOf("$C$5"), VT_EMPTY);
  // An array holding a value no cell takes changes nothing.
  VARIANT date;
  V_VT(&date) = VT_DATE;
  V_DATE(&date) = 1;
  LONG second[2] = {0, 1};
  SafeArrayPutElement(texts, second, &date);
  EXPECT_EQ(book->PutRange(Text("$A$5:$B$5"), texts), E_INVALIDARG);
  EXPECT_EQ(GetText("$A$5"), "north");
  SafeArrayDestroy(texts);
}

TEST_F(WorksheetClient, StyleIndexesAndClearingKeepToTheRectangle) {
  IFormatInfo* info = nullptr;
  ASSERT_EQ(book->CreateFormatInfo(&info), S_OK);
  info->put_boldFont(1);
  ASSERT_EQ(book->format(Text("$A$1:$B$1"), 6, info), S_OK);
  info->Release();
  int bold = 0, plain = -1;
  ASSERT_EQ(book->GetStyleID(Text("$B$1"), &bold), S_OK);
  ASSERT_EQ(book->GetStyleID(Text("$C$1"), &plain), S_OK);
  EXPECT_NE(bold, 0);
  EXPECT_EQ(plain, 0);
  ASSERT_EQ(book->PutStyleID(Text("$A$3:$D$3"), bold), S_OK);
  ASSERT_EQ(book->PutStyleID(Text("$B$3"), 0), S_OK);
  int style = -1;
  book->GetStyleID(Text("$C$3"), &style);
  EXPECT_EQ(style, bold);
  book->GetStyleID(Text("$B$3"), &style);
  EXPECT_EQ(style, 0);
  EXPECT_EQ(book->PutStyleID(Text("$A$3"), 512), E_INVALIDARG);

  ASSERT_EQ(book->PutValue(Text("$A$1"), Number(1)), S_OK);
  EXPECT_EQ(book->Clear(Text("$A$1"), 3), S_OK);
  EXPECT_EQ(TypeOf("$A$1"), VT_R8);
  EXPECT_EQ(book->Clear(Text("$A$1"), 2), S_OK);
  book->GetStyleID(Text("$A$1"), &style);
  EXPECT_EQ(style, 0);
  EXPECT_EQ(TypeOf("$A$1"), VT_R8);
  EXPECT_EQ(book->Clear(Text("$A$1"), 1), S_OK);
  EXPECT_EQ(TypeOf("$A$1"), VT_EMPTY);
}

// A failure of a call by name: its exception's code and description.
struct Failure {
  HRESULT scode;
  std::string description;
};

// Calls the member by name with the arguments, last first.
Failure InvokeByName(IDispatch* object, const wchar_t* member, VARIANT* arguments, UINT count) {
  LPOLESTR name = const_cast<LPOLESTR>(member);
  DISPID id = 0;
  if (FAILED(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) return {E_FAIL, "no member"};
  DISPPARAMS params = {arguments, nullptr, count, 0};
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO exception = {};
  const HRESULT invoked =
      object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, &exception, nullptr);
  VariantClear(&result);
  Failure failure = {invoked == DISP_E_EXCEPTION ? exception.scode : invoked, Narrow(exception.bstrDescription)};
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return failure;
}

// The text comes with the exception of a call by name: Wine carries no
// error information across processes with a call through the vtable, and
// what such a call leaves behind stays out of the next one's exception.
TEST_F(WorksheetClient, AMissingFileIsErrorThirtyFourWithItsText) {
  const std::string missing = TemporaryPath("talvero_no_such_file.tlv");
  EXPECT_EQ(book->Load(Text(missing), nullptr, 0, nullptr, nullptr), static_cast<HRESULT>(0x80040022));
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
  V_BSTR(&arguments[4]) = SysAllocString(Text(missing));
  V_VT(&arguments[3]) = VT_BSTR;
  V_BSTR(&arguments[3]) = SysAllocString(L"");
  V_VT(&arguments[2]) = VT_I4;
  V_VT(&arguments[1]) = VT_DISPATCH;
  V_VT(&arguments[0]) = VT_DISPATCH;
  const Failure missed = InvokeByName(book, L"Load", arguments, 5);
  for (VARIANT& argument : arguments) VariantClear(&argument);
  EXPECT_EQ(missed.scode, static_cast<HRESULT>(0x80040022));
  EXPECT_EQ(missed.description, GetErrorText(34));
  // A format that is none loads nothing and keeps the document.
  ASSERT_EQ(book->PutValue(Text("$A$1"), Number(1)), S_OK);
  EXPECT_EQ(book->Load(Text(missing), nullptr, 7, nullptr, nullptr), S_OK);
  EXPECT_EQ(NumberAt("$A$1"), 1.0);
}

// The document holds its file shut to others: a new document lets it go
// before each look.
TEST_F(WorksheetClient, AProtectedWorkbookIsWrittenInTheBinaryFormat) {
  const std::string path = TemporaryPath("talvero_client_protected.tlv");
  ASSERT_EQ(book->PutValue(Text("$A$1"), Number(3)), S_OK);
  EXPECT_EQ(book->SetProtection(Text("abc"), 0), E_INVALIDARG);
  BSTR password = nullptr;
  LONG allowReadOnly = -1;
  ASSERT_EQ(book->GetProtection(&password, &allowReadOnly), S_OK);
  EXPECT_EQ(password, nullptr);
  EXPECT_EQ(allowReadOnly, 0);
  ASSERT_EQ(book->SetProtection(Text("secret"), 0), S_OK);
  ASSERT_EQ(book->GetProtection(&password, &allowReadOnly), S_OK);
  EXPECT_EQ(Narrow(password), "secret");
  EXPECT_EQ(allowReadOnly, 0);
  SysFreeString(password);
  ASSERT_EQ(book->SaveAs(Text(path)), S_OK);
  ASSERT_EQ(book->NewDocument(), S_OK);
  EXPECT_EQ(FileStart(path, 2), "\x1F\x8B");
  // An empty password removes the protection: the workbook is XML again.
  ASSERT_EQ(book->SetProtection(Text("secret"), 1), S_OK);
  ASSERT_EQ(book->SetProtection(Text(""), 1), S_OK);
  password = nullptr;
  ASSERT_EQ(book->GetProtection(&password, &allowReadOnly), S_OK);
  EXPECT_EQ(password, nullptr);
  EXPECT_EQ(allowReadOnly, 0);
  ASSERT_EQ(book->SaveAs(Text(path)), S_OK);
  ASSERT_EQ(book->NewDocument(), S_OK);
  EXPECT_EQ(FileStart(path, 5), "<?xml");
  DeleteFileA(path.c_str());
}

TEST_F(WorksheetClient, AFoxProTableLoadsWithItsFieldsIntoTheInfoObject) {
  const std::string path = TemporaryPath("talvero_client_foxpro.dbf");
  ASSERT_EQ(book->PutValue(Text("$A$2"), Number(12.5)), S_OK);
  IXBaseInfo* description = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_XBaseInfo, nullptr, CLSCTX_LOCAL_SERVER, IID_IXBaseInfo,
                             reinterpret_cast<void**>(&description)),
            S_OK);
  description->SetXBaseFormat(5);
  description->SetFieldCount(2);
  description->SetField(0, Text("AMOUNT"), 'N', 8, 2);
  description->SetField(1, Text("NOTE"), 'M', 0, 0);
  ASSERT_EQ(book->SaveAsDatabase(Text(path), description), S_OK);
  description->Release();
  ASSERT_EQ(book->NewDocument(), S_OK);
  const std::string header = FileStart(path, 12);
  ASSERT_EQ(header.size(), 12u);
  EXPECT_EQ(static_cast<uint8_t>(header[0]), 0xF5);
  EXPECT_EQ(static_cast<uint8_t>(header[8]) | static_cast<uint8_t>(header[9]) << 8, 32 * 2 + 33);

  IWorksheet* reader = NewBook();
  ASSERT_NE(reader, nullptr);
  IXBaseInfo* fields = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_XBaseInfo, nullptr, CLSCTX_LOCAL_SERVER, IID_IXBaseInfo,
                             reinterpret_cast<void**>(&fields)),
            S_OK);
  ASSERT_EQ(reader->Load(Text(path), nullptr, 5, nullptr, fields), S_OK);
  int count = 0;
  fields->GetFieldCount(&count);
  EXPECT_EQ(count, 2);
  BSTR name = nullptr;
  unsigned char type = 0;
  int length = 0, decimals = 0;
  ASSERT_EQ(fields->GetField(0, &name, &type, &length, &decimals), S_OK);
  EXPECT_EQ(Narrow(name), "AMOUNT");
  EXPECT_EQ(type, 'N');
  EXPECT_EQ(length, 8);
  EXPECT_EQ(decimals, 2);
  SysFreeString(name);
  ASSERT_EQ(fields->GetField(1, &name, &type, &length, &decimals), S_OK);
  EXPECT_EQ(type, 'M');
  SysFreeString(name);
  VARIANT value;
  VariantInit(&value);
  ASSERT_EQ(reader->GetValue(Text("$A$2"), &value), S_OK);
  EXPECT_EQ(V_R8(&value), 12.5);
  fields->Release();
  reader->Release();
  DeleteFileA(path.c_str());
  DeleteFileA(TemporaryPath("talvero_client_foxpro.fpt").c_str());
}

// The values stand in the first two rows: an xBase table keeps its first
// row for the field names. Each file is written by a workbook of its own,
// which lets it go before it is looked at and read back.
TEST_F(WorksheetClient, EveryFormatIsSavedAndLoadedBack) {
  ITextFileInfo* text = nullptr;
  IXBaseInfo* xbase = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_TextFileInfo, nullptr, CLSCTX_LOCAL_SERVER, IID_ITextFileInfo,
                             reinterpret_cast<void**>(&text)),
            S_OK);
  ASSERT_EQ(CoCreateInstance(CLSID_XBaseInfo, nullptr, CLSCTX_LOCAL_SERVER, IID_IXBaseInfo,
                             reinterpret_cast<void**>(&xbase)),
            S_OK);
  text->SetSeparator(Text(";"));
  text->SetEncoding(2);
  xbase->SetFieldCount(2);
  xbase->SetField(0, Text("N"), 'N', 6, 0);
  xbase->SetField(1, Text("T"), 'C', 10, 0);
  const struct {
    int format;
    const char* name;
    std::string start;
  } cases[] = {
      {0, "talvero_every.tlv", "<?xml"},
      {1, "talvero_every.txt", "41;pear"},
      {2, "talvero_every.xml", "<?xml"},
      {3, "talvero_every3.dbf", "\x03"},
      {4, "talvero_every4.dbf", "\x03"},
      {5, "talvero_every5.dbf", "\x03"},
      {6, "talvero_every6.dbf", "\x03"},
  };
  VARIANT word;
  V_VT(&word) = VT_BSTR;
  V_BSTR(&word) = SysAllocString(L"pear");
  for (const auto& c : cases) {
    const std::string path = TemporaryPath(c.name);
    IWorksheet* writer = NewBook();
    ASSERT_NE(writer, nullptr);
    ASSERT_EQ(writer->PutValue(Text("$A$1:$A$2"), Number(41)), S_OK);
    ASSERT_EQ(writer->PutValue(Text("$B$1:$B$2"), word), S_OK);
    HRESULT saved;
    if (c.format == 0) {
      saved = writer->SaveAs(Text(path));
    } else if (c.format == 1) {
      saved = writer->SaveAsTextFile(Text(path), text);
    } else if (c.format == 2) {
      saved = writer->SaveAsExcelFile(Text(path));
    } else {
      xbase->SetXBaseFormat(c.format);
      saved = writer->SaveAsDatabase(Text(path), xbase);
    }
    ASSERT_EQ(saved, S_OK) << c.name;
    // Save writes the same kind to the file the document now holds.
    EXPECT_EQ(writer->Save(), S_OK) << c.name;
    writer->Release();
    EXPECT_EQ(FileStart(path, c.start.size()), c.start) << c.name;
    if (c.format == 2) {
      EXPECT_NE(FileStart(path, 4096).find("urn:schemas-microsoft-com:office:spreadsheet"), std::string::npos);
    }

    IWorksheet* reader = NewBook();
    ASSERT_NE(reader, nullptr);
    ASSERT_EQ(reader->Load(Text(path), nullptr, c.format, text, xbase), S_OK) << c.name;
    VARIANT value;
    VariantInit(&value);
    reader->GetValue(Text("$A$2"), &value);
    EXPECT_EQ(V_VT(&value), VT_R8) << c.name;
    EXPECT_EQ(V_R8(&value), 41.0) << c.name;
    reader->GetValue(Text("$B$2"), &value);
    EXPECT_EQ(Narrow(V_BSTR(&value)), "pear") << c.name;
    VariantClear(&value);
    reader->Release();
    DeleteFileA(path.c_str());
  }
  VariantClear(&word);
  text->Release();
  xbase->Release();
}

TEST_F(WorksheetClient, RangesAreSavedAsPictures) {
  const std::string path = TemporaryPath("talvero_client_range.png");
  ASSERT_EQ(book->PutValue(Text("$A$1:$C$3"), Number(8)), S_OK);
  ASSERT_EQ(book->SaveRangeAsImage(Text("$A$1:$C$3"), Text(path), 1.0), S_OK);
  EXPECT_EQ(FileStart(path, 4), "\x89PNG");
  EXPECT_EQ(book->SaveRangeAsImage(Text("A1"), Text(path), 1.0), E_INVALIDARG);
  EXPECT_EQ(book->SaveContainerAsImage(1, Text(path), 1.0), static_cast<HRESULT>(0x8004000B));
  DeleteFileA(path.c_str());
}

TEST_F(WorksheetClient, WithoutAPrinterNothingIsPrinted) {
  NoDefaultPrinter none;
  ASSERT_EQ(book->PutValue(Text("$A$1"), Number(1)), S_OK);
  EXPECT_EQ(book->PrintAll(), S_FALSE);
  EXPECT_EQ(book->PrintRange(Text("$A$1:$B$2")), S_FALSE);
  EXPECT_EQ(book->PrintContainer(3), S_FALSE);
  IPageInfo* page = nullptr;
  ASSERT_EQ(book->CreatePageInfo(&page), S_OK);
  ASSERT_EQ(book->GetPageSettings(page), S_OK);
  double left = 0, top = 0, right = 0, bottom = 0;
  page->GetMargins(&left, &top, &right, &bottom);
  EXPECT_GT(left, 0.0);
  page->SetMargins(30, 20, 10, 5);
  ASSERT_EQ(book->SetPageSettings(page), S_OK);
  IPageInfo* copy = nullptr;
  ASSERT_EQ(book->CreatePageInfo(&copy), S_OK);
  ASSERT_EQ(book->GetPageSettings(copy), S_OK);
  copy->GetMargins(&left, &top, &right, &bottom);
  EXPECT_EQ(left, 30.0);
  EXPECT_EQ(bottom, 5.0);
  copy->Release();
  page->Release();
}

TEST_F(WorksheetClient, AVBScriptClientCallsTheMembersByName) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  EXPECT_EQ(RunScript(Quoted(ScriptPath("worksheet.vbs")) + " " + Quoted(folder)), 0u);
}

}  // namespace
