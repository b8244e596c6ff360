#include <gtest/gtest.h>

#include "numerics/matrix.h"
#include "tests/numerics/statistics_formula.h"

namespace {

TEST(Matrix, ResizeKeepsABufferThatHoldsTheNewShape) {
  Matrix m;
  ASSERT_TRUE(m.Resize(3, 4));
  for (int i = 0; i < 12; ++i) m.Doubles()[i] = i + 1;
  void* buffer = m.data;
  ASSERT_TRUE(m.Resize(2, 6));
  EXPECT_EQ(m.data, buffer);
  EXPECT_EQ(m(2, 6), 12.0);  // the old values, read as 2 rows of 6
  ASSERT_TRUE(m.Resize(5, 3));
  EXPECT_EQ(m(5, 3), 0.0);  // more elements: a new, zero-filled buffer
  ASSERT_TRUE(m.Resize(1, 1));
  m(1, 1) = 7.0;
  ASSERT_TRUE(m.Resize(2, 2));  // the current shape decides, not the buffer
  EXPECT_EQ(m(1, 1), 0.0);
  m.Free();
  EXPECT_EQ(m.data, nullptr);
  m.Free();
  EXPECT_EQ(m.rows, 0u);
}

TEST(Matrix, BuffersGrowInGranules) {
  EXPECT_EQ(MatrixBufferBytes(1024, 8), 8192u);
  EXPECT_EQ(MatrixBufferBytes(1025, 8), 16384u);
  EXPECT_EQ(MatrixBufferBytes(2048, 4), 8192u);
  EXPECT_EQ(MatrixBufferBytes(uint64_t(1) << 30, 8), 0u);  // beyond 32 bits: refused
  Matrix m;
  EXPECT_FALSE(m.Resize(65536, 65536));
  EXPECT_EQ(m.data, nullptr);
}

// Small shapes are held inside the matrix, larger ones on the heap; both
// follow one rule: a shape with no more elements keeps the buffer and its
// values, a larger one gets a new buffer of zeros.
TEST(Matrix, HeldInsideOrOnTheHeapAlike) {
  struct Step {
    uint32_t rows, cols;
    bool int32;
    bool kept;
  };
  static const Step kSteps[] = {
      {8, 8, false, false},  // the largest held inside
      {8, 9, false, false},  // one more: on the heap
      {2, 2, false, true},   // kept on the heap
      {3, 3, false, false},  // back inside
      {9, 1, false, true},
      {128, 1, true, false},  // 4-byte elements: twice as many inside
      {129, 1, true, false},
      {1, 129, true, true},
  };
  Matrix m;
  for (const Step& step : kSteps) {
    SCOPED_TRACE(::testing::Message() << step.rows << " x " << step.cols);
    const size_t count = size_t(m.rows) * m.cols;
    for (size_t i = 0; i < count; ++i) {
      if (m.width == 4)
        m.Int32s()[i] = int32_t(i + 1);
      else
        m.Doubles()[i] = double(i + 1);
    }
    void* before = m.data;
    ASSERT_TRUE(step.int32 ? m.ResizeInt32(step.rows, step.cols) : m.Resize(step.rows, step.cols));
    if (step.kept) {
      EXPECT_EQ(m.data, before);
    }
    const size_t newCount = size_t(step.rows) * step.cols;
    for (size_t i = 0; i < newCount; ++i) {
      const double value = step.int32 ? double(m.Int32s()[i]) : m.Doubles()[i];
      ASSERT_EQ(value, step.kept ? double(i + 1) : 0.0) << "element " << i;
    }
  }
}

class MatrixReading : public StatisticsFormulaTest {};

// Cells that are no number read as 0 without an error; results that are
// not finite carry "#NUM!".
TEST_F(MatrixReading, UnreadableCellsAreZeros) {
  PutNumberCell(0, 0, 1);
  uint8_t record[64];
  ASSERT_TRUE(BuildTextCell(record, sizeof record, 0, 1, "2", 1, 0));
  ASSERT_TRUE(sheet.InsertCell(AsCellRecord(record), nullptr));
  ASSERT_TRUE(BuildTextCell(record, sizeof record, 1, 0, "abc", 3, 0));
  ASSERT_TRUE(sheet.InsertCell(AsCellRecord(record), nullptr));
  ASSERT_TRUE(BuildNumberCell(record, sizeof record, 1, 1, 5, kErrorDivZero));
  ASSERT_TRUE(sheet.InsertCell(AsCellRecord(record), nullptr));
  const FormulaOutcome determinant = Evaluate("=MDETERM(A1:B2)");
  EXPECT_EQ(determinant.error, kErrorNone);
  EXPECT_EQ(determinant.number, 0.0);
  EXPECT_EQ(Evaluate("=MMULT(A1:B2,{1;1})").kind, uint32_t(kEvalArray));
  EXPECT_EQ(Evaluate("=SUM(MMULT(A1:B2,{1;10}))").number, 21.0);
  EXPECT_EQ(Evaluate("=SUM(MMULT(C1:D2,{1;1}))").number, 0.0);
}

// A matrix read again for a later argument holds none of the earlier one:
// blanks of the later range read as 0.
TEST_F(MatrixReading, BlanksOfALaterArgumentAreZeros) {
  for (uint32_t r = 0; r < 3; ++r)
    for (uint16_t c = 0; c < 3; ++c) PutNumberCell(c, r, 9.0);
  PutNumberCell(4, 0, 1.0);  // E1:E3 holds 1, blank, blank
  PutNumberCell(5, 2, 2.0);  // F1:F3 holds blank, blank, 2
  // (1 x 3)(3 x 3)(3 x 1): the second product reads E1:E3 into the matrix
  // that held A1:C3.
  EXPECT_EQ(Evaluate("=SUM(MMULT({1,1,1},A1:C3,E1:E3))").number, 27.0);
  EXPECT_EQ(Evaluate("=SUM(MMULT({1,1,1},A1:C3,F1:F3))").number, 54.0);
}

}  // namespace
