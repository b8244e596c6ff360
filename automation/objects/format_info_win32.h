#ifndef TALVERO_AUTOMATION_FORMAT_INFO_H
#define TALVERO_AUTOMATION_FORMAT_INFO_H

// The FormatInfo object: the font, fill and border attributes of a format
// call, as properties.

#include "automation/info/format_info_record.h"
#include "automation/objects/automation_object_win32.h"

class CFormatInfo final : public CSingleInterfaceObject<IFormatInfo> {
 public:
  STDMETHODIMP get_fontName(BSTR* value) override;
  STDMETHODIMP put_fontName(BSTR value) override;
  STDMETHODIMP get_fontSize(int* value) override;
  STDMETHODIMP put_fontSize(int value) override;
  STDMETHODIMP get_boldFont(LONG* value) override { return GetByte(m_record.bold, value); }
  STDMETHODIMP put_boldFont(LONG value) override { return PutFlag(&m_record.bold, value); }
  STDMETHODIMP get_italicFont(LONG* value) override { return GetByte(m_record.italic, value); }
  STDMETHODIMP put_italicFont(LONG value) override { return PutFlag(&m_record.italic, value); }
  STDMETHODIMP get_underlineFont(LONG* value) override { return GetByte(m_record.underline, value); }
  STDMETHODIMP put_underlineFont(LONG value) override { return PutFlag(&m_record.underline, value); }
  STDMETHODIMP get_strikeoutFont(LONG* value) override { return GetByte(m_record.strikeout, value); }
  STDMETHODIMP put_strikeoutFont(LONG value) override { return PutFlag(&m_record.strikeout, value); }
  STDMETHODIMP get_fontColor(ULONG* value) override { return GetColor(m_record.FontColor(), value); }
  STDMETHODIMP put_fontColor(ULONG value) override {
    return PutColor(&m_record.fontColor, &m_record.fontColorSet, value);
  }
  STDMETHODIMP get_styleID(int* value) override { return GetByte(m_record.styleId, value); }
  STDMETHODIMP put_styleID(int value) override { return PutByte(&m_record.styleId, value); }
  STDMETHODIMP get_fillType(int* value) override { return GetByte(m_record.fillType, value); }
  STDMETHODIMP put_fillType(int value) override { return PutByte(&m_record.fillType, value); }
  STDMETHODIMP get_fillPatternColor(ULONG* value) override { return GetColor(m_record.FillPatternColor(), value); }
  STDMETHODIMP put_fillPatternColor(ULONG value) override {
    return PutColor(&m_record.fillPatternColor, &m_record.fillPatternColorSet, value);
  }
  STDMETHODIMP get_fillBackgroundColor(ULONG* value) override {
    return GetColor(m_record.FillBackgroundColor(), value);
  }
  STDMETHODIMP put_fillBackgroundColor(ULONG value) override {
    return PutColor(&m_record.fillBackgroundColor, &m_record.fillBackgroundColorSet, value);
  }
  STDMETHODIMP get_borderType(int* value) override { return GetByte(m_record.borderType, value); }
  STDMETHODIMP put_borderType(int value) override { return PutByte(&m_record.borderType, value); }
  STDMETHODIMP get_borderColor(ULONG* value) override { return GetColor(m_record.BorderColor(), value); }
  STDMETHODIMP put_borderColor(ULONG value) override {
    return PutColor(&m_record.borderColor, &m_record.borderColorSet, value);
  }
  STDMETHODIMP get_borderPosition(int* value) override { return GetByte(m_record.borderPosition, value); }
  STDMETHODIMP put_borderPosition(int value) override { return PutByte(&m_record.borderPosition, value); }

 private:
  template <class T>
  static HRESULT GetByte(uint8_t byte, T* value) {
    if (value == nullptr) return E_POINTER;
    *value = byte;
    return S_OK;
  }
  static HRESULT PutByte(uint8_t* byte, int value) {
    *byte = static_cast<uint8_t>(value);
    return S_OK;
  }
  static HRESULT PutFlag(uint8_t* flag, LONG value) {
    *flag = FormatInfoRecord::FlagOf(value);
    return S_OK;
  }
  static HRESULT GetColor(uint32_t color, ULONG* value) {
    if (value == nullptr) return E_POINTER;
    *value = color;
    return S_OK;
  }
  static HRESULT PutColor(uint32_t* color, uint8_t* set, ULONG value) {
    *color = value;
    *set = 1;
    return S_OK;
  }

  FormatInfoRecord m_record = {};
};

#endif
