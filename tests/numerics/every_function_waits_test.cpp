// Every function of the catalogue reads the formula cells of its arguments
// as they stand after the pass has calculated them, whichever way it reads
// them (ranges, single cells, matrices, solvers' variables), and finds its
// own cell among them circular: the first pass after an edit shows what a
// second pass shows.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "functions/function_catalog.h"
#include "numerics/numeric_function_table.h"
#include "tests/core/recalc_test_book.h"

namespace {

// Functions whose value changes from pass to pass by design.
bool Volatile(const std::string& name) {
  static const char* const names[] = {"RAND", "RANDBETWEEN", "MTXRAND", "MTXRAND2", "MINMC", "NOW", "TODAY",
                                      "RTD", "UDF"};
  for (const char* volatileName : names)
    if (name == volatileName) return true;
  return false;
}

// Functions that take a range for its place or shape, or count its
// cells, whatever values they hold.
bool ReadsNoValues(const std::string& name) {
  static const char* const names[] = {"AREAS", "COLUMN", "COLUMNS", "ROW", "ROWS", "ISREF", "OFFSET", "INDEX",
                                      "COUNTA"};
  for (const char* shapeName : names)
    if (name == shapeName) return true;
  return false;
}

std::string Upper(const char* name) {
  std::string text = name;
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

class EveryFunction : public RecalcTestBook {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InstallFunctionLibrary());
    RecalcTestBook::SetUp();
  }

  // Every cell of the first worksheet as it shows, one line each.
  std::string Cells() {
    std::string text;
    CellCursor cursor;
    cursor.flags = kCursorAfterRecord;
    cursor.block = first->FirstBlock();
    while (const CellRecord* cell = cursor.Next()) {
      char place[32];
      std::snprintf(place, sizeof place, "c%u r%u ", unsigned(cell->Column()), unsigned(cell->Row()));
      text += place + Shown(*first, cell->Column(), cell->Row());
      if (cell->IsFormula()) {
        double number = cell->CachedNumber();
        uint64_t bits;
        std::memcpy(&bits, &number, sizeof bits);
        text += " " + std::to_string(bits);
      }
      text += "\n";
    }
    return text;
  }

  // The inputs: a 2 x 2 block B10:C11 and single cells D10..D16 of formulas
  // over the switch Z1, whose values change with it (1 and 3 numbers, 2
  // errors in some cells). The block lies after the formula in storage order
  // unless the formula stands inside it.
  void SetInputs() {
    const char* const block[4] = {"=CHOOSE($Z$1,2,1/0,3)", "=CHOOSE($Z$1,1,4,2)", "=CHOOSE($Z$1,1,2,1/0)",
                                  "=CHOOSE($Z$1,3,5,4)"};
    const char* const names[4] = {"B10", "C10", "B11", "C11"};
    for (int i = 0; i < 4; ++i) SetFormula(names[i], block[i]);
    const char* const singles[7] = {"=CHOOSE($Z$1,0.5,1/0,0.25)", "=CHOOSE($Z$1,2,3,1)", "=CHOOSE($Z$1,1,0,2)",
                                    "=CHOOSE($Z$1,3,1/0,2)",      "=CHOOSE($Z$1,1,2,4)", "=CHOOSE($Z$1,0,1,1)",
                                    "=CHOOSE($Z$1,5,6,1/0)"};
    for (int i = 0; i < 7; ++i) {
      char name[8];
      std::snprintf(name, sizeof name, "D%d", 10 + i);
      SetFormula(name, singles[i]);
    }
  }

  void SetSwitch(int value) {
    const std::string text = std::to_string(value);
    Type("Z1", text.c_str());
  }

  // The call with each range argument the block and each value argument
  // the next single cell; own, when given, replaces the block by a range
  // holding the formula's cell and the first value by that cell.
  static std::string Call(const FunctionCatalogEntry& entry, const char* block, const char* single) {
    std::string call = "=" + Upper(entry.name) + "(";
    const uint32_t count = entry.variadic ? (entry.argumentCount ? entry.argumentCount : 2) : entry.argumentCount;
    int next = 10;
    for (uint32_t i = 0; i < count; ++i) {
      if (i) call += ",";
      const char kind = entry.argumentKinds[i < std::strlen(entry.argumentKinds) ? i : 0];
      if (kind == '1') {
        call += block;
      } else if (single && i == 0) {
        call += single;
      } else {
        call += "D" + std::to_string(next++);
      }
    }
    return call + ")";
  }
};

TEST_F(EveryFunction, WaitsForTheFormulaCellsItReads) {
  int checked = 0;
  for (const FunctionCatalogEntry* entry = kFunctionCatalog; entry->name; ++entry) {
    const std::string name = Upper(entry->name);
    if (Volatile(name)) continue;
    const std::string formula = Call(*entry, "B10:C11", nullptr);
    SCOPED_TRACE(formula);
    first->Clear(true);
    SetFormula("Z1", "=1");
    SetInputs();
    SetFormula("A1", formula.c_str());
    ASSERT_TRUE(Recalculate(nullptr));
    for (int value : {2, 3, 1}) {
      SCOPED_TRACE("switch " + std::to_string(value));
      SetSwitch(value);
      ASSERT_TRUE(Recalculate(nullptr));
      const std::string firstPass = Cells();
      ASSERT_TRUE(Recalculate(nullptr));
      EXPECT_EQ(Cells(), firstPass);
    }
    ++checked;
  }
  EXPECT_GT(checked, 280);
}

TEST_F(EveryFunction, FindsItsOwnCellCircularInEveryPass) {
  for (const FunctionCatalogEntry* entry = kFunctionCatalog; entry->name; ++entry) {
    const std::string name = Upper(entry->name);
    if (Volatile(name) || entry->argumentCount == 0) continue;
    // The formula stands in the block's first cell, which the first range
    // argument (or else the first value argument) names.
    const std::string formula = Call(*entry, "B10:C11", "B10");
    SCOPED_TRACE(formula);
    first->Clear(true);
    SetFormula("Z1", "=1");
    SetInputs();
    SetFormula("B10", formula.c_str());
    ASSERT_TRUE(Recalculate(nullptr));
    const std::string shown = Shown("B10");
    // A value computed from the cell's own earlier value is wrong; an
    // argument refused before the range is read gives its error.
    if (!ReadsNoValues(name)) {
      EXPECT_EQ(shown[0], '#') << shown;
    }
    for (int pass = 1; pass < 3; ++pass) {
      ASSERT_TRUE(Recalculate(nullptr));
      EXPECT_EQ(Shown("B10"), shown) << "pass " << pass;
    }
    if (name == "SUM" || name == "MDETERM" || name == "CORREL" || name == "TRANSPOSE") {
      EXPECT_EQ(shown, "#CIRC!");
    }
  }
}

}  // namespace
