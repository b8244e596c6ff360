#include "automation/objects/application_win32.h"

#include "automation/objects/aworkbook_win32.h"
#include "automation/objects/text_file_info_win32.h"
#include "automation/objects/xbase_info_win32.h"

STDMETHODIMP_(ULONG) CApplication::Release() {
  const ULONG left = DropReference();
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP CApplication::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IDocuments)) {
    *out = static_cast<IDocuments*>(this);
  } else if (IsEqualIID(iid, IID_IOptions)) {
    *out = static_cast<IOptions*>(this);
  } else if (IsEqualIID(iid, IID_ISupportErrorInfo)) {
    *out = static_cast<ISupportErrorInfo*>(this);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP CApplication::InterfaceSupportsErrorInfo(REFIID iid) {
  return IsEqualIID(iid, IID_IDocuments) || IsEqualIID(iid, IID_IOptions) ? S_OK : S_FALSE;
}

STDMETHODIMP CApplication::CreateXBaseInfo(IXBaseInfo** xbaseInfo) {
  return CreateObjectForCaller<CXBaseInfo>(xbaseInfo);
}

STDMETHODIMP CApplication::CreateTextFileInfo(ITextFileInfo** textFileInfo) {
  return CreateObjectForCaller<CTextFileInfo>(textFileInfo);
}

namespace {

// A new Workbook for the caller, loaded from the file. A failed load leaves
// no object behind: a client given a failure never sees the out-parameter,
// and the object would hold the server until the process ends.
HRESULT OpenWorkbook(BSTR path, BSTR password, int format, ITextFileInfo* textFileInfo, IXBaseInfo* xbaseInfo,
                     IWorksheet** worksheet) {
  if (worksheet == nullptr) return E_POINTER;
  if (FAILED(CreateObjectForCaller<CAWorkbook>(worksheet))) return E_FAIL;
  const HRESULT loaded = (*worksheet)->Load(path, password, format, textFileInfo, xbaseInfo);
  if (FAILED(loaded)) {
    (*worksheet)->Release();
    *worksheet = nullptr;
  }
  return loaded;
}

// Load's file formats.
constexpr int kLoadNative = 0;
constexpr int kLoadText = 1;
constexpr int kLoadExcelXml = 2;

}  // namespace

STDMETHODIMP CApplication::New(IWorksheet** worksheet) {
  if (worksheet == nullptr) return E_POINTER;
  if (FAILED(CreateObjectForCaller<CAWorkbook>(worksheet))) return E_FAIL;
  (*worksheet)->NewDocument();
  return S_OK;
}

STDMETHODIMP CApplication::Open(BSTR path, BSTR password, IWorksheet** worksheet) {
  return OpenWorkbook(path, password, kLoadNative, nullptr, nullptr, worksheet);
}

STDMETHODIMP CApplication::OpenTextFile(BSTR path, ITextFileInfo* textFileInfo, IWorksheet** worksheet) {
  return OpenWorkbook(path, nullptr, kLoadText, textFileInfo, nullptr, worksheet);
}

STDMETHODIMP CApplication::OpenDatabase(BSTR path, IXBaseInfo* xbaseInfo, IWorksheet** worksheet) {
  if (worksheet == nullptr) return E_POINTER;
  *worksheet = nullptr;
  int format = 0;
  if (xbaseInfo == nullptr || FAILED(xbaseInfo->GetXBaseFormat(&format))) return E_FAIL;
  return OpenWorkbook(path, nullptr, format, nullptr, xbaseInfo, worksheet);
}

STDMETHODIMP CApplication::OpenExcelFile(BSTR path, IWorksheet** worksheet) {
  return OpenWorkbook(path, nullptr, kLoadExcelXml, nullptr, nullptr, worksheet);
}

STDMETHODIMP CApplication::get_Options(IOptions** options) {
  if (options == nullptr) return E_POINTER;
  return SUCCEEDED(QueryInterface(IID_IOptions, reinterpret_cast<void**>(options))) ? S_OK : E_FAIL;
}
