#ifndef TALVERO_AUTOMATION_REGISTRY_APPLY_H
#define TALVERO_AUTOMATION_REGISTRY_APPLY_H

// Runs a parsed registration script against HKEY_CLASSES_ROOT.
//
// Registering creates every key and value, removing a ForceRemove key with
// all below it first. Unregistering walks the same keys: a NoRemove key is
// only entered, a ForceRemove key goes with all below it, and any other key
// loses the keys and values the script names and then goes too when no key
// is left below it. Keys that are missing are passed over.

#include <windows.h>

#include "automation/registry/registry_script.h"

// ERROR_SUCCESS, or the system's code of the first failure.
LONG RegisterScript(const RegistryScript& script);
LONG UnregisterScript(const RegistryScript& script);

#endif
