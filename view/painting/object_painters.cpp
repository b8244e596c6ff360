#include "view/painting/object_painters.h"

namespace {

const ObjectPainters* g_painters = nullptr;

}  // namespace

void SetObjectPainters(const ObjectPainters* painters) { g_painters = painters; }

const ObjectPainters* InstalledObjectPainters() { return g_painters; }
