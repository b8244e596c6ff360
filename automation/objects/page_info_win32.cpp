#include "automation/objects/page_info_win32.h"

#include <cstring>

#include "automation/info/page_info_margins.h"
#include "automation/objects/array_elements_win32.h"

STDMETHODIMP CPageInfo::GetMargins(double* left, double* top, double* right, double* bottom) {
  if (left == nullptr || top == nullptr || right == nullptr || bottom == nullptr) return E_POINTER;
  *left = m_settings.marginLeft;
  *top = m_settings.marginTop;
  *right = m_settings.marginRight;
  *bottom = m_settings.marginBottom;
  return S_OK;
}

// The four are taken together or not at all.
STDMETHODIMP CPageInfo::SetMargins(double left, double top, double right, double bottom) {
  if (!IsPageMargin(left) || !IsPageMargin(top) || !IsPageMargin(right) || !IsPageMargin(bottom))
    return E_INVALIDARG;
  m_settings.marginLeft = left;
  m_settings.marginTop = top;
  m_settings.marginRight = right;
  m_settings.marginBottom = bottom;
  return S_OK;
}

STDMETHODIMP CPageInfo::SetData(SAFEARRAY* data) {
  // Read whole before anything changes: a short array leaves the block as it was.
  if (!HasElementsOfSize(data, 1)) return E_FAIL;
  uint8_t block[sizeof(PageSettings)];
  for (LONG i = 0; i < static_cast<LONG>(sizeof block); ++i) {
    if (FAILED(SafeArrayGetElement(data, &i, &block[i]))) return E_FAIL;
  }
  std::memcpy(&m_settings, block, sizeof block);
  return S_OK;
}

STDMETHODIMP CPageInfo::GetData(SAFEARRAY** data) {
  if (data == nullptr || !HasElementsOfSize(*data, 1)) return E_FAIL;
  uint8_t block[sizeof(PageSettings)];
  std::memcpy(block, &m_settings, sizeof block);
  for (LONG i = 0; i < static_cast<LONG>(sizeof block); ++i) {
    if (FAILED(SafeArrayPutElement(*data, &i, &block[i]))) return E_FAIL;
  }
  return S_OK;
}
