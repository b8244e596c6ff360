// The Workbook object's members that give it its document: new, loaded from
// a file of any kind, saved in every kind and as images, and protected.

#include <cstring>

#include "automation/objects/array_elements_win32.h"
#include "automation/objects/aworkbook_win32.h"
#include "platform/com/bstr_text_win32.h"
#include "automation/worksheet/document_rules.h"
#include "files/dispatch/document_file.h"
#include "files/errors/file_errors.h"
#include "files/dispatch/native_kind.h"
#include "files/xbase/xbase_header.h"
#include "services/settings/global_options.h"
#include "view/draw_context/screen_measurer.h"

namespace {

// A path argument whole in the ANSI code page; false, with the workbook's
// error 65, when it is longer than a file name can be: a cut path would
// name another file.
bool TakePath(CWorkBook& book, BSTR path, char* out) {
  if (BstrToWholeAnsi(path, out, kFilePathSize)) return true;
  book.error = kFilePathTooLong;
  return false;
}

// Path arguments, in bytes of the ANSI code page: the file system's limit
// for loading, a little less for saving, where a temporary name is made
// beside the path.
// The longest password a client hands over, in characters.
constexpr UINT kPasswordCharacters = 1024;
constexpr uint8_t kImagePng = 3;
constexpr uint16_t kImageZoom = 100;
constexpr int kLastLoadFormat = kFormatXBaseLast;

bool IsXBaseFormat(int format) { return format >= kFormatXBaseFirst && format <= kFormatXBaseLast; }

// The first character of the text a getter gives, in the ANSI code page.
template <class Getter>
bool FirstCharacterOf(Getter get, char* out) {
  BSTR text = nullptr;
  if (FAILED(get(&text))) return false;
  char bytes[8];
  BSTR first = SysAllocStringLen(text, SysStringLen(text) > 0 ? 1 : 0);
  BstrToAnsi(first, bytes, sizeof bytes);
  SysFreeString(first);
  SysFreeString(text);
  *out = bytes[0];
  return true;
}

// The options of a text file as a client's TextFileInfo object answers them:
// fixed widths (each element of its array into the column of its index) or
// a separator, then quoting symbol, conversion and encoding. S_OK, or
// E_OUTOFMEMORY when the widths cannot be had, E_FAIL when a call fails.
HRESULT ReadTextFileOptions(ITextFileInfo* info, TextFileOptions* options) {
  LONG fixed = 0;
  if (info == nullptr || FAILED(info->get_useFixedColWidths(&fixed))) return E_FAIL;
  if (fixed == 1) {
    SAFEARRAY* widths = nullptr;
    if (FAILED(info->GetColumnWidths(&widths)) || widths == nullptr) return E_OUTOFMEMORY;
    LONG lower = 0, upper = -1;
    bool read = HasElementsOfSize(widths, sizeof(uint16_t)) && SafeArrayGetDim(widths) == 1 &&
                SUCCEEDED(SafeArrayGetLBound(widths, 1, &lower)) && SUCCEEDED(SafeArrayGetUBound(widths, 1, &upper)) &&
                lower >= 0;
    for (LONG i = lower; read && i <= upper && i < static_cast<LONG>(kColumnCount); ++i)
      read = SUCCEEDED(SafeArrayGetElement(widths, &i, &options->widths[i]));
    SafeArrayDestroy(widths);
    if (!read) return E_FAIL;
    options->fixedWidth = 1;
  } else {
    if (!FirstCharacterOf([info](BSTR* text) { return info->GetSeparator(text); }, &options->separator))
      return E_FAIL;
    options->fixedWidth = 0;
  }
  int conversion = 0, encoding = 0;
  if (!FirstCharacterOf([info](BSTR* text) { return info->GetQuotingSymbol(text); }, &options->quote) ||
      FAILED(info->GetConversion(&conversion)) || FAILED(info->GetEncoding(&encoding)))
    return E_FAIL;
  options->recognizeValues = static_cast<uint8_t>(conversion);
  options->charset = static_cast<uint8_t>(encoding);
  return S_OK;
}

// Hands the fields of a table just read to a client's XBaseInfo object.
HRESULT WriteXBaseFields(const XBaseTable& table, IXBaseInfo* info) {
  const uint32_t count = XBaseFieldCount(table);
  if (FAILED(info->SetFieldCount(static_cast<int>(count)))) return E_OUTOFMEMORY;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* field = XBaseFieldAt(table, i);
    char name[kXBaseFieldNameSize + 1] = {};
    std::memcpy(name, field, kXBaseFieldNameSize);
    BSTR wide = AnsiToBstr(name, static_cast<int>(kXBaseFieldNameSize));
    if (wide == nullptr) return E_OUTOFMEMORY;
    // A long character field's width spans both bytes.
    const uint8_t type = field[kXBaseFieldType];
    const int length = type == 'C' ? static_cast<int>(XBaseFieldWidth(field, table.dialect)) : field[kXBaseFieldLength];
    const HRESULT set = info->SetField(static_cast<int>(i), wide, type, length, field[kXBaseFieldDecimals]);
    SysFreeString(wide);
    if (FAILED(set)) return E_FAIL;
  }
  return S_OK;
}

