#include "platform/ui/update_ui_table.h"

const UpdateUIEntry* UpdateUITable::Find(uint16_t id) const {
  for (int i = 0; i < m_count; ++i) {
    if (m_entries[i].id == id) return &m_entries[i];
  }
  return nullptr;
}

UpdateUIEntry* UpdateUITable::FindOrAdd(uint16_t id) {
  for (int i = 0; i < m_count; ++i) {
    if (m_entries[i].id == id) return &m_entries[i];
  }
  if (m_count == kMaxEntries) return nullptr;
  UpdateUIEntry* e = &m_entries[m_count++];
  *e = UpdateUIEntry{id, kUpdateUIMenu | kUpdateUIToolBar, 0, 0, 0, 0};
  return e;
}

bool UpdateUITable::AddCommand(uint16_t id, uint8_t kinds) {
  UpdateUIEntry* e = FindOrAdd(id);
  if (e == nullptr) return false;
  e->kinds = kinds;
  return true;
}

bool UpdateUITable::Enable(uint16_t id, bool enable) {
  UpdateUIEntry* e = FindOrAdd(id);
  if (e == nullptr) return false;
  uint8_t disabled = enable && e->keptDisabled == 0 ? 0 : 1;
  if (e->disabled != disabled) {
    e->disabled = disabled;
    e->toolbarDirty = 1;
  }
  return true;
}

bool UpdateUITable::KeepDisabled(uint16_t id) {
  if (!Enable(id, false)) return false;
  FindOrAdd(id)->keptDisabled = 1;
  return true;
}

bool UpdateUITable::SetCheck(uint16_t id, uint8_t check) {
  UpdateUIEntry* e = FindOrAdd(id);
  if (e == nullptr) return false;
  if (e->checked != check) {
    e->checked = check;
    e->toolbarDirty = 1;
  }
  return true;
}

int UpdateUITable::TakeToolBarChanges(UpdateUIEntry* out, int capacity) {
  int n = 0;
  for (int i = 0; i < m_count && n < capacity; ++i) {
    UpdateUIEntry& e = m_entries[i];
    if (e.toolbarDirty && (e.kinds & kUpdateUIToolBar)) {
      e.toolbarDirty = 0;
      out[n++] = e;
    }
  }
  return n;
}
