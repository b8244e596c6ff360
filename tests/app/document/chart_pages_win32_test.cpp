// The chart pages in the editor of a real document window: the 3D Options
// page turning a chart at once as one undo step, sizes and tick settings a
// saved workbook could not take refused on Apply, the legend, a user
// gridline from its dialog, and a font from the font dialog.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>

#include "core/base/scheme_colors.h"
#include "dialogs/chart_editor/chart_font_dialog.h"
#include "platform/ui/dialog_script.h"
#include "tests/app/document/chart_editor_fixture.h"

namespace {

// The font dialog answers with Arial in red.
BOOL WINAPI ChooseRedArial(CHOOSEFONTA* choose) {
  std::strcpy(choose->lpLogFont->lfFaceName, "Arial");
  choose->lpLogFont->lfHeight = -16;
  choose->rgbColors = RGB(255, 0, 0);
  return TRUE;
}

class ChartPagesTest : public ChartEditorTest {
 protected:
  // The editor open on a container with one chart of the kind, on the tab.
  uint16_t OpenOnTab(uint8_t kind, const char* tab) {
    const uint16_t id = AddContainer({kind});
    DoubleClickContainer();
    EXPECT_EQ(Editor().SelectedChart(), 0);
    EXPECT_TRUE(ClickTab(tab)) << tab;
    return id;
  }
  HWND PageControl(int id) { return GetDlgItem(Editor().ShownPage()->m_hWnd, id); }
  void TypeIntoPage(int id, const char* text) {
    HWND edit = PageControl(id);
    SetFocus(edit);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    Pump();
  }
  void Apply() { ClickButton(Editor().MainToolBar(), ID_CHART_APPLY); }
  // A click on the right-hand (or upper) half of an up-down control.
  void ClickSpin(int id) {
    HWND spin = PageControl(id);
    ASSERT_NE(spin, nullptr);
    RECT r = {};
    GetClientRect(spin, &r);
    const LPARAM at = MAKELPARAM(r.right * 3 / 4, r.bottom / 4);
    PostMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(spin, WM_LBUTTONUP, 0, at);
    Pump();
  }
  const ChartRecord& StoredChart(uint16_t id) { return *Stored(id)->items[0].chart; }
};

TEST_F(ChartPagesTest, ARotationStepAppliesAtOnceAsOneUndoStep) {
  const uint16_t id = OpenOnTab(kChart3D, "3D Options");
  float before[4][4];
  std::memcpy(before, StoredChart(id).viewMatrix, sizeof before);
  const int32_t steps = book->undoHistory.Current();
  ClickSpin(IDC_ROTATE_X_SPIN);
  EXPECT_EQ(book->undoHistory.Current(), steps + 1);
  EXPECT_NE(std::memcmp(before, StoredChart(id).viewMatrix, sizeof before), 0) << "the container turned without Apply";
  Command(doc, ID_EDIT_UNDO);
  EXPECT_EQ(book->undoHistory.Current(), steps);
  EXPECT_EQ(std::memcmp(before, StoredChart(id).viewMatrix, sizeof before), 0);
  // The lamp slider applies too, the "Right" end giving the light from 0.
  SetFocus(PageControl(IDC_LAMP_HORIZONTAL_TRACK));
  SendMessageA(PageControl(IDC_LAMP_HORIZONTAL_TRACK), WM_KEYDOWN, VK_END, 0);
  Pump();
  EXPECT_EQ(StoredChart(id).options.lightDirectionX, 0);
  EXPECT_EQ(g_boxes.size(), 0u);
}

TEST_F(ChartPagesTest, APlotSizeOfZeroIsRefusedAndTheEditorStaysOnThePage) {
  const uint16_t id = OpenOnTab(kChart2D, "Walls/Size");
  const int32_t steps = book->undoHistory.Current();
  for (const char* text : {"0", "101", "x"}) {
    TypeIntoPage(IDC_VIEW_WIDTH_EDIT, text);
    Apply();
    EXPECT_EQ(book->undoHistory.Current(), steps) << text;
    EXPECT_EQ(GetFocus(), PageControl(IDC_VIEW_WIDTH_EDIT)) << text;
    // Another tab is refused as well.
    EXPECT_FALSE(ClickTab("Axes")) << text;
  }
  TypeIntoPage(IDC_VIEW_WIDTH_EDIT, "40");
  Apply();
  EXPECT_EQ(book->undoHistory.Current(), steps + 1);
  EXPECT_EQ(StoredChart(id).options.viewWidth, 40);
}

TEST_F(ChartPagesTest, TickSettingsAreStoredPlusOneUpToWhatFilesHold) {
  const uint16_t id = OpenOnTab(kChart2D, "Axes");
  TypeIntoPage(IDC_MAJOR_TICKS_EDIT, "65534");
  Apply();
  EXPECT_EQ(GetFocus(), PageControl(IDC_MAJOR_TICKS_EDIT));
  TypeIntoPage(IDC_MAJOR_TICKS_EDIT, "0");
  TypeIntoPage(IDC_MINOR_TICKS_EDIT, "65533");
  Apply();
  EXPECT_EQ(StoredChart(id).series[0].periods, 1);
  EXPECT_EQ(StoredChart(id).series[0].subperiods, 65534);
  // Shown again as typed.
  ASSERT_TRUE(ClickTab("Grid"));
  ASSERT_TRUE(ClickTab("Axes"));
  char text[16] = {};
  GetWindowTextA(PageControl(IDC_MAJOR_TICKS_EDIT), text, sizeof text);
  EXPECT_STREQ(text, "0");
}

TEST_F(ChartPagesTest, TheLegendOnTheRightGrownInWidthAndATitleFont) {
  SetChooseFontFunction(ChooseRedArial);
  const uint16_t id = OpenOnTab(kChart2D, "Titles/Legend");
  SendMessageA(PageControl(IDC_LEGEND_POSITION_COMBO), CB_SETCURSEL, 3, 0);
  SendMessageA(PageControl(IDC_LEGEND_EXPAND_COMBO), CB_SETCURSEL, 0, 0);
  TypeIntoPage(IDC_TITLE_EDIT, "Sales");
  SendMessageA(Editor().ShownPage()->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_TITLE_FONT_BUTTON, BN_CLICKED),
               reinterpret_cast<LPARAM>(PageControl(IDC_TITLE_FONT_BUTTON)));
  Apply();
  SetChooseFontFunction(nullptr);
  const ChartOptions& options = StoredChart(id).options;
  EXPECT_EQ(options.legend, 6);
  EXPECT_STREQ(options.titleText, "Sales");
  EXPECT_STREQ(options.titleFont.font.faceName, "Arial");
  EXPECT_EQ(options.titleFont.colorSet, 1);
  EXPECT_EQ(uint32_t(options.titleFont.color), static_cast<uint32_t>(RGB(255, 0, 0)));
}

