// Printer settings and names held in movable global memory that cannot be
// locked (discarded by the system, freed) are read as "none", never touched.

#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <cstring>

#include "platform/ui/locked_global.h"
#include "platform/ui/printer_capabilities.h"

namespace {

HGLOBAL DiscardedBlock() {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DISCARDABLE, 64);
  return block != nullptr ? GlobalDiscard(block) : nullptr;
}

TEST(LockedGlobal, ABlockThatCannotBeLockedReadsAsNone) {
  EXPECT_EQ(LockedGlobal(nullptr).Data(), nullptr);
  HGLOBAL discarded = DiscardedBlock();
  ASSERT_NE(discarded, nullptr);
  EXPECT_EQ(LockedGlobal(discarded).Data(), nullptr);
  EXPECT_EQ(CopyDevModeBlock(discarded), nullptr);
  GlobalFree(discarded);

  HGLOBAL held = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
  ASSERT_NE(held, nullptr);
  {
    LockedGlobal settings(held);
    ASSERT_NE(settings.As<DEVMODEA>(), nullptr);
    settings.As<DEVMODEA>()->dmOrientation = DMORIENT_LANDSCAPE;
  }
  EXPECT_EQ(GlobalFlags(held) & GMEM_LOCKCOUNT, 0u) << "unlocked on leaving the scope";
  HGLOBAL copy = CopyDevModeBlock(held);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(LockedGlobal(copy).As<DEVMODEA>()->dmOrientation, DMORIENT_LANDSCAPE);
  GlobalFree(copy);
  GlobalFree(held);
}

TEST(LockedGlobal, ADeviceNameOutsideItsBlockIsNotRead) {
  alignas(DEVNAMES) char block[sizeof(DEVNAMES) + 8] = {};
  DEVNAMES* names = reinterpret_cast<DEVNAMES*>(block);
  names->wDeviceOffset = sizeof(DEVNAMES);
  std::memcpy(block + sizeof(DEVNAMES), "Printer", 8);
  EXPECT_STREQ(DeviceNameIn(names, sizeof block), "Printer");
  EXPECT_EQ(DeviceNameIn(names, sizeof block - 1), nullptr) << "no NUL inside the block";
  names->wDeviceOffset = sizeof block;
  EXPECT_EQ(DeviceNameIn(names, sizeof block), nullptr);
  EXPECT_EQ(DeviceNameIn(nullptr, sizeof block), nullptr);
}

}  // namespace
