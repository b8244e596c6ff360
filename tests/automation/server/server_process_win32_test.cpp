// The automation server as other programs meet it: the program registered
// and unregistered by its switches, its objects created by CLSID in its own
// process and called through their vtables and by name, the script clients
// of tests/automation/server/scripts run by the prefix's cscript, and a
// client's object keeping the program alive after its frame closed.

#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "app/startup/program_process.h"
#include "automation/talver.h"

namespace {

using namespace program_process;

const char kAppId[] = "{4E62F674-AD49-4775-B0F7-C8BB53C817E7}";

struct ProgIdCase {
  const char* progId;
  const char* versioned;
  const char* clsid;
  bool infoClass;  // with CurVer, Programmable and TypeLib
};

const ProgIdCase kClasses[] = {
    {"Talver.Application", "Talver.Application.7", "{7F593973-5E22-4533-A64A-C458BD96E3DC}", false},
    {"Talver.Workbook", "Talver.Workbook.1", "{13A63AF2-683D-4C7C-8637-3D0C304EF832}", false},
    {"Talver.FormatInfo", "Talver.FormatInfo.1", "{46113628-CAB2-46C9-815E-BC852C3FA9D2}", true},
    {"Talver.PageInfo", "Talver.PageInfo.1", "{EA07C3C4-A2D3-4323-82EC-0D7A60E98C85}", true},
    {"Talver.TextFileInfo", "Talver.TextFileInfo.1", "{B78A1B2A-15DF-4D58-B448-C6AD8E0EE80F}", true},
    {"Talver.XBaseInfo", "Talver.XBaseInfo.1", "{A52E8416-D587-4AF7-92CE-DD2D07CA44EC}", true},
};

bool KeyExists(const std::string& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

// A string value of a key under HKCR ("" for the default); "<missing>" when
// the key or the value is not there.
std::string Value(const std::string& key, const char* name = "") {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return "<missing>";
  char data[1024] = {};
  DWORD size = sizeof data - 1;
  DWORD type = 0;
  const LONG read = RegQueryValueExA(handle, *name ? name : nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data),
                                     &size);
  RegCloseKey(handle);
  return read == ERROR_SUCCESS ? std::string(data) : "<missing>";
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string ScriptPath(const char* name) { return WindowsPath(std::string(TALVERO_SCRIPTS_DIR) + "/" + name); }

DWORD RunScript(const std::string& arguments) { return RunCommand("cscript.exe //nologo " + arguments); }

class AutomationServer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CoInitialize(nullptr);
    ASSERT_EQ(RunCommand(Quoted(ProgramPath()) + " /RegServer"), 0u);
  }
  static void TearDownTestSuite() { CoUninitialize(); }

  template <class Interface>
  static Interface* Create(const CLSID& clsid) {
    Interface* object = nullptr;
    const HRESULT created = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, __uuidof(Interface),
                                             reinterpret_cast<void**>(&object));
    EXPECT_EQ(created, S_OK);
    return SUCCEEDED(created) ? object : nullptr;
  }
};

