#include "automation/objects/aworkbook_win32.h"

#include <gtest/gtest.h>

#include <string>

#include "services/messages/error_text.h"

namespace {

std::wstring Wide(const char* text) {
  wchar_t wide[1100] = {};
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 1099);
  return wide;
}

TEST(ReportError, GivesTheCodeAsHresultWithItsTextForTheThread) {
  const struct {
    uint8_t code;
    uint32_t line;
    HRESULT expected;
    std::wstring description;
  } cases[] = {
      {56, 12, static_cast<HRESULT>(0x80040038), Wide(GetErrorText(56)) + L"\nLine: 12"},
      {56, 0, static_cast<HRESULT>(0x80040038), Wide(GetErrorText(56))},
      {26, 3, static_cast<HRESULT>(0x8004001A), Wide(GetErrorText(26))},
  };
  CoInitialize(nullptr);
  for (const auto& c : cases) {
    EXPECT_EQ(CAWorkbook::ReportError(c.code, IID_IOptions, c.line), c.expected);
    IErrorInfo* info = nullptr;
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    BSTR description = nullptr, source = nullptr;
    GUID guid = {};
    info->GetDescription(&description);
    info->GetSource(&source);
    info->GetGUID(&guid);
    EXPECT_EQ(std::wstring(description), c.description) << static_cast<int>(c.code);
    EXPECT_STREQ(source, L"Talvero");
    EXPECT_TRUE(IsEqualGUID(guid, IID_IOptions));
    SysFreeString(description);
    SysFreeString(source);
    info->Release();
  }
  CoUninitialize();
}

}  // namespace
