#include "charts/jpeg/jpeg_library.h"

#include <cstring>

#include "charts/images/image_errors.h"

namespace {

const JpegEntryPoints* g_standIn = nullptr;

}  // namespace

void SetJpegLibraryForTesting(const JpegEntryPoints* library) { g_standIn = library; }

bool JpegLibrary::Load() {
  if (!module)
    module = g_standIn ? g_standIn : &BuiltInJpegLibrary();
  ijlInit = module->ijlInit;
  ijlFree = module->ijlFree;
  ijlRead = module->ijlRead;
  ijlWrite = module->ijlWrite;
  ijlGetLibVersion = module->ijlGetLibVersion;
  return ijlInit && ijlFree && ijlRead && ijlWrite && ijlGetLibVersion;
}

void JpegLibrary::Unload() { *this = JpegLibrary{}; }

uint8_t JpegLibrary::Start(JpegCoreProperties* properties) {
  std::memset(properties, 0, sizeof *properties);
  uint8_t error = kImageNoError;
  if (!Load())
    error = kImageJpegNoLibrary;
  else if (ijlInit(properties) != 0)
    error = kImageJpegInitFailed;
  if (error != kImageNoError)
    Unload();
  return error;
}
