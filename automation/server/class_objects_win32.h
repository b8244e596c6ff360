#ifndef TALVERO_AUTOMATION_CLASS_OBJECTS_H
#define TALVERO_AUTOMATION_CLASS_OBJECTS_H

// The server's six coclasses: their class objects, registered with COM as a
// local server for multiple use while the program runs, and the registration
// script of each.

#include <windows.h>

#include <cstddef>

using CreateInstanceFunction = HRESULT (*)(REFIID iid, void** out);

struct CoClassEntry {
  const CLSID* clsid;
  CreateInstanceFunction create;
  WORD registryScript;  // resource of type REGISTRY
};

// In the order the classes are registered.
const CoClassEntry* CoClasses(size_t* count);

// Registers every class object suspended, then lets COM hand them out. False
// when one cannot be registered (those registered stay until revoked).
bool RegisterClassObjects();
void RevokeClassObjects();

#endif
