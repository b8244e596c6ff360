#ifndef TALVERO_PLATFORM_UI_UPDATE_UI_TABLE_H
#define TALVERO_PLATFORM_UI_UPDATE_UI_TABLE_H

// The enabled and checked state of each command, kept apart from the menus and
// toolbars that show it: commands change the state at any time, menus read it
// when they open and toolbars take the changes when the program goes idle.

#include <cstdint>

enum UpdateUIKind : uint8_t {
  kUpdateUIMenu = 1,
  kUpdateUIToolBar = 2,
};

struct UpdateUIEntry {
  uint16_t id;
  uint8_t kinds;         // UpdateUIKind bits: where the command is shown
  uint8_t disabled;
  uint8_t checked;       // 0, 1, or 2 for the indeterminate state
  uint8_t toolbarDirty;  // changed since the toolbars last took the state
  uint8_t keptDisabled;  // no later change enables it
};

class UpdateUITable {
 public:
  static constexpr int kMaxEntries = 256;

  // A command not yet known is added (menu and toolbar) by the first change;
  // AddCommand restricts where it is shown. False when the table is full.
  bool AddCommand(uint16_t id, uint8_t kinds);
  bool Enable(uint16_t id, bool enable);
  // Disables the command for the table's life: a command whose work the
  // program does not do stays disabled whatever its conditions say later.
  bool KeepDisabled(uint16_t id);
  bool SetCheck(uint16_t id, uint8_t check);

  const UpdateUIEntry* Find(uint16_t id) const;
  int Count() const { return m_count; }
  const UpdateUIEntry& At(int index) const { return m_entries[index]; }
  // Copies the toolbar entries changed since the last call (at most capacity)
  // and marks them taken; returns how many were copied.
  int TakeToolBarChanges(UpdateUIEntry* out, int capacity);

 private:
  UpdateUIEntry* FindOrAdd(uint16_t id);

  UpdateUIEntry m_entries[kMaxEntries] = {};
  int m_count = 0;
};

#endif
