#include "core/model/page_settings.h"

#include <cstring>

#include "core/base/scheme_colors.h"

void InitPageSettings(PageSettings* settings) {
  std::memset(settings, 0, sizeof *settings);
  settings->scale = 100;
  settings->firstPageNumber = 1;
  settings->copies = 1;
  settings->headerMargin = 12.7;
  settings->footerMargin = 20.32;
  std::strcpy(settings->headerText, "&c Document: &f");
  std::strcpy(settings->footerText, "&c &p");
  settings->headerColorSet = 1;
  settings->headerColor = GetSchemeColor(kSchemeWindowText);
  settings->onFirstPage = 1;
  settings->marginLeft = 12.7;
  settings->marginRight = 12.7;
  settings->marginTop = 20.32;
  settings->marginBottom = 27.939;
  settings->pagesPerSheetRows = 1;
  settings->pagesPerSheetColumns = 1;
  settings->rowHeadings = 1;
  settings->columnHeadings = 1;
}
