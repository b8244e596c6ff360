// Record images of any bytes, as damaged or foreign files hold them: what
// the binary reader accepts is a workbook that saves in both native formats
// and loads again, and a second binary round changes nothing.

#include "files/native_binary/record_checks.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "core/formula/ref_corner.h"
#include "core/model/worksheet_view_state.h"
#include "files/errors/file_errors.h"
#include "tests/files/body_bytes.h"
#include "tests/files/file_test_support.h"
#include "tests/files/native_xml/native_xml_support.h"
#include "tests/files/sample_workbook.h"
#include "tests/test_seed.h"

namespace {

class Scrambler {
 public:
  explicit Scrambler(uint32_t seed) : random_(seed) {}

  uint32_t Below(uint32_t n) { return uint32_t(random_() % n); }

  // Left alone, a few bytes changed, or many.
  void Image(void* record, size_t size) {
    auto* bytes = static_cast<uint8_t*>(record);
    const uint32_t how = Below(3);
    const size_t changes = how == 0 ? 0 : how == 1 ? 1 + Below(6) : size / 8;
    for (size_t i = 0; i < changes; ++i) bytes[Below(uint32_t(size))] = uint8_t(random_());
  }

  void Workbook(CWorkBook* book) {
    for (uint32_t i = 0; i < book->inspectCells.Count(); ++i) Image(book->inspectCells.At(i), kInspectCellRecordSize);
    for (uint32_t i = 1; i < book->styles.fontCount; ++i) Image(&book->styles.fonts[i], sizeof(FontRecord));
    for (uint32_t i = 1; i < book->styles.styleCount; ++i) Image(&book->styles.styles[i], sizeof(StyleRecord));
    for (auto* item = book->firstItem; item; item = item->next) {
      CWorkSheet* sheet = CWorkSheet::FromItem(item);
      if (!sheet)
        continue;
      Image(&sheet->pageSettings, sizeof sheet->pageSettings);
      Image(&sheet->viewFormat, sizeof sheet->viewFormat);
      for (ContainerRecord* container = sheet->containers; container; container = container->next) {
        // The slot count and the id stay: they decide the structure.
        const ContainerHeader kept = container->header;
        Image(&container->header, sizeof container->header);
        container->header.id = kept.id;
        container->header.itemCount = kept.itemCount;
        for (int k = 0; k < kept.itemCount; ++k) {
          ChartRecord* chart = container->items[k].chart;
          const ChartOptions options = chart->options;
          Image(&chart->options, sizeof chart->options);
          chart->options.kind = options.kind;
          chart->options.seriesCount = options.seriesCount;
          for (int s = 0; s < options.seriesCount; ++s) Image(&chart->series[s], kSeriesImageBytes);
        }
      }
    }
  }

  // A few bytes anywhere in the body.
  void Body(std::string* bytes) {
    for (uint32_t n = Below(4); n > 0; --n) (*bytes)[Below(uint32_t(bytes->size()))] = char(random_());
  }