// The header a table of so many fields needs must fit its 16-bit length.
bool XBaseHeaderFits(int fields) {
  return kXBaseHeaderSize + static_cast<uint32_t>(fields) * kXBaseFieldSize + 1 < 0xFFFF;
}

// The table a client's XBaseInfo object describes: its descriptors as the
// object gives them, stamped as a new file's.
HRESULT ReadXBaseDescription(IXBaseInfo* info, int format, XBaseTable* table) {
  if (!table->AllocFields()) return E_OUTOFMEMORY;
  int count = 0;
  if (FAILED(info->GetFieldCount(&count)) || count == 0) return E_FAIL;
  if (count < 0 || static_cast<uint32_t>(count) > kXBaseMaxFields) return E_INVALIDARG;
  if (!XBaseHeaderFits(count)) return CAWorkbook::ReportError(kFileTooManyFields, IID_IWorksheet, 0);
  for (int i = 0; i < count; ++i) {
    BSTR name = nullptr;
    unsigned char type = 0;
    int length = 0, decimals = 0;
    if (FAILED(info->GetField(i, &name, &type, &length, &decimals))) return E_FAIL;
    uint8_t* field = table->fieldDescriptors + static_cast<size_t>(i) * kXBaseFieldSize;
    char ansi[kXBaseFieldNameSize + 1];
    BstrToAnsi(name, ansi, sizeof ansi);
    SysFreeString(name);
    std::memcpy(field, ansi, std::strlen(ansi));
    field[kXBaseFieldType] = type;
    field[kXBaseFieldLength] = static_cast<uint8_t>(length);
    field[kXBaseFieldDecimals] = static_cast<uint8_t>(decimals);
  }
  table->dialect = static_cast<uint8_t>(format);
  StampXBaseHeader(table, static_cast<uint32_t>(count), 0);
  int encoding = 0;
  if (FAILED(info->GetEncoding(&encoding))) return E_FAIL;
  table->codePage = static_cast<uint8_t>(encoding);
  return S_OK;
}

}  // namespace

