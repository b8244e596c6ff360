#ifndef TALVERO_APP_FRAME_SETTINGS_REFRESH_H
#define TALVERO_APP_FRAME_SETTINGS_REFRESH_H

// What a change of the options (the options dialog, a profile loaded)
// changes beyond them: the undo levels of every open workbook and the
// levels of the clipboard ring when they changed, the face of the default
// font, and the options the grid views keep their own copy of.

#include <cstdint>

struct SettingsLevels {
  uint8_t undoLevel;
  uint8_t copyLevel;
};

// The levels in force before the change.
SettingsLevels NoteSettingsLevels();
void ApplyChangedSettings(const SettingsLevels& before);

#endif
