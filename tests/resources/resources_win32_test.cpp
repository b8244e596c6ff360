#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "charts/png/png_codec.h"
#include "charts/png/png_image_list.h"
#include "resources/resource_ids.h"
#include "view/draw_context/fill_patterns.h"

namespace {

std::string ResourceString(UINT id) {
  char text[512] = {};
  int length = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
  return std::string(text, length > 0 ? length : 0);
}

std::vector<uint16_t> ToolbarLayout(int id) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(241));
  if (!found) return {};
  const auto* words = static_cast<const uint16_t*>(LockResource(LoadResource(nullptr, found)));
  return std::vector<uint16_t>(words, words + SizeofResource(nullptr, found) / 2);
}

void CollectMenuCommands(HMENU menu, std::set<UINT>& commands) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) {
      CollectMenuCommands(sub, commands);
    } else if (UINT id = GetMenuItemID(menu, i); id != 0 && id != UINT(-1)) {
      commands.insert(id);
    }
  }
}

const int kMenus[] = {IDR_MAINFRAME,         IDR_MENU_INSERT_CHART, IDR_MENU_INSERT_FORMULA, IDR_MENU_PASTE_RING,
                      IDR_MENU_INSERT_DATE,  IDR_MENU_INSPECT_ADD,  IDR_MENU_TREE_CONTEXT,   IDR_MENU_CELL_CONTEXT,
                      IDR_MENU_SELECT,       IDR_MENU_GO,           IDR_MENU_RECENT_DATA};
const int kToolbars[] = {IDR_TOOLBAR_MAIN, IDR_TOOLBAR_SECONDARY, IDR_TOOLBAR_PREVIEW, IDR_TOOLBAR_FIND};

TEST(Resources, EveryCommandHasAPromptAndATooltip) {
  EXPECT_EQ(ResourceString(IDR_MAINFRAME), "Talvero");
  EXPECT_EQ(ResourceString(IDS_NEW_WORKBOOK), "New Workbook");
  EXPECT_EQ(ResourceString(IDS_READY), "Ready");
  EXPECT_EQ(ResourceString(ID_FILE_NEW), "Create a new workbook\nNew Workbook (Ctrl + N)");

  std::set<UINT> commands;
  for (int id : kMenus) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    ASSERT_NE(menu, nullptr) << "menu " << id;
    CollectMenuCommands(menu, commands);
    DestroyMenu(menu);
  }
  for (int id : kToolbars) {
    for (uint16_t command : ToolbarLayout(id)) commands.insert(command);
  }
  HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
  ASSERT_NE(table, nullptr);
  std::vector<ACCEL> keys(CopyAcceleratorTableA(table, nullptr, 0));
  CopyAcceleratorTableA(table, keys.data(), static_cast<int>(keys.size()));
  for (const ACCEL& key : keys) commands.insert(key.cmd);
  DestroyAcceleratorTable(table);

  EXPECT_GT(commands.size(), 150u);
  for (UINT command : commands) {
    if (command < 32768) continue;  // toolbar header words and separators
    std::string text = ResourceString(command);
    size_t split = text.find('\n');
    EXPECT_TRUE(split != std::string::npos && split > 0 && split + 1 < text.size()) << command << ": " << text;
  }
}

TEST(Resources, AcceleratorsReachTheirCommands) {
  HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
  ASSERT_NE(table, nullptr);
  std::vector<ACCEL> keys(CopyAcceleratorTableA(table, nullptr, 0));
  CopyAcceleratorTableA(table, keys.data(), static_cast<int>(keys.size()));
  DestroyAcceleratorTable(table);
  auto command = [&](BYTE modifiers, WORD key) {
    for (const ACCEL& a : keys)
      if (a.key == key && (a.fVirt & ~FNOINVERT) == (FVIRTKEY | modifiers)) return int(a.cmd);
    return 0;
  };
  EXPECT_EQ(command(FCONTROL, 'S'), ID_FILE_SAVE);
  EXPECT_EQ(command(0, VK_F12), ID_FILE_SAVE_AS);
  EXPECT_EQ(command(FSHIFT, VK_INSERT), ID_EDIT_PASTE);
  EXPECT_EQ(command(FALT, VK_BACK), ID_EDIT_UNDO);
  EXPECT_EQ(command(FCONTROL | FSHIFT, 'R'), ID_REMOVE_ROWS);
  EXPECT_EQ(command(FCONTROL | FALT, VK_UP), ID_INCREMENT_VALUE);
  EXPECT_EQ(command(0, VK_F9), ID_UPDATE_DATA);
  EXPECT_EQ(command(FCONTROL, VK_DOWN), ID_NEXT_WORKSHEET);
}

TEST(Resources, MainToolbarHoldsItsButtonsInOrder) {
  std::vector<uint16_t> layout = ToolbarLayout(IDR_TOOLBAR_MAIN);
  ASSERT_GE(layout.size(), 4u);
  EXPECT_EQ((std::vector<uint16_t>(layout.begin(), layout.begin() + 4)), (std::vector<uint16_t>{1, 24, 24, 29}));
  std::vector<uint16_t> buttons;
  for (size_t i = 4; i < layout.size(); ++i)
    if (layout[i] != 0) buttons.push_back(layout[i]);
  const std::vector<uint16_t> expected = {57600, 57601, 57603, 32803, 32804, 57635, 57634, 57637, 57609, 57607, 57643,
                                          57644, 57636, 32896, 32895, 32939, 32832, 33103, 32808, 33031, 32822};
  EXPECT_EQ(buttons, expected);
  EXPECT_EQ(layout.size(), 4u + 29u);
}

