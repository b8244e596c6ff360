// The frame's open-document table: sixteen slots, found by path without
// regard to case.

#include "app/frame/open_documents.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "core/workbook/workbook.h"

namespace {

CChildFrame* FakeWindow(int n) { return reinterpret_cast<CChildFrame*>(static_cast<uintptr_t>(0x1000 + 16 * n)); }

class OpenDocumentsTest : public ::testing::Test {
 protected:
  void SetUp() override { OpenDocuments() = OpenDocumentTable{}; }
  void TearDown() override { OpenDocuments() = OpenDocumentTable{}; }
  std::unique_ptr<CWorkBook> books[kOpenDocumentSlots + 1];
};

}  // namespace

TEST_F(OpenDocumentsTest, SeventeenthIsRefusedAndFreedSlotIsReused) {
  for (uint32_t i = 0; i <= kOpenDocumentSlots; ++i) books[i] = std::make_unique<CWorkBook>();
  for (uint32_t i = 0; i < kOpenDocumentSlots; ++i) ASSERT_TRUE(AddOpenDocument(books[i].get(), FakeWindow(i)));
  EXPECT_EQ(CountOpenDocuments(), kOpenDocumentSlots);
  EXPECT_FALSE(AddOpenDocument(books[kOpenDocumentSlots].get(), FakeWindow(99)));
  EXPECT_EQ(CountOpenDocuments(), kOpenDocumentSlots);

  RemoveOpenDocument(FakeWindow(2));
  EXPECT_EQ(CountOpenDocuments(), kOpenDocumentSlots - 1);
  ASSERT_TRUE(AddOpenDocument(books[kOpenDocumentSlots].get(), FakeWindow(99)));
  EXPECT_EQ(OpenDocuments().slots[2].frame, FakeWindow(99));
}

TEST_F(OpenDocumentsTest, FindsByPathWithoutCase) {
  books[0] = std::make_unique<CWorkBook>();
  books[1] = std::make_unique<CWorkBook>();
  std::snprintf(books[0]->bufferedFile.path, kFilePathSize, "%s", "C:\\Work\\Book.tlv");
  ASSERT_TRUE(AddOpenDocument(books[0].get(), FakeWindow(0)));
  ASSERT_TRUE(AddOpenDocument(books[1].get(), FakeWindow(1)));
  EXPECT_EQ(FindOpenDocumentByPath("c:\\work\\BOOK.TLV"), FakeWindow(0));
  EXPECT_EQ(FindOpenDocumentByPath("C:\\Work\\Book.tlv"), FakeWindow(0));
  EXPECT_EQ(FindOpenDocumentByPath("C:\\Work\\Book2.tlv"), nullptr);
  // A document without a file is never found, not even by an empty path.
  EXPECT_EQ(FindOpenDocumentByPath(""), nullptr);
  EXPECT_EQ(FindOpenDocumentByPath(nullptr), nullptr);
}
