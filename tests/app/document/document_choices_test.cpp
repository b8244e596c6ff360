// The plain decisions of the document window: its title, what a save
// writes, the pane order of F6 and the file dialogs' folder.

#include <gtest/gtest.h>

#include <cstring>

#include "app/document/document_title.h"
#include "app/document/file_dialog_folder.h"
#include "app/document/open_choice.h"
#include "app/document/pane_cycle.h"
#include "app/document/save_choice.h"

TEST(DocumentTitle, ShowsPathOrUntitledSheetAndModifiedMark) {
  char out[128];
  ComposeDocumentTitle("C:\\a\\b.tlv", "New Workbook", "\\Sales\\2009", true, out, sizeof out);
  EXPECT_STREQ(out, "C:\\a\\b.tlv - \\Sales\\2009 *");
  ComposeDocumentTitle("", "New Workbook", "\\Worksheet1", false, out, sizeof out);
  EXPECT_STREQ(out, "New Workbook - \\Worksheet1");
  char small[8];
  EXPECT_EQ(ComposeDocumentTitle("C:\\long\\path.tlv", "x", "\\W", true, small, sizeof small), 7u);
  EXPECT_STREQ(small, "C:\\long");
}

TEST(SaveChoice, FilterIndexGivesFileKind) {
  const uint8_t expected[] = {0, 0, 1, 2, 3, 4, 5, 6, 0, 0};
  for (uint32_t index = 0; index < sizeof expected; ++index)
    EXPECT_EQ(FileKindOfSaveFilter(index), expected[index]) << index;
}

TEST(SaveChoice, FilterListHasEightPairsAndNativeExtension) {
  int texts = 0;
  for (const char* p = kSaveFilter; *p != '\0'; p += std::strlen(p) + 1) ++texts;
  EXPECT_EQ(texts, int(2 * kSaveFilterCount));
  EXPECT_STREQ(kNativeExtension, "tlv");
  EXPECT_NE(std::strstr(kSaveFilter, "*.tlv"), nullptr);
}

// A name typed with a native extension is saved natively whatever filter
// the dialog kept; no other extension changes the filter's kind.
TEST(SaveChoice, NativeExtensionTypedStatesTheKind) {
  const struct {
    const char* path;
    uint8_t filterKind;
    uint8_t kind;
  } cases[] = {
      {"C:\\docs\\trap.tlv", 3, 0}, {"trap.TLV", 6, 0},  {"old.tlw", 1, 0},      {"trap.tlv", 0, 0},
      {"table.dbf", 3, 3},          {"notes.csv", 0, 0}, {"tlv", 3, 3},          {"C:\\a.tlv\\b", 2, 2},
      {"trap.tlv.dbf", 4, 4},       {"", 5, 5},          {"report.xml", 2, 2},
  };
  for (const auto& c : cases) EXPECT_EQ(FileKindOfSavedName(c.path, c.filterKind), c.kind) << c.path;
  EXPECT_EQ(FileKindOfSaveFilter(kNativeSaveFilterIndex), 0);
}

TEST(SaveChoice, KindNamesForTheQuestionBeforeALossySave) {
  EXPECT_STREQ(SaveKindName(1), "text");
  EXPECT_STREQ(SaveKindName(2), "Excel 2003 XML");
  EXPECT_STREQ(SaveKindName(3), "dBase III+");
  EXPECT_STREQ(SaveKindName(6), "Clipper");
}

TEST(SaveChoice, NativeVariantFollowsDocumentOrOption) {
  struct Case {
    uint8_t sourceFormat, saveKind, option, variant;
  } cases[] = {
      {0, 2, 5, 2}, {0, 3, 5, 2}, {0, 4, 2, 5}, {0, 5, 2, 5}, {0, 6, 2, 5}, {0, 7, 2, 5},
      {1, 2, 5, 5}, {1, 5, 2, 2}, {3, 5, 4, 5}, {2, 2, 3, 2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NativeSaveVariant(c.sourceFormat, c.saveKind, c.option), c.variant)
        << int(c.sourceFormat) << " " << int(c.saveKind) << " " << int(c.option);
}

TEST(PaneCycle, SkipsHiddenPanesBothWays) {
  const bool all[kPaneCount] = {true, true, true, true};
  const bool viewsOnly[kPaneCount] = {false, true, false, false};
  const bool noSecond[kPaneCount] = {true, true, false, true};
  EXPECT_EQ(NextVisiblePane(kPaneFirstView, all, false), kPaneSecondView);
  EXPECT_EQ(NextVisiblePane(kPaneInspect, all, false), kPaneTree);
  EXPECT_EQ(NextVisiblePane(kPaneTree, all, true), kPaneInspect);
  EXPECT_EQ(NextVisiblePane(kPaneFirstView, viewsOnly, false), kPaneFirstView);
  EXPECT_EQ(NextVisiblePane(kPaneFirstView, viewsOnly, true), kPaneFirstView);
  EXPECT_EQ(NextVisiblePane(kPaneFirstView, noSecond, false), kPaneInspect);
  EXPECT_EQ(NextVisiblePane(kPaneInspect, noSecond, true), kPaneFirstView);
  EXPECT_EQ(NextVisiblePane(-1, noSecond, false), kPaneInspect);
}

TEST(FileDialogFolder, FolderOfPathAndMemory) {
  char out[64];
  FolderOfPath("C:\\work\\book.tlv", out, sizeof out);
  EXPECT_STREQ(out, "C:\\work");
  FolderOfPath("C:\\book.tlv", out, sizeof out);
  EXPECT_STREQ(out, "C:\\");
  FolderOfPath("book.tlv", out, sizeof out);
  EXPECT_STREQ(out, "");
  FolderOfPath("/tmp/x/book.tlv", out, sizeof out);
  EXPECT_STREQ(out, "/tmp/x");
  RememberFileDialogFolder("D:\\docs\\a.tlv");
  EXPECT_STREQ(LastFileDialogFolder(), "D:\\docs");
}

TEST(OpenChoice, ExtensionAndFilterGiveTheReader) {
  EXPECT_EQ(GetFileTypeFromExtension("C:\\a\\data.CSV"), 1);
  EXPECT_EQ(GetFileTypeFromExtension("old.tlw"), 0);
  EXPECT_EQ(GetFileTypeFromExtension("noextension"), 0);
  EXPECT_EQ(GetFileTypeFromExtension("x.Xml"), 2);
  EXPECT_EQ(GetFileTypeFromExtension("t.dbf"), 4);
  EXPECT_EQ(GetFileTypeFromExtension("a.tsv"), 1);
  EXPECT_EQ(GetFileTypeFromExtension(".db"), 0);
  EXPECT_EQ(FileTypeOfOpenFilter(1, "a.csv"), 1);
  EXPECT_EQ(FileTypeOfOpenFilter(0, "a.dbf"), 4);
  EXPECT_EQ(FileTypeOfOpenFilter(8, "a.csv"), 0);  // "All Files" reads native
  EXPECT_EQ(FileTypeOfOpenFilter(4, "a.tlv"), 3);
  EXPECT_EQ(FileTypeOfOpenFilter(7, "a.tlv"), 6);
  EXPECT_EQ(FileTypeOfOpenFilter(2, "a.tlv"), 1);
}
