#include "platform/ui/printer_capabilities.h"

#include <winspool.h>

#include <cstdlib>
#include <cstring>

#include "platform/ui/locked_global.h"

namespace {

void CopyText(char* out, size_t size, const char* text) { lstrcpynA(out, text != nullptr ? text : "", static_cast<int>(size)); }

// The names and numbers of one capability pair into the list.
bool ReadForms(const char* printer, const DEVMODEA* devMode, WORD namesCapability, WORD numbersCapability,
               int nameSize, PrinterFormList* list) {
  list->count = 0;
  PrinterDetails details;
  if (!ReadPrinterDetails(printer, &details)) return false;
  const int names = DeviceCapabilitiesA(printer, details.port, namesCapability, nullptr, devMode);
  const int numbers = DeviceCapabilitiesA(printer, details.port, numbersCapability, nullptr, devMode);
  if (names <= 0 || numbers <= 0) return false;
  char* nameBlock = static_cast<char*>(std::calloc(static_cast<size_t>(names), static_cast<size_t>(nameSize)));
  WORD* numberBlock = static_cast<WORD*>(std::calloc(static_cast<size_t>(numbers), sizeof(WORD)));
  const bool read = nameBlock != nullptr && numberBlock != nullptr &&
                    DeviceCapabilitiesA(printer, details.port, namesCapability, nameBlock, devMode) > 0 &&
                    DeviceCapabilitiesA(printer, details.port, numbersCapability,
                                        reinterpret_cast<char*>(numberBlock), devMode) > 0;
  if (read) {
    const int count = names < numbers ? names : numbers;
    list->count = count < kMaxPrinterForms ? count : kMaxPrinterForms;
    for (int i = 0; i < list->count; ++i) {
      // A name fills its whole field when it is that long.
      const int length = static_cast<int>(strnlen(nameBlock + i * nameSize, static_cast<size_t>(nameSize)));
      const int kept = length < kPaperNameSize - 1 ? length : kPaperNameSize - 1;
      std::memcpy(list->names[i], nameBlock + i * nameSize, static_cast<size_t>(kept));
      list->names[i][kept] = '\0';
      list->numbers[i] = numberBlock[i];
    }
  }
  std::free(nameBlock);
  std::free(numberBlock);
  return read && list->count > 0;
}

}  // namespace

bool GetDefaultPrinterName(char* name, DWORD size) {
  DWORD needed = size;
  return GetDefaultPrinterA(name, &needed) != FALSE && name[0] != '\0';
}

HGLOBAL ReadPrinterDevMode(HWND owner, const char* printer) {
  HANDLE handle = nullptr;
  if (!OpenPrinterA(const_cast<char*>(printer), &handle, nullptr)) return nullptr;
  HGLOBAL block = nullptr;
  const LONG bytes = DocumentPropertiesA(owner, handle, const_cast<char*>(printer), nullptr, nullptr, 0);
  if (bytes > 0) block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(bytes));
  if (block != nullptr) {
    LONG done = IDCANCEL;
    {
      LockedGlobal settings(block);
      if (DEVMODEA* devMode = settings.As<DEVMODEA>())
        done = DocumentPropertiesA(owner, handle, const_cast<char*>(printer), devMode, nullptr, DM_OUT_BUFFER);
    }
    if (done != IDOK) {
      GlobalFree(block);
      block = nullptr;
    }
  }
  ClosePrinter(handle);
  return block;
}

bool HoldDefaultPrinter(HWND owner, char* name, HGLOBAL* devMode) {
  if (name[0] != '\0' && *devMode != nullptr) return true;
  char found[kPrinterNameCapacity];
  if (!GetDefaultPrinterName(found, sizeof found)) return false;
  HGLOBAL settings = ReadPrinterDevMode(owner, found);
  if (settings == nullptr) return false;
  if (*devMode != nullptr) GlobalFree(*devMode);
  *devMode = settings;
  lstrcpynA(name, found, kPrinterNameCapacity);
  return true;
}

HGLOBAL CopyDevModeBlock(HGLOBAL devMode) {
  if (devMode == nullptr) return nullptr;
  const SIZE_T bytes = GlobalSize(devMode);
  HGLOBAL copy = bytes > 0 ? GlobalAlloc(GMEM_MOVEABLE, bytes) : nullptr;
  if (copy == nullptr) return nullptr;
  bool copied = false;
  {
    LockedGlobal from(devMode), to(copy);
    if (from.Data() != nullptr && to.Data() != nullptr) {
      std::memcpy(to.Data(), from.Data(), bytes);
      copied = true;
    }
  }
  if (copied) return copy;
  GlobalFree(copy);
  return nullptr;
}

const char* DeviceNameIn(const DEVNAMES* names, SIZE_T size) {
  if (names == nullptr || size < sizeof(DEVNAMES) || names->wDeviceOffset >= size) return nullptr;
  const char* device = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
  return std::memchr(device, '\0', size - names->wDeviceOffset) != nullptr ? device : nullptr;
}

bool ReadPrinterDetails(const char* printer, PrinterDetails* details) {
  std::memset(details, 0, sizeof *details);
  HANDLE handle = nullptr;
  if (!OpenPrinterA(const_cast<char*>(printer), &handle, nullptr)) return false;
  DWORD needed = 0;
  GetPrinterA(handle, 2, nullptr, 0, &needed);
  bool read = false;
  if (needed > 0) {
    BYTE* block = static_cast<BYTE*>(std::malloc(needed));
    if (block != nullptr && GetPrinterA(handle, 2, block, needed, &needed)) {
      const PRINTER_INFO_2A* info = reinterpret_cast<const PRINTER_INFO_2A*>(block);
      CopyText(details->port, sizeof details->port, info->pPortName);
      CopyText(details->location, sizeof details->location, info->pLocation);
      CopyText(details->comment, sizeof details->comment, info->pComment);
      details->jobs = info->cJobs;
      read = true;
    }
    std::free(block);
  }
  ClosePrinter(handle);
  return read;
}

bool ReadPrinterPapers(const char* printer, const DEVMODEA* devMode, PrinterFormList* papers) {
  return ReadForms(printer, devMode, DC_PAPERNAMES, DC_PAPERS, kPaperNameSize, papers);
}

bool ReadPrinterBins(const char* printer, const DEVMODEA* devMode, PrinterFormList* bins) {
  return ReadForms(printer, devMode, DC_BINNAMES, DC_BINS, kBinNameSize, bins);
}

int FindFormByName(const PrinterFormList& list, const char* name) {
  for (int i = 0; i < list.count; ++i)
    if (lstrcmpiA(list.names[i], name) == 0) return i;
  return -1;
}

int FindFormByNumber(const PrinterFormList& list, uint16_t number) {
  for (int i = 0; i < list.count; ++i)
    if (list.numbers[i] == number) return i;
  return -1;
}

HDC CreatePrinterDC(const char* printer, const DEVMODEA* devMode) {
  return CreateDCA("WINSPOOL", printer, nullptr, devMode);
}
