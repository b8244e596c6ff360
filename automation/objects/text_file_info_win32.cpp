#include "automation/objects/text_file_info_win32.h"

#include "automation/objects/array_elements_win32.h"
#include "automation/objects/bstr_text_win32.h"
#include "automation/objects/info_result_win32.h"

namespace {

// The first character of a text in the ANSI code page; NUL for an empty text.
char FirstCharacter(BSTR text) {
  char bytes[8];
  BSTR first = SysAllocStringLen(text, SysStringLen(text) > 0 ? 1 : 0);
  BstrToAnsi(first, bytes, sizeof bytes);
  SysFreeString(first);
  return bytes[0];
}

HRESULT OneCharacter(char c, BSTR* out) {
  if (out == nullptr) return E_POINTER;
  const char text[2] = {c, '\0'};
  *out = AnsiToBstr(text, 1);
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

STDMETHODIMP CTextFileInfo::SetSeparator(BSTR separator) {
  m_record.SetSeparator(FirstCharacter(separator));
  return S_OK;
}

STDMETHODIMP CTextFileInfo::SetEncoding(int encoding) {
  return InfoResult(m_record.SetEncoding(encoding), m_record.error);
}

STDMETHODIMP CTextFileInfo::SetQuotingSymbol(BSTR symbol) {
  m_record.options.quote = FirstCharacter(symbol);
  return S_OK;
}

STDMETHODIMP CTextFileInfo::SetConversion(int conversion) {
  return InfoResult(m_record.SetConversion(conversion), m_record.error);
}

STDMETHODIMP CTextFileInfo::SetColumnWidths(SAFEARRAY* widths) {
  if (widths == nullptr || SafeArrayGetDim(widths) != 1) return E_INVALIDARG;
  LONG lower = 0, upper = 0;
  if (FAILED(SafeArrayGetLBound(widths, 1, &lower)) || FAILED(SafeArrayGetUBound(widths, 1, &upper)) ||
      !m_record.WidthBoundsFit(lower, upper))
    return E_INVALIDARG;
  if (!HasElementsOfSize(widths, sizeof(uint16_t))) return E_OUTOFMEMORY;
  for (LONG i = lower; i <= upper; ++i) {
    uint16_t width = 0;
    if (FAILED(SafeArrayGetElement(widths, &i, &width))) return E_OUTOFMEMORY;
    m_record.options.widths[i] = width;
  }
  m_record.options.fixedWidth = 1;
  return S_OK;
}

STDMETHODIMP CTextFileInfo::GetConversion(int* conversion) {
  if (conversion == nullptr) return E_POINTER;
  *conversion = m_record.options.recognizeValues;
  return S_OK;
}

STDMETHODIMP CTextFileInfo::GetEncoding(int* encoding) {
  if (encoding == nullptr) return E_POINTER;
  *encoding = m_record.options.charset;
  return S_OK;
}

STDMETHODIMP CTextFileInfo::GetQuotingSymbol(BSTR* symbol) { return OneCharacter(m_record.options.quote, symbol); }

STDMETHODIMP CTextFileInfo::GetSeparator(BSTR* separator) {
  return OneCharacter(m_record.options.separator, separator);
}

STDMETHODIMP CTextFileInfo::GetColumnWidths(SAFEARRAY** widths) {
  if (widths == nullptr) return E_POINTER;
  *widths = SafeArrayCreateVector(VT_UI2, 0, kColumnCount);
  if (*widths == nullptr) return E_OUTOFMEMORY;
  for (LONG i = 0; i < static_cast<LONG>(kColumnCount); ++i) {
    if (FAILED(SafeArrayPutElement(*widths, &i, &m_record.options.widths[i]))) {
      SafeArrayDestroy(*widths);
      *widths = nullptr;
      return E_OUTOFMEMORY;
    }
  }
  return S_OK;
}

STDMETHODIMP CTextFileInfo::get_useFixedColWidths(LONG* value) {
  if (value == nullptr) return E_POINTER;
  *value = m_record.options.fixedWidth == 1 ? 1 : 0;
  return S_OK;
}

STDMETHODIMP CTextFileInfo::put_useFixedColWidths(LONG value) {
  m_record.SetFixedWidths(value);
  return S_OK;
}
