#include "automation/registry/registry_apply_win32.h"

#include <shlwapi.h>

namespace {

LONG SetValue(HKEY key, const RegistryEntry& entry, const char* name) {
  if (entry.valueType == kRegistryString)
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.value),
                          static_cast<DWORD>(lstrlenA(entry.value) + 1));
  if (entry.valueType == kRegistryDword)
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&entry.dword), sizeof entry.dword);
  return ERROR_SUCCESS;
}

// The entries [begin, end) below parent, all one level deeper than it.
LONG RegisterEntries(HKEY parent, const RegistryScript& script, size_t begin, size_t end) {
  for (size_t i = begin; i < end; i = RegistrySubtreeEnd(script, i)) {
    const RegistryEntry& entry = script.entries[i];
    if (entry.kind == kRegistryNamedValue) {
      const LONG set = SetValue(parent, entry, entry.name);
      if (set != ERROR_SUCCESS) return set;
      continue;
    }
    if (entry.mark == kRegistryForceRemove || entry.mark == kRegistryDelete) {
      SHDeleteKeyA(parent, entry.name);
      if (entry.mark == kRegistryDelete) continue;
    }
    HKEY key = nullptr;
    LONG done = RegCreateKeyExA(parent, entry.name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (done != ERROR_SUCCESS) return done;
    done = SetValue(key, entry, nullptr);
    if (done == ERROR_SUCCESS) done = RegisterEntries(key, script, i + 1, RegistrySubtreeEnd(script, i));
    RegCloseKey(key);
    if (done != ERROR_SUCCESS) return done;
  }
  return ERROR_SUCCESS;
}

bool HasSubkeys(HKEY key) {
  DWORD subkeys = 0;
  return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr) == ERROR_SUCCESS &&
         subkeys > 0;
}

bool IsMissing(LONG result) { return result == ERROR_FILE_NOT_FOUND || result == ERROR_PATH_NOT_FOUND; }

LONG UnregisterEntries(HKEY parent, const RegistryScript& script, size_t begin, size_t end) {
  for (size_t i = begin; i < end; i = RegistrySubtreeEnd(script, i)) {
    const RegistryEntry& entry = script.entries[i];
    if (entry.kind == kRegistryNamedValue) {
      const LONG deleted = RegDeleteValueA(parent, entry.name);
      if (deleted != ERROR_SUCCESS && !IsMissing(deleted)) return deleted;
      continue;
    }
    if (entry.mark == kRegistryForceRemove || entry.mark == kRegistryDelete) {
      const DWORD deleted = SHDeleteKeyA(parent, entry.name);
      if (deleted != ERROR_SUCCESS && !IsMissing(static_cast<LONG>(deleted))) return static_cast<LONG>(deleted);
      continue;
    }
    HKEY key = nullptr;
    LONG done = RegOpenKeyExA(parent, entry.name, 0, KEY_ALL_ACCESS, &key);
    if (IsMissing(done)) continue;
    if (done != ERROR_SUCCESS) return done;
    done = UnregisterEntries(key, script, i + 1, RegistrySubtreeEnd(script, i));
    const bool empty = !HasSubkeys(key);
    RegCloseKey(key);
    if (done != ERROR_SUCCESS) return done;
    if (entry.mark != kRegistryNoRemove && empty) {
      done = RegDeleteKeyA(parent, entry.name);
      if (done != ERROR_SUCCESS && !IsMissing(done)) return done;
    }
  }
  return ERROR_SUCCESS;
}

}  // namespace

LONG RegisterScript(const RegistryScript& script) {
  return RegisterEntries(HKEY_CLASSES_ROOT, script, 0, script.count);
}

LONG UnregisterScript(const RegistryScript& script) {
  return UnregisterEntries(HKEY_CLASSES_ROOT, script, 0, script.count);
}
