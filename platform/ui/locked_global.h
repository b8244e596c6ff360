#ifndef TALVERO_PLATFORM_UI_LOCKED_GLOBAL_H
#define TALVERO_PLATFORM_UI_LOCKED_GLOBAL_H

// A block of movable global memory (printer settings, printer names,
// clipboard data) locked for the scope. Data() is null where there is no
// block or it cannot be locked (discarded, freed, not a handle): callers
// treat that as "no settings" and never touch the memory.

#include <windows.h>

class LockedGlobal {
 public:
  explicit LockedGlobal(HGLOBAL block) : m_block(block), m_data(block != nullptr ? ::GlobalLock(block) : nullptr) {}
  ~LockedGlobal() {
    if (m_data != nullptr) ::GlobalUnlock(m_block);
  }
  LockedGlobal(const LockedGlobal&) = delete;
  LockedGlobal& operator=(const LockedGlobal&) = delete;

  template <class T>
  T* As() const {
    return static_cast<T*>(m_data);
  }
  void* Data() const { return m_data; }

 private:
  HGLOBAL m_block;
  void* m_data;
};

#endif
