#include "core/model/container_record.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/model/chart_record.h"

namespace {

// Lets `allowedAllocations` container or chart allocations through, then
// refuses every further one.
int allowedAllocations = 0;
int attemptedAllocations = 0;
bool CountingGate(size_t) {
  ++attemptedAllocations;
  return allowedAllocations-- > 0;
}

struct GateGuard {
  explicit GateGuard(int allowed) {
    allowedAllocations = allowed;
    attemptedAllocations = 0;
    SetContainerAllocationGateForTesting(CountingGate);
  }
  ~GateGuard() { SetContainerAllocationGateForTesting(nullptr); }
};

void AddChart(ContainerRecord& container, int slot, uint8_t kind, const char* seriesName) {
  ChartRecord* chart = new ChartRecord(kind);
  chart->options.seriesCount = 1;
  std::strcpy(chart->series[0].name, seriesName);
  uint8_t point[16] = {};
  ASSERT_TRUE(chart->seriesLists[0].points.Append(point));
  container.items[slot].kind = kItemChart;
  container.items[slot].chart = chart;
  container.header.itemCount = static_cast<uint8_t>(slot + 1);
}

// Three charts of the three kinds and an image.
std::unique_ptr<ContainerRecord> MakeSource() {
  auto source = std::make_unique<ContainerRecord>();
  source->header.id = 7;
  source->header.columns = 2;
  source->header.rows = 2;
  std::strcpy(source->header.titleText, "Quarterly");
  AddChart(*source, 0, kChart2D, "North");
  AddChart(*source, 1, kChart3D, "South");
  AddChart(*source, 2, kChartXY, "East");
  source->items[3].kind = kItemImage;
  source->items[3].imageId = 12;
  source->header.itemCount = 4;
  source->selectedItem = 2;
  return source;
}

uint8_t* NewPicture() { return static_cast<uint8_t*>(std::malloc(64)); }

}  // namespace

TEST(ContainerRecord, NewContainerDefaults) {
  ContainerRecord c;
  const ContainerHeader& h = c.header;
  const uint32_t windowText = GetSchemeColor(kSchemeWindowText);
  const uint32_t window = GetSchemeColor(kSchemeWindow);
  EXPECT_EQ(int(h.id), 0);
  EXPECT_EQ(h.columns, 1);
  EXPECT_EQ(h.rows, 1);
  EXPECT_EQ(h.verticalSpacing, 4);
  EXPECT_EQ(h.horizontalSpacing, 4);
  EXPECT_EQ(h.opacity, 100);
  EXPECT_EQ(int(h.anchor.column), 0);
  EXPECT_EQ(uint32_t(h.anchor.row), 0u);
  EXPECT_EQ(h.anchor.flags, 9);
  EXPECT_EQ(int(h.rect.left), 10);
  EXPECT_EQ(int(h.rect.top), 10);
  EXPECT_EQ(int(h.rect.right), 360);
  EXPECT_EQ(int(h.rect.bottom), 260);
  EXPECT_EQ(uint32_t(h.titleFont.color), windowText);
  EXPECT_EQ(uint32_t(h.subtitleFont.color), windowText);
  EXPECT_EQ(h.titleText[0] + h.subtitleText[0] + h.imageName[0], 0);
  EXPECT_EQ(h.backgroundKind, kBackgroundPattern);
  EXPECT_EQ(h.fill.pattern, 1);
  EXPECT_EQ(uint32_t(h.fill.patternColor), window);
  EXPECT_EQ(uint32_t(h.fill.backgroundColor), window);
  EXPECT_EQ(h.imageView, 0);
  const double fractal[6] = {h.fractal.zr,   h.fractal.zi,   h.fractal.minX,
                             h.fractal.maxX, h.fractal.minY, h.fractal.maxY};
  const double expectedFractal[6] = {0.11, 0.66, -1.1, 1.1, -1.1, 1.1};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(fractal[i], expectedFractal[i]) << i;
  for (int i = 0; i < kPaletteSize; ++i) EXPECT_EQ(uint32_t(h.palette[i]), kProgramPalette[i]) << i;
  EXPECT_EQ(h.border.style, 1);
  EXPECT_EQ(uint32_t(h.border.color), windowText);
  EXPECT_EQ(h.itemCount, 0);
  EXPECT_EQ(c.fractalPicture, nullptr);
  EXPECT_EQ(c.selectedItem, -1);
  EXPECT_EQ(c.previous, nullptr);
  EXPECT_EQ(c.next, nullptr);
  EXPECT_EQ(c.error, 0);
  for (const ContainerItem& item : c.items) {
    EXPECT_EQ(item.kind, kItemEmpty);
    EXPECT_EQ(item.chart, nullptr);
  }
  EXPECT_TRUE(c.CheckInvariants());
}

