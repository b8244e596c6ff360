#include "automation/objects/xbase_info_win32.h"

#include "automation/objects/bstr_text_win32.h"
#include "automation/objects/info_result_win32.h"

STDMETHODIMP CXBaseInfo::SetXBaseFormat(int format) {
  m_fields.table.dialect = static_cast<uint8_t>(format);
  return S_OK;
}

STDMETHODIMP CXBaseInfo::GetXBaseFormat(int* format) {
  if (format == nullptr) return E_POINTER;
  *format = m_fields.table.dialect;
  return S_OK;
}

STDMETHODIMP CXBaseInfo::SetField(int index, BSTR name, unsigned char type, int length, int decimals) {
  char ansiName[kXBaseInfoNameSize];
  BstrToAnsi(name, ansiName, sizeof ansiName);
  return InfoResult(m_fields.SetField(index, ansiName, type, length, decimals), m_fields.error);
}

STDMETHODIMP CXBaseInfo::GetField(int index, BSTR* name, unsigned char* type, int* length, int* decimals) {
  if (name == nullptr || type == nullptr || length == nullptr || decimals == nullptr) return E_POINTER;
  char fieldName[kXBaseInfoNameSize];
  uint8_t lengthByte = 0, decimalsByte = 0;
  if (!m_fields.GetField(index, fieldName, type, &lengthByte, &decimalsByte))
    return InfoResult(false, m_fields.error);
  *name = AnsiToBstr(fieldName, kXBaseFieldNameSize);
  if (*name == nullptr) return E_OUTOFMEMORY;
  *length = lengthByte;
  *decimals = decimalsByte;
  return S_OK;
}

STDMETHODIMP CXBaseInfo::GetFieldCount(int* counter) {
  if (counter == nullptr) return E_POINTER;
  *counter = m_fields.count;
  return S_OK;
}

STDMETHODIMP CXBaseInfo::DeleteField(int index) {
  return InfoResult(m_fields.DeleteField(index), m_fields.error);
}

STDMETHODIMP CXBaseInfo::GetEncoding(int* encoding) {
  if (encoding == nullptr) return E_POINTER;
  *encoding = m_fields.table.codePage;
  return S_OK;
}

STDMETHODIMP CXBaseInfo::SetEncoding(int encoding) {
  return InfoResult(m_fields.SetEncoding(encoding), m_fields.error);
}

STDMETHODIMP CXBaseInfo::SetFieldCount(int counter) {
  return InfoResult(m_fields.SetFieldCount(counter), m_fields.error);
}
