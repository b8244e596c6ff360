#include "core/styles/style_run_block_checks.h"

#include <cstring>

#include "core/styles/style_run_store.h"

bool CheckStyleRunBlock(uint8_t* bytes, uint32_t length, StoredOrder* order, uint16_t styleCount) {
  if (length % kStyleRunSize)
    return false;
  for (uint32_t offset = 0; offset < length; offset += kStyleRunSize) {
    StyleRun run;
    std::memcpy(&run, bytes + offset, sizeof run);
    if (run.style >= styleCount) {
      run.style = 0;
      std::memcpy(bytes + offset, &run, sizeof run);
    }
    if (run.row > kMaxRow || run.firstColumn > run.lastColumn || run.lastColumn > kMaxColumn)
      return false;
    // order->column holds the last column of the previous run.
    if (order->any && (run.row < order->row || (run.row == order->row && run.firstColumn <= order->column)))
      return false;
    order->any = true;
    order->row = run.row;
    order->column = run.lastColumn;
  }
  return true;
}
