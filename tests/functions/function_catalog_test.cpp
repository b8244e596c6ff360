#include "functions/function_catalog.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "core/formula/builtin_function_table.h"

namespace {

std::string TableName(const char* name) {
  std::string upper;
  for (const char* c = name; *c; ++c) upper += char(std::toupper(static_cast<unsigned char>(*c)));
  return upper + "(";
}

std::string CallForm(const FunctionCatalogEntry& entry) {
  std::string form = std::string(entry.name) + "(";
  int count = 0;
  for (const char* arg = entry.argumentNames; *arg; arg += std::string(arg).size() + 1, ++count)
    form += std::string(count ? ", " : "") + arg;
  EXPECT_EQ(entry.argumentCount, count) << entry.name;
  if (entry.variadic)
    form += count ? ", ..." : "...";
  return form + ")";
}

TEST(FunctionCatalog, EveryEntryNamesAFunctionOfTheLanguageOnce) {
  SortBuiltinFunctionTable();
  const int perCategory[kFunctionCategoryAll] = {59, 21, 20, 23, 19, 6, 16, 36, 74, 7, 13};
  int counted[kFunctionCategoryAll] = {};
  std::set<std::string> names;
  uint8_t lastCategory = 0;
  for (uint16_t i = 0; i < kFunctionCatalogCount; ++i) {
    const FunctionCatalogEntry& entry = kFunctionCatalog[i];
    ASSERT_NE(nullptr, entry.name) << i;
    SCOPED_TRACE(entry.name);
    ASSERT_LT(entry.category, kFunctionCategoryAll);
    EXPECT_GE(entry.category, lastCategory);
    lastCategory = entry.category;
    ++counted[entry.category];
    const std::string name = TableName(entry.name);
    EXPECT_TRUE(names.insert(name).second);
    uint16_t index = 0;
    const char* end = nullptr;
    EXPECT_TRUE(FindBuiltinFunction(name.c_str(), &index, &end));
    EXPECT_EQ(entry.variadic ? 7u : entry.argumentCount, std::string(entry.argumentKinds).size());
    EXPECT_EQ(std::string::npos, std::string(entry.argumentKinds).find_first_not_of("01"));
    EXPECT_EQ(0u, std::string(entry.help).find(CallForm(entry) + "\r\n\r\n"));
  }
  EXPECT_EQ(nullptr, kFunctionCatalog[kFunctionCatalogCount].name);
  for (uint8_t c = 0; c < kFunctionCategoryAll; ++c) EXPECT_EQ(perCategory[c], counted[c]) << int(c);
  for (const char* absent : {"ASC(", "TEXT(", "FDISTP(", "DSUM(", "T(", "ROMAN("}) EXPECT_EQ(0u, names.count(absent));
  EXPECT_STREQ("lookup & reference", kFunctionCategoryNames[4]);
  EXPECT_STREQ("all", kFunctionCategoryNames[kFunctionCategoryAll]);
}

}  // namespace
