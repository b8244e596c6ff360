#ifndef TALVERO_TESTS_GOLDEN_TAGGED_CASES_H
#define TALVERO_TESTS_GOLDEN_TAGGED_CASES_H

// Golden files written as tagged lines: "case ..." starts a case and reads
// its own fields; every other line is a tag followed by numbers, given to
// the newest case.

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

template <class Case, class StartCase, class TakeValues>
std::vector<Case> ReadTaggedCases(const char* fileName, StartCase startCase, TakeValues takeValues) {
  std::vector<Case> cases;
  std::ifstream file(std::string(TALVERO_GOLDEN_DIR) + "/" + fileName);
  std::string line;
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    std::string tag;
    fields >> tag;
    if (tag == "case") {
      cases.emplace_back();
      startCase(cases.back(), fields);
      continue;
    }
    if (cases.empty()) continue;
    std::vector<double> values;
    for (double v; fields >> v;) values.push_back(v);
    takeValues(cases.back(), tag, values);
  }
  return cases;
}

#endif