TEST_F(AutomationServer, RegServerWritesTheClassesTheFileTypeAndTheTypeLibrary) {
  const std::string program = ProgramPath();
  EXPECT_EQ(Value(".tlv"), "tlvfile");
  EXPECT_EQ(Value(".tlv\\tlvfile\\shellNew", "NullFile"), "");
  EXPECT_EQ(Value("tlvfile"), "Talvero File");
  EXPECT_EQ(Value("tlvfile\\DefaultIcon"), program + ",-129");
  EXPECT_EQ(Value("tlvfile\\shell"), "open");
  EXPECT_EQ(Value("tlvfile\\shell\\open"), "Open with Talvero");
  // Quoted, so that the program and the document may lie in folders with blanks.
  EXPECT_EQ(Value("tlvfile\\shell\\open\\command"), Quoted(program) + " \"%1\"");
  EXPECT_EQ(Value(std::string("AppID\\") + kAppId), "Talvero");
  EXPECT_EQ(Value("AppID\\talvero.exe", "AppID"), kAppId);
  EXPECT_EQ(Value("Applications\\talvero.exe", "FriendlyAppName"), "Talvero");
  for (const ProgIdCase& c : kClasses) {
    const std::string clsidKey = std::string("CLSID\\") + c.clsid;
    EXPECT_EQ(Value(std::string(c.progId) + "\\CLSID"), c.clsid) << c.progId;
    EXPECT_EQ(Value(std::string(c.versioned) + "\\CLSID"), c.clsid) << c.versioned;
    EXPECT_EQ(Value(clsidKey + "\\ProgID"), c.versioned);
    EXPECT_EQ(Value(clsidKey + "\\VersionIndependentProgID"), c.progId);
    EXPECT_EQ(Value(clsidKey + "\\LocalServer32"), Quoted(program)) << c.progId;
    EXPECT_EQ(Value(clsidKey, "AppID"), kAppId);
    EXPECT_EQ(KeyExists(clsidKey + "\\Programmable"), c.infoClass) << c.progId;
    EXPECT_EQ(Value(clsidKey + "\\TypeLib"), c.infoClass ? "{0E76ABBB-09A3-44FD-99E1-8397F2FE5D48}" : "<missing>");
    EXPECT_EQ(Value(std::string(c.progId) + "\\CurVer"), c.infoClass ? c.versioned : "<missing>");
  }
  EXPECT_EQ(Value("TypeLib\\{0E76ABBB-09A3-44FD-99E1-8397F2FE5D48}\\1.0"), "talver 1.0 Type Library");
  // The library is filed under the registering program's kind.
  EXPECT_TRUE(KeyExists(std::string("TypeLib\\{0E76ABBB-09A3-44FD-99E1-8397F2FE5D48}\\1.0\\0\\") +
                        (sizeof(void*) == 8 ? "win64" : "win32")));
  // Dual interfaces cross processes through the type library's marshaller.
  EXPECT_TRUE(KeyExists("Interface\\{9D3534AB-C32F-4FB7-AE1D-2A2FE51C802E}\\ProxyStubClsid32"));
}

TEST_F(AutomationServer, UnregServerLeavesOnlyTheSharedParentKeys) {
  ASSERT_EQ(RunCommand(Quoted(ProgramPath()) + " -UnregServer"), 0u);
  for (const ProgIdCase& c : kClasses) {
    EXPECT_FALSE(KeyExists(c.progId)) << c.progId;
    EXPECT_FALSE(KeyExists(c.versioned)) << c.versioned;
    EXPECT_FALSE(KeyExists(std::string("CLSID\\") + c.clsid)) << c.clsid;
  }
  for (const char* gone : {".tlv", "tlvfile", "AppID\\talvero.exe", "Applications\\talvero.exe",
                           "TypeLib\\{0E76ABBB-09A3-44FD-99E1-8397F2FE5D48}"})
    EXPECT_FALSE(KeyExists(gone)) << gone;
  EXPECT_FALSE(KeyExists(std::string("AppID\\") + kAppId));
  for (const char* kept : {"AppID", "CLSID", "Applications"}) EXPECT_TRUE(KeyExists(kept)) << kept;
  // Unregistering twice finds nothing to remove and still succeeds.
  EXPECT_EQ(RunCommand(Quoted(ProgramPath()) + " /UnregServer"), 0u);
  // Registering again restores the association.
  ASSERT_EQ(RunCommand(Quoted(ProgramPath()) + " /RegServer"), 0u);
  EXPECT_EQ(Value(".tlv"), "tlvfile");
}

