#ifndef TALVERO_APP_PAGE_SETTINGS_LOSSES_H
#define TALVERO_APP_PAGE_SETTINGS_LOSSES_H

// Which of a worksheet's page settings a file of a foreign kind does not
// give back: a text file and an xBase table keep none, so every setting
// that differs from a new worksheet's is lost; an Excel 2003 XML file keeps
// the orientation, the centring on the paper, the first page number, the
// header and footer texts, the margins, the scale, the copies and the
// headings, and loses the others.

#include <cstdint>
#include <string>

struct PageSettings;

// The settings lost, by their names as the question gives them ("scale,
// pages per sheet"), joined by ", "; empty when none is. The header and
// footer margins an Excel 2003 XML file derives from the margins it keeps
// are not asked about.
std::string LostPageSettings(const PageSettings& held, bool excelXml);

#endif
