#include "app/frame/auto_save.h"

#include <gtest/gtest.h>

#include <string>

#include "core/workbook/workbook.h"

namespace {

// Documents in the slots of a table, with what the frame did to them.
struct FakeDocuments {
  bool modified[kOpenDocumentSlots] = {};
  bool saveFails[kOpenDocumentSlots] = {};
  bool wouldLose[kOpenDocumentSlots] = {};  // held back by an automatic save
  int popupAfterSaveOf = -1;
  bool popup = false;
  std::string log;  // "s2" saved slot 2, "b" beep, "c1" close posted, "q0" asked
  char refuseQueryOf = -1;
};

FakeDocuments* g_fake = nullptr;
const OpenDocumentTable* g_table = nullptr;

int SlotOf(const OpenDocument& document) { return static_cast<int>(&document - g_table->slots); }

const DocumentServices kFakeServices = {
    [](const OpenDocument& d) { return g_fake->modified[SlotOf(d)]; },
    [](const OpenDocument& d) {
      const int slot = SlotOf(d);
      if (g_fake->wouldLose[slot]) {
        g_fake->log += "h" + std::to_string(slot);
        return false;
      }
      g_fake->log += "s" + std::to_string(slot);
      if (!g_fake->saveFails[slot]) g_fake->modified[slot] = false;
      if (slot == g_fake->popupAfterSaveOf) g_fake->popup = true;
      return true;
    },
    [](const OpenDocument& d) {
      g_fake->log += "q" + std::to_string(SlotOf(d));
      return SlotOf(d) != g_fake->refuseQueryOf;
    },
    [](const OpenDocument& d) { g_fake->log += "c" + std::to_string(SlotOf(d)); },
};

const AutoSaveFrame kFakeFrame = {
    nullptr,
    [](void*) { return g_fake->popup; },
    [](void*) { g_fake->log += "b"; },
    [](void*) {},
};

class AutoSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_fake = &fake;
    g_table = &table;
  }
  // Occupies slots with workbooks; the given ones have an open file.
  void Open(int slot, bool withFile) {
    table.slots[slot].workbook = &books[slot];
    if (withFile) books[slot].bufferedFile.file = stdin;
  }
  void TearDown() override {
    for (CWorkBook& book : books) book.bufferedFile.file = nullptr;
  }
  void Tick(int64_t now, uint8_t autoSave, uint8_t autoClose) {
    RunAutoSaveTick(&clocks, now, autoSave, autoClose, table, kFakeServices, kFakeFrame);
  }

  OpenDocumentTable table = {};
  CWorkBook books[3];
  FakeDocuments fake;
  ActivityClocks clocks = {1000, 1000};
};

TEST_F(AutoSaveTest, SavesModifiedDocumentsFiftyFiveSecondsAfterTheLastInput) {
  Open(0, true);
  Open(2, true);
  fake.modified[0] = fake.modified[2] = true;
  Tick(1054, 1, 0);
  EXPECT_EQ(fake.log, "");
  Tick(1055, 1, 0);
  EXPECT_EQ(fake.log, "s0s2");
  EXPECT_EQ(clocks.autoSave, 1055);
  // The next pass waits for another pause.
  fake.modified[0] = true;
  Tick(1065, 1, 0);
  EXPECT_EQ(fake.log, "s0s2");
}

TEST_F(AutoSaveTest, ADocumentWithoutAFileBeepsAndAFailedSaveStopsThePass) {
  Open(0, false);
  Open(1, true);
  fake.modified[0] = fake.modified[1] = true;
  fake.saveFails[0] = true;
  Tick(2000, 1, 1);
  // The failure ends the tick: neither slot 1 nor auto-close is reached.
  EXPECT_EQ(fake.log, "bs0");
  EXPECT_EQ(clocks.autoClose, 1000);
}

// A document whose file would keep less than it holds is not written by an
// unattended save, nor does it stop the pass: the documents after it are
// saved, and auto-close, which would have to ask about it, closes none.
TEST_F(AutoSaveTest, ADocumentHeldBackKeepsThePassGoingAndEveryDocumentOpen) {
  Open(0, true);
  Open(1, true);
  fake.modified[0] = fake.modified[1] = true;
  fake.wouldLose[0] = true;
  Tick(2000, 1, 0);
  EXPECT_EQ(fake.log, "h0s1");
  EXPECT_TRUE(fake.modified[0]);
  fake.log.clear();
  fake.modified[1] = true;
  Tick(3000, 0, 1);
  EXPECT_EQ(fake.log, "h0s1");
  EXPECT_EQ(clocks.autoSave, 3000);
}

TEST_F(AutoSaveTest, AnOpenModalWindowStopsThePassBeforeOrBetweenSaves) {
  Open(0, true);
  Open(1, true);
  fake.modified[0] = fake.modified[1] = true;
  fake.popup = true;
  Tick(2000, 1, 0);
  EXPECT_EQ(fake.log, "");
  fake.popup = false;
  fake.popupAfterSaveOf = 0;
  Tick(2100, 1, 0);
  EXPECT_EQ(fake.log, "s0");
}

TEST_F(AutoSaveTest, AutoCloseSavesThenClosesEveryDocument) {
  Open(0, true);
  Open(1, true);
  fake.modified[1] = true;
  Tick(1100, 0, 2);
  EXPECT_EQ(fake.log, "");
  Tick(1115, 0, 2);
  EXPECT_EQ(fake.log, "s1c0c1");
  EXPECT_EQ(clocks.autoSave, 1115);
}

TEST_F(AutoSaveTest, AutoCloseStopsWhenASaveLeavesAModalWindowOpen) {
  Open(0, true);
  fake.modified[0] = true;
  fake.popupAfterSaveOf = 0;
  Tick(1200, 0, 1);
  EXPECT_EQ(fake.log, "s0");
  fake.modified[0] = false;
  Tick(1400, 0, 1);
  EXPECT_EQ(fake.log, "s0");  // the modal window is still open
}

TEST_F(AutoSaveTest, ClosingAsksEveryDocumentInSlotOrderAndStopsAtTheFirstRefusal) {
  Open(0, true);
  Open(1, true);
  Open(2, true);
  fake.refuseQueryOf = 1;
  EXPECT_FALSE(QueryCloseAllDocuments(table, kFakeServices));
  EXPECT_EQ(fake.log, "q0q1");
  fake.refuseQueryOf = -1;
  fake.log.clear();
  EXPECT_TRUE(QueryCloseAllDocuments(table, kFakeServices));
  EXPECT_EQ(fake.log, "q0q1q2");
}

}  // namespace
