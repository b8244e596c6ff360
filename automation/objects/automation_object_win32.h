#ifndef TALVERO_AUTOMATION_OBJECT_H
#define TALVERO_AUTOMATION_OBJECT_H

// What every automation object shares, written without a framework: the
// IDispatch of each dual interface answered from the type library, the
// reference count that holds a lock on the server while the object lives,
// error information for its own interfaces, and creation through its
// coclass. All objects live on the one user-interface thread.

#include <windows.h>

#include <new>

#include "automation/objects/type_library_win32.h"
#include "automation/server/server_module_win32.h"
#include "automation/talver.h"

// IDispatch of one dual interface. An object with two interfaces derives
// from two of these, so that each vtable dispatches through its own
// description.
template <class Interface>
class CDispatchImpl : public Interface {
 public:
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    InterfaceTypeInfo types;
    if (!AutomationTypeInfo(__uuidof(Interface), &types)) return TYPE_E_ELEMENTNOTFOUND;
    types.dispatch->AddRef();
    *info = types.dispatch;
    return S_OK;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    InterfaceTypeInfo types;
    if (!AutomationTypeInfo(__uuidof(Interface), &types)) return TYPE_E_ELEMENTNOTFOUND;
    return DispGetIDsOfNames(types.vtable, names, count, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* badArgument) override {
    InterfaceTypeInfo types;
    if (!AutomationTypeInfo(__uuidof(Interface), &types)) return TYPE_E_ELEMENTNOTFOUND;
    // The exception of a failed member takes the thread's error information:
    // what an earlier call left there, never read by its client, must not
    // stand for this call's failure.
    SetErrorInfo(0, nullptr);
    return types.vtable->Invoke(static_cast<Interface*>(this), id, flags, params, result, exception, badArgument);
  }
};

// The reference count and the server lock of an object. Created with one
// reference, which its creator hands on or releases; the object's Release
// deletes it when DropReference leaves none.
class CServerObject {
 protected:
  CServerObject() { ServerModule().Lock(); }
  virtual ~CServerObject() { ServerModule().Unlock(); }
  ULONG AddReference() { return static_cast<ULONG>(InterlockedIncrement(&m_references)); }
  ULONG DropReference() { return static_cast<ULONG>(InterlockedDecrement(&m_references)); }

 private:
  LONG m_references = 1;
};

// An object of one dual interface that reports errors on it: the info
// objects.
template <class Interface>
class CSingleInterfaceObject : public CDispatchImpl<Interface>, public ISupportErrorInfo, public CServerObject {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, __uuidof(Interface))) {
      *out = static_cast<Interface*>(this);
    } else if (IsEqualIID(iid, IID_ISupportErrorInfo)) {
      *out = static_cast<ISupportErrorInfo*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return AddReference(); }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = DropReference();
    if (left == 0) delete this;
    return left;
  }
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override {
    return IsEqualIID(iid, __uuidof(Interface)) ? S_OK : S_FALSE;
  }
};

// A new object of class T answering iid, with the caller's one reference.
template <class T>
HRESULT CreateObjectOf(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  T* object = new (std::nothrow) T;
  if (object == nullptr) return E_OUTOFMEMORY;
  const HRESULT answered = object->QueryInterface(iid, out);
  object->Release();
  return answered;
}

// A member that creates another object for its caller: any failure is E_FAIL.
template <class T, class Interface>
HRESULT CreateObjectForCaller(Interface** out) {
  if (out == nullptr) return E_POINTER;
  return SUCCEEDED(CreateObjectOf<T>(__uuidof(Interface), reinterpret_cast<void**>(out))) ? S_OK : E_FAIL;
}

#endif