TEST_F(AutomationServer, TextFileInfoThroughItsVtable) {
  ITextFileInfo* text = Create<ITextFileInfo>(CLSID_TextFileInfo);
  ASSERT_NE(text, nullptr);
  LONG fixed = -1;
  EXPECT_EQ(text->get_useFixedColWidths(&fixed), S_OK);
  EXPECT_EQ(fixed, 0);

  // Widths 5 to 9 set the fixed-width flag and leave the others as they were.
  SAFEARRAYBOUND bound = {5, 5};
  SAFEARRAY* widths = SafeArrayCreate(VT_UI2, 1, &bound);
  for (LONG i = 5; i <= 9; ++i) {
    USHORT width = static_cast<USHORT>(i * 10);
    SafeArrayPutElement(widths, &i, &width);
  }
  EXPECT_EQ(text->SetColumnWidths(widths), S_OK);
  SafeArrayDestroy(widths);
  SAFEARRAY* all = nullptr;
  ASSERT_EQ(text->GetColumnWidths(&all), S_OK);
  LONG lower = -1, upper = -1;
  SafeArrayGetLBound(all, 1, &lower);
  SafeArrayGetUBound(all, 1, &upper);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 2046);
  for (LONG i = 0; i <= 10; ++i) {
    USHORT width = 0;
    SafeArrayGetElement(all, &i, &width);
    EXPECT_EQ(width, i >= 5 && i <= 9 ? i * 10 : 0) << i;
  }
  SafeArrayDestroy(all);
  EXPECT_EQ(text->get_useFixedColWidths(&fixed), S_OK);
  EXPECT_EQ(fixed, 1);
  BSTR separator = SysAllocString(L"|x");
  EXPECT_EQ(text->SetSeparator(separator), S_OK);
  SysFreeString(separator);
  text->get_useFixedColWidths(&fixed);
  EXPECT_EQ(fixed, 0);

  // Bounds outside the columns, more than one dimension and wider elements.
  const struct {
    VARTYPE type;
    UINT dimensions;
    LONG lower;
    ULONG count;
    HRESULT expected;
  } refused[] = {
      {VT_UI2, 1, 2045, 3, E_INVALIDARG},
      {VT_UI2, 1, -1, 2, E_INVALIDARG},
      {VT_UI2, 1, 0, 0, E_INVALIDARG},
      {VT_UI2, 2, 0, 2, E_INVALIDARG},
      {VT_I4, 1, 0, 2, E_OUTOFMEMORY},
  };
  for (const auto& r : refused) {
    SAFEARRAYBOUND bounds[2] = {{r.count, r.lower}, {r.count, r.lower}};
    SAFEARRAY* array = SafeArrayCreate(r.type, r.dimensions, bounds);
    EXPECT_EQ(text->SetColumnWidths(array), r.expected) << r.lower << " " << r.count << " " << r.dimensions;
    SafeArrayDestroy(array);
  }
  text->get_useFixedColWidths(&fixed);
  EXPECT_EQ(fixed, 0);
  text->Release();
}

TEST_F(AutomationServer, XBaseInfoKeepsLongCharacterFieldsAndDeletesFields) {
  IXBaseInfo* xbase = Create<IXBaseInfo>(CLSID_XBaseInfo);
  ASSERT_NE(xbase, nullptr);
  int value = 0;
  EXPECT_EQ(xbase->GetXBaseFormat(&value), S_OK);
  EXPECT_EQ(value, 4);
  EXPECT_EQ(xbase->GetEncoding(&value), S_OK);
  EXPECT_EQ(value, 2);

  ASSERT_EQ(xbase->SetXBaseFormat(5), S_OK);
  ASSERT_EQ(xbase->SetFieldCount(4), S_OK);
  const wchar_t* names[] = {L"A", L"B", L"C", L"D"};
  for (int i = 0; i < 4; ++i) {
    BSTR name = SysAllocString(names[i]);
    EXPECT_EQ(xbase->SetField(i, name, 'C', i == 0 ? 300 : 10 + i, 0), S_OK);
    SysFreeString(name);
  }
  BSTR name = nullptr;
  unsigned char type = 0;
  int length = 0, decimals = 0;
  ASSERT_EQ(xbase->GetField(0, &name, &type, &length, &decimals), S_OK);
  EXPECT_STREQ(name, L"A");
  EXPECT_EQ(type, 'C');
  EXPECT_EQ(length, 44);
  EXPECT_EQ(decimals, 1);
  SysFreeString(name);

  EXPECT_EQ(xbase->DeleteField(1), S_OK);
  EXPECT_EQ(xbase->GetFieldCount(&value), S_OK);
  EXPECT_EQ(value, 3);
  const wchar_t* left[] = {L"A", L"C", L"D"};
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(xbase->GetField(i, &name, &type, &length, &decimals), S_OK);
    EXPECT_STREQ(name, left[i]);
    SysFreeString(name);
  }
  for (int index : {3, -1}) {
    EXPECT_EQ(xbase->GetField(index, &name, &type, &length, &decimals), E_INVALIDARG) << index;
    EXPECT_EQ(xbase->DeleteField(index), E_INVALIDARG) << index;
  }
  EXPECT_EQ(xbase->SetFieldCount(2048), E_INVALIDARG);
  EXPECT_EQ(xbase->SetEncoding(1), E_INVALIDARG);
  xbase->Release();
}

