// A small automation server for the tests of the automation-client
// functions: one class, "Talvero.TestCalculator", whose IDispatch is written
// by hand. Its properties return values of many variant types; its methods
// take numbers, texts and arrays and describe, sum, join or return them, or
// fail. The tests register it (test_server_identity.h); started by COM, the
// program serves until its last object is released.

#include <windows.h>

#include <oleauto.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "tests/functions/automation_test_server/test_server_identity.h"

namespace {

DWORD g_mainThread = 0;
LONG g_liveObjects = 0;
DWORD g_classCookie = 0;  // 0 while the class is withdrawn

// New clients go to a new process from here on. Done inside the release of
// the last object, so that the client's release returns only when the class
// is gone: a creation that follows it never reaches a process that is
// ending.
void WithdrawClass() {
  if (g_classCookie == 0) return;
  CoRevokeClassObject(g_classCookie);
  g_classCookie = 0;
}

enum Member : DISPID {
  kNumber = 1,
  kText,
  kMatrix,
  kMoney,
  kDecimal,
  kWhen,
  kMissing,
  kFlag,
  kNothing,
  kDoubles,
  kInfinite,
  kCube,
  kLive,
  kFirstMethod = 20,
  kSum = kFirstMethod,
  kJoin,
  kDescribe,
  kEcho,
  kFail,
};

const struct {
  const wchar_t* name;
  DISPID id;
} kMembers[] = {
    {L"Number", kNumber}, {L"Text", kText},         {L"Matrix", kMatrix},     {L"Money", kMoney},
    {L"Decimal", kDecimal}, {L"When", kWhen},       {L"Missing", kMissing},   {L"Flag", kFlag},
    {L"Nothing", kNothing}, {L"Doubles", kDoubles}, {L"Infinite", kInfinite}, {L"Cube", kCube},
    {L"Live", kLive},     {L"Sum", kSum},           {L"Join", kJoin},         {L"Describe", kDescribe},
    {L"Echo", kEcho},     {L"Fail", kFail},
};

std::wstring Widen(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  for (size_t i = 0; i < text.size(); ++i) wide[i] = static_cast<unsigned char>(text[i]);
  return wide;
}

std::string Narrow(BSTR text) {
  std::string narrow;
  for (UINT i = 0; text != nullptr && i < SysStringLen(text); ++i) narrow += static_cast<char>(text[i]);
  return narrow;
}

void PutVariant(SAFEARRAY* array, LONG row, LONG column, const VARIANT& value) {
  LONG indices[2] = {row, column};
  SafeArrayPutElement(array, indices, const_cast<VARIANT*>(&value));
}

// 3 rows from 1 by 2 columns from 1: (1, "a"), (2.5, true), (empty, error 4).
void MakeMatrix(VARIANT* result) {
  SAFEARRAYBOUND bounds[2] = {{3, 1}, {2, 1}};
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_R8;
  V_R8(&v) = 1;
  PutVariant(array, 1, 1, v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(L"a");
  PutVariant(array, 1, 2, v);
  VariantClear(&v);
  V_VT(&v) = VT_R8;
  V_R8(&v) = 2.5;
  PutVariant(array, 2, 1, v);
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = VARIANT_TRUE;
  PutVariant(array, 2, 2, v);
  V_VT(&v) = VT_UI1;
  V_UI1(&v) = 4;
  PutVariant(array, 3, 2, v);
  V_VT(result) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(result) = array;
}

void MakeDoubles(VARIANT* result) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 0, 3);
  for (LONG i = 0; i < 3; ++i) {
    double x = i + 0.5;
    SafeArrayPutElement(array, &i, &x);
  }
  V_VT(result) = VT_ARRAY | VT_R8;
  V_ARRAY(result) = array;
}

void MakeCube(VARIANT* result) {
  SAFEARRAYBOUND bounds[3] = {{2, 0}, {2, 0}, {2, 0}};
  V_VT(result) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(result) = SafeArrayCreate(VT_VARIANT, 3, bounds);
}

