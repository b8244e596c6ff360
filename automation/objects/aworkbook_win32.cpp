#include "automation/objects/aworkbook_win32.h"

#include "platform/com/bstr_text_win32.h"
#include "automation/server/error_description.h"
#include "automation/worksheet/cell_argument.h"
#include "files/errors/file_errors.h"
#include "services/messages/message_boxes.h"

namespace {

// The longest description a client is given, in characters.
constexpr int kDescriptionCharacters = 1025;
// The longest cell or range argument read, in bytes.
constexpr UINT kCellArgumentSize = 1024;
// "No worksheet selected"
constexpr uint8_t kNoWorksheetSelected = 13;

void SleepFor(DWORD milliseconds) { Sleep(milliseconds); }

CAWorkbook::PasswordDelay g_passwordDelay = SleepFor;

}  // namespace

CAWorkbook::~CAWorkbook() {
  if (m_devMode != nullptr) GlobalFree(m_devMode);
}

void CAWorkbook::SetPasswordDelayForTesting(PasswordDelay delay) { g_passwordDelay = delay ? delay : SleepFor; }

HRESULT CAWorkbook::NoWorksheet() { return ReportError(kNoWorksheetSelected, IID_IWorksheet, 0); }

HRESULT CAWorkbook::FailLoad() {
  const uint8_t code = error;
  bufferedFile.Close();
  if (code == kFileBadPassword) {
    CWorkBook::Clear();
    g_passwordDelay(kWrongPasswordDelay);
  }
  return ReportError(code, IID_IWorksheet, 0);
}

bool CAWorkbook::ParseCellArg(BSTR text, CellRange* range) {
  if (SysStringLen(text) > kCellArgumentSize) return false;
  char ansi[2 * kCellArgumentSize + 1];
  BstrToAnsi(text, ansi, sizeof ansi);
  return ParseCellArgument(ansi, evaluator, range);
}

HRESULT CAWorkbook::ReportError(uint8_t code, REFIID iid, uint32_t line) {
  const HRESULT result = static_cast<HRESULT>(kWorkbookErrorResultBase + code);
  char text[kDescriptionCharacters + 1];
  ComposeErrorDescription(code, line, text, sizeof text);
  wchar_t description[kDescriptionCharacters + 1] = {};
  MultiByteToWideChar(CP_ACP, 0, text, -1, description, kDescriptionCharacters);
  char title[128];
  LoadProductTitle(title, sizeof title);
  wchar_t source[128] = {};
  MultiByteToWideChar(CP_ACP, 0, title, -1, source, 127);

  ICreateErrorInfo* create = nullptr;
  if (FAILED(CreateErrorInfo(&create))) return result;
  create->SetGUID(iid);
  create->SetSource(source);
  create->SetDescription(description);
  IErrorInfo* info = nullptr;
  if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
    SetErrorInfo(0, info);
    info->Release();
  }
  create->Release();
  return result;
}

STDMETHODIMP_(ULONG) CAWorkbook::Release() {
  const ULONG left = DropReference();
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CAWorkbook::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IWorksheet)) {
    *out = static_cast<IWorksheet*>(this);
  } else if (IsEqualIID(iid, IID_ITree)) {
    *out = static_cast<ITree*>(this);
  } else if (IsEqualIID(iid, IID_ISupportErrorInfo)) {
    *out = static_cast<ISupportErrorInfo*>(this);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

// The tree's members report under the worksheet's interface.
STDMETHODIMP CAWorkbook::InterfaceSupportsErrorInfo(REFIID iid) {
  return IsEqualIID(iid, IID_IWorksheet) || IsEqualIID(iid, IID_ITree) ? S_OK : S_FALSE;
}