TEST(ContainerRecord, InitTakesTheGivenPlaceAndReleasesWhatWasHeld) {
  auto c = MakeSource();
  c->fractalPicture = NewPicture();
  ContainerRecord neighbour;
  c->next = &neighbour;
  const ContainerAnchor anchor{5, 1000, 9};
  const ContainerRect rect{-3, 4, 200, 120};
  c->Init(&anchor, &rect);
  EXPECT_EQ(int(c->header.anchor.column), 5);
  EXPECT_EQ(uint32_t(c->header.anchor.row), 1000u);
  EXPECT_EQ(int(c->header.rect.left), -3);
  EXPECT_EQ(int(c->header.rect.bottom), 120);
  EXPECT_EQ(int(c->header.id), 0);
  EXPECT_EQ(c->header.titleText[0], 0);
  EXPECT_EQ(c->header.itemCount, 0);
  EXPECT_EQ(c->items[0].chart, nullptr);
  EXPECT_EQ(c->fractalPicture, nullptr);
  EXPECT_EQ(c->next, &neighbour);  // still linked
  EXPECT_TRUE(c->CheckInvariants());
}

TEST(ContainerRecord, ClearDeletesChartsAndPictureButKeepsTheHeader) {
  for (uint8_t background : {kBackgroundFractal, kBackgroundPattern}) {
    auto c = MakeSource();
    c->header.backgroundKind = background;
    c->fractalPicture = NewPicture();
    c->Clear();
    EXPECT_EQ(c->header.itemCount, 0);
    EXPECT_EQ(c->selectedItem, -1);
    EXPECT_EQ(c->fractalPicture, nullptr);
    for (const ContainerItem& item : c->items) {
      EXPECT_EQ(item.kind, kItemEmpty);
      EXPECT_EQ(item.chart, nullptr);
    }
    EXPECT_EQ(int(c->header.id), 7);
    EXPECT_STREQ(c->header.titleText, "Quarterly");
  }
}

TEST(ContainerRecord, CopyIsDeepAndIndependent) {
  auto source = MakeSource();
  source->fractalPicture = NewPicture();
  auto copy = std::make_unique<ContainerRecord>();
  AddChart(*copy, 5, kChart2D, "old");
  ASSERT_TRUE(copy->CopyFrom(*source));

  EXPECT_EQ(0, std::memcmp(&copy->header, &source->header, sizeof(ContainerHeader)));
  EXPECT_EQ(copy->selectedItem, 2);
  EXPECT_EQ(copy->fractalPicture, nullptr);  // rendered again when drawn
  EXPECT_EQ(copy->items[5].kind, kItemEmpty);
  EXPECT_EQ(copy->items[3].kind, kItemImage);
  EXPECT_EQ(int(copy->items[3].imageId), 12);
  const char* const names[] = {"North", "South", "East"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    ChartRecord* mine = copy->items[i].chart;
    ChartRecord* theirs = source->items[i].chart;
    ASSERT_NE(mine, nullptr);
    EXPECT_NE(mine, theirs);
    EXPECT_EQ(mine->Kind(), theirs->Kind());
    EXPECT_STREQ(mine->series[0].name, names[i]);
    EXPECT_EQ(mine->seriesLists[0].points.Count(), 0u);
    EXPECT_NE(&mine->seriesLists[0].points, &theirs->seriesLists[0].points);
  }
  EXPECT_TRUE(copy->CheckInvariants());

  // Changing or clearing the copy never reaches the source.
  std::strcpy(copy->items[0].chart->series[0].name, "West");
  uint8_t point[16] = {};
  ASSERT_TRUE(copy->items[1].chart->seriesLists[0].points.Append(point));
  copy->header.columns = 9;
  copy->Clear();
  EXPECT_EQ(source->header.columns, 2);
  EXPECT_STREQ(source->items[0].chart->series[0].name, "North");
  EXPECT_EQ(source->items[1].chart->seriesLists[0].points.Count(), 1u);
  EXPECT_TRUE(source->CheckInvariants());
}

