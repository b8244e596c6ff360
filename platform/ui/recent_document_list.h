#ifndef TALVERO_PLATFORM_UI_RECENT_DOCUMENT_LIST_H
#define TALVERO_PLATFORM_UI_RECENT_DOCUMENT_LIST_H

// The most recently used document paths, newest first: entry 0 is the one a
// menu shows first and addresses with its first command.

#include <cstdint>

class RecentDocumentList {
 public:
  static constexpr int kMaxEntries = 16;
  // The longest path an entry holds; a longer one is not listed (cut, it
  // would name another file).
  static constexpr int kMaxPathLength = 255;

  // Between 1 and kMaxEntries; the oldest entries beyond it are dropped.
  bool SetMaxEntries(int count);
  int MaxEntries() const { return m_max; }
  int Count() const { return m_count; }
  // Entry `index`, 0 the newest; null outside the list.
  const char* Entry(int index) const;

  // Makes the path the newest entry: an entry with the same path (letter case
  // ignored) is removed first, and the oldest is dropped when the list is full.
  void Add(const char* path);
  bool Remove(int index);
  void Clear() { m_count = 0; }

 private:
  char m_paths[kMaxEntries][kMaxPathLength + 1] = {};
  int m_count = 0;
  int m_max = kMaxEntries;
};

#endif