TEST_F(ChartPagesTest, AUserGridlineComesFromItsDialogAndAWrongValueKeepsItOpen) {
  const uint16_t id = OpenOnTab(kChart2D, "Grid");
  DialogScriptStep steps[] = {{IDC_GRIDLINE_VALUE_EDIT, DialogAction::kSetText, "abc", 0},
                              {IDOK, DialogAction::kPress, nullptr, 0},
                              {IDC_GRIDLINE_VALUE_EDIT, DialogAction::kSetText, "2.5", 0},
                              {IDOK, DialogAction::kPress, nullptr, 0}};
  DialogScript script{IDD_USER_GRIDLINE, steps, 4, false, false, 0};
  SetDialogScripts(&script, 1);
  auto* page = static_cast<CChartGridDlg*>(Editor().ShownPage());
  page->AddUserGridline();
  SetDialogScripts(nullptr, 0);
  EXPECT_TRUE(script.ran);
  EXPECT_FALSE(script.stalled);
  EXPECT_EQ(SendMessageA(page->UserGridList(), LB_GETCOUNT, 0, 0), 1);
  Apply();
  ASSERT_EQ(StoredChart(id).series[0].userGridCount, 1);
  EXPECT_EQ(double(StoredChart(id).series[0].userGridValues[0]), 2.5);
}

