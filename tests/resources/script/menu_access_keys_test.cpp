// The menus of the resource script, read as text: within one menu level no
// two items share an access key, unless both texts are the document
// window's own command texts, which keep their keys as they are.

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "resources/script/access_key.h"

namespace {

// The document window's commands whose menu texts come with their access
// keys fixed, by command.
const std::map<std::string, std::string> kGivenTexts = {
    {"ID_FILE_CLOSE", "&Close"},
    {"ID_FILE_SAVE", "&Save"},
    {"ID_FILE_SAVE_AS", "Save &As..."},
    {"ID_RELOAD", "&Reload"},
    {"ID_VIEW_INSPECT", "&Inspect Cells"},
    {"ID_SPLIT_HORIZONTALLY", "Sp&lit Window &Horizontally"},
    {"ID_SPLIT_VERTICALLY", "Sp&lit Window &Vertically"},
    {"ID_RENAME", "R&ename..."},
    {"ID_EDIT_COPY", "&Copy"},
    {"ID_EDIT_CUT", "Cu&t"},
    {"ID_EDIT_PASTE", "&Paste"},
    {"ID_EDIT_CLEAR", "&Delete"},
    {"ID_EDIT_UNDO", "&Undo"},
    {"ID_EDIT_REDO", "&Redo"},
    {"ID_SELECT_CELL_ADDRESS", "Cell &Address"},
    {"ID_SELECT_SHEET_ADDRESS", "Worksheet && Cell Address"},
    {"ID_SELECT_CELL_VALUE", "Cell &Value"},
    {"ID_EDIT_FIND", "Find && &Replace"},
    {"ID_TRANSPOSE", "&Transpose"},
    {"ID_EDIT_SELECT_ALL", "Select &All"},
    {"ID_INSERT_COLUMNS", "Insert &Columns"},
    {"ID_REMOVE_COLUMNS", "Re&move Columns"},
    {"ID_INSERT_ROWS", "Insert &Rows"},
    {"ID_REMOVE_ROWS", "Remov&e Rows"},
    {"ID_ROW_HEIGHT", "&Row Height..."},
    {"ID_AUTO_ROW_HEIGHT", "Auto Row &Height"},
    {"ID_COLUMN_WIDTH", "C&olumn Width..."},
    {"ID_AUTO_COLUMN_WIDTH", "Auto Column W&idth"},
    {"ID_LOCK_FIRST_COLUMN", "Lock First Colum&n"},
    {"ID_LOCK_FIRST_ROW", "Lock First Ro&w"},
    {"ID_UPDATE_DATA", "Update &Data"},
    {"ID_AUTOMATIC_UPDATING", "&Automatic Updating"},
    {"ID_INSERT_DATE", "&Date"},
    {"ID_INSERT_TIME", "&Time"},
    {"ID_INSERT_DATE_TIME", "Date && Time"},
    {"ID_DATA_SERIES", "Data &Series..."},
    {"ID_INSERT_CONTAINER", "&Empty Container..."},
    {"ID_INSERT_CHART_2D", "&2D Chart..."},
    {"ID_INSERT_CHART_3D", "&3D Chart..."},
    {"ID_INSERT_CHART_XY", "&XY Chart..."},
    {"ID_INSERT_IMAGE", "&Image..."},
    {"ID_COPY_IMAGE_TO", "Copy &Image To..."},
    {"ID_SORT", "&Sort..."},
    {"ID_DROP_DOWN_LIST", "&Drop-Down List..."},
    {"ID_PROTECTION", "Protection..."},
    {"ID_WORKBOOK_STATISTICS", "Stat&istics..."},
};

// Texts the worksheet tree's context menu and the Insert menu give the same
// commands beside the texts above, and the given pop-up of conversions.
const std::map<std::string, std::set<std::string>> kOtherGivenTexts = {
    {"POPUP", {"Con&vert"}},
    {"ID_NEW_WORKSHEET", {"&Worksheet", "New &Worksheet"}},
    {"ID_NEW_FOLDER", {"&Folder", "New &Folder"}},
    {"ID_WORKBOOK_STATISTICS", {"&Statistics..."}},
};

struct MenuItem {
  std::string text;  // without the accelerator after a TAB
  std::string command;  // "POPUP" for a pop-up
};

// One list of items that the same keys choose among: a menu bar or a pop-up.
struct MenuLevel {
  std::string path;
  std::vector<MenuItem> items;
};

std::string QuotedText(const std::string& line) {
  const size_t open = line.find('"');
  const size_t close = line.find('"', open + 1);
  if (open == std::string::npos || close == std::string::npos) return "";
  std::string text = line.substr(open + 1, close - open - 1);
  const size_t tab = text.find("\\t");
  return tab == std::string::npos ? text : text.substr(0, tab);
}

std::string CommandAfterText(const std::string& line) {
  const size_t comma = line.find(',', line.rfind('"'));
  if (comma == std::string::npos) return "";
  std::istringstream rest(line.substr(comma + 1));
  std::string command;
  rest >> command;
  if (!command.empty() && command.back() == ',') command.pop_back();
  return command;
}

std::string Trimmed(const std::string& line) {
  const size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

// Every menu level of every MENU resource, in the order they stand.
std::vector<MenuLevel> ReadMenuLevels(const char* path) {
  std::ifstream script(path);
  std::vector<MenuLevel> levels;
  std::vector<size_t> open;  // levels of the BEGIN blocks being read
  std::string pendingPath;   // the path a BEGIN opens
  std::string line;
  while (std::getline(script, line)) {
    const std::string trimmed = Trimmed(line);
    if (open.empty()) {
      const size_t menu = trimmed.find(" MENU");
      if (menu != std::string::npos && menu + 5 == trimmed.size()) pendingPath = trimmed.substr(0, menu);
      if (trimmed == "BEGIN" && !pendingPath.empty()) {
        levels.push_back(MenuLevel{pendingPath, {}});
        open.push_back(levels.size() - 1);
        pendingPath.clear();
      }
      continue;
    }
    if (trimmed == "BEGIN") {
      levels.push_back(MenuLevel{pendingPath, {}});
      open.push_back(levels.size() - 1);
    } else if (trimmed == "END") {
      open.pop_back();
    } else if (trimmed.rfind("POPUP ", 0) == 0) {
      levels[open.back()].items.push_back(MenuItem{QuotedText(trimmed), "POPUP"});
      pendingPath = levels[open.back()].path + " > " + QuotedText(trimmed);
    } else if (trimmed.rfind("MENUITEM \"", 0) == 0) {
      levels[open.back()].items.push_back(MenuItem{QuotedText(trimmed), CommandAfterText(trimmed)});
    }
  }
  return levels;
}

bool Given(const MenuItem& item) {
  const auto given = kGivenTexts.find(item.command);
  if (given != kGivenTexts.end() && given->second == item.text) return true;
  const auto other = kOtherGivenTexts.find(item.command);
  return other != kOtherGivenTexts.end() && other->second.count(item.text) != 0;
}

class MenuAccessKeys : public ::testing::Test {
 protected:
  std::vector<MenuLevel> levels = ReadMenuLevels(TALVERO_RESOURCE_SCRIPT);
};

TEST_F(MenuAccessKeys, NoTwoItemsOfAMenuShareAKeyUnlessBothTextsAreGiven) {
  ASSERT_GT(levels.size(), 20u) << "menus read from " << TALVERO_RESOURCE_SCRIPT;
  for (const MenuLevel& level : levels) {
    for (size_t i = 0; i < level.items.size(); ++i) {
      const char key = AccessKey(level.items[i].text);
      if (key == 0) continue;
      for (size_t j = i + 1; j < level.items.size(); ++j) {
        if (AccessKey(level.items[j].text) != key) continue;
        EXPECT_TRUE(Given(level.items[i]) && Given(level.items[j]))
            << level.path << ": \"" << level.items[i].text << "\" and \"" << level.items[j].text << "\" share "
            << key;
      }
    }
  }
}

TEST_F(MenuAccessKeys, MenusShowTheGivenTextsOfTheirCommands) {
  size_t shown = 0;
  for (const MenuLevel& level : levels) {
    for (const MenuItem& item : level.items) {
      const auto given = kGivenTexts.find(item.command);
      if (given == kGivenTexts.end()) continue;
      ++shown;
      EXPECT_TRUE(Given(item)) << level.path << ": " << item.command << " reads \"" << item.text << "\", not \""
                               << given->second << "\"";
    }
  }
  EXPECT_GT(shown, 50u);
}

// Alt+F, X leaves the program, as everywhere.
TEST_F(MenuAccessKeys, XInTheFileMenuExits) {
  const MenuLevel* file = nullptr;
  for (const MenuLevel& level : levels)
    if (level.path == "IDR_MAINFRAME > &File") file = &level;
  ASSERT_NE(file, nullptr);
  std::vector<std::string> chosenByX;
  for (const MenuItem& item : file->items)
    if (AccessKey(item.text) == 'X') chosenByX.push_back(item.command);
  EXPECT_EQ(chosenByX, std::vector<std::string>{"ID_APP_EXIT"});
}

}  // namespace
