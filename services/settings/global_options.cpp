#include "services/settings/global_options.h"

#include <cstdlib>
#include <cstring>

#include "platform/os_services.h"

COptions Options;

bool SetDefaultOptions(COptions& options) {
  ProfileLists* lists = options.Lists;
  if (lists == nullptr) lists = static_cast<ProfileLists*>(std::calloc(1, sizeof(ProfileLists)));
  else std::memset(lists, 0, sizeof(ProfileLists));
  std::memset(&options, 0, sizeof options);
  options.Lists = lists;
  options.MaximizeDocWindow = 1;
  options.AutoFormatting = 1;
  options.UndoLevel = 20;
  options.CopyLevel = 1;
  options.SaveFormat = kSaveFormatUnset;
  options.Region = 2;  // the user's default locale
  options.Opacity = 100;
  std::strcpy(options.DefaultFont.faceName, "Arial");
  options.DefaultFont.size = 10;
  options.FontColor = OsSysColor(kOsColorWindowText);
  options.ComposerSplitter = -1;
  options.FrameShowState = kShowStateMaximized;
  return lists != nullptr;
}

void FreeSettingsProfileBuffer(COptions& options) {
  std::free(options.Lists);
  options.Lists = nullptr;
}

namespace {

void FreeOptionsAtExit() { FreeSettingsProfileBuffer(Options); }

// Built before the entry point, so that every later initialiser and the
// start-up code find the defaults in place.
struct InitSettingsProfile {
  InitSettingsProfile() {
    SetDefaultOptions(Options);
    std::atexit(FreeOptionsAtExit);
  }
} initSettingsProfile;

}  // namespace