TEST_F(ChartPagesTest, TheStylePageStepsThroughSixteenPieSlicesAndRefusesABarSizeOfZero) {
  const uint16_t id = AddContainer({kChart2D});
  Stored(id)->items[0].chart->series[0].viewType = kViewPie;
  DoubleClickContainer();
  ASSERT_TRUE(ClickTab("Style"));
  auto* page = static_cast<CChartStyleDlg*>(Editor().ShownPage());
  EXPECT_TRUE(IsWindowEnabled(PageControl(IDC_PIE_STYLE_SPIN)));
  EXPECT_FALSE(IsWindowEnabled(PageControl(IDC_LINE_STYLE_COMBO)));
  char text[32] = {};
  for (int click = 0; click < 20; ++click) ClickSpin(IDC_PIE_STYLE_SPIN);
  GetWindowTextA(PageControl(IDC_PIE_STYLE_EDIT), text, sizeof text);
  EXPECT_STREQ(text, "Pie Style 16.");
  EXPECT_EQ(page->PieSlice(), 15);
  // Bar size 0 keeps the dialog open; the split takes 0.
  DialogScriptStep steps[] = {{IDC_BAR_SIZE_EDIT, DialogAction::kSetText, "0", 0},
                              {IDC_PIE_SPLIT_EDIT, DialogAction::kSetText, "0", 0},
                              {IDOK, DialogAction::kPress, nullptr, 0},
                              {IDC_BAR_SIZE_EDIT, DialogAction::kSetText, "35", 0},
                              {IDOK, DialogAction::kPress, nullptr, 0}};
  DialogScript script{IDD_CHART_STYLE_ADVANCED, steps, 5, false, false, 0};
  SetDialogScripts(&script, 1);
  SendMessageA(page->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_ADVANCED_BUTTON, BN_CLICKED),
               reinterpret_cast<LPARAM>(PageControl(IDC_ADVANCED_BUTTON)));
  SetDialogScripts(nullptr, 0);
  EXPECT_TRUE(script.ran);
  EXPECT_FALSE(script.stalled);
  Apply();
  EXPECT_EQ(StoredChart(id).options.barSize, 35);
  EXPECT_EQ(StoredChart(id).options.pieSplit, 0);
}

TEST_F(ChartPagesTest, TheDataPageRefusesAFromValueThatIsNoNumber) {
  const uint16_t id = OpenOnTab(kChartXY, "Data");
  EXPECT_TRUE(IsWindowEnabled(PageControl(IDC_X_DOMAIN_EDIT)));
  SendMessageA(PageControl(IDC_FROM_VALUE_CHECK), BM_CLICK, 0, 0);
  TypeIntoPage(IDC_FROM_VALUE_EDIT, "one");
  TypeIntoPage(IDC_X_DOMAIN_EDIT, "Days  ");
  const int32_t steps = book->undoHistory.Current();
  Apply();
  EXPECT_EQ(book->undoHistory.Current(), steps);
  EXPECT_EQ(GetFocus(), PageControl(IDC_FROM_VALUE_EDIT));
  TypeIntoPage(IDC_FROM_VALUE_EDIT, "-2");
  Apply();
  // The X domain names no X-values series yet, so Apply says so and stops.
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].substr(0, 20), "The XY chart require");
  EXPECT_EQ(book->undoHistory.Current(), steps);
  TypeIntoPage(IDC_X_DOMAIN_EDIT, "");
  Apply();
  EXPECT_EQ(book->undoHistory.Current(), steps + 1);
  const SeriesRecord& series = StoredChart(id).series[0];
  EXPECT_EQ(double(series.fromValue), -2.0);
  EXPECT_TRUE(series.flags & kSeriesFromValueSet);
}

TEST_F(ChartPagesTest, TheViewPageOfAnXYChartAlwaysSavesAScatterSeries) {
  const uint16_t id = AddContainer({kChartXY});
  ChartRecord* chart = Stored(id)->items[0].chart;
  chart->series[0].viewType = kViewColumn;
  chart->series[0].stacked = 1;
  DoubleClickContainer();
  ASSERT_TRUE(ClickTab("View"));
  Apply();
  EXPECT_EQ(StoredChart(id).series[0].viewType, kViewScatter);
  EXPECT_EQ(StoredChart(id).series[0].stacked, 0);
}

}  // namespace
