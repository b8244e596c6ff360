#ifndef TALVERO_TOOLS_FILE_PRINTER_WIN32_H
#define TALVERO_TOOLS_FILE_PRINTER_WIN32_H

// The file printer of the tests' prefix and of the prefix the program runs
// in: Wine's own PostScript driver with a small PPD of ours, so that Print,
// Page Setup and Print Preview work where no real printer is.

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>

// The test printer: Wine's PostScript driver with a small PPD of our own at
// 600 dots per inch, printing to a file.
inline constexpr char kTestPrinter[] = "Talvero Test Printer";
inline constexpr char kTestDriver[] = "Talvero Test PostScript";
inline constexpr char kTestPpd[] =
    "*PPD-Adobe: \"4.3\"\n"
    "*FormatVersion: \"4.3\"\n"
    "*FileVersion: \"1.0\"\n"
    "*LanguageVersion: English\n"
    "*LanguageEncoding: ISOLatin1\n"
    "*PCFileName: \"TALVERO.PPD\"\n"
    "*Manufacturer: \"Talvero\"\n"
    "*Product: \"(Talvero Test Printer)\"\n"
    "*ModelName: \"Talvero Test Printer\"\n"
    "*ShortNickName: \"Talvero Test Printer\"\n"
    "*NickName: \"Talvero Test Printer\"\n"
    "*PSVersion: \"(3010.000) 0\"\n"
    "*LanguageLevel: \"3\"\n"
    "*ColorDevice: True\n"
    "*DefaultColorSpace: RGB\n"
    "*TTRasterizer: Type42\n"
    "*DefaultResolution: 600dpi\n"
    "*OpenUI *PageSize/Page Size: PickOne\n"
    "*DefaultPageSize: A4\n"
    "*PageSize A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\n"
    "*CloseUI: *PageSize\n"
    "*DefaultImageableArea: A4\n"
    "*ImageableArea A4/A4: \"18 18 577 824\"\n"
    "*DefaultPaperDimension: A4\n"
    "*PaperDimension A4/A4: \"595 842\"\n"
    "*DefaultFont: Courier\n"
    "*Font Courier: Standard \"(002.004S)\" Standard ROM\n";

// Installs the printer, printing to port ("FILE:" leaves the file to each
// job, a path makes it the file every job writes), when the prefix lacks it;
// a message says what failed.
inline bool EnsureFilePrinter(const char* port, std::string* failure) {
  HANDLE printer = nullptr;
  if (OpenPrinterA(const_cast<char*>(kTestPrinter), &printer, nullptr)) {
    ClosePrinter(printer);
    return true;
  }
  char folder[MAX_PATH];
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder, &needed)) {
    *failure = "GetPrinterDriverDirectory failed: " + std::to_string(GetLastError());
    return false;
  }
  const std::string ppdPath = std::string(folder) + "\\talvero-test.ppd";
  FILE* ppd = std::fopen(ppdPath.c_str(), "wb");
  if (!ppd || std::fwrite(kTestPpd, 1, sizeof kTestPpd - 1, ppd) != sizeof kTestPpd - 1) {
    *failure = "cannot write " + ppdPath;
    if (ppd)
      std::fclose(ppd);
    return false;
  }
  std::fclose(ppd);

  DRIVER_INFO_3A driver = {};
  driver.cVersion = 3;
  driver.pName = const_cast<char*>(kTestDriver);
  driver.pDriverPath = const_cast<char*>("wineps.drv");
  driver.pDataFile = const_cast<char*>(ppdPath.c_str());
  driver.pConfigFile = const_cast<char*>("wineps.drv");
  if (!AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver)) &&
      GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
    *failure = "AddPrinterDriver failed: " + std::to_string(GetLastError());
    return false;
  }
  PRINTER_INFO_2A info = {};
  info.pPrinterName = const_cast<char*>(kTestPrinter);
  info.pPortName = const_cast<char*>(port);
  info.pDriverName = const_cast<char*>(kTestDriver);
  info.pPrintProcessor = const_cast<char*>("WinPrint");
  info.pDatatype = const_cast<char*>("RAW");
  printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
  if (!printer) {
    *failure = "AddPrinter failed: " + std::to_string(GetLastError());
    return false;
  }
  ClosePrinter(printer);
  return true;
}

#endif