 private:
  std::mt19937 random_;
};

TEST(RecordChecks, EveryWorkbookTheBinaryReaderAcceptsSavesInBothFormatsAndLoadsAgain) {
  const uint32_t seed = TestSeed(424242);
  SCOPED_TRACE(SeedTrace(seed));
  Scrambler scramble(seed);
  int accepted = 0;
  for (uint32_t round = 0; round < 80; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    auto source = sample::MakeSampleWorkbook(seed + round, 2, 30);
    scramble.Workbook(source.get());
    std::string bytes = body::WriteBody(source.get());
    if (round % 4 == 3)
      scramble.Body(&bytes);
    auto book = std::make_unique<CWorkBook>();
    if (body::ReadBody(bytes, 3, book.get()) != 0)
      continue;
    ++accepted;

    uint8_t error = 0;
    const std::string xml = xmldoc::SaveXmlText(book.get(), &error);
    ASSERT_EQ(error, 0);
    uint32_t line = 0;
    xmldoc::LoadXmlText(xml, &error, &line);
    ASSERT_EQ(error, 0) << xmldoc::LineOf(xml, line);

    ASSERT_TRUE(filetest::SaveTo(book.get(), "files_record_checks.tlv")) << int(book->error);
    bool loaded = false;
    auto again = filetest::LoadFrom("files_record_checks.tlv", nullptr, &error, &loaded);
    ASSERT_TRUE(loaded) << int(error);
    EXPECT_EQ(sample::Difference(*book, *again), "");
  }
  EXPECT_GT(accepted, 40);
}

// A file whose view, page and inspect records or array formulas hold values
// past their ranges opens with the nearest values the XML reader takes, and
// saves as XML.
TEST(RecordChecks, ValuesPastTheirRangesOpenWithinThemAndSaveAsXml) {
  auto book = std::make_unique<CWorkBook>();
  ASSERT_TRUE(book->NewDocument());
  CWorkSheet* sheet = book->activeWorksheet;
  sheet->viewFormat.zoom = 39321;
  WorksheetViewState& state = *ViewStateOf(&sheet->viewFormat);
  // Corner flags as XML gives them back.
  state.topLeft = ViewCorner{65535, 0xFFFFFFFF, kCornerRowGiven | kCornerColumnGiven};
  state.selection[0] = ViewCorner{1, 1, kCornerRowGiven | kCornerColumnGiven};
  state.selection[1] = ViewCorner{kColumnCount, kRowCount, kCornerRowGiven | kCornerColumnGiven};
  state.frozen = ViewCorner{0, 3000000, kCornerRowGiven};
  PageSettings& page = sheet->pageSettings;
  page.scale = 0;
  page.firstPageNumber = 0;
  page.copies = 0;
  page.pagesPerSheetRows = 0;
  page.pagesPerSheetColumns = 255;
  page.alignment = 1 | 8;  // left and top, as XML always says
  uint8_t cell[64];
  FormulaCellFields fields;
  fields.formula = "=1";
  fields.formulaLength = 2;
  fields.resultFlags = kResultArray | kResultCachedNumber;
  fields.arrayColumns = 5;
  fields.arrayRows = 0;
  ASSERT_NE(BuildFormulaCell(cell, sizeof cell, 0, kMaxColumn, fields), 0u);
  ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(cell), nullptr));
  uint8_t record[kInspectCellRecordSize] = {};
  const uint32_t row = kRowCount;
  const uint32_t flags = kRefCell;  // as an address read from XML gives them
  std::memcpy(record + 2, &row, 4);
  std::memcpy(record + 6, &flags, 4);
  ASSERT_TRUE(book->inspectCells.Append(record));
  ASSERT_TRUE(filetest::SaveTo(book.get(), "files_record_ranges.tlv"));

  uint8_t error = 0;
  bool loaded = false;
  auto opened = filetest::LoadFrom("files_record_ranges.tlv", nullptr, &error, &loaded);
  ASSERT_TRUE(loaded) << int(error);
  const std::string xml = xmldoc::SaveXmlText(opened.get(), &error);
  ASSERT_EQ(error, 0);
  uint32_t line = 0;
  auto fromXml = xmldoc::LoadXmlText(xml, &error, &line);
  ASSERT_EQ(error, 0) << xmldoc::LineOf(xml, line);
  EXPECT_EQ(sample::Difference(*opened, *fromXml), "");

  const CWorkSheet& read = *opened->activeWorksheet;
  const WorksheetViewState& view = *ViewStateOf(&read.viewFormat);
  const PageSettings& settings = read.pageSettings;
  const CellRecord* array = opened->activeWorksheet->cells.GetCell(0, kMaxColumn);
  ASSERT_NE(array, nullptr);
  uint32_t inspectRow = 0;
  std::memcpy(&inspectRow, opened->inspectCells.At(0) + 2, 4);
  // Copied out of the packed records.
  const uint32_t got[] = {read.viewFormat.zoom,     view.topLeft.column,          view.topLeft.row,
                          view.selection[1].column, view.selection[1].row,        view.frozen.row,
                          settings.scale,           settings.firstPageNumber,     settings.copies,
                          settings.pagesPerSheetRows, settings.pagesPerSheetColumns, array->ArrayColumns(),
                          array->ArrayRows(),       inspectRow};
  const uint32_t expected[] = {1000, kMaxColumn, kMaxRow, kMaxColumn, kMaxRow, kMaxRow, 10, 1, 1, 1, 254, 1, 1,
                               kMaxRow};
  for (size_t i = 0; i < sizeof got / sizeof got[0]; ++i) EXPECT_EQ(got[i], expected[i]) << "value " << i;
}

}  // namespace
