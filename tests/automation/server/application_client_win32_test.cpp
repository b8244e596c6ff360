// The Application and Workbook objects as another program meets them in the
// registered program's own process: the user formats and bookmarks of the
// options, the settings profile, documents opened from a script, and the
// workbook's tree interface.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/startup/program_process.h"
#include "automation/talver.h"
#include "core/workbook/workbook.h"
#include "files/dispatch/document_file.h"
#include "services/messages/error_text.h"

namespace {

using namespace program_process;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string TemporaryFile(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  return std::string(folder) + name;
}

std::wstring Wide(const std::string& text) {
  wchar_t wide[2048] = {};
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, 2047);
  return wide;
}

// A list of texts as a client hands it in: lower bound first, one dimension
// unless two are asked for.
SAFEARRAY* Texts(const std::vector<std::wstring>& texts, LONG first = 0, UINT dimensions = 1) {
  SAFEARRAYBOUND bounds[2] = {{ULONG(texts.size()), first}, {1, 0}};
  SAFEARRAY* array = SafeArrayCreate(VT_BSTR, dimensions, bounds);
  for (size_t i = 0; i < texts.size(); ++i) {
    LONG indices[2] = {LONG(first + i), 0};
    BSTR text = SysAllocString(texts[i].c_str());
    SafeArrayPutElement(array, indices, text);
    SysFreeString(text);
  }
  return array;
}

std::vector<std::wstring> Read(SAFEARRAY* array) {
  std::vector<std::wstring> texts;
  LONG first = 0, last = -1;
  SafeArrayGetLBound(array, 1, &first);
  SafeArrayGetUBound(array, 1, &last);
  EXPECT_EQ(first, 0);
  for (LONG i = first; i <= last; ++i) {
    BSTR text = nullptr;
    SafeArrayGetElement(array, &i, &text);
    texts.push_back(text ? text : L"");
    SysFreeString(text);
  }
  SafeArrayDestroy(array);
  return texts;
}

// What a script client sees of a refusal: the member called by name through
// its dual interface, with its arguments (last first), raises an exception
// carrying the member's HRESULT and the text of the workbook's error code.
// "<none>" when the call went through.
std::wstring RaisedBy(IDispatch* dispatch, const wchar_t* member, VARIANT* arguments, UINT count, SCODE* code) {
  LPOLESTR name = const_cast<LPOLESTR>(member);
  DISPID id = 0;
  dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
  DISPPARAMS parameters = {arguments, nullptr, count, 0};
  EXCEPINFO exception = {};
  VARIANT result;
  VariantInit(&result);
  const HRESULT called = dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, &result,
                                          &exception, nullptr);
  VariantClear(&result);
  *code = exception.scode;
  std::wstring text = called == DISP_E_EXCEPTION && exception.bstrDescription ? exception.bstrDescription : L"<none>";
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return text;
}

class ApplicationClient : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CoInitialize(nullptr);
    ASSERT_EQ(RunCommand(Quoted(ProgramPath()) + " /RegServer"), 0u);
  }
  static void TearDownTestSuite() {
    CoUninitialize();
    // The program keeps the options it was given in a profile beside itself.
    const std::string path = ProgramPath();
    DeleteFileA((path.substr(0, path.rfind('\\') + 1) + "settings.xml").c_str());
  }
  void SetUp() override {
    ASSERT_EQ(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_LOCAL_SERVER, IID_IOptions,
                               reinterpret_cast<void**>(&options)),
              S_OK);
  }
  void TearDown() override {
    if (options != nullptr) options->Release();
  }

  std::vector<std::wstring> Styles() {
    SAFEARRAY* styles = nullptr;
    EXPECT_EQ(options->GetStyles(&styles), S_OK);
    return styles ? Read(styles) : std::vector<std::wstring>{L"<none>"};
  }
  std::vector<std::wstring> Bookmarks() {
    SAFEARRAY* bookmarks = nullptr;
    EXPECT_EQ(options->GetBookmarks(&bookmarks), S_OK);
    return bookmarks ? Read(bookmarks) : std::vector<std::wstring>{L"<none>"};
  }
  HRESULT SetStyles(SAFEARRAY* array) {
    const HRESULT result = options->SetStyles(array);
    SafeArrayDestroy(array);
    return result;
  }

  IOptions* options = nullptr;
};

