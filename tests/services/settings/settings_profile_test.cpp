#include "services/settings/settings_profile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "core/base/global_options.h"
#include "platform/ui/recent_document_list.h"
#include "tests/files/file_test_support.h"
#include "tests/test_seed.h"

namespace {

const char kPath[] = "app_settings_profile.xml";

// Options with their defaults and their own lists; the core's options too.
struct Profile {
  COptions options = {};
  Profile() {
    SetDefaultOptions(options);
    ResetGlobalOptions();
  }
  ~Profile() {
    FreeSettingsProfileBuffer(options);
    ResetGlobalOptions();
  }
};

std::string Document(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Profile>\r\n" + body + "</Profile>\r\n";
}

uint8_t ReadText(COptions& options, const std::string& content) {
  filetest::WriteAll(kPath, content);
  return ReadProfileFile(kPath, options);
}

std::string Repeat(const std::string& text, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += text;
  return out;
}

// A text of length characters for slot i of a list, with characters the
// writer must escape or encode.
void FillSlot(char* slot, size_t length, int i) {
  const char kChars[] = "ab <&>\"'\xE9\xFC  x\t";
  for (size_t k = 0; k < length; ++k) slot[k] = kChars[(k + size_t(i)) % (sizeof kChars - 1)];
  slot[length] = 0;
}

TEST(SettingsProfile, WriteThenReadReproducesEveryFieldAndList) {
  Profile written;
  COptions& o = written.options;
  o.MaximizeDocWindow = 0;
  o.LockEdit = o.ShowFormulas = o.HideCellMarkers = 1;
  o.AutoFormatting = 0;
  o.UndoLevel = 200;
  o.CopyLevel = 16;
  o.SaveFormat = kSaveFormatBinary;
  o.Region = 129;
  o.WhenEnterPressed = 4;
  o.Opacity = 37;
  o.AutoSave = 60;
  o.AutoClose = 7;
  std::strcpy(o.DefaultFont.faceName, "Times \xC9 & <New>");
  o.FontColorSet = 1;
  o.FontColor = 0x00123456;
  FillSlot(o.Folder, kFolderSize - 1, 3);
  o.ComposerVisible = 1;
  o.ComposerSplitter = -77;
  o.ComposerRect = {-5, 6, 700, 800};
  o.CellFormatVisible = 1;
  o.CellFormatPage = 4;
  o.CellFormatRect = {1, 2, 3, 4};
  o.WorksheetFormatVisible = 1;
  o.WorksheetFormatPage = 1;
  o.WorksheetFormatRect = {-2147483647 - 1, 2147483647, 0, -1};
  o.FrameRect = {11, 22, 1033, 744};
  o.FrameShowState = kShowStateRestored;
  ProfileLists& l = *o.Lists;
  l.userFormatCount = kUserFormatCount;
  for (int i = 0; i < kUserFormatCount; ++i) {
    FillSlot(l.userFormatNames[i], kUserFormatTextSize - 1 - i % 3, i);
    FillSlot(l.userFormatPatterns[i], size_t(i % 7), i);
  }
  l.bookmarkCount = kBookmarkCount;
  for (int i = 0; i < kBookmarkCount; ++i) FillSlot(l.bookmarks[i], kProfilePathSize - 1 - i, i);
  l.recentFileCount = kRecentFileCount;
  for (int i = 0; i < kRecentFileCount; ++i) FillSlot(l.recentFiles[i], kProfilePathSize - 1 - i, i);
  l.recentCellTextCount = kRecentCellTextCount;
  for (int i = 0; i < kRecentCellTextCount; ++i) FillSlot(l.recentCellTexts[i], kRecentCellTextSize - 1 - i, i);
  AddressingA1 = 0;
  AutomaticUpdating = kUpdateManual;
  ASSERT_EQ(WriteProfileFile(kPath, o), 0);

  Profile read;
  ResetGlobalOptions();
  ASSERT_EQ(ReadProfileFile(kPath, read.options), 0);
  const COptions& r = read.options;
  EXPECT_EQ(AddressingA1, 0);
  EXPECT_EQ(AutomaticUpdating, kUpdateManual);
  const uint8_t bytes[][2] = {
      {r.MaximizeDocWindow, o.MaximizeDocWindow}, {r.LockEdit, o.LockEdit},
      {r.ShowFormulas, o.ShowFormulas},           {r.HideCellMarkers, o.HideCellMarkers},
      {r.AutoFormatting, o.AutoFormatting},       {r.UndoLevel, o.UndoLevel},
      {r.CopyLevel, o.CopyLevel},                 {r.SaveFormat, o.SaveFormat},
      {r.Region, o.Region},                       {r.WhenEnterPressed, o.WhenEnterPressed},
      {r.Opacity, o.Opacity},                     {r.AutoSave, o.AutoSave},
      {r.AutoClose, o.AutoClose},                 {r.FontColorSet, o.FontColorSet},
      {r.ComposerVisible, o.ComposerVisible},     {r.CellFormatVisible, o.CellFormatVisible},
      {r.CellFormatPage, o.CellFormatPage},       {r.WorksheetFormatVisible, o.WorksheetFormatVisible},
      {r.WorksheetFormatPage, o.WorksheetFormatPage},
  };
  for (size_t i = 0; i < sizeof bytes / sizeof bytes[0]; ++i) EXPECT_EQ(bytes[i][0], bytes[i][1]) << "field " << i;
  EXPECT_STREQ(r.DefaultFont.faceName, o.DefaultFont.faceName);
  EXPECT_EQ(r.FontColor, o.FontColor);
  EXPECT_STREQ(r.Folder, o.Folder);
  EXPECT_EQ(r.ComposerSplitter, o.ComposerSplitter);
  EXPECT_EQ(0, std::memcmp(&r.ComposerRect, &o.ComposerRect, sizeof(OptionsRect)));
  EXPECT_EQ(0, std::memcmp(&r.CellFormatRect, &o.CellFormatRect, sizeof(OptionsRect)));
  EXPECT_EQ(0, std::memcmp(&r.WorksheetFormatRect, &o.WorksheetFormatRect, sizeof(OptionsRect)));
  EXPECT_EQ(0, std::memcmp(&r.FrameRect, &o.FrameRect, sizeof(OptionsRect)));
  EXPECT_EQ(r.FrameShowState, kShowStateRestored);
  EXPECT_EQ(0, std::memcmp(r.Lists, o.Lists, sizeof(ProfileLists)));

  // The other values of the states and flags written as elements.
  o.FrameShowState = kShowStateMinimized;
  o.SaveFormat = kSaveFormatXml;
  o.MaximizeDocWindow = 1;
  AddressingA1 = 1;
  AutomaticUpdating = kUpdateAutomatic;
  ASSERT_EQ(WriteProfileFile(kPath, o), 0);
  ResetGlobalOptions();
  AutomaticUpdating = kUpdateManual;
  ASSERT_EQ(ReadProfileFile(kPath, read.options), 0);
  EXPECT_EQ(r.FrameShowState, kShowStateMinimized);
  EXPECT_EQ(r.SaveFormat, kSaveFormatXml);
  EXPECT_EQ(r.MaximizeDocWindow, 1);
  EXPECT_EQ(AddressingA1, 1);
  EXPECT_EQ(AutomaticUpdating, kUpdateAutomatic);
}

TEST(SettingsProfile, WritesTheDocumentLayoutOfTheDefaults) {
  Profile p;
  ASSERT_EQ(WriteProfileFile(kPath, p.options), 0);
  const std::string text = filetest::ReadAll(kPath);
  const std::string head =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<Profile>\r\n\t<UndoLevel>20</UndoLevel>\r\n"
      "\t<CopyLevel>1</CopyLevel>\r\n";
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_NE(text.find("\t<ApplicationWindow Position=\"Maximize\" MaximizeDocWindow=\"Yes\"/>\r\n"
                      "\t<ComposerWindow Position=\"0 0 0 0 -1\" Visible=\"No\"/>\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("\t<AddressingA1/>\r\n\t<AutoFormatting/>\r\n\t<AutoSave>0</AutoSave>"), std::string::npos);
  EXPECT_NE(text.find("\t<AutomaticUpdating/>\r\n\t<BinaryFileFormat/>\r\n\t<Locales Region=\"2\"/>\r\n\t<Folder/>\r\n"
                      "\t<Font Name=\"Arial\"/>\r\n"
                      "</Profile>\r\n"),
            std::string::npos);
}

TEST(SettingsProfile, RefusesValuesBeyondTheirLimitsWithTheirCodes) {
  const std::string file17 = Repeat("<RecentFile>f</RecentFile>", 17);
  const std::string bookmark51 = Repeat("<Bookmark>b</Bookmark>", 51);
  const std::string format51 = Repeat("<UserNumericFormat><Name>n</Name><Pattern>0</Pattern></UserNumericFormat>", 51);
  struct Case { std::string body; uint8_t code; };
  const Case cases[] = {
      {"<UndoLevel>1</UndoLevel>", 60},
      {"<UndoLevel>2</UndoLevel>", 0},
      {"<UndoLevel>200</UndoLevel>", 0},
      {"<UndoLevel>201</UndoLevel>", 60},
      {"<UndoLevel> \t\r\n 20 \r\n</UndoLevel>", 0},
      {"<UndoLevel>2x</UndoLevel>", 60},
      {"<CopyLevel>0</CopyLevel>", 60},
      {"<CopyLevel>17</CopyLevel>", 60},
      {"<CellFormatWindow ActivePage=\"4\"/>", 0},
      {"<CellFormatWindow ActivePage=\"5\"/>", 60},
      {"<WorksheetFormatWindow ActivePage=\"2\"/>", 60},
      {"<ComposerWindow Visible=\"maybe\"/>", 58},
      {"<ComposerWindow Visible=\"true\"/>", 0},
      {"<AutoSave>61</AutoSave>", 60},
      {"<WhenEnterPressed>5</WhenEnterPressed>", 60},
      {"<Opacity>101</Opacity>", 60},
      {"<Locales Region=\"129\"/>", 0},
      {"<Locales Region=\"130\"/>", 60},
      {"<Folder>" + std::string(255, 'f') + "</Folder>", 0},
      {"<Folder>" + std::string(256, 'f') + "</Folder>", 60},
      {"<Font Color=\"#12345\"/>", 58},
      {"<Font Color=\"Red\"/>", 0},
      {"<Font Name=\"" + std::string(128, 'n') + "\"/>", 58},
      {Repeat("<RecentFile>f</RecentFile>", 16), 0},
      {file17, 57},
      {"<RecentFile>" + std::string(256, 'p') + "</RecentFile>", 60},
      {Repeat("<Bookmark>b</Bookmark>", 50), 0},
      {bookmark51, 57},
      {Repeat("<RecentCellData>t</RecentCellData>", 51), 57},
      {"<RecentCellData>" + std::string(1024, 't') + "</RecentCellData>", 0},
      {"<RecentCellData>" + std::string(1025, 't') + "</RecentCellData>", 60},
      {format51, 57},
      {"<UserNumericFormat><Name>" + std::string(49, 'n') + "</Name></UserNumericFormat>", 0},
      {"<UserNumericFormat><Name>" + std::string(50, 'n') + "</Name></UserNumericFormat>", 60},
      {"<UserNumericFormat><Pattern>" + std::string(50, '0') + "</Pattern></UserNumericFormat>", 60},
      {"<Unknown/>", 57},
  };
  for (const Case& c : cases) {
    Profile p;
    EXPECT_EQ(ReadText(p.options, Document(c.body)), c.code) << c.body.substr(0, 80);
  }
}

TEST(SettingsProfile, RefusesUnreadableAndUtf16Files) {
  Profile p;
  std::remove(kPath);
  EXPECT_EQ(ReadProfileFile(kPath, p.options), 34);
  EXPECT_EQ(ReadText(p.options, "\xFF\xFE<\0?\0" + Document("<UndoLevel>9</UndoLevel>")), 46);
  EXPECT_EQ(ReadText(p.options, "\xFE\xFF" + Document("<UndoLevel>9</UndoLevel>")), 46);
  EXPECT_EQ(p.options.UndoLevel, 20);
  EXPECT_EQ(ReadText(p.options, "\xEF\xBB\xBF" + Document("<UndoLevel>9</UndoLevel>")), 0);
  EXPECT_EQ(p.options.UndoLevel, 9);
  EXPECT_EQ(WriteProfileFile("no_such_folder/settings.xml", p.options), 35);
}

TEST(SettingsProfile, AFailedReadKeepsWhatWasReadBeforeIt) {
  Profile p;
  p.options.LockEdit = 1;
  p.options.Opacity = 55;
  p.options.Lists->bookmarkCount = 1;
  const uint8_t code = ReadText(p.options, Document("<UndoLevel>33</UndoLevel><CopyLevel>5</CopyLevel>"
                                                    "<ApplicationWindow Position=\"1 2 3 4\"/>"
                                                    "<CellFormatWindow Position=\"9 9 9 9\" ActivePage=\"9\"/>"
                                                    "<LockEdit/><Opacity>80</Opacity>"));
  EXPECT_EQ(code, 60);
  EXPECT_EQ(p.options.UndoLevel, 33);
  EXPECT_EQ(p.options.CopyLevel, 5);
  EXPECT_EQ(p.options.FrameShowState, kShowStateRestored);
  EXPECT_EQ(p.options.FrameRect.right, 3);
  EXPECT_EQ(p.options.CellFormatRect.left, 9);
  EXPECT_EQ(p.options.CellFormatPage, 0);
  EXPECT_EQ(p.options.LockEdit, 1);
  EXPECT_EQ(p.options.Opacity, 55);
  EXPECT_EQ(p.options.Lists->bookmarkCount, 1);
}

TEST(SettingsProfile, AnEmptyProfileClearsFlagsAndListsButKeepsNumbers) {
  for (const char* content : {"<Profile></Profile>", "<?xml version=\"1.0\"?><Profile/>"}) {
    Profile p;
    p.options.LockEdit = p.options.ShowFormulas = 1;
    p.options.UndoLevel = 44;
    p.options.FrameRect = {1, 2, 3, 4};
    p.options.Lists->recentFileCount = 3;
    p.options.Lists->userFormatCount = 2;
    ASSERT_EQ(ReadText(p.options, content), 0) << content;
    EXPECT_EQ(p.options.LockEdit, 0);
    EXPECT_EQ(p.options.ShowFormulas, 0);
    EXPECT_EQ(p.options.AutoFormatting, 0);
    EXPECT_EQ(AddressingA1, 0);
    EXPECT_EQ(AutomaticUpdating, kUpdateManual);
    EXPECT_EQ(p.options.SaveFormat, kSaveFormatXml);
    EXPECT_EQ(p.options.Lists->recentFileCount, 0);
    EXPECT_EQ(p.options.Lists->userFormatCount, 0);
    EXPECT_EQ(p.options.UndoLevel, 44);
    EXPECT_EQ(p.options.FrameRect.bottom, 4);
    EXPECT_EQ(p.options.FrameShowState, kShowStateMaximized);
  }
}

TEST(SettingsProfile, ReadsTheElementsOfEarlierVersions) {
  Profile p;
  p.options.FrameRect = {5, 6, 7, 8};
  const std::string body =
      "<ApplicationWindow Position=\"maximize\"><PrimaryToolbar Visible=\"1\"/><Statusbar>x</Statusbar>"
      "<SearchToolbar/></ApplicationWindow>"
      "<ComposerWindow Position=\"1 2\"><Formula><Argument>A1</Argument></Formula></ComposerWindow>"
      "<AutomaticUpdating/><UpdateMode Automatic=\"false\"/><FileFormat Xml=\"0\"/>"
      "<Font Name=\"Caf&#233;\" Color=\"blue\"/>"
      "<Bookmark>c:\\b</Bookmark><Image>iVBORw0KGgo=</Image><Image/><RecentFile>c:\\r</RecentFile>";
  ASSERT_EQ(ReadText(p.options, Document(body)), 0);
  // Letter case matters: "maximize" is read as a rectangle with no numbers.
  EXPECT_EQ(p.options.FrameShowState, kShowStateRestored);
  EXPECT_EQ(p.options.FrameRect.left, 5);
  EXPECT_EQ(p.options.ComposerRect.left, 1);
  EXPECT_EQ(p.options.ComposerRect.top, 2);
  EXPECT_EQ(p.options.ComposerRect.right, 0);
  EXPECT_EQ(AutomaticUpdating, kUpdateManual);
  EXPECT_EQ(p.options.SaveFormat, kSaveFormatBinary);
  EXPECT_STREQ(p.options.DefaultFont.faceName, "Caf\xE9");
  EXPECT_EQ(p.options.FontColorSet, 1);
  EXPECT_EQ(p.options.FontColor, 0xFF0000u);
  EXPECT_EQ(p.options.Lists->bookmarkCount, 1);
  EXPECT_STREQ(p.options.Lists->recentFiles[0], "c:\\r");

  // An ISO declaration takes texts byte for byte.
  const std::string iso = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><Profile><Folder>\xE9t\xE9</Folder></Profile>";
  ASSERT_EQ(ReadText(p.options, iso), 0);
  EXPECT_STREQ(p.options.Folder, "\xE9t\xE9");
}

// Damaged profiles: every read ends with 0 or one of the reader's codes, the
// lists stay within their bounds, and nothing is read past a buffer (the
// sanitizer build checks that).
TEST(SettingsProfile, DamagedFilesGiveACodeAndKeepTheListsInBounds) {
  Profile source;
  source.options.Lists->bookmarkCount = 2;
  std::strcpy(source.options.Lists->bookmarks[1], "c:\\x & y");
  source.options.Lists->userFormatCount = 1;
  std::strcpy(source.options.Lists->userFormatPatterns[0], "0.00");
  ASSERT_EQ(WriteProfileFile(kPath, source.options), 0);
  const std::string original = filetest::ReadAll(kPath);
  const uint32_t seed = TestSeed(29);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const char kBytes[] = "<>/=\"' !&#;0123456789abYesNo\xFE\xC3\t\r\n";
  for (int round = 0; round < 1500; ++round) {
    std::string damaged = original;
    const int edits = 1 + int(random() % 4);
    for (int e = 0; e < edits && !damaged.empty(); ++e) {
      const size_t at = random() % damaged.size();
      switch (random() % 3) {
        case 0: damaged[at] = kBytes[random() % (sizeof kBytes - 1)]; break;
        case 1: damaged.erase(at, 1 + random() % 8); break;
        default: damaged.insert(at, damaged.substr(random() % damaged.size(), random() % 40)); break;
      }
    }
    Profile p;
    const uint8_t code = ReadText(p.options, damaged);
    ASSERT_TRUE(code == 0 || code == 46 || code == 57 || code == 58 || code == 60) << int(code) << "\n" << damaged;
    ASSERT_LE(p.options.Lists->bookmarkCount, kBookmarkCount);
    ASSERT_LE(p.options.Lists->recentFileCount, kRecentFileCount);
    ASSERT_LE(p.options.Lists->userFormatCount, kUserFormatCount);
    ASSERT_LT(std::strlen(p.options.Folder), size_t(kFolderSize));
  }
}

// Options of every kind within their bounds, the default font's face empty
// now and then, and the core's two options.
void RandomOptions(std::mt19937& random, COptions& o) {
  auto below = [&random](uint32_t n) { return uint32_t(random() % n); };
  uint8_t* flags[] = {&o.MaximizeDocWindow, &o.LockEdit,          &o.ShowFormulas,          &o.HideCellMarkers,
                      &o.AutoFormatting,    &o.ComposerVisible,   &o.CellFormatVisible,     &o.WorksheetFormatVisible,
                      &o.FontColorSet,      &AddressingA1};
  for (uint8_t* flag : flags) *flag = uint8_t(below(2));
  AutomaticUpdating = below(2) ? kUpdateAutomatic : kUpdateManual;
  o.UndoLevel = uint8_t(kMinUndoLevel + below(kMaxUndoLevel - kMinUndoLevel + 1));
  o.CopyLevel = uint8_t(kMinCopyLevel + below(kMaxCopyLevel - kMinCopyLevel + 1));
  o.SaveFormat = below(2) ? kSaveFormatBinary : kSaveFormatXml;
  o.Region = uint8_t(below(kMaxRegion + 1));
  o.WhenEnterPressed = uint8_t(below(kMaxWhenEnterPressed + 1));
  o.Opacity = uint8_t(below(kMaxOpacity + 1));
  o.AutoSave = uint8_t(below(kMaxAutoMinutes + 1));
  o.AutoClose = uint8_t(below(kMaxAutoMinutes + 1));
  o.CellFormatPage = uint8_t(below(kMaxCellFormatPage + 1));
  o.WorksheetFormatPage = uint8_t(below(kMaxWorksheetFormatPage + 1));
  FillSlot(o.DefaultFont.faceName, below(3) ? below(kFaceNameSize) : 0, int(below(9)));
  if (o.FontColorSet)
    o.FontColor = below(0x1000000);
  FillSlot(o.Folder, below(kFolderSize), int(below(9)));
  for (OptionsRect* rect : {&o.ComposerRect, &o.CellFormatRect, &o.WorksheetFormatRect, &o.FrameRect})
    *rect = OptionsRect{int32_t(random()), int32_t(random()), int32_t(random()), int32_t(random())};
  o.ComposerSplitter = int32_t(random());
  const int32_t states[] = {kShowStateMaximized, kShowStateMinimized, kShowStateRestored};
  o.FrameShowState = states[below(3)];
  ProfileLists& l = *o.Lists;
  l.userFormatCount = uint8_t(below(kUserFormatCount + 1));
  for (int i = 0; i < l.userFormatCount; ++i) {
    FillSlot(l.userFormatNames[i], below(kUserFormatTextSize), i);
    FillSlot(l.userFormatPatterns[i], below(kUserFormatTextSize), i + 1);
  }
  l.bookmarkCount = uint8_t(below(kBookmarkCount + 1));
  for (int i = 0; i < l.bookmarkCount; ++i) FillSlot(l.bookmarks[i], below(kProfilePathSize), i);
  l.recentFileCount = uint8_t(below(kRecentFileCount + 1));
  for (int i = 0; i < l.recentFileCount; ++i) FillSlot(l.recentFiles[i], below(kProfilePathSize), i);
  l.recentCellTextCount = uint8_t(below(kRecentCellTextCount + 1));
  for (int i = 0; i < l.recentCellTextCount; ++i) FillSlot(l.recentCellTexts[i], below(kRecentCellTextSize), i);
}

// The options as they act: a save format never read acts as the binary
// one, and slots past a list's count hold nothing.
std::string Acting(const COptions& options) {
  COptions o = options;
  o.Lists = nullptr;
  if (o.SaveFormat == kSaveFormatUnset)
    o.SaveFormat = kSaveFormatBinary;
  std::string bytes(reinterpret_cast<const char*>(&o), sizeof o);
  auto lists = std::make_unique<ProfileLists>(*options.Lists);
  ProfileLists& l = *lists;
  for (int i = l.userFormatCount; i < kUserFormatCount; ++i) {
    std::memset(l.userFormatNames[i], 0, kUserFormatTextSize);
    std::memset(l.userFormatPatterns[i], 0, kUserFormatTextSize);
  }
  for (int i = l.bookmarkCount; i < kBookmarkCount; ++i) std::memset(l.bookmarks[i], 0, kProfilePathSize);
  for (int i = l.recentFileCount; i < kRecentFileSlots; ++i) std::memset(l.recentFiles[i], 0, kProfilePathSize);
  for (int i = l.recentCellTextCount; i < kRecentCellTextCount; ++i)
    std::memset(l.recentCellTexts[i], 0, kRecentCellTextSize);
  bytes.append(reinterpret_cast<const char*>(&l), sizeof l);
  bytes.push_back(char(AddressingA1));
  bytes.push_back(char(AutomaticUpdating));
  return bytes;
}

// What a profile held comes back unchanged after the exit writes it again,
// also when its reading stopped part-way at an error: read, write and read
// again give the options of the first read.
TEST(SettingsProfile, WhatWasReadComesBackAfterTheExitWritesIt) {
  const uint32_t seed = TestSeed(7102);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::string text;
    {
      Profile source;
      RandomOptions(random, source.options);
      ASSERT_EQ(WriteProfileFile(kPath, source.options), 0);
      text = filetest::ReadAll(kPath);
    }
    // A face name of a character above U+00FF reads as an empty face.
    if (round % 4 == 0)
      text.replace(text.find("<Font"), 5, "<Font Name=\"\xC4\x80\"");
    // An element no reader knows stops the reading where it stands.
    if (round % 3) {
      size_t at = text.find("\r\n\t", random() % text.size());
      if (at == std::string::npos)
        at = text.find("</Profile>");
      text.insert(at, "<Unknown/>");
    }
    Profile first;
    const uint8_t code = ReadText(first.options, text);
    ASSERT_EQ(code, round % 3 ? 57 : 0);
    const std::string read = Acting(first.options);
    ASSERT_EQ(WriteProfileFile(kPath, first.options), 0);
    Profile second;
    ASSERT_EQ(ReadProfileFile(kPath, second.options), 0);
    const std::string again = Acting(second.options);
    size_t at = 0;
    while (at < read.size() && read[at] == again[at]) ++at;
    EXPECT_EQ(at, read.size()) << "the options differ from byte " << at;
  }
}

TEST(SettingsProfile, RecentFilesFollowTheRecentDocumentsMenu) {
  Profile p;
  RecentDocumentList recent;
  for (int i = 0; i < 20; ++i) {
    char path[32];
    std::snprintf(path, sizeof path, "c:\\f%d.tlv", i);
    recent.Add(path);
  }
  CopyRecentFilesToProfile(recent, p.options);
  EXPECT_EQ(p.options.Lists->recentFileCount, 16);
  EXPECT_STREQ(p.options.Lists->recentFiles[0], "c:\\f19.tlv");
  recent.Clear();
  CopyRecentFilesToProfile(recent, p.options);
  EXPECT_EQ(p.options.Lists->recentFileCount, 0);
  // A path the profile cannot hold whole is left out, not cut to another.
  const std::string longPath = "c:\\" + std::string(kProfilePathSize, 'l') + ".tlv";
  recent.Add("c:\\kept.tlv");
  recent.Add(longPath.c_str());
  CopyRecentFilesToProfile(recent, p.options);
  ASSERT_EQ(p.options.Lists->recentFileCount, 1);
  EXPECT_STREQ(p.options.Lists->recentFiles[0], "c:\\kept.tlv");
}

}  // namespace