// A new document has no file, no protection and the formats of a new
// workbook: nothing of a document loaded before stays.
STDMETHODIMP CAWorkbook::NewDocument() {
  bufferedFile.Close();
  CWorkBook::Clear();
  saveKind = kSaveKindXmlPlain;
  readOnly = 0;
  std::memset(password, 0, sizeof password);
  automationCalls = kAutomationCallsAllowed;
  return CWorkBook::NewDocument() ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CAWorkbook::Load(BSTR path, BSTR passwordText, int format, ITextFileInfo* textFileInfo,
                              IXBaseInfo* xbaseInfo) {
  if (format < 0 || format > kLastLoadFormat) return S_OK;
  char file[kFilePathSize];
  if (!TakePath(*this, path, file)) return ReportError(error, IID_IWorksheet, 0);
  // The options are gathered before the file is touched, so that a refused
  // object leaves the document on its file.
  TextFileOptions textOptions;
  int encoding = 0;
  if (format == kFormatText) {
    const HRESULT read = ReadTextFileOptions(textFileInfo, &textOptions);
    if (FAILED(read)) return read;
  }
  if (IsXBaseFormat(format) && (xbaseInfo == nullptr || FAILED(xbaseInfo->GetEncoding(&encoding)))) return E_FAIL;

  if (!OpenDocumentFile(this, file)) return ReportError(error, IID_IWorksheet, 0);
  // A client converting files it did not write must not run what they hold:
  // the file's formulas call no other program (RTD and UDF give "#REF!");
  // only formulas the client puts in itself do.
  automationCalls = kAutomationCallsRefused;
  bool loaded = false;
  if (format == kFormatNative) {
    char secret[2 * kPasswordCharacters + 1];
    BstrToAnsi(passwordText, secret, sizeof secret);
    loaded = LoadNative(secret[0] != '\0' ? secret : nullptr);
    SecureZeroMemory(secret, sizeof secret);
    if (loaded) RefreshAllContainers();
  } else if (format == kFormatText) {
    textFileOptions = textOptions;
    loaded = LoadText();
  } else if (format == kFormatExcelXml) {
    ScreenMeasurer screen;
    loaded = LoadExcelXml(&screen.Measurer());
  } else {
    xbaseTable.dialect = static_cast<uint8_t>(format);
    xbaseTable.codePage = static_cast<uint8_t>(encoding);
    if (!ReadXBaseHeader(&xbaseTable)) {
      error = kFileBadFormat;
      return FailLoad();
    }
    const HRESULT given = WriteXBaseFields(xbaseTable, xbaseInfo);
    if (FAILED(given)) {
      bufferedFile.Close();
      return given;
    }
    loaded = LoadXBase();
  }
  if (!loaded) return FailLoad();
  if (format != kFormatNative) {
    sourceFormat = static_cast<uint8_t>(format);
    saveKind = Options.SaveFormat;
  }
  return S_OK;
}

bool CAWorkbook::SaveToPath(const char* path, uint8_t type, uint8_t variant) {
  char target[kFilePathSize];
  if (!CopyWholePath(target, sizeof target, path != nullptr ? path : bufferedFile.path)) {
    error = kFilePathTooLong;
    return false;
  }
  if (target[0] == '\0') {
    error = kFileCannotOpenForWriting;
    return false;
  }
  if (type == kFormatExcelXml) StampExcelProperties(this, path != nullptr);
  const uint8_t keptType = sourceFormat;
  const uint8_t keptVariant = saveKind;
  sourceFormat = type;
  saveKind = variant;
  ScreenMeasurer screen;
  if (SaveDocumentFile(this, target, type == kFormatExcelXml ? &screen.Measurer() : nullptr)) return true;
  sourceFormat = keptType;
  saveKind = keptVariant;
  return false;
}

// A protected workbook goes on being written in the binary format, which
// alone carries the protection.
STDMETHODIMP CAWorkbook::Save() {
  if (readOnly != 0 || bufferedFile.file == nullptr) return S_FALSE;
  if (activeWorksheet == nullptr) return NoWorksheet();
  uint8_t variant = saveKind;
  if (sourceFormat == kFormatNative && protectionMode != 0) variant = kNativeBinaryGzip;
  return SaveToPath(nullptr, sourceFormat, variant) ? S_OK : ReportError(error, IID_IWorksheet, 0);
}

STDMETHODIMP CAWorkbook::SaveAs(BSTR path) {
  if (readOnly != 0 && protectionMode != 0) return S_FALSE;
  if (activeWorksheet == nullptr) return NoWorksheet();
  char file[kFilePathSize];
  if (!TakePath(*this, path, file)) return ReportError(error, IID_IWorksheet, 0);
  return SaveToPath(file, kFormatNative, SaveAsNativeVariant(*this, Options.SaveFormat))
             ? S_OK
             : ReportError(error, IID_IWorksheet, 0);
}

HRESULT CAWorkbook::SaveAsType(BSTR path, uint8_t type) {
  if (activeWorksheet == nullptr) return NoWorksheet();
  char file[kFilePathSize];
  if (!TakePath(*this, path, file)) return ReportError(error, IID_IWorksheet, 0);
  return SaveToPath(file, type, saveKind) ? S_OK : ReportError(error, IID_IWorksheet, 0);
}

// The document then holds the table it wrote, and a later Save writes that
// table again. A save that fails keeps the document's own description.
STDMETHODIMP CAWorkbook::SaveAsDatabase(BSTR path, IXBaseInfo* xbaseInfo) {
  int format = 0;
  if (xbaseInfo == nullptr || FAILED(xbaseInfo->GetXBaseFormat(&format))) return E_FAIL;
  if (!IsXBaseFormat(format)) return E_INVALIDARG;
  XBaseTable description;
  const HRESULT described = ReadXBaseDescription(xbaseInfo, format, &description);
  if (FAILED(described)) return described;
  if (activeWorksheet == nullptr) return NoWorksheet();
  XBaseTable kept;
  if (!xbaseTable.CopyTo(&kept) || !description.CopyTo(&xbaseTable)) return E_OUTOFMEMORY;
  const HRESULT saved = SaveAsType(path, static_cast<uint8_t>(format));
  if (FAILED(saved)) kept.CopyTo(&xbaseTable);
  return saved;
}

STDMETHODIMP CAWorkbook::SaveAsTextFile(BSTR path, ITextFileInfo* textFileInfo) {
  TextFileOptions options;
  const HRESULT read = ReadTextFileOptions(textFileInfo, &options);
  if (FAILED(read)) return read;
  const TextFileOptions kept = textFileOptions;
  textFileOptions = options;
  const HRESULT saved = SaveAsType(path, kFormatText);
  if (FAILED(saved)) textFileOptions = kept;
  return saved;
}

STDMETHODIMP CAWorkbook::SaveAsExcelFile(BSTR path) { return SaveAsType(path, kFormatExcelXml); }

STDMETHODIMP CAWorkbook::SaveRangeAsImage(BSTR range, BSTR path, double gamma) {
  CellRange cells;
  if (!ParseCellArg(range, &cells)) return E_INVALIDARG;
  if (activeWorksheet == nullptr) return NoWorksheet();
  char sheetPath[kTreePathCapacity];
  char file[kFilePathSize];
  if (!TakePath(*this, path, file)) return ReportError(error, IID_IWorksheet, 0);
  activeWorksheet->GetFullPath(sheetPath, sizeof sheetPath);
  if (!CWorkBook::SaveRangeAsImage(sheetPath, cells, file, kImagePng, gamma, kImageZoom, kImageZoom))
    return ReportError(error, IID_IWorksheet, 0);
  return S_OK;
}

STDMETHODIMP CAWorkbook::SaveContainerAsImage(int containerId, BSTR path, double gamma) {
  if (containerId < 0 || containerId > 0xFFFF) return E_INVALIDARG;
  if (activeWorksheet == nullptr) return NoWorksheet();
  char sheetPath[kTreePathCapacity];
  char file[kFilePathSize];
  if (!TakePath(*this, path, file)) return ReportError(error, IID_IWorksheet, 0);
  activeWorksheet->GetFullPath(sheetPath, sizeof sheetPath);
  if (!CWorkBook::SaveContainerAsImage(sheetPath, static_cast<uint16_t>(containerId), file, kImagePng, gamma,
                                       kImageZoom, kImageZoom))
    return ReportError(error, IID_IWorksheet, 0);
  return S_OK;
}

STDMETHODIMP CAWorkbook::GetProtection(BSTR* passwordText, LONG* allowReadOnly) {
  if (passwordText == nullptr || allowReadOnly == nullptr) return E_POINTER;
  if (protectionMode != 0) {
    *passwordText = AnsiToBstr(password, static_cast<int>(kPasswordCharacters));
    if (*passwordText == nullptr) return E_OUTOFMEMORY;
  }
  *allowReadOnly = ProtectionAllowsReadOnly(protectionMode) ? 1 : 0;
  return S_OK;
}

STDMETHODIMP CAWorkbook::SetProtection(BSTR passwordText, LONG allowReadOnly) {
  if (readOnly != 0) return S_FALSE;
  if (SysStringLen(passwordText) > kPasswordCharacters) return E_INVALIDARG;
  char secret[2 * kPasswordCharacters + 1];
  BstrToAnsi(passwordText, secret, sizeof secret);
  const bool set = SetWorkbookProtection(this, secret, allowReadOnly != 0);
  SecureZeroMemory(secret, sizeof secret);
  return set ? S_OK : E_INVALIDARG;
}
