#ifndef TALVERO_TESTS_CHARTS_CHART_GOLDEN_H
#define TALVERO_TESTS_CHARTS_CHART_GOLDEN_H

// Display lists compared with the committed files of tests/charts/golden.
// TALVERO_UPDATE_GOLDEN=1 rewrites the files from what the tests drew (look
// at the difference before committing it). Lists with turned labels are
// compared in the native build only: the Windows runtime's sine and cosine
// may move a turned label by a pixel.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#ifndef TALVERO_CHART_GOLDEN_DIR
#error "TALVERO_CHART_GOLDEN_DIR names the folder of the display-list goldens"
#endif

inline void ExpectDisplayListGolden(const std::string& name, const std::string& drawn) {
  const std::string path = std::string(TALVERO_CHART_GOLDEN_DIR) + "/" + name + ".txt";
  const char* update = std::getenv("TALVERO_UPDATE_GOLDEN");
  if (update && *update && *update != '0') {
    std::ofstream out(path, std::ios::binary);
    out << drawn;
    ASSERT_TRUE(out.good()) << "cannot write " << path;
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in.good()) << "no golden " << path << " (TALVERO_UPDATE_GOLDEN=1 writes it)";
  std::stringstream text;
  text << in.rdbuf();
  const std::string expected = text.str();
  if (expected == drawn)
    return;
  std::istringstream a(expected);
  std::istringstream b(drawn);
  std::string lineA;
  std::string lineB;
  for (int line = 1;; ++line) {
    const bool moreA = static_cast<bool>(std::getline(a, lineA));
    const bool moreB = static_cast<bool>(std::getline(b, lineB));
    if (!moreA && !moreB)
      break;
    if (!moreA || !moreB || lineA != lineB) {
      ADD_FAILURE() << path << " differs at line " << line << "\n  golden: " << (moreA ? lineA : "(end)")
                    << "\n  drawn:  " << (moreB ? lineB : "(end)")
                    << "\n(TALVERO_UPDATE_GOLDEN=1 rewrites the golden when the change is meant)";
      return;
    }
  }
}

#endif
