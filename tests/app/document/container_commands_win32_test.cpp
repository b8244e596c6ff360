// The document window's container, chart and image commands in a real
// document window: containers inserted at the top-left visible cell as one
// undo step, a new chart taking the selection as its first series, an
// image file's container at the image's size, the selection saved as a
// picture; and the editor's container pages and fractal dialog, applied to
// the worksheet's container.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/startup/image_encoders.h"
#include "charts/images/packed_dib.h"
#include "charts/png/png_codec.h"
#include "core/model/chart_record.h"
#include "dialogs/chart_editor/chart_font_dialog.h"
#include "tests/app/document/document_window_fixture.h"
#include "view/images/range_image.h"

namespace {

// The font dialog answers with a red font.
BOOL WINAPI AnswerFontDialog(CHOOSEFONTA* choose) {
  choose->rgbColors = RGB(255, 0, 0);
  return TRUE;
}

std::vector<uint8_t> Bytes(const std::string& path) {
  const std::string text = ReadAll(path);
  return std::vector<uint8_t>(text.begin(), text.end());
}

// A 24-bit PNG file of the size, its pixels a pattern of their places.
std::string WritePng(const char* name, uint32_t width, uint32_t height) {
  uint8_t error = 0;
  uint8_t* dib = NewTopDownDib(width, height, 24, &error);
  EXPECT_NE(dib, nullptr);
  const size_t stride = DibRowStride(size_t{width} * 3);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width * 3; ++x) dib[40 + y * stride + x] = static_cast<uint8_t>(x ^ y);
  uint8_t* bytes = nullptr;
  size_t count = 0;
  EXPECT_TRUE(EncodePng(reinterpret_cast<BitmapInfoHeader*>(dib), &bytes, &count, 0.0, &error));
  std::free(dib);
  const std::string path = FullPath(name);
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes, 1, count, file);
    std::fclose(file);
  }
  std::free(bytes);
  return path;
}

// The pixels of a packed bitmap, rows from the top, without padding.
std::vector<uint8_t> Pixels(const uint8_t* dib) {
  const BitmapInfoHeader* header = reinterpret_cast<const BitmapInfoHeader*>(dib);
  const int32_t width = header->biWidth;
  const int32_t rows = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  const size_t pixelBytes = size_t(width) * (header->biBitCount / 8);
  const size_t stride = DibRowStride(pixelBytes);
  std::vector<uint8_t> pixels;
  for (int32_t y = 0; y < rows; ++y) {
    const int32_t stored = header->biHeight < 0 ? y : rows - 1 - y;
    const uint8_t* row = dib + 40 + size_t(stored) * stride;
    pixels.insert(pixels.end(), row, row + pixelBytes);
  }
  return pixels;
}

class ContainerCommandsTest : public DocumentWindowTest {
 protected:
  void SetUp() override {
    DocumentWindowTest::SetUp();
    InstallImageEncoders();
    doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    book = doc->Workbook();
    view = doc->GetActiveView();
  }
  void TearDown() override {
    SetChooseFontFunction(nullptr);
    SetDialogScripts(nullptr, 0);
    DocumentWindowTest::TearDown();
  }

  int ContainerCount() {
    int count = 0;
    for (ContainerRecord* c = book->activeWorksheet->containers; c != nullptr; c = c->next) ++count;
    return count;
  }
  ContainerRecord* LastContainer() {
    ContainerRecord* last = book->activeWorksheet->containers;
    while (last != nullptr && last->next != nullptr) last = last->next;
    return last;
  }
  CChartDlg2& Editor() { return doc->m_chartEditor; }
  HWND Page() { return Editor().ShownPage() != nullptr ? Editor().ShownPage()->m_hWnd : nullptr; }
  void SelectTab(int tab) {
    NMHDR changing = {Editor().Tabs(), IDC_EDITOR_TABS, static_cast<UINT>(TCN_SELCHANGING)};
    if (SendMessageA(Editor().m_hWnd, WM_NOTIFY, IDC_EDITOR_TABS, reinterpret_cast<LPARAM>(&changing))) return;
    TabCtrl_SetCurSel(Editor().Tabs(), tab);
    NMHDR changed = {Editor().Tabs(), IDC_EDITOR_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(Editor().m_hWnd, WM_NOTIFY, IDC_EDITOR_TABS, reinterpret_cast<LPARAM>(&changed));
    Pump();
  }
  void SetPageText(int id, const char* text) { SetDlgItemTextA(Page(), id, text); }
  void Apply() {
    SendMessageA(Editor().m_hWnd, WM_COMMAND, ID_CHART_APPLY, 0);
    Pump();
  }
  void PressPageButton(int id) {
    SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(Page(), id)));
    Pump();
  }

  CChildFrame* doc = nullptr;
  CWorkBook* book = nullptr;
  CDocumentView* view = nullptr;
};

