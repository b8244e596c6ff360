#include "files/xml/xml_attribute_table.h"

#include <cstring>

void XmlAttributeTable::Clear() {
  count = 0;
  used = 0;
  currentPrefix = currentName = currentValue = nullptr;
}

bool XmlAttributeTable::Add(const char* prefix, size_t prefixLength, const char* name, size_t nameLength,
                            const char* value, size_t valueLength) {
  if (size_t(used) + prefixLength + nameLength + valueLength >= kXmlArenaLimit || count >= kXmlMaxAttributes)
    return false;
  offsets[count++] = used;
  char* at = arena + used;
  std::memcpy(at, prefix, prefixLength);
  at[prefixLength] = 0;
  at += prefixLength + 1;
  std::memcpy(at, name, nameLength);
  at[nameLength] = 0;
  at += nameLength + 1;
  std::memcpy(at, value, valueLength);
  at[valueLength] = 0;
  used = uint16_t(used + prefixLength + nameLength + valueLength + 3);
  return true;
}

bool XmlAttributeTable::Find(const char* prefix, const char* name) {
  for (uint16_t i = 0; i < count; ++i) {
    const char* entryPrefix = arena + offsets[i];
    const char* entryName = entryPrefix + std::strlen(entryPrefix) + 1;
    if (std::strcmp(entryName, name) != 0)
      continue;
    if (prefix && *prefix && std::strcmp(entryPrefix, prefix) != 0)
      continue;
    currentPrefix = entryPrefix;
    currentName = entryName;
    currentValue = entryName + std::strlen(entryName) + 1;
    return true;
  }
  currentPrefix = currentName = currentValue = nullptr;
  return false;
}

void XmlAttributeTable::Assign(const XmlAttributeTable& other) {
  count = other.count;
  used = other.used;
  std::memcpy(offsets, other.offsets, sizeof(uint16_t) * count);
  std::memcpy(arena, other.arena, used);
  // The current entry is one of the other table's; none is current here.
  currentPrefix = currentName = currentValue = nullptr;
}
