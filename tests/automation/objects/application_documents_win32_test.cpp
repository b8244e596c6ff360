// The Application object's factory members in the server's own process: a
// new workbook holds its new document, and a workbook whose file cannot be
// loaded does not outlive the failed call.

#include "automation/objects/application_win32.h"

#include <gtest/gtest.h>

namespace {

class ApplicationDocuments : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    locks = ServerModule().LockCount();
    ASSERT_EQ(CreateObjectOf<CApplication>(IID_IDocuments, reinterpret_cast<void**>(&documents)), S_OK);
  }
  void TearDown() override {
    documents->Release();
    EXPECT_EQ(ServerModule().LockCount(), locks) << "an object outlived its last reference";
    CoUninitialize();
  }
  IDocuments* documents = nullptr;
  LONG locks = 0;
};

TEST_F(ApplicationDocuments, NewHoldsOneWorksheet) {
  IWorksheet* book = nullptr;
  ASSERT_EQ(documents->New(&book), S_OK);
  ASSERT_NE(book, nullptr);
  ITree* tree = nullptr;
  ASSERT_EQ(book->get_WorksheetTree(&tree), S_OK);
  int count = 0;
  EXPECT_EQ(tree->GetItemCount(&count), S_OK);
  EXPECT_EQ(count, 1);
  BSTR path = nullptr;
  EXPECT_EQ(tree->GetActiveWorksheet(&path), S_OK);
  EXPECT_STREQ(path, L"\\Worksheet1");
  SysFreeString(path);
  tree->Release();
  book->Release();
}

TEST_F(ApplicationDocuments, AFailedOpenLeavesNoWorkbook) {
  BSTR missing = SysAllocString(L"C:\\talvero_no_such_folder\\book.tlv");
  IWorksheet* book = reinterpret_cast<IWorksheet*>(1);
  EXPECT_EQ(documents->Open(missing, nullptr, &book), static_cast<HRESULT>(0x80040022));
  EXPECT_EQ(book, nullptr);
  book = reinterpret_cast<IWorksheet*>(1);
  EXPECT_EQ(documents->OpenExcelFile(missing, &book), static_cast<HRESULT>(0x80040022));
  EXPECT_EQ(book, nullptr);
  // An xBase file needs an info object to say its format.
  book = reinterpret_cast<IWorksheet*>(1);
  EXPECT_EQ(documents->OpenDatabase(missing, nullptr, &book), E_FAIL);
  EXPECT_EQ(book, nullptr);
  SysFreeString(missing);
}

}  // namespace