TEST(ContainerRecord, CloneIsUnlinkedAndCarriesNoError) {
  auto source = MakeSource();
  ContainerRecord neighbour;
  source->previous = &neighbour;
  source->error = 4;
  std::unique_ptr<ContainerRecord> clone(source->Clone());
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->previous, nullptr);
  EXPECT_EQ(clone->next, nullptr);
  EXPECT_EQ(clone->error, 0);
  EXPECT_EQ(clone->header.itemCount, 4);
  EXPECT_EQ(clone->selectedItem, 2);
  EXPECT_NE(clone->items[2].chart, source->items[2].chart);
  EXPECT_TRUE(clone->CheckInvariants());
}

TEST(ContainerRecord, CopyingIntoItselfChangesNothing) {
  auto c = MakeSource();
  ChartRecord* first = c->items[0].chart;
  EXPECT_TRUE(c->CopyFrom(*c));
  EXPECT_EQ(c->items[0].chart, first);
  EXPECT_EQ(c->header.itemCount, 4);
}

// Every allocation of a clone fails in turn: the result is null, the source
// reports 4 and is untouched, and nothing leaks (the sanitizer build checks).
TEST(ContainerRecord, CloneFailsCleanlyAtEveryAllocation) {
  auto source = MakeSource();
  int needed = 0;
  {
    GateGuard guard(1000);
    std::unique_ptr<ContainerRecord> clone(source->Clone());
    ASSERT_NE(clone, nullptr);
    needed = attemptedAllocations;
  }
  EXPECT_EQ(needed, 4);  // the container and its three charts
  ChartRecord* charts[3] = {source->items[0].chart, source->items[1].chart, source->items[2].chart};
  for (int allowed = 0; allowed < needed; ++allowed) {
    SCOPED_TRACE(allowed);
    source->error = 0;
    GateGuard guard(allowed);
    EXPECT_EQ(source->Clone(), nullptr);
    EXPECT_EQ(source->error, kContainerErrorOutOfMemory);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(source->items[i].chart, charts[i]);
    EXPECT_EQ(source->header.itemCount, 4);
    EXPECT_TRUE(source->CheckInvariants());
  }
}

// A copy that runs out of memory leaves the target as it was.
TEST(ContainerRecord, FailedCopyKeepsTheTarget) {
  auto source = MakeSource();
  for (int allowed = 0; allowed < 3; ++allowed) {
    SCOPED_TRACE(allowed);
    ContainerRecord target;
    target.header.id = 3;
    AddChart(target, 0, kChart3D, "kept");
    ChartRecord* kept = target.items[0].chart;
    source->error = 0;
    GateGuard guard(allowed);
    EXPECT_FALSE(target.CopyFrom(*source));
    EXPECT_EQ(source->error, kContainerErrorOutOfMemory);
    EXPECT_EQ(target.error, kContainerErrorOutOfMemory);
    EXPECT_EQ(int(target.header.id), 3);
    EXPECT_EQ(target.header.itemCount, 1);
    EXPECT_EQ(target.items[0].chart, kept);
    EXPECT_STREQ(kept->series[0].name, "kept");
    EXPECT_EQ(target.items[1].chart, nullptr);
    EXPECT_TRUE(target.CheckInvariants());
  }
}
