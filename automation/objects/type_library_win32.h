#ifndef TALVERO_AUTOMATION_TYPE_LIBRARY_H
#define TALVERO_AUTOMATION_TYPE_LIBRARY_H

// The type library the program carries as its resource TYPELIB 1, loaded
// once from the program file, and the descriptions of its interfaces that
// every object's IDispatch answers from.

#include <windows.h>

#include <oaidl.h>

struct InterfaceTypeInfo {
  ITypeInfo* dispatch;  // what clients see: the interface's dispatch description
  ITypeInfo* vtable;    // what calls go through: its dual interface's functions
};

// The program file's type library, with a reference for the caller; null
// when it cannot be loaded.
ITypeLib* LoadAutomationTypeLibrary();
// The two descriptions of an interface of the library, kept for the life of
// the process; false when the library or the interface is missing.
bool AutomationTypeInfo(REFIID iid, InterfaceTypeInfo* out);

#endif
