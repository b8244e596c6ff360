#include "automation/server/class_objects_win32.h"

#include "automation/objects/application_win32.h"
#include "automation/objects/aworkbook_win32.h"
#include "automation/objects/format_info_win32.h"
#include "automation/objects/page_info_win32.h"
#include "automation/objects/text_file_info_win32.h"
#include "automation/objects/xbase_info_win32.h"
#include "resources/resource_ids.h"

namespace {

const CoClassEntry kCoClasses[] = {
    {&CLSID_XBaseInfo, CreateObjectOf<CXBaseInfo>, IDR_REGISTRY_XBASE_INFO},
    {&CLSID_TextFileInfo, CreateObjectOf<CTextFileInfo>, IDR_REGISTRY_TEXT_FILE_INFO},
    {&CLSID_FormatInfo, CreateObjectOf<CFormatInfo>, IDR_REGISTRY_FORMAT_INFO},
    {&CLSID_PageInfo, CreateObjectOf<CPageInfo>, IDR_REGISTRY_PAGE_INFO},
    {&CLSID_Workbook, CreateObjectOf<CAWorkbook>, IDR_REGISTRY_WORKBOOK},
    {&CLSID_Application, CreateObjectOf<CApplication>, IDR_REGISTRY_APPLICATION},
};
constexpr size_t kCoClassCount = sizeof kCoClasses / sizeof kCoClasses[0];

// One class object per coclass. It lives as long as the process; COM's
// references to it do not keep the server alive, only LockServer does.
class CClassFactory final : public IClassFactory {
 public:
  explicit CClassFactory(CreateInstanceFunction create) : m_create(create) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }

  // An outer object would have to live in this process: COM refuses
  // aggregation across processes.
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return m_create(iid, out);
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock)
      ServerModule().Lock();
    else
      ServerModule().Unlock();
    return S_OK;
  }

 private:
  CreateInstanceFunction m_create;
};

CClassFactory g_factories[kCoClassCount] = {
    CClassFactory(kCoClasses[0].create), CClassFactory(kCoClasses[1].create), CClassFactory(kCoClasses[2].create),
    CClassFactory(kCoClasses[3].create), CClassFactory(kCoClasses[4].create), CClassFactory(kCoClasses[5].create),
};
DWORD g_cookies[kCoClassCount] = {};

}  // namespace

const CoClassEntry* CoClasses(size_t* count) {
  *count = kCoClassCount;
  return kCoClasses;
}

bool RegisterClassObjects() {
  bool all = true;
  for (size_t i = 0; i < kCoClassCount; ++i) {
    if (FAILED(CoRegisterClassObject(*kCoClasses[i].clsid, &g_factories[i], CLSCTX_LOCAL_SERVER,
                                     REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED, &g_cookies[i]))) {
      g_cookies[i] = 0;
      all = false;
    }
  }
  return SUCCEEDED(CoResumeClassObjects()) && all;
}

void RevokeClassObjects() {
  for (DWORD& cookie : g_cookies) {
    if (cookie != 0) CoRevokeClassObject(cookie);
    cookie = 0;
  }
}
