#ifndef TALVERO_PLATFORM_UI_PRINTER_CAPABILITIES_H
#define TALVERO_PLATFORM_UI_PRINTER_CAPABILITIES_H

// What the printer driver says of a printer: its device settings (DEVMODE),
// its port, location, comment and queued jobs, and the papers and bins it
// offers, each with its name and number.

#include <windows.h>
#include <commdlg.h>

#include <cstdint>

constexpr int kPrinterNameCapacity = 256;
constexpr int kPaperNameSize = 64;  // as the driver lists them, NUL-padded
constexpr int kBinNameSize = 24;
constexpr int kMaxPrinterForms = 256;

// The papers (DC_PAPERNAMES, DC_PAPERS) or bins (DC_BINNAMES, DC_BINS) of a
// printer; names are cut to fit and always end in NUL.
struct PrinterFormList {
  int count;
  char names[kMaxPrinterForms][kPaperNameSize];
  uint16_t numbers[kMaxPrinterForms];
};

// The system's default printer; false when there is none.
bool GetDefaultPrinterName(char* name, DWORD size);
// The printer's own default device settings as a block of movable global
// memory; null when the printer cannot be opened or asked.
HGLOBAL ReadPrinterDevMode(HWND owner, const char* printer);
// Unless a printer is held already (a name and its settings), holds the
// default printer: its name in name (kPrinterNameCapacity bytes) and its own
// device settings in *devMode, replacing a block held before. False when
// there is no default printer or it cannot be asked.
bool HoldDefaultPrinter(HWND owner, char* name, HGLOBAL* devMode);
// A copy of a movable device-settings block; null when there is none or it
// cannot be read.
HGLOBAL CopyDevModeBlock(HGLOBAL devMode);
// The device name in a locked DEVNAMES block of size bytes; null when the
// block is missing or the name does not lie, NUL-ended, inside it.
const char* DeviceNameIn(const DEVNAMES* names, SIZE_T size);
// Port, location, comment and job count from the printer's level-2
// information; false when it cannot be opened or asked.
struct PrinterDetails {
  char port[kPrinterNameCapacity];
  char location[kPrinterNameCapacity];
  char comment[kPrinterNameCapacity];
  DWORD jobs;
};
bool ReadPrinterDetails(const char* printer, PrinterDetails* details);
// The papers or bins; false when the driver gives no list.
bool ReadPrinterPapers(const char* printer, const DEVMODEA* devMode, PrinterFormList* papers);
bool ReadPrinterBins(const char* printer, const DEVMODEA* devMode, PrinterFormList* bins);
// The position of the first name equal to name without regard to case, or
// of the first number equal to number; -1 when none is.
int FindFormByName(const PrinterFormList& list, const char* name);
int FindFormByNumber(const PrinterFormList& list, uint16_t number);
// A printer device context with the device settings (null: the printer's
// defaults); the caller deletes it. Null when it cannot be made.
HDC CreatePrinterDC(const char* printer, const DEVMODEA* devMode);

#endif
