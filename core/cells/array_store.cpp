// The evaluator's array store: the stack of the chains of the array values
// on the evaluator's stack.

#include "core/cells/cell_store.h"

bool ArrayStore::PushChain(CellBlock* chain) {
  if (savedCount_ >= kMaxSavedChains)
    return false;
  savedChains_[savedCount_++] = chain;
  return true;
}

CellBlock* ArrayStore::PopChain() { return savedCount_ ? savedChains_[--savedCount_] : nullptr; }

void ArrayStore::ReleaseSavedChains() {
  while (savedCount_)
    ReleaseChain(savedChains_[--savedCount_]);
}
