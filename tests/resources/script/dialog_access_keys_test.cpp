// The dialog templates of the resource script, read as text: within one
// dialog no two controls share an access key, unless both texts are given
// with their keys as they are. A page shares the keys of the sheet around
// it, and a category sub-page those of the page that holds it, because the
// dialog manager looks for a key through every child dialog of the window.

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "resources/script/access_key.h"

namespace {

// Texts whose access keys are given and stay, even where another given text
// of the same dialog has the same key.
const std::set<std::string> kGivenTexts = {
    "&Time:",       "&Time before date",     "Auto&Complete",         "&Cancel",
    "Auto&Close:",  "&Copy/Paste level:",    "Au&to-formatting",      "Fon&t:",
    "A&fter pressing Enter:", "Default file &format:",
};

// Dialogs shown inside another, by the one around them.
const std::map<std::string, std::vector<std::string>> kInnerDialogs = {
    {"IDD_PRINT_SHEET", {"IDD_PRINT_GENERAL", "IDD_PRINT_LAYOUT", "IDD_PRINT_CONTENT"}},
    {"IDD_STYLE_PAGE",
     {"IDD_STYLE_GENERAL", "IDD_STYLE_CURRENCY", "IDD_STYLE_ACCOUNTING", "IDD_STYLE_DATE", "IDD_STYLE_TIME",
      "IDD_STYLE_DATE_TIME", "IDD_STYLE_PERCENT", "IDD_STYLE_FRACTION", "IDD_STYLE_SCIENTIFIC"}},
    {"IDD_NUMERIC_FORMAT",
     {"IDD_STYLE_GENERAL", "IDD_STYLE_CURRENCY", "IDD_STYLE_ACCOUNTING", "IDD_STYLE_DATE", "IDD_STYLE_TIME",
      "IDD_STYLE_DATE_TIME", "IDD_STYLE_PERCENT", "IDD_STYLE_FRACTION", "IDD_STYLE_SCIENTIFIC"}},
};

using DialogTexts = std::map<std::string, std::vector<std::string>>;

std::string Trimmed(const std::string& line) {
  const size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

// The texts of the controls of every DIALOGEX template that can carry an
// access key (a static text marked SS_NOPREFIX shows its "&" as it is).
DialogTexts ReadDialogTexts(const char* path) {
  std::ifstream script(path);
  DialogTexts dialogs;
  std::string current;
  bool inBody = false;
  std::string line;
  while (std::getline(script, line)) {
    const std::string trimmed = Trimmed(line);
    const size_t dialog = trimmed.find(" DIALOGEX ");
    if (dialog != std::string::npos && trimmed.find('"') == std::string::npos) {
      current = trimmed.substr(0, dialog);
      dialogs[current];
      inBody = false;
      continue;
    }
    if (current.empty()) continue;
    if (trimmed == "BEGIN") {
      inBody = true;
    } else if (trimmed == "END") {
      current.clear();
    } else if (inBody && trimmed.find("SS_NOPREFIX") == std::string::npos) {
      const size_t open = trimmed.find('"');
      const size_t close = trimmed.find('"', open + 1);
      if (open != std::string::npos && close != std::string::npos)
        dialogs[current].push_back(trimmed.substr(open + 1, close - open - 1));
    }
  }
  return dialogs;
}

// Pairs of texts that share a key, as "dialog: "a" and "b" share K".
std::vector<std::string> Clashes(const std::string& name, const std::vector<std::string>& texts) {
  std::vector<std::string> clashes;
  for (size_t i = 0; i < texts.size(); ++i) {
    const char key = AccessKey(texts[i]);
    if (key == 0) continue;
    for (size_t j = i + 1; j < texts.size(); ++j) {
      if (AccessKey(texts[j]) != key) continue;
      if (kGivenTexts.count(texts[i]) != 0 && kGivenTexts.count(texts[j]) != 0) continue;
      clashes.push_back(name + ": \"" + texts[i] + "\" and \"" + texts[j] + "\" share " + key);
    }
  }
  return clashes;
}

class DialogAccessKeys : public ::testing::Test {
 protected:
  DialogTexts dialogs = ReadDialogTexts(TALVERO_RESOURCE_SCRIPT);
};

TEST_F(DialogAccessKeys, NoTwoControlsOfADialogShareAKey) {
  ASSERT_GT(dialogs.size(), 40u) << "dialogs read from " << TALVERO_RESOURCE_SCRIPT;
  for (const auto& [name, texts] : dialogs)
    for (const std::string& clash : Clashes(name, texts)) ADD_FAILURE() << clash;
}

TEST_F(DialogAccessKeys, NoPageSharesAKeyWithTheDialogAroundIt) {
  for (const auto& [outer, inners] : kInnerDialogs) {
    ASSERT_EQ(dialogs.count(outer), 1u) << outer;
    for (const std::string& inner : inners) {
      ASSERT_EQ(dialogs.count(inner), 1u) << inner;
      std::vector<std::string> texts = dialogs[outer];
      texts.insert(texts.end(), dialogs[inner].begin(), dialogs[inner].end());
      for (const std::string& clash : Clashes(outer + " with " + inner, texts)) ADD_FAILURE() << clash;
    }
  }
}

}  // namespace