TEST_F(ApplicationClient, UserFormatsAreReplacedWholeOrNotAtAll) {
  ASSERT_EQ(SetStyles(Texts({L"Price, 0.00", L"", L"Rate,  ,0%"})), S_OK);
  const std::vector<std::wstring> stored = {L"Price, 0.00", L"Rate, 0%"};
  EXPECT_EQ(Styles(), stored);

  const struct {
    SAFEARRAY* array;
    HRESULT expected;
  } refused[] = {
      {Texts({L"A, 0", L"B, 0"}, 49), E_INVALIDARG},
      {Texts({L"A, 0"}, -1), E_INVALIDARG},
      {Texts({L"A, 0", L"B, 0"}, 0, 2), E_INVALIDARG},
      {Texts({}), E_INVALIDARG},
      {Texts({L"A, 0", std::wstring(101, L'p')}), E_INVALIDARG},
      {Texts({L"A, 0", L"B, " + std::wstring(50, L'0')}), E_INVALIDARG},
      {SafeArrayCreateVector(VT_VARIANT, 0, 1), E_FAIL},
  };
  for (const auto& r : refused) {
    EXPECT_EQ(SetStyles(r.array), r.expected);
    EXPECT_EQ(Styles(), stored);
  }
  // A lower bound past 0 takes entries from the first.
  ASSERT_EQ(SetStyles(Texts({L"Plain"}, 48)), S_OK);
  EXPECT_EQ(Styles(), std::vector<std::wstring>{L"Plain, "});
}

