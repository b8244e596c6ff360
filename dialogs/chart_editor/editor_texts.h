#ifndef TALVERO_DIALOGS_CHART_EDITOR_EDITOR_TEXTS_H
#define TALVERO_DIALOGS_CHART_EDITOR_EDITOR_TEXTS_H

// The texts the chart editor composes and the widths of its series list's
// columns.

#include <cstddef>
#include <cstdint>

#include "core/model/container_record.h"

// The selector's text in container mode and the chart menu's first entry.
constexpr char kContainerWindowText[] = "Container Window";
// The window's text, its id included, stays below this many characters.
constexpr size_t kEditorTitleCapacity = 100;

// "2D Chart 3." for the chart of slot 2; empty for a slot that holds no chart.
void FormatChartSlotText(const ContainerRecord& container, int32_t slot, char* out, size_t size);

// The caption followed by " [id: <id>]", cut to kEditorTitleCapacity - 1
// characters.
void FormatEditorTitle(const char* caption, uint16_t id, char* out);

// The three columns of the series list's header ("Series Type", "Name",
// "Array Formula") under the type combo, the name edit and the formula
// edit, from their left and right edges: each gap between them split in two.
struct SeriesColumnEdges {
  int32_t comboLeft;
  int32_t comboRight;
  int32_t nameLeft;
  int32_t nameRight;
  int32_t formulaLeft;
  int32_t formulaRight;
};
void SeriesColumnWidths(const SeriesColumnEdges& edges, int32_t widths[3]);

#endif
