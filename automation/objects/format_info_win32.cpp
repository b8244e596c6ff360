#include "automation/objects/format_info_win32.h"

#include "automation/objects/bstr_text_win32.h"
#include "automation/objects/info_result_win32.h"

STDMETHODIMP CFormatInfo::get_fontName(BSTR* value) {
  if (value == nullptr) return E_POINTER;
  *value = AnsiToBstr(m_record.fontName, kFormatInfoFontNameSize);
  return *value != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CFormatInfo::put_fontName(BSTR value) {
  if (SysStringLen(value) >= kFormatInfoFontNameSize) return E_INVALIDARG;
  // Room for every character of a name that passed, in double-byte code pages too.
  char name[2 * kFormatInfoFontNameSize];
  BstrToAnsi(value, name, sizeof name);
  return InfoResult(m_record.SetFontName(name), m_record.error);
}

STDMETHODIMP CFormatInfo::get_fontSize(int* value) { return GetByte(m_record.fontSize, value); }

STDMETHODIMP CFormatInfo::put_fontSize(int value) {
  return InfoResult(m_record.SetFontSize(value), m_record.error);
}
