#ifndef TALVERO_AUTOMATION_REGISTRY_SCRIPT_H
#define TALVERO_AUTOMATION_REGISTRY_SCRIPT_H

// The registration scripts the program carries as REGISTRY resources, in the
// registrar's language: keys under HKCR in braces, each optionally with a
// default value ("key = s 'text'"), named values ("val Name = s 'text'" or
// "= d 5"), and the marks NoRemove (never removed when unregistering),
// ForceRemove (removed with everything below it before registering, and
// whole when unregistering) and Delete (removed when registering). Quoted
// texts double an inner quote; "%NAME%" is replaced from a table, its name
// compared without regard to case, and "%%" stands for one "%".
//
// A parsed script is a flat list in script order: the entries below a key
// follow it with a greater depth.

#include <cstddef>
#include <cstdint>

constexpr size_t kRegistryNameSize = 128;
constexpr size_t kRegistryValueSize = 520;
constexpr size_t kRegistryMaxEntries = 48;
constexpr uint16_t kRegistryMaxDepth = 16;

enum RegistryEntryKind : uint8_t {
  kRegistryKey = 1,
  kRegistryNamedValue = 2,
};

enum RegistryValueType : uint8_t {
  kRegistryNoValue = 0,
  kRegistryString = 1,  // s
  kRegistryDword = 2,   // d
};

enum RegistryKeyMark : uint8_t {
  kRegistryPlain = 0,
  kRegistryNoRemove = 1,
  kRegistryForceRemove = 2,
  kRegistryDelete = 3,
};

enum RegistryScriptError : uint8_t {
  kRegistryScriptNoError = 0,
  kRegistryScriptSyntax = 1,        // a token where another was expected
  kRegistryScriptTooLong = 2,       // a name, a text or the list outgrows its room
  kRegistryScriptUnknownRoot = 3,   // a root other than HKCR
  kRegistryScriptUnknownName = 4,   // a %NAME% without a replacement
};

struct RegistryEntry {
  uint8_t kind;
  uint8_t mark;  // keys only
  uint8_t valueType;
  uint16_t depth;  // 1 for the keys right below the root
  char name[kRegistryNameSize];  // empty for a key's default value
  char value[kRegistryValueSize];
  uint32_t dword;
};

struct RegistryReplacement {
  const char* name;  // without the percent signs
  const char* text;
};

struct RegistryScript {
  RegistryEntry entries[kRegistryMaxEntries];
  size_t count;
  uint8_t error;
  uint32_t line;  // of the error, from 1
};

// Parses a whole script into script; false with its error and line.
bool ParseRegistryScript(const char* text, size_t length, const RegistryReplacement* replacements,
                         size_t replacementCount, RegistryScript* script);

// The index after the last entry below entry index (its subtree's end).
size_t RegistrySubtreeEnd(const RegistryScript& script, size_t index);

#endif
