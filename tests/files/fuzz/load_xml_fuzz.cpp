// libFuzzer target: a whole native XML document, plain or gzip, loaded by
// the XML reader. A load either fails with a code or gives a workbook whose
// tree and stores keep their invariants: containers own their charts, ids
// are unique, charts and series stay within their counts. The seeds hold
// containers with charts of every kind, so the chart elements are reached.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "core/model/chart_record.h"
#include "core/workbook/container_id_set.h"
#include "core/workbook/workbook.h"
#include "files/native_xml/native_xml.h"
#include "tests/files/fuzz/fuzz_input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteFuzzInput(data, size, ".xml");
  if (path.empty())
    return 0;
  auto book = std::make_unique<CWorkBook>();
  if (!book->bufferedFile.Open(path.c_str(), "rb"))
    return 0;
  if (!LoadXml(book.get())) {
    Check(book->error != 0);
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
  return 0;
}
