#include "platform/ui/recent_document_list.h"

#include <cstring>

#include "platform/os_services.h"

namespace {

bool SamePath(const char* a, const char* b) {
  for (;; ++a, ++b) {
    uint8_t ca = OsCharUpper(static_cast<uint8_t>(*a));
    uint8_t cb = OsCharUpper(static_cast<uint8_t>(*b));
    if (ca != cb) return false;
    if (ca == 0) return true;
  }
}

}  // namespace

bool RecentDocumentList::SetMaxEntries(int count) {
  if (count < 1 || count > kMaxEntries) return false;
  m_max = count;
  if (m_count > m_max) m_count = m_max;
  return true;
}

const char* RecentDocumentList::Entry(int index) const {
  return index >= 0 && index < m_count ? m_paths[index] : nullptr;
}

bool RecentDocumentList::Remove(int index) {
  if (index < 0 || index >= m_count) return false;
  for (int i = index; i + 1 < m_count; ++i) memcpy(m_paths[i], m_paths[i + 1], sizeof m_paths[i]);
  --m_count;
  return true;
}

void RecentDocumentList::Add(const char* path) {
  char kept[kMaxPathLength + 1];
  const size_t length = strnlen(path, kMaxPathLength + 1);
  if (length > kMaxPathLength) return;
  memcpy(kept, path, length);
  kept[length] = '\0';
  for (int i = 0; i < m_count; ++i) {
    if (SamePath(m_paths[i], kept)) {
      Remove(i);
      break;
    }
  }
  if (m_count == m_max) --m_count;
  for (int i = m_count; i > 0; --i) memcpy(m_paths[i], m_paths[i - 1], sizeof m_paths[i]);
  memcpy(m_paths[0], kept, length + 1);
  ++m_count;
}
