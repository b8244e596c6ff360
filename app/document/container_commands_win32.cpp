// The document window's container, chart and image commands: an empty
// container, one holding a new chart or one showing an image file put on
// the active worksheet, and the selection (a range or a container) saved
// as a picture.

#include <cstdio>
#include <new>

#include <shlobj.h>

#include "app/document/child_frame.h"
#include "app/document/selection_cells.h"
#include "charts/images/image_cache_loading.h"
#include "charts/images/packed_dib.h"
#include "core/model/chart_record.h"
#include "core/model/container_record.h"
#include "core/workbook/worksheet.h"
#include "dialogs/file/image_file_dialog.h"
#include "platform/ui/wait_cursor.h"
#include "resources/resource_ids.h"

namespace {

// The image commands' folder, shared, and each dialog's file type.
char g_imageFolder[kFileDialogText] = {};
ImageDialogMemory g_insertImageDialog = {{}, 1};
ImageDialogMemory g_saveImageDialog = {{}, 1};

// Format codes of the workbook's image writers.
constexpr uint8_t kImageJpeg = 2;
constexpr uint8_t kImagePng = 3;

// Runs the image dialog from the commands' folder (at first the user's
// pictures), which follows the chosen file.
bool ChooseCommandImage(HWND owner, bool openDialog, const char* title, ImageDialogMemory* memory, char* path,
                        size_t size) {
  if (g_imageFolder[0] == '\0' && !::SHGetSpecialFolderPathA(nullptr, g_imageFolder, CSIDL_MYPICTURES, FALSE))
    g_imageFolder[0] = '\0';
  std::snprintf(memory->folder, sizeof memory->folder, "%s", g_imageFolder);
  if (!ChooseImageFile(owner, openDialog, title, memory, path, size)) return false;
  std::snprintf(g_imageFolder, sizeof g_imageFolder, "%s", memory->folder);
  return true;
}

}  // namespace

bool CChildFrame::OnContainerCommand(UINT command) {
  switch (command) {
    case ID_INSERT_CONTAINER:
      OnInsertContainer();
      return true;
    case ID_INSERT_CHART_2D:
      OnInsertChart(kChart2D);
      return true;
    case ID_INSERT_CHART_3D:
      OnInsertChart(kChart3D);
      return true;
    case ID_INSERT_CHART_XY:
      OnInsertChart(kChartXY);
      return true;
    case ID_INSERT_IMAGE:
      OnInsertImage();
      return true;
    case ID_COPY_IMAGE_TO:
      OnSaveSelectionAsImage();
      return true;
  }
  return false;
}

ContainerRecord* CChildFrame::NewViewContainer(ChartRecord* chart) {
  CDocumentView* view = ViewForCommand();
  ContainerRecord* container = view != nullptr ? new (std::nothrow) ContainerRecord : nullptr;
  if (container == nullptr) {
    delete chart;
    if (view != nullptr) ShowError(kWorkbookOutOfMemory);
    return nullptr;
  }
  const ContainerAnchor anchor = {static_cast<uint16_t>(view->m_firstColumn), view->m_firstRow, 9};
  container->Init(&anchor);
  if (chart != nullptr) {
    container->items[0].kind = kItemChart;
    container->items[0].chart = chart;
    container->header.itemCount = 1;
    container->selectedItem = 0;
  }
  return container;
}

bool CChildFrame::AddNewContainer(ContainerRecord* container) {
  if (!m_workbook.AssignContainerId(container)) {
    delete container;
    ShowError(m_workbook.error);
    return false;
  }
  m_workbook.activeWorksheet->AddContainer(container);
  if (!m_workbook.undoHistory.RecordContainerAdded(&m_workbook, container->header.id)) ShowError(m_workbook.error);
  if (m_chartEditor.m_hWnd != nullptr) ::DestroyWindow(m_chartEditor.m_hWnd);
  if (CDocumentView* view = GetActiveView()) {
    view->RedrawContainer(container->header.id, true);
    view->SyncOtherPane();
  }
  RefreshFrameUI();
  SetModified(true);
  return true;
}

void CChildFrame::OnInsertContainer() {
  ContainerRecord* container = NewViewContainer(nullptr);
  if (container == nullptr || !AddNewContainer(container)) return;
  m_chartEditor.OpenForContainer(m_hWnd, container);
}

void CChildFrame::OnInsertChart(uint8_t kind) {
  if (ViewForCommand() == nullptr) return;
  ChartRecord* chart = NewContainerChart(kind);
  if (chart == nullptr) {
    ShowError(kContainerErrorOutOfMemory);
    return;
  }
  ContainerRecord* container = NewViewContainer(chart);
  if (container == nullptr || !AddNewContainer(container)) return;
  if (m_chartEditor.OpenForContainer(m_hWnd, container)) m_chartEditor.UseSelectionAsFirstSeries();
}

void CChildFrame::OnInsertImage() {
  if (ViewForCommand() == nullptr) return;
  char path[kFileDialogText] = {};
  if (!ChooseCommandImage(m_hWnd, true, "Insert Image", &g_insertImageDialog, path, sizeof path)) return;
  ContainerRecord* container = NewViewContainer(nullptr);
  if (container == nullptr) return;
  ContainerHeader& header = container->header;
  header.backgroundKind = kBackgroundImage;
  header.imageView = 0;
  std::snprintf(header.imageName, sizeof header.imageName, "%s", path);
  // An image that cannot be read keeps the container's default size.
  const ImageNode* image = GetImage(m_workbook.images, header.imageName);
  if (image != nullptr && image->picture != nullptr) {
    const BitmapInfoHeader* dib = reinterpret_cast<const BitmapInfoHeader*>(image->picture);
    const int32_t height = dib->biHeight < 0 ? -dib->biHeight : dib->biHeight;
    header.rect.right = header.rect.left + dib->biWidth - 1;
    header.rect.bottom = header.rect.top + height - 1;
  }
  AddNewContainer(container);
}

void CChildFrame::OnSaveSelectionAsImage() {
  CDocumentView* view = ViewForCommand();
  if (view == nullptr) return;
  char path[kFileDialogText] = {};
  if (!ChooseCommandImage(m_hWnd, false, "Save Selection As Image", &g_saveImageDialog, path, sizeof path)) return;
  char sheetPath[kFileDialogText] = {};
  if (!m_workbook.activeWorksheet->GetFullPath(sheetPath, sizeof sheetPath)) return;
  const uint8_t format = g_saveImageDialog.filterIndex == 2 ? kImageJpeg : kImagePng;
  bool saved;
  {
    WaitCursor wait;
    saved = view->m_selectedContainer != 0
                ? m_workbook.SaveContainerAsImage(sheetPath, view->m_selectedContainer, path, format, 0, 100, 100)
                : m_workbook.SaveRangeAsImage(sheetPath, CellRangeOfSelection(view->Selection()), path, format, 0,
                                              100, 100);
  }
  if (!saved) ShowError(m_workbook.error);
}