TEST_F(AutomationServer, FormatInfoDefaultsToTheSystemColoursAndBoundsItsFontSize) {
  IFormatInfo* format = Create<IFormatInfo>(CLSID_FormatInfo);
  ASSERT_NE(format, nullptr);
  ULONG color = 0;
  EXPECT_EQ(format->get_fillBackgroundColor(&color), S_OK);
  EXPECT_EQ(color, GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(format->get_fontColor(&color), S_OK);
  EXPECT_EQ(color, GetSysColor(COLOR_WINDOWTEXT));
  format->put_fillType(4);
  EXPECT_EQ(format->get_fillPatternColor(&color), S_OK);
  EXPECT_EQ(color, GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(format->put_fontSize(0), E_INVALIDARG);
  EXPECT_EQ(format->put_fontSize(255), E_INVALIDARG);
  EXPECT_EQ(format->put_fontSize(254), S_OK);
  BSTR tooLong = SysAllocStringLen(nullptr, 128);
  for (int i = 0; i < 128; ++i) tooLong[i] = L'a';
  EXPECT_EQ(format->put_fontName(tooLong), E_INVALIDARG);
  SysFreeString(tooLong);
  format->Release();
}

TEST_F(AutomationServer, PageInfoHandsItsBlockToTheCallersArray) {
  IPageInfo* page = Create<IPageInfo>(CLSID_PageInfo);
  ASSERT_NE(page, nullptr);
  ASSERT_EQ(page->SetMargins(12.5, 20, 30, 40), S_OK);
  SAFEARRAY* data = SafeArrayCreateVector(VT_UI1, 0, 1152);
  ASSERT_EQ(page->GetData(&data), S_OK);
  uint8_t bytes[1152] = {};
  for (LONG i = 0; i < 1152; ++i) SafeArrayGetElement(data, &i, &bytes[i]);
  double left = 0, top = 0, right = 0, bottom = 0;
  std::memcpy(&left, bytes + 1104, sizeof left);
  std::memcpy(&right, bytes + 1112, sizeof right);
  std::memcpy(&top, bytes + 1120, sizeof top);
  std::memcpy(&bottom, bytes + 1128, sizeof bottom);
  EXPECT_EQ(left, 12.5);
  EXPECT_EQ(right, 30.0);
  EXPECT_EQ(top, 20.0);
  EXPECT_EQ(bottom, 40.0);
  EXPECT_EQ(bytes[0], 0);

  // A short array fails whole and leaves the block as it was.
  SAFEARRAY* shortData = SafeArrayCreateVector(VT_UI1, 0, 1000);
  EXPECT_EQ(page->SetData(shortData), E_FAIL);
  EXPECT_EQ(page->GetData(&shortData), E_FAIL);
  SafeArrayDestroy(shortData);
  page->GetMargins(&left, &top, &right, &bottom);
  EXPECT_EQ(left, 12.5);

  bytes[1104 + 7] = 0x40;  // another left margin
  bytes[1104 + 6] = 0x59;
  for (LONG i = 0; i < 1152; ++i) SafeArrayPutElement(data, &i, &bytes[i]);
  EXPECT_EQ(page->SetData(data), S_OK);
  page->GetMargins(&left, &top, &right, &bottom);
  double expected = 0;
  std::memcpy(&expected, bytes + 1104, sizeof expected);
  EXPECT_EQ(left, expected);
  SafeArrayDestroy(data);
  page->Release();
}

// A value that cannot be a margin is refused with the four margins kept, so
// that a worksheet never takes it from the object.
TEST_F(AutomationServer, PageInfoRefusesWhatCannotBeAMargin) {
  IPageInfo* page = Create<IPageInfo>(CLSID_PageInfo);
  ASSERT_NE(page, nullptr);
  // 65,534 cm is the longest margin.
  ASSERT_EQ(page->SetMargins(0, 655340, 0, 655340), S_OK);
  ASSERT_EQ(page->SetMargins(10, 20, 30, 40), S_OK);
  const double refused[] = {-0.001, 655340.001, 99999999, 1e308, std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN()};
  for (double value : refused) {
    EXPECT_EQ(page->SetMargins(value, 1, 1, 1), E_INVALIDARG) << value;
    EXPECT_EQ(page->SetMargins(1, 1, 1, value), E_INVALIDARG) << value;
  }
  double left = 0, top = 0, right = 0, bottom = 0;
  ASSERT_EQ(page->GetMargins(&left, &top, &right, &bottom), S_OK);
  EXPECT_EQ(left, 10.0);
  EXPECT_EQ(top, 20.0);
  EXPECT_EQ(right, 30.0);
  EXPECT_EQ(bottom, 40.0);
  page->Release();
}

TEST_F(AutomationServer, ApplicationAndWorkbookCreateInfoObjectsAndReachTheirSecondInterface) {
  IDocuments* documents = Create<IDocuments>(CLSID_Application);
  ASSERT_NE(documents, nullptr);
  IXBaseInfo* xbase = nullptr;
  EXPECT_EQ(documents->CreateXBaseInfo(&xbase), S_OK);
  ASSERT_NE(xbase, nullptr);
  xbase->Release();
  IOptions* options = nullptr;
  EXPECT_EQ(documents->get_Options(&options), S_OK);
  ASSERT_NE(options, nullptr);
  options->Release();
  IWorksheet* created = nullptr;
  EXPECT_EQ(documents->New(&created), S_OK);
  ASSERT_NE(created, nullptr);
  created->Release();
  documents->Release();

  IWorksheet* book = Create<IWorksheet>(CLSID_Workbook);
  ASSERT_NE(book, nullptr);
  IPageInfo* page = nullptr;
  EXPECT_EQ(book->CreatePageInfo(&page), S_OK);
  ASSERT_NE(page, nullptr);
  page->Release();
  ITree* tree = nullptr;
  EXPECT_EQ(book->get_WorksheetTree(&tree), S_OK);
  ASSERT_NE(tree, nullptr);
  tree->Release();
  book->Release();
}

// A script client calls by name; a refused argument reaches it as an
// exception carrying the member's HRESULT.
TEST_F(AutomationServer, CallsByNameReportRefusalsAsExceptions) {
  IDispatch* format = Create<IDispatch>(CLSID_FormatInfo);
  ASSERT_NE(format, nullptr);
  LPOLESTR name = const_cast<LPOLESTR>(L"fontSize");
  DISPID id = 0;
  ASSERT_EQ(format->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  EXPECT_EQ(id, 2);
  VARIANT size;
  VariantInit(&size);
  V_VT(&size) = VT_I4;
  V_I4(&size) = 255;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&size, &named, 1, 1};
  EXCEPINFO exception = {};
  const HRESULT put =
      format->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, &exception, nullptr);
  EXPECT_EQ(put, DISP_E_EXCEPTION);
  EXPECT_EQ(exception.scode, E_INVALIDARG);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  format->Release();
}

TEST_F(AutomationServer, ScriptClientsCreateTheObjectsByTheirProgIds) {
  EXPECT_EQ(RunScript(Quoted(ScriptPath("info_objects.vbs"))), 0u);
  EXPECT_EQ(RunScript(Quoted(ScriptPath("info_objects.js"))), 0u);
}

// The script writes its files into the folder it is given.
TEST_F(AutomationServer, AScriptClientEditsSavesAndLoadsWorkbooks) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  // A backslash before the closing quote would escape it on the command line.
  const size_t length = std::strlen(folder);
  if (length > 0 && folder[length - 1] == '\\')
    folder[length - 1] = '\0';
  EXPECT_EQ(RunScript(Quoted(ScriptPath("worksheet.vbs")) + " " + Quoted(folder)), 0u);
}