TEST_F(ContainerCommandsTest, AChartIsInsertedAsANewContainerWithTheSelectionAsItsFirstSeries) {
  PutNumber(*book, 0, 0, 4);
  PutNumber(*book, 1, 0, 9);
  PutNumber(*book, 2, 0, 2);
  Command(doc, ID_INSERT_CONTAINER);
  ASSERT_EQ(ContainerCount(), 1);
  const uint16_t first = LastContainer()->header.id;
  SendMessageA(Editor().m_hWnd, WM_CLOSE, 0, 0);
  view->m_selectedContainer = first;
  doc->SelectRange(SelectionRange{0, 0, 0, 2});
  view->m_firstColumn = 2;
  view->m_firstRow = 5;
  const int32_t steps = book->undoHistory.Current();

  Command(doc, ID_INSERT_CHART_3D);
  ASSERT_EQ(ContainerCount(), 2) << "a selected container gets no chart: a new one is made";
  ContainerRecord* box = LastContainer();
  EXPECT_NE(box->header.id, first);
  EXPECT_EQ(uint16_t{box->header.anchor.column}, 2);
  EXPECT_EQ(uint32_t{box->header.anchor.row}, 5u);
  ASSERT_EQ(box->header.itemCount, 1);
  EXPECT_EQ(box->items[0].chart->Kind(), kChart3D);
  EXPECT_EQ(book->undoHistory.Current(), steps + 1);
  EXPECT_TRUE(doc->IsModified());
  ASSERT_NE(Editor().m_hWnd, nullptr);
  EXPECT_EQ(Editor().SelectedChart(), 0);
  EXPECT_EQ(Editor().SelectedSeries(), 0);
  const ChartRecord* copy = Editor().WorkingCopy().items[0].chart;
  ASSERT_EQ(copy->options.seriesCount, 1);
  const std::string formula = copy->series[0].dataArray;
  EXPECT_EQ(formula.substr(formula.size() - 10), "!R1C1:R3C1") << formula;

  Apply();
  EXPECT_EQ(box->items[0].chart->options.seriesCount, 1);
  EXPECT_EQ(box->items[0].chart->seriesLists[0].points.Count(), 3u);
  Command(doc, ID_EDIT_UNDO);
  Command(doc, ID_EDIT_UNDO);
  EXPECT_EQ(ContainerCount(), 1) << "the insert is one undo step";
}

TEST_F(ContainerCommandsTest, AnImageFileBecomesAContainerOfItsSize) {
  g_openPath = WritePng("container_commands_200x100.png", 200, 100);
  Command(doc, ID_INSERT_IMAGE);
  ASSERT_EQ(ContainerCount(), 1);
  const ContainerHeader& h = LastContainer()->header;
  EXPECT_EQ(h.backgroundKind, kBackgroundImage);
  EXPECT_EQ(h.imageView, 0);
  EXPECT_STREQ(h.imageName, g_openPath.c_str());
  EXPECT_EQ(h.rect.right - h.rect.left + 1, 200);
  EXPECT_EQ(h.rect.bottom - h.rect.top + 1, 100);
  EXPECT_EQ(Editor().m_hWnd, nullptr) << "no editor opens";

  // A file that cannot be read keeps its name and the default size.
  g_openPath = FullPath("container_commands_missing.png");
  Command(doc, ID_INSERT_IMAGE);
  ASSERT_EQ(ContainerCount(), 2);
  const ContainerHeader& missing = LastContainer()->header;
  EXPECT_STREQ(missing.imageName, g_openPath.c_str());
  EXPECT_EQ(missing.rect.right - missing.rect.left, 350);

  g_openPath.clear();  // cancelled
  Command(doc, ID_INSERT_IMAGE);
  EXPECT_EQ(ContainerCount(), 2);
}

