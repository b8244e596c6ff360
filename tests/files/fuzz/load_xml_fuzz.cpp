// libFuzzer target: a whole native XML document, plain or gzip, loaded by
// the XML reader. A load either fails with a code and nothing loaded, or
// gives a workbook whose tree and stores keep their invariants (containers
// own their charts, ids are unique, charts and series stay within their
// counts) and which saves in both native formats as files that load again.
// The seeds hold containers with charts of every kind, so the chart
// elements are reached.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/model/chart_record.h"
#include "core/workbook/container_id_set.h"
#include "core/workbook/workbook.h"
#include "files/native_xml/native_xml.h"
#include "tests/files/fuzz/saves_and_loads_again.h"

namespace {

void Check(bool condition) {
  if (!condition)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/talvero-fuzz-" + std::to_string(getpid()) + ".xml";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file)
    return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  auto book = std::make_unique<CWorkBook>();
  if (!book->bufferedFile.Open(path.c_str(), "rb"))
    return 0;
  if (!LoadXml(book.get())) {
    Check(book->error != 0 && book->firstItem == nullptr);
    return 0;
  }
  Check(book->CheckTreeInvariants());
  Check(book->styles.CheckInvariants());
  ContainerIdSet ids;
  for (auto* item = book->firstItem; item; item = item->next) {
    CWorkSheet* sheet = CWorkSheet::FromItem(item);
    if (!sheet)
      continue;
    Check(sheet->cells.CheckInvariants());
    Check(sheet->format.CheckInvariants());
    for (const ContainerRecord* container = sheet->containers; container; container = container->next) {
      const uint16_t id = container->header.id;
      Check(id >= 1 && id <= kContainerMaxId && !ids.IsTaken(id));
      ids.Take(id);
      Check(container->CheckInvariants());
      for (int k = 0; k < container->header.itemCount; ++k) {
        const ChartRecord* chart = container->items[k].chart;
        Check(chart && chart->CheckInvariants() && chart->options.seriesCount <= kChartMaxSeries);
        for (int i = 0; i < chart->options.seriesCount; ++i)
          Check(chart->series[i].userGridCount <= kSeriesUserGridLines);
      }
    }
  }
  static const std::string saved = "/tmp/talvero-fuzz-" + std::to_string(getpid()) + "-saved.tlv";
  Check(SavesAndLoadsAgain(book.get(), saved));
  return 0;
}