TEST_F(ApplicationClient, BookmarksAndTheProfileTheyAreSavedIn) {
  SAFEARRAY* bookmarks = Texts({L"\\Sales\\Q1", L"", L"C:\\books\\plan.tlv"});
  ASSERT_EQ(options->SetBookmarks(bookmarks), S_OK);
  SafeArrayDestroy(bookmarks);
  const std::vector<std::wstring> stored = {L"\\Sales\\Q1", L"C:\\books\\plan.tlv"};
  EXPECT_EQ(Bookmarks(), stored);
  bookmarks = Texts({L"kept", std::wstring(256, L'b')});
  EXPECT_EQ(options->SetBookmarks(bookmarks), E_INVALIDARG);
  SafeArrayDestroy(bookmarks);
  EXPECT_EQ(Bookmarks(), stored);

  const std::string profile = TemporaryFile("talvero_client_profile.xml");
  DeleteFileA(profile.c_str());
  BSTR path = SysAllocString(Wide(profile).c_str());
  ASSERT_EQ(options->SaveProfile(path), S_OK);
  EXPECT_NE(GetFileAttributesA(profile.c_str()), INVALID_FILE_ATTRIBUTES);
  bookmarks = Texts({L"changed"});
  ASSERT_EQ(options->SetBookmarks(bookmarks), S_OK);
  SafeArrayDestroy(bookmarks);
  ASSERT_EQ(options->LoadProfile(path), S_OK);
  EXPECT_EQ(Bookmarks(), stored);
  SysFreeString(path);

  // A file that cannot be opened reports its code with its text; a path too
  // long to keep is refused rather than cut to another file's.
  path = SysAllocString(Wide(TemporaryFile("talvero_no_such_folder\\profile.xml")).c_str());
  EXPECT_EQ(options->LoadProfile(path), static_cast<HRESULT>(0x80040022));
  VARIANT argument;
  V_VT(&argument) = VT_BSTR;
  V_BSTR(&argument) = path;
  SCODE code = 0;
  EXPECT_EQ(RaisedBy(options, L"LoadProfile", &argument, 1, &code), Wide(GetErrorText(34)));
  EXPECT_EQ(code, static_cast<SCODE>(0x80040022));
  SysFreeString(path);
  path = SysAllocString(Wide("C:\\" + std::string(300, 'p') + ".xml").c_str());
  EXPECT_EQ(options->SaveProfile(path), E_INVALIDARG);
  SysFreeString(path);
  DeleteFileA(profile.c_str());
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

// A native workbook of Folder1 (holding SheetA, active, with 42 in A1) and
// SheetB.
void WriteNativeWorkbook(const std::string& path) {
  std::unique_ptr<CWorkBook> owned = std::make_unique<CWorkBook>();
  CWorkBook& book = *owned;
  ASSERT_TRUE(book.NewDocument());
  book.firstItem->SetName("SheetA");
  CWorkBook::CTreeItem* folder = NewFolderItem("Folder1", 1);
  book.InsertItems(folder, book.firstItem);
  ASSERT_TRUE(book.MoveItems(book.activeWorksheet, folder));
  book.InsertItems(NewWorksheet("SheetB", 1), nullptr);
  uint8_t record[kNumberCellSize];
  ASSERT_TRUE(BuildNumberCell(record, sizeof record, 0, 0, 42, 0));
  ASSERT_TRUE(book.activeWorksheet->cells.InsertCell(AsCellRecord(record), nullptr));
  ASSERT_TRUE(SaveDocumentFile(&book, path.c_str()));
}

// A dBase III table of one character field NAME, 10 wide, with two records.
std::string XBaseTable() {
  std::string table(32, '\0');
  table[0] = 0x03;
  table[1] = 124;
  table[2] = 1;
  table[3] = 1;
  table[4] = 2;
  table[8] = 65;
  table[10] = 11;
  std::string field(32, '\0');
  field.replace(0, 4, "NAME");
  field[11] = 'C';
  field[16] = 10;
  return table + field + "\x0D" + " Alpha     " + " Beta      " + "\x1A";
}

const char kExcelXml[] =
    "<?xml version=\"1.0\"?>\r\n"
    "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\"\r\n"
    " xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">\r\n"
    " <Worksheet ss:Name=\"Prices\"><Table><Row><Cell><Data ss:Type=\"Number\">1.5</Data></Cell></Row></Table>"
    "</Worksheet>\r\n"
    " <Worksheet ss:Name=\"Costs\"><Table></Table></Worksheet>\r\n"
    "</Workbook>\r\n";

TEST_F(ApplicationClient, ScriptClientsOpenDocumentsOfEveryKind) {
  const std::string native = TemporaryFile("talvero_client_book.tlv");
  const std::string text = TemporaryFile("prices.csv");
  const std::string xbase = TemporaryFile("people.dbf");
  const std::string excel = TemporaryFile("talvero_client_excel.xml");
  DeleteFileA(native.c_str());
  WriteNativeWorkbook(native);
  WriteFile(text, "Price;Count\r\n1.5;2\r\n");
  WriteFile(xbase, XBaseTable());
  WriteFile(excel, kExcelXml);
  const std::string script = WindowsPath(std::string(TALVERO_SCRIPTS_DIR) + "/open_documents.vbs");
  EXPECT_EQ(RunCommand("cscript.exe //nologo " + Quoted(script) + " " + Quoted(native) + " " + Quoted(text) + " " +
                       Quoted(xbase) + " " + Quoted(excel)),
            0u);
  for (const std::string& path : {native, text, xbase, excel}) DeleteFileA(path.c_str());
}

std::wstring Text(ITree* tree, HRESULT (STDMETHODCALLTYPE ITree::*get)(int, BSTR*), int index) {
  BSTR text = nullptr;
  if ((tree->*get)(index, &text) != S_OK) return L"<none>";
  std::wstring copy = text;
  SysFreeString(text);
  return copy;
}

// A client builds Folder1 (holding Sheet1) and Sheet2 in an empty workbook
// and walks and edits them: what crosses to it are the indexes the members
// compute, their HRESULTs and the error text of a refusal.
TEST_F(ApplicationClient, TreeMembersAnswerByIndexAndPath) {
  ITree* tree = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_Workbook, nullptr, CLSCTX_LOCAL_SERVER, IID_ITree,
                             reinterpret_cast<void**>(&tree)),
            S_OK);
  const struct {
    int at;
    int type;
    const wchar_t* name;
    HRESULT result;
    int index;
  } inserts[] = {
      {-1, TREE_TYPE_FOLDER, L"Folder1", S_OK, 0},
      {0, TREE_TYPE_WORKSHEET, L"Sheet1", S_OK, 1},
      {-1, TREE_TYPE_WORKSHEET, L"Sheet2", S_OK, 2},
      {0, 3, L"Odd", E_INVALIDARG, 0},
      {7, TREE_TYPE_WORKSHEET, L"Far", S_FALSE, 0},
  };
  for (const auto& c : inserts) {
    BSTR name = SysAllocString(c.name);
    int index = -9;
    EXPECT_EQ(tree->InsertItem(c.at, c.type, name, &index), c.result) << c.at;
    if (c.result == S_OK) {
      EXPECT_EQ(index, c.index) << c.at;
    }
    SysFreeString(name);
  }
  int found = -9;
  EXPECT_EQ(tree->GetNextItem(0, &found), S_OK);
  EXPECT_EQ(found, 2);
  EXPECT_EQ(tree->GetPreviousItem(2, &found), S_OK);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(tree->GetFirstChildOf(-5, &found), S_OK);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(Text(tree, &ITree::GetItemName, -5), L"Folder1");
  EXPECT_EQ(Text(tree, &ITree::GetItemPath, 1), L"\\Folder1\\Sheet1");

  // The first worksheet of the empty workbook became active; a folder's path
  // activates nothing.
  BSTR path = SysAllocString(L"\\Folder1");
  EXPECT_EQ(tree->SetActiveWorksheet(path), S_FALSE);
  SysFreeString(path);
  BSTR active = nullptr;
  EXPECT_EQ(tree->GetActiveWorksheet(&active), S_OK);
  EXPECT_STREQ(active, L"\\Folder1\\Sheet1");
  SysFreeString(active);
  path = SysAllocString(L"\\Nowhere");
  EXPECT_EQ(tree->GetItemIndex(path, &found), S_FALSE);
  EXPECT_EQ(found, -1);
  SysFreeString(path);

  // The folder goes with its worksheet; the last worksheet stays.
  EXPECT_EQ(tree->DeleteItem(0), S_OK);
  EXPECT_EQ(tree->DeleteItem(0), static_cast<HRESULT>(0x80040009));
  VARIANT argument;
  V_VT(&argument) = VT_I4;
  V_I4(&argument) = 0;
  SCODE code = 0;
  EXPECT_EQ(RaisedBy(tree, L"DeleteItem", &argument, 1, &code), Wide(GetErrorText(9)));
  EXPECT_EQ(code, static_cast<SCODE>(0x80040009));
  EXPECT_EQ(Text(tree, &ITree::GetItemName, 0), L"Sheet2");
  tree->Release();
}

}  // namespace