// The image lists' pictures, as start-up builds them: size, then identifiers.
struct ImageListSet {
  int size;
  std::vector<int> ids;
};

TEST(Resources, EveryToolbarImageDecodesAtItsListsSize) {
  const ImageListSet sets[] = {
      {24, {545, 548, 551, 554, 557, 560, 563, 566, 569, 572, 575, 578, 581, 584, 587, 590, 593, 595, 596, 598, 599}},
      {16, {638, 639, 633, 613, 601}},
      {16, {571, 544, 610, 607, 635, 636, 623}},
      {16, {623}},
      {16, {631, 629, 633, 619, 626, 613, 616}},
      {24, {640, 641, 642, 643, 644, 645, 646, 647, 648, 649, 650, 651, 652, 653, 654, 655}},
  };
  for (const ImageListSet& set : sets) {
    for (int id : set.ids) {
      HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), "PNG_DATA");
      ASSERT_NE(found, nullptr) << id;
      const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
      uint8_t error = 0;
      BitmapInfoHeader* dib = DecodePng(bytes, SizeofResource(nullptr, found), true, GetSysColor(COLOR_BTNFACE), &error);
      ASSERT_NE(dib, nullptr) << id << " error " << int(error);
      EXPECT_EQ(dib->biWidth, set.size) << id;
      EXPECT_EQ(dib->biHeight, -set.size) << id;
      EXPECT_EQ(dib->biBitCount, 32) << id;
      free(dib);
    }
  }
}

TEST(Resources, ImageListsBuildFromTheImagesAndGreyThemForDisabledButtons) {
  const int secondary[] = {638, 639, 633, 613, 601};
  const COLORREF face = RGB(212, 208, 200);
  HIMAGELIST normal = LoadPngImageList(16, 5, secondary, face, false);
  ASSERT_NE(normal, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(normal), 5);
  ImageList_Destroy(normal);

  HIMAGELIST greyed = LoadPngImageList(16, 5, secondary, face, true);
  ASSERT_NE(greyed, nullptr);
  IMAGEINFO info{};
  ASSERT_TRUE(ImageList_GetImageInfo(greyed, 2, &info));
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), 16 * 5, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<uint32_t> pixels(16 * 5 * 16);
  HDC screen = GetDC(nullptr);
  ASSERT_EQ(GetDIBits(screen, info.hbmImage, 0, 16, pixels.data(), &format, DIB_RGB_COLORS), 16);
  ReleaseDC(nullptr, screen);
  // Every pixel is the button face or a grey level.
  int coloured = 0, grey = 0;
  for (uint32_t p : pixels) {
    bool level = (p & 0xff) == ((p >> 8) & 0xff) && (p & 0xff) == ((p >> 16) & 0xff);
    grey += level;
    coloured += !level && (p & 0xffffff) != 0xd4d0c8;
  }
  EXPECT_EQ(coloured, 0);
  EXPECT_GT(grey, 5 * 16);
  ImageList_Destroy(greyed);

  const int missing[] = {638, 9999};
  EXPECT_EQ(LoadPngImageList(16, 2, missing, face, false), nullptr);
  const int tooLarge[] = {545};
  EXPECT_EQ(LoadPngImageList(16, 1, tooLarge, face, false), nullptr);
}

TEST(Resources, IconsLoadAtTheSmallSize) {
  for (int id : {IDR_MAINFRAME, IDI_PROTECTED_READ_ONLY, IDI_PROTECTED, IDI_TREE_FOLDER, IDI_TREE_FOLDER_OPEN,
                 IDI_TREE_WORKSHEET, IDI_TREE_WORKSHEET_ACTIVE, IDI_TREE_WORKBOOK}) {
    HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0);
    EXPECT_NE(icon, nullptr) << id;
    if (icon) DestroyIcon(static_cast<HICON>(icon));
  }
}

// Tile p - 1 of the bitmap is fill pattern p, black where the pattern colour goes.
TEST(Resources, FillPatternBitmapMatchesThePatternsTheViewPaints) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDB_FILL_PATTERNS), MAKEINTRESOURCEA(2));
  ASSERT_NE(found, nullptr);
  const auto* block = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
  BITMAPINFOHEADER header;
  memcpy(&header, block, sizeof header);
  ASSERT_EQ(header.biBitCount, 1);
  ASSERT_EQ(header.biHeight, 8);
  ASSERT_GE(header.biWidth, 8 * kLastCellPattern);
  const RGBQUAD* palette = reinterpret_cast<const RGBQUAD*>(block + header.biSize);
  const uint8_t* bits = block + header.biSize + 2 * sizeof(RGBQUAD);
  const int stride = ((header.biWidth + 31) / 32) * 4;
  for (uint8_t pattern = kFirstCellPattern; pattern <= kLastCellPattern; ++pattern) {
    const uint8_t* rows = PatternRows(pattern);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        int bx = (pattern - 1) * 8 + x;
        int index = (bits[(7 - y) * stride + bx / 8] >> (7 - bx % 8)) & 1;
        bool black = palette[index].rgbRed == 0 && palette[index].rgbGreen == 0 && palette[index].rgbBlue == 0;
        EXPECT_EQ(black, PatternPixelSet(rows, x, y)) << "pattern " << int(pattern) << " at " << x << "," << y;
      }
    }
  }
}

}  // namespace
