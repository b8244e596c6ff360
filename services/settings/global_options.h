#ifndef TALVERO_APP_GLOBAL_OPTIONS_H
#define TALVERO_APP_GLOBAL_OPTIONS_H

// The user's options and window placements for the whole process, and the
// lists they own. The settings profile fills them at start-up and takes them
// back at exit; the options dialog, the frame's commands and automation
// change them in between.
//
// The recalculation mode and the addressing style are options too, but they
// live in the core, which reads them: AutomaticUpdating and AddressingA1 of
// core/base/global_options.h. The profile reads and writes them there.

#include <cstdint>

#include "core/styles/style_record.h"

// Bounds of the numeric options; a profile value outside them is refused.
constexpr uint8_t kMinUndoLevel = 2;
constexpr uint8_t kMaxUndoLevel = 200;
constexpr uint8_t kMinCopyLevel = 1;
constexpr uint8_t kMaxCopyLevel = 16;
constexpr uint8_t kMaxRegion = 129;
constexpr uint8_t kMaxWhenEnterPressed = 4;
constexpr uint8_t kMaxOpacity = 100;
constexpr uint8_t kMaxAutoMinutes = 60;  // AutoSave and AutoClose
constexpr uint8_t kMaxCellFormatPage = 4;
constexpr uint8_t kMaxWorksheetFormatPage = 1;

// SaveFormat: the native format new saves use. kSaveFormatUnset stays until a
// profile is read; the file commands treat it like the binary format.
constexpr uint8_t kSaveFormatXml = 2;
constexpr uint8_t kSaveFormatUnset = 4;
constexpr uint8_t kSaveFormatBinary = 5;

// FrameShowState: how the main frame is shown at start-up.
constexpr int32_t kShowStateNormal = 1;     // at FrameRect, stored by the frame
constexpr int32_t kShowStateMaximized = 3;
constexpr int32_t kShowStateRestored = 5;   // at FrameRect, read from a profile
constexpr int32_t kShowStateMinimized = 6;

constexpr int kFolderSize = 256;  // NUL included: at most 255 characters

struct OptionsRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// Each list keeps its entries from index 0 without gaps; every text is
// NUL-terminated inside its slot.
constexpr int kUserFormatCount = 50;
constexpr int kUserFormatTextSize = 50;  // a name or a pattern: at most 49 characters
constexpr int kBookmarkCount = 50;
constexpr int kRecentFileCount = 16;      // the recent-documents menu shows 16
constexpr int kRecentFileSlots = 50;
constexpr int kRecentCellTextCount = 50;
constexpr int kProfilePathSize = 256;     // a path of at most 255 characters
constexpr int kRecentCellTextSize = 1025; // at most 1024 characters

struct ProfileLists {
  uint8_t userFormatCount;
  char userFormatNames[kUserFormatCount][kUserFormatTextSize];
  char userFormatPatterns[kUserFormatCount][kUserFormatTextSize];  // stored form
  uint8_t bookmarkCount;
  char bookmarks[kBookmarkCount][kProfilePathSize];
  uint8_t recentFileCount;
  char recentFiles[kRecentFileSlots][kProfilePathSize];  // most recent first
  uint8_t recentCellTextCount;
  char recentCellTexts[kRecentCellTextCount][kRecentCellTextSize];
};

struct COptions {
  uint8_t MaximizeDocWindow;  // new document windows open maximised
  uint8_t LockEdit;
  uint8_t ShowFormulas;       // views show formula texts instead of values
  uint8_t HideCellMarkers;
  uint8_t AutoFormatting;     // typed input is formatted automatically
  uint8_t UndoLevel;          // kMinUndoLevel..kMaxUndoLevel
  uint8_t CopyLevel;          // levels of the clipboard ring, kMinCopyLevel..kMaxCopyLevel
  uint8_t SaveFormat;         // kSaveFormatXml, kSaveFormatBinary or kSaveFormatUnset
  uint8_t Region;             // index into the region table, 0..kMaxRegion
  uint8_t WhenEnterPressed;   // 0 stay, 1 down, 2 next non-empty below, 3 right, 4 next non-empty right
  uint8_t Opacity;            // per cent, of dialogs and tool windows
  uint8_t AutoSave;           // minutes without input, 0 off
  uint8_t AutoClose;          // minutes without input, 0 off
  FontRecord DefaultFont;     // the default style's font of new workbooks
  uint8_t FontColorSet;       // FontColor was given by the user
  uint32_t FontColor;         // 0x00BBGGRR
  char Folder[kFolderSize];   // start folder of the file dialogs
  ProfileLists* Lists;        // owned

  uint8_t ComposerVisible;
  int32_t ComposerSplitter;   // -1 until the composer stores it
  OptionsRect ComposerRect;
  uint8_t CellFormatVisible;
  uint8_t CellFormatPage;     // 0..kMaxCellFormatPage
  OptionsRect CellFormatRect;
  uint8_t WorksheetFormatVisible;
  uint8_t WorksheetFormatPage;  // 0..kMaxWorksheetFormatPage
  OptionsRect WorksheetFormatRect;
  OptionsRect FrameRect;      // screen coordinates of the main frame
  int32_t FrameShowState;     // kShowState...
};

// The process's options. Built with the defaults (and its lists block) before
// the entry point runs; the lists are released at exit.
extern COptions Options;

// Puts the defaults into options and empties its lists; allocates the lists
// block when it has none. False only when that allocation fails.
bool SetDefaultOptions(COptions& options);
// Releases the lists block.
void FreeSettingsProfileBuffer(COptions& options);

#endif