TEST_F(ContainerCommandsTest, CopyImageToWritesTheSelectedContainerOrElseTheSelectedRange) {
  PutNumber(*book, 0, 0, 12.5);
  g_openPath = WritePng("container_commands_picture.png", 60, 40);
  Command(doc, ID_INSERT_IMAGE);
  ContainerRecord* box = LastContainer();
  ASSERT_NE(box, nullptr);

  struct Case {
    bool container;
    DWORD filter;
    const char* file;
  };
  const Case cases[] = {
      {true, 1, "container_commands_box.png"},
      {false, 1, "container_commands_range.png"},
      {true, 2, "container_commands_box.jpg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    view->m_selectedContainer = c.container ? box->header.id : 0;
    doc->SelectRange(SelectionRange{0, 0, 1, 2});
    g_savePath = FullPath(c.file);
    g_saveFilter = c.filter;
    std::remove(g_savePath.c_str());
    Command(doc, ID_COPY_IMAGE_TO);
    EXPECT_EQ(g_defaultExtension, "png");
    EXPECT_TRUE(g_boxes.empty());
    const std::vector<uint8_t> file = Bytes(g_savePath);
    ASSERT_GT(file.size(), 4u);
    if (c.filter == 2) {
      EXPECT_EQ(file[0], 0xFF);
      EXPECT_EQ(file[1], 0xD8);
      continue;
    }
    uint8_t error = 0;
    BitmapInfoHeader* decoded = DecodePng(file.data(), file.size(), false, 0, &error);
    ASSERT_NE(decoded, nullptr);
    size_t bytes = 0;
    uint8_t* painted = c.container
                           ? RenderContainerImage(book, box, 3, 100, 100, &bytes, &error)
                           : RenderRangeImage(book, book->activeWorksheet, CellRange{0, 0, 1, 2}, 100, 100, &bytes,
                                              &error);
    ASSERT_NE(painted, nullptr);
    const BitmapInfoHeader* paintedHeader = reinterpret_cast<const BitmapInfoHeader*>(painted);
    EXPECT_EQ(decoded->biWidth, paintedHeader->biWidth);
    if (c.container) {
      EXPECT_EQ(decoded->biWidth, 60);
    }
    EXPECT_TRUE(Pixels(reinterpret_cast<uint8_t*>(decoded)) == Pixels(painted));
    std::free(decoded);
    std::free(painted);
  }
  g_savePath.clear();
  Command(doc, ID_COPY_IMAGE_TO);  // cancelled: nothing happens
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(ContainerCommandsTest, TheSizePageStoresGridSpacingAndSizeAndRefusesAValueOutOfRange) {
  Command(doc, ID_INSERT_CONTAINER);
  ASSERT_NE(Editor().m_hWnd, nullptr);
  EXPECT_EQ(Editor().SelectedChart(), -1);
  ASSERT_EQ(TabCtrl_GetItemCount(Editor().Tabs()), 3);
  ContainerRecord* box = LastContainer();
  const int32_t left = box->header.rect.left;

  SetPageText(IDC_CNT_COLUMNS_EDIT, "3");
  SetPageText(IDC_CNT_HSPACING_EDIT, "5");
  SetPageText(IDC_CNT_VSPACING_EDIT, "2");
  SetPageText(IDC_CNT_WIDTH_EDIT, "300");
  const int32_t steps = book->undoHistory.Current();
  Apply();
  EXPECT_EQ(book->undoHistory.Current(), steps + 1);
  EXPECT_EQ(box->header.columns, 3);
  EXPECT_EQ(box->header.horizontalSpacing, 5);
  EXPECT_EQ(box->header.verticalSpacing, 2);
  EXPECT_EQ(int32_t{box->header.rect.right}, left + 299);

  // An up-down step moves the edit within its range.
  NMUPDOWN step = {};
  step.hdr = {GetDlgItem(Page(), IDC_CNT_COLUMNS_SPIN), IDC_CNT_COLUMNS_SPIN, static_cast<UINT>(UDN_DELTAPOS)};
  step.iDelta = 100;
  SendMessageA(Page(), WM_NOTIFY, IDC_CNT_COLUMNS_SPIN, reinterpret_cast<LPARAM>(&step));
  char text[16] = {};
  GetDlgItemTextA(Page(), IDC_CNT_COLUMNS_EDIT, text, sizeof text);
  EXPECT_STREQ(text, "103");

  SetPageText(IDC_CNT_COLUMNS_EDIT, "256");
  Apply();
  EXPECT_EQ(book->undoHistory.Current(), steps + 1) << "a refused page applies nothing";
  EXPECT_EQ(box->header.columns, 3);
  EXPECT_EQ(GetFocus(), GetDlgItem(Page(), IDC_CNT_COLUMNS_EDIT));
  SelectTab(1);
  EXPECT_EQ(TabCtrl_GetCurSel(Editor().Tabs()), 0) << "the editor keeps the page";
}

TEST_F(ContainerCommandsTest, TheWindowPageTakesABrowsedImageAndTheFractalDialogStoresOnlyOnOK) {
  Command(doc, ID_INSERT_CONTAINER);
  ContainerRecord* box = LastContainer();
  SelectTab(1);
  ASSERT_NE(GetDlgItem(Page(), IDC_CNT_IMAGE_VIEW), nullptr);
  EXPECT_EQ(IsDlgButtonChecked(Page(), IDC_CNT_PATTERN_RADIO), BST_CHECKED);

  g_openPath = FullPath("container_commands_back.png");
  PressPageButton(IDC_CNT_BROWSE);
  char text[300] = {};
  GetDlgItemTextA(Page(), IDC_CNT_IMAGE_EDIT, text, sizeof text);
  EXPECT_EQ(std::string(text), g_openPath);
  CheckDlgButton(Page(), IDC_CNT_PATTERN_RADIO, BST_UNCHECKED);
  CheckDlgButton(Page(), IDC_CNT_IMAGE_RADIO, BST_CHECKED);
  SendMessageA(GetDlgItem(Page(), IDC_CNT_IMAGE_VIEW), CB_SETCURSEL, 2, 0);
  Apply();
  EXPECT_EQ(box->header.backgroundKind, kBackgroundImage);
  EXPECT_EQ(box->header.imageView, 2);
  EXPECT_STREQ(box->header.imageName, g_openPath.c_str());

  // Reset and Cancel: nothing changes.
  const FractalParameters before = box->header.fractal;
  const DialogScriptStep resetCancel[] = {
      {205, DialogAction::kSetText, "7", 0},
      {IDC_FRACTAL_RESET, DialogAction::kPress, nullptr, 0},
      {IDCANCEL, DialogAction::kPress, nullptr, 0},
  };
  DialogScript script = {IDD_FRACTAL, resetCancel, 3, false, false, 0};
  SetDialogScripts(&script, 1);
  PressPageButton(IDC_CNT_FRACTAL_OPTIONS);
  EXPECT_TRUE(script.ran);
  Apply();
  EXPECT_EQ(std::memcmp(&box->header.fractal, &before, sizeof before), 0);

  // A number that does not parse keeps the dialog open and stores nothing
  // before it; corrected, OK stores all six.
  const DialogScriptStep badThenGood[] = {
      {205, DialogAction::kSetText, "0.5", 0},
      {1005, DialogAction::kSetText, "1..2", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
      {1005, DialogAction::kSetText, "2.5", 0},
      {IDOK, DialogAction::kPress, nullptr, 0},
  };
  script = DialogScript{IDD_FRACTAL, badThenGood, 5, false, false, 0};
  PressPageButton(IDC_CNT_FRACTAL_OPTIONS);
  EXPECT_FALSE(script.stalled);
  EXPECT_EQ(script.result, IDOK);
  CheckDlgButton(Page(), IDC_CNT_IMAGE_RADIO, BST_UNCHECKED);
  CheckDlgButton(Page(), IDC_CNT_FRACTAL_RADIO, BST_CHECKED);
  Apply();
  EXPECT_EQ(box->header.backgroundKind, kBackgroundFractal);
  EXPECT_EQ(double{box->header.fractal.zr}, 0.5);
  EXPECT_EQ(double{box->header.fractal.maxY}, 2.5);
  EXPECT_EQ(double{box->header.fractal.minX}, double{before.minX});
}

TEST_F(ContainerCommandsTest, TheTitlesPageStoresTextsAndTheChosenFont) {
  SetChooseFontFunction(AnswerFontDialog);
  Command(doc, ID_INSERT_CONTAINER);
  ContainerRecord* box = LastContainer();
  SelectTab(2);
  SetPageText(IDC_CNT_TITLE_EDIT, "Sales");
  SetPageText(IDC_CNT_SUBTITLE_EDIT, "by month");
  PressPageButton(IDC_CNT_SUBTITLE_FONT);
  Apply();
  EXPECT_STREQ(box->header.titleText, "Sales");
  EXPECT_STREQ(box->header.subtitleText, "by month");
  EXPECT_EQ(box->header.titleFont.colorSet, 0);
  EXPECT_EQ(box->header.subtitleFont.colorSet, 1);
  EXPECT_EQ(uint32_t{box->header.subtitleFont.color}, static_cast<uint32_t>(RGB(255, 0, 0)));
}

}  // namespace