std::string TemporaryFile(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  return std::string(folder) + name;
}

bool WaitForFile(const std::string& path, const PROCESS_INFORMATION& script) {
  for (int poll = 0; poll < kMaxPolls; ++poll) {
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    if (WaitForSingleObject(script.hProcess, kPollMilliseconds) == WAIT_OBJECT_0) return false;
  }
  return false;
}

bool ProgramRunning() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  bool running = false;
  for (BOOL more = Process32First(snapshot, &entry); more && !running; more = Process32Next(snapshot, &entry))
    running = lstrcmpiA(entry.szExeFile, "talvero.exe") == 0;
  CloseHandle(snapshot);
  return running;
}

// A server that COM started for an earlier client ends a few seconds after
// its last object; until then it, not a program started now, serves new
// clients.
bool WaitUntilNoProgramRuns() {
  for (int poll = 0; poll < kMaxPolls; ++poll) {
    if (!ProgramRunning()) return true;
    Sleep(kPollMilliseconds);
  }
  return false;
}

// Closing the frame keeps the program while a script holds one of its
// workbooks; the program ends soon after the script lets go.
TEST_F(AutomationServer, AHeldWorkbookKeepsTheProgramAfterItsFrameCloses) {
  const std::string ready = TemporaryFile("talvero_workbook_held");
  const std::string release = TemporaryFile("talvero_workbook_release");
  DeleteFileA(ready.c_str());
  DeleteFileA(release.c_str());
  ASSERT_TRUE(WaitUntilNoProgramRuns());
  Started program = StartProgram("");
  ASSERT_TRUE(program.ok);
  HWND frame = WaitForFrame(program.process);
  Started script = {};
  if (frame != nullptr)
    script = StartCommand("cscript.exe //nologo " + Quoted(ScriptPath("hold_workbook.vbs")) + " " + Quoted(ready) +
                          " " + Quoted(release));
  const bool held = script.ok && WaitForFile(ready, script.process);
  EXPECT_NE(frame, nullptr);
  EXPECT_TRUE(held);
  if (held) {
    PostMessageA(frame, WM_CLOSE, 0, 0);
    for (int poll = 0; IsWindow(frame) && poll < kMaxPolls; ++poll) Sleep(kPollMilliseconds);
    EXPECT_FALSE(IsWindow(frame));
    // Without the script's object the process would have ended with its frame.
    EXPECT_EQ(WaitForSingleObject(program.process.hProcess, 20 * kPollMilliseconds),
              static_cast<DWORD>(WAIT_TIMEOUT));
  }
  CloseHandle(CreateFileA(release.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (script.ok) {
    DWORD scriptExit = 99;
    EXPECT_TRUE(WaitForExit(script.process, &scriptExit));
    EXPECT_EQ(scriptExit, 0u);
    Release(script.process);
  }
  if (!held && frame != nullptr) PostMessageA(frame, WM_CLOSE, 0, 0);
  DWORD programExit = 99;
  EXPECT_TRUE(WaitForExit(program.process, &programExit));
  EXPECT_EQ(programExit, 0u);
  Release(program.process);
  DeleteFileA(ready.c_str());
  DeleteFileA(release.c_str());
  // The program keeps its settings beside itself, outside the programs' folder.
  const std::string path = ProgramPath();
  DeleteFileA((path.substr(0, path.rfind('\\') + 1) + "settings.xml").c_str());
}

}  // namespace
