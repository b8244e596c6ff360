#ifndef TALVERO_TESTS_FUNCTIONS_GOLDEN_CSV_H
#define TALVERO_TESTS_FUNCTIONS_GOLDEN_CSV_H

// The CSV files of tests/golden: reference values computed once by other
// programs. TALVERO_GOLDEN_DIR names the folder.

#include <cstdio>
#include <string>
#include <vector>

// One CSV record: fields separated by commas, a field in double quotes may
// hold commas and doubled quotes.
inline std::vector<std::string> SplitCsvLine(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

inline std::vector<std::vector<std::string>> ReadGolden(const char* name) {
  std::vector<std::vector<std::string>> records;
  const std::string path = std::string(TALVERO_GOLDEN_DIR) + "/" + name;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return records;
  std::string line;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
    if (c == '\n') {
      records.push_back(SplitCsvLine(line));
      line.clear();
    } else if (c != '\r') {
      line += static_cast<char>(c);
    }
  }
  std::fclose(file);
  return records;
}

#endif
