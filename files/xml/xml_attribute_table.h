#ifndef TALVERO_FILES_XML_ATTRIBUTE_TABLE_H
#define TALVERO_FILES_XML_ATTRIBUTE_TABLE_H

// The attributes collected since the table was last cleared, possibly of
// several tags in the order read: each entry is its prefix, name and value,
// NUL-terminated, in one arena. Values are kept as they stand in the file.

#include <cstddef>
#include <cstdint>

constexpr uint32_t kXmlArenaSize = 65534;
constexpr uint32_t kXmlMaxAttributes = 8191;
// An attribute is added only while the arena's used bytes plus the new
// texts stay below this; with at least one name byte and three terminators
// per entry it also keeps the count within kXmlMaxAttributes.
constexpr uint32_t kXmlArenaLimit = 32764;

struct XmlAttributeTable {
  uint16_t count = 0;
  uint16_t used = 0;
  const char* currentPrefix = nullptr;
  const char* currentName = nullptr;
  const char* currentValue = nullptr;
  uint16_t offsets[kXmlMaxAttributes];
  char arena[kXmlArenaSize];

  void Clear();
  bool Add(const char* prefix, size_t prefixLength, const char* name, size_t nameLength, const char* value,
           size_t valueLength);
  // The first entry of that name (and of that prefix when one is given)
  // becomes current; false, with no current entry, when there is none.
  bool Find(const char* prefix, const char* name);
  // Copies only the used part of another table.
  void Assign(const XmlAttributeTable& other);
};

#endif
