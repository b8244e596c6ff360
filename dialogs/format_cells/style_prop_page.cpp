#include "dialogs/format_cells/style_prop_page.h"

#include "dialogs/format_cells/selection_appliers.h"
#include "resources/resource_ids.h"

CStylePropPage::CStylePropPage(CFormatPropSheet* sheet) : CFormatPageT<CNumFormatHost>(sheet, IDD_STYLE_PAGE, true) {}

void CStylePropPage::OnFormatChanged() { ApplyNumFormatToSelection(Host(), Params()); }