HRESULT Property(DISPID id, VARIANT* result) {
  switch (id) {
    case kNumber: V_VT(result) = VT_R8; V_R8(result) = 2.5; return S_OK;
    case kText: V_VT(result) = VT_BSTR; V_BSTR(result) = SysAllocString(L"hello"); return S_OK;
    case kMatrix: MakeMatrix(result); return S_OK;
    case kMoney: V_VT(result) = VT_CY; V_CY(result).int64 = 123456; return S_OK;
    case kDecimal:
      if (FAILED(VarDecFromR8(-7.25, &V_DECIMAL(result)))) return E_FAIL;
      // Set last: a decimal's value covers the type field.
      V_VT(result) = VT_DECIMAL;
      return S_OK;
    case kWhen: {
      SYSTEMTIME time = {2005, 12, 4, 1, 18, 30, 0, 0};
      V_VT(result) = VT_DATE;
      return SystemTimeToVariantTime(&time, &V_DATE(result)) ? S_OK : E_FAIL;
    }
    case kMissing: V_VT(result) = VT_UI1; V_UI1(result) = 4; return S_OK;
    case kFlag: V_VT(result) = VT_BOOL; V_BOOL(result) = VARIANT_TRUE; return S_OK;
    case kNothing: return S_OK;
    case kDoubles: MakeDoubles(result); return S_OK;
    case kInfinite: V_VT(result) = VT_R8; V_R8(result) = HUGE_VAL; return S_OK;
    case kCube: MakeCube(result); return S_OK;
    case kLive: V_VT(result) = VT_I4; V_I4(result) = g_liveObjects; return S_OK;
  }
  return DISP_E_MEMBERNOTFOUND;
}

std::string Describe(const VARIANT& value);

std::string DescribeArray(SAFEARRAY* array) {
  const UINT dimensions = SafeArrayGetDim(array);
  LONG low1 = 0, high1 = -1, low2 = 0, high2 = 0;
  SafeArrayGetLBound(array, 1, &low1);
  SafeArrayGetUBound(array, 1, &high1);
  if (dimensions == 2) {
    SafeArrayGetLBound(array, 2, &low2);
    SafeArrayGetUBound(array, 2, &high2);
  }
  char head[64];
  std::snprintf(head, sizeof head, "ARRAY%u(%ldx%ld):", dimensions, high1 - low1 + 1, high2 - low2 + 1);
  std::string text = head;
  for (LONG r = low1; r <= high1; ++r) {
    for (LONG c = low2; c <= high2; ++c) {
      LONG indices[2] = {r, c};
      VARIANT element;
      VariantInit(&element);
      SafeArrayGetElement(array, indices, &element);
      if (r != low1 || c != low2) text += ",";
      text += Describe(element);
      VariantClear(&element);
    }
  }
  return text;
}

std::string Describe(const VARIANT& value) {
  char number[64];
  switch (V_VT(&value)) {
    case VT_EMPTY: return "";
    case VT_R8: std::snprintf(number, sizeof number, "%g", V_R8(&value)); return number;
    case VT_BSTR: return Narrow(V_BSTR(&value));
    case VT_ARRAY | VT_VARIANT: return DescribeArray(V_ARRAY(&value));
  }
  std::snprintf(number, sizeof number, "VT%d", V_VT(&value));
  return number;
}

