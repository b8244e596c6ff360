// RTD and UDF as every build answers them: too few positions, and objects
// that no program provides.

#include <gtest/gtest.h>

#include "tests/functions/formula_result_text.h"

namespace {

using AutomationClientFunctions = FormulaTableTest;

TEST_F(AutomationClientFunctions, NeedThreePositionsAndAnObjectThatExists) {
  Check({
      {"=RTD(\"Talvero.NoSuchObject\",)", "#SYNTAX!"},
      {"=UDF(\"Talvero.NoSuchObject\",,)", "#REF!"},
      {"=UDF(\"Talvero.NoSuchObject\",)", "#SYNTAX!"},
      {"=RTD(\"Talvero.NoSuchObject\",,\"Value\")", "#REF!"},
      {"=RTD(\"Talvero.NoSuchObject\",,\"Value\",\"Other\")", "#REF!"},
      {"=UDF(\"Talvero.NoSuchObject\",,\"Sum\",1,\"x\",{1,2})", "#REF!"},
  });
}

}  // namespace
