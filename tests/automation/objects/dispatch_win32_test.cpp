// Calls by name reach the members through the type library's descriptions,
// in the server's own process.

#include "automation/objects/aworkbook_win32.h"
#include "automation/objects/format_info_win32.h"

#include <gtest/gtest.h>

namespace {

HRESULT PutByName(IDispatch* object, const wchar_t* member, int value, EXCEPINFO* exception) {
  LPOLESTR name = const_cast<LPOLESTR>(member);
  DISPID id = 0;
  const HRESULT found = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(found)) return found;
  VARIANT argument;
  VariantInit(&argument);
  V_VT(&argument) = VT_I4;
  V_I4(&argument) = value;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&argument, &named, 1, 1};
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, exception,
                        nullptr);
}

TEST(Dispatch, PropertiesAreSetByNameAndRefusalsComeBackAsExceptions) {
  CoInitialize(nullptr);
  IDispatch* format = nullptr;
  ASSERT_EQ(CreateObjectOf<CFormatInfo>(IID_IDispatch, reinterpret_cast<void**>(&format)), S_OK);
  EXCEPINFO exception = {};
  EXPECT_EQ(PutByName(format, L"fontSize", 12, &exception), S_OK);
  int size = 0;
  static_cast<IFormatInfo*>(format)->get_fontSize(&size);
  EXPECT_EQ(size, 12);
  EXPECT_EQ(PutByName(format, L"fontSize", 255, &exception), DISP_E_EXCEPTION);
  EXPECT_EQ(exception.scode, E_INVALIDARG);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  EXPECT_EQ(PutByName(format, L"noSuchMember", 1, &exception), DISP_E_UNKNOWNNAME);
  format->Release();
  CoUninitialize();
}

// Members that create objects need somewhere to put them.
TEST(Dispatch, CreatingMembersRefuseANullResult) {
  IWorksheet* book = nullptr;
  ASSERT_EQ(CreateObjectOf<CAWorkbook>(IID_IWorksheet, reinterpret_cast<void**>(&book)), S_OK);
  EXPECT_EQ(book->CreateFormatInfo(nullptr), E_POINTER);
  EXPECT_EQ(book->CreatePageInfo(nullptr), E_POINTER);
  book->Release();
}

}  // namespace
