#include <gtest/gtest.h>

#include <set>
#include <string>

#include "numerics/numeric_function_table.h"
#include "tests/functions/unimplemented_names.h"

namespace {

// Installed whole, the library leaves "#IMPL!" to the names no library
// implements alone; every other name reaches its handler.
TEST(FunctionLibrary, LeavesOnlyUnimplementedNamesAnsweringImpl) {
  ASSERT_TRUE(InstallFunctionLibrary());
  std::set<std::string> expected;
  for (const char* name : kUnimplementedNames) expected.insert(std::string(name) + "(");
  std::set<std::string> unimplemented;
  for (uint16_t i = 0; i < BuiltinFunctionCount(); ++i)
    if (BuiltinFunctionTable[i].handler == &FnNotImplemented) unimplemented.insert(BuiltinFunctionTable[i].name);
  EXPECT_EQ(unimplemented, expected);
}

}  // namespace
