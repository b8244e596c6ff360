#include "automation/objects/type_library_win32.h"

namespace {

struct CachedTypeInfo {
  IID iid;
  InterfaceTypeInfo info;
};

constexpr int kCachedInterfaces = 8;
CachedTypeInfo g_cache[kCachedInterfaces];
int g_cached = 0;

bool DescribeInterface(REFIID iid, InterfaceTypeInfo* out) {
  ITypeLib* library = LoadAutomationTypeLibrary();
  if (library == nullptr) return false;
  ITypeInfo* dispatch = nullptr;
  const HRESULT found = library->GetTypeInfoOfGuid(iid, &dispatch);
  library->Release();
  if (FAILED(found)) return false;
  // Calls through a dual interface's dispatch description would come back
  // to IDispatch::Invoke; its interface description calls the functions.
  ITypeInfo* vtable = nullptr;
  HREFTYPE dual = 0;
  if (FAILED(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &dual)) ||
      FAILED(dispatch->GetRefTypeInfo(dual, &vtable))) {
    dispatch->Release();
    return false;
  }
  *out = {dispatch, vtable};
  return true;
}

}  // namespace

ITypeLib* LoadAutomationTypeLibrary() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(path, REGKIND_NONE, &library))) return nullptr;
  return library;
}

bool AutomationTypeInfo(REFIID iid, InterfaceTypeInfo* out) {
  for (int i = 0; i < g_cached; ++i) {
    if (IsEqualIID(g_cache[i].iid, iid)) {
      *out = g_cache[i].info;
      return true;
    }
  }
  if (g_cached == kCachedInterfaces || !DescribeInterface(iid, out)) return false;
  g_cache[g_cached++] = {iid, *out};
  return true;
}