// Arguments come last first.
HRESULT Method(DISPID id, DISPPARAMS* params, VARIANT* result) {
  const UINT count = params->cArgs;
  auto argument = [params, count](UINT k) -> const VARIANT& { return params->rgvarg[count - 1 - k]; };
  switch (id) {
    case kSum: {
      double sum = 0;
      for (UINT k = 0; k < count; ++k) {
        const VARIANT& a = argument(k);
        if (V_VT(&a) == VT_R8) sum += V_R8(&a);
        if (V_VT(&a) != (VT_ARRAY | VT_VARIANT)) continue;
        SAFEARRAY* array = V_ARRAY(&a);
        VARIANT* data = nullptr;
        if (FAILED(SafeArrayAccessData(array, reinterpret_cast<void**>(&data)))) continue;
        ULONG cells = 1;
        for (UINT d = 1; d <= SafeArrayGetDim(array); ++d) {
          LONG low = 0, high = -1;
          SafeArrayGetLBound(array, d, &low);
          SafeArrayGetUBound(array, d, &high);
          cells *= ULONG(high - low + 1);
        }
        for (ULONG i = 0; i < cells; ++i)
          if (V_VT(&data[i]) == VT_R8) sum += V_R8(&data[i]);
        SafeArrayUnaccessData(array);
      }
      V_VT(result) = VT_R8;
      V_R8(result) = sum;
      return S_OK;
    }
    case kJoin:
    case kDescribe: {
      std::string text;
      for (UINT k = 0; k < count; ++k) {
        if (id == kDescribe && k > 0) text += "|";
        text += Describe(argument(k));
      }
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = SysAllocString(Widen(text).c_str());
      return S_OK;
    }
    case kEcho:
      return count > 0 ? VariantCopy(result, const_cast<VARIANT*>(&argument(0))) : S_OK;
    case kFail:
      return E_FAIL;
  }
  return DISP_E_MEMBERNOTFOUND;
}

class Calculator final : public IDispatch {
 public:
  Calculator() { InterlockedIncrement(&g_liveObjects); }
  ~Calculator() {
    if (InterlockedDecrement(&g_liveObjects) == 0) {
      WithdrawClass();
      PostThreadMessageA(g_mainThread, WM_QUIT, 0, 0);
    }
  }
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ULONG(InterlockedIncrement(&references_)); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return ULONG(left);
  }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    HRESULT answer = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      for (const auto& member : kMembers)
        if (i == 0 && lstrcmpiW(names[i], member.name) == 0) ids[i] = member.id;
      if (ids[i] == DISPID_UNKNOWN) answer = DISP_E_UNKNOWNNAME;
    }
    return answer;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT*) override {
    VARIANT ignored;
    VariantInit(&ignored);
    VARIANT* out = result != nullptr ? result : &ignored;
    VariantInit(out);
    HRESULT answer = DISP_E_MEMBERNOTFOUND;
    if (id < kFirstMethod && (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) != 0)
      answer = Property(id, out);
    else if (id >= kFirstMethod && (flags & DISPATCH_METHOD) != 0)
      answer = Method(id, params, out);
    VariantClear(&ignored);
    return answer;
  }

 private:
  LONG references_ = 1;
};

class Factory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    Calculator* object = new Calculator;
    const HRESULT answer = object->QueryInterface(iid, out);
    object->Release();
    return answer;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

// After the last object is gone and the class object revoked (new clients
// start a new process), the calls of a client that was given the class
// object before are still served for a while: true when one created an
// object, so that the process must not exit under it.
bool ServedLateCall() {
  constexpr DWORD kLinger = 2000;
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      if (msg.message != WM_QUIT) DispatchMessageA(&msg);
    if (g_liveObjects > 0) return true;
    const DWORD spent = GetTickCount() - start;
    if (spent >= kLinger) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kLinger - spent, QS_ALLINPUT);
  }
}

int Serve() {
  g_mainThread = GetCurrentThreadId();
  CoInitialize(nullptr);
  static Factory factory;
  int exitCode = 0;
  do {
    if (FAILED(CoRegisterClassObject(kTestServerClassId, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                     &g_classCookie))) {
      exitCode = 1;
      break;
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    WithdrawClass();
  } while (ServedLateCall());
  CoUninitialize();
  return exitCode;
}

}  // namespace

int main() { return Serve(); }
