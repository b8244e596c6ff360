#include "automation/objects/application_win32.h"

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

STDMETHODIMP CApplication::get_Options(IOptions** options) {
  if (options == nullptr) return E_POINTER;
  return SUCCEEDED(QueryInterface(IID_IOptions, reinterpret_cast<void**>(options))) ? S_OK : E_FAIL;
}
