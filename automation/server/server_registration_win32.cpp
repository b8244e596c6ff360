#include "automation/server/server_registration_win32.h"

#include <memory>
#include <new>

#include "automation/objects/type_library_win32.h"
#include "automation/registry/registry_apply_win32.h"
#include "automation/registry/registry_script.h"
#include "automation/server/class_objects_win32.h"
#include "automation/talver.h"
#include "resources/resource_ids.h"

namespace {

// The type library's locale, under which it is registered: neutral.
constexpr LCID kTypeLibraryLocale = 0;
// RegisterTypeLib files the library under the kind of the program that
// registers it: win32 for the 32-bit program, win64 for the 64-bit one.
#ifdef _WIN64
constexpr SYSKIND kTypeLibrarySystem = SYS_WIN64;
#else
constexpr SYSKIND kTypeLibrarySystem = SYS_WIN32;
#endif

bool ModulePath(char* path) {
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return length > 0 && length < MAX_PATH;
}

// Parses REGISTRY resource id and registers or unregisters it.
bool RunScript(WORD id, bool registering, DWORD* systemError) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), "REGISTRY");
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  const char* text = loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (text == nullptr) {
    *systemError = GetLastError();
    return false;
  }
  char path[MAX_PATH];
  if (!ModulePath(path)) {
    *systemError = ERROR_FILENAME_EXCED_RANGE;
    return false;
  }
  const RegistryReplacement replacements[] = {{"MODULE", path}};
  std::unique_ptr<RegistryScript> script(new (std::nothrow) RegistryScript);
  if (!script) {
    *systemError = ERROR_NOT_ENOUGH_MEMORY;
    return false;
  }
  if (!ParseRegistryScript(text, SizeofResource(module, found), replacements, 1, script.get())) {
    *systemError = 0;
    return false;
  }
  const LONG done = registering ? RegisterScript(*script) : UnregisterScript(*script);
  *systemError = static_cast<DWORD>(done);
  return done == ERROR_SUCCESS;
}

bool RunClassScripts(bool registering, DWORD* systemError) {
  size_t count = 0;
  const CoClassEntry* classes = CoClasses(&count);
  for (size_t i = 0; i < count; ++i)
    if (!RunScript(classes[i].registryScript, registering, systemError)) return false;
  return true;
}

bool RegisterTypeLibrary(DWORD* systemError) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  ITypeLib* library = LoadAutomationTypeLibrary();
  if (library == nullptr || length == 0 || length >= MAX_PATH) {
    if (library != nullptr) library->Release();
    *systemError = static_cast<DWORD>(TYPE_E_CANTLOADLIBRARY);
    return false;
  }
  const HRESULT registered = RegisterTypeLib(library, path, nullptr);
  library->Release();
  *systemError = static_cast<DWORD>(registered);
  return SUCCEEDED(registered);
}

bool UnregisterTypeLibrary(DWORD* systemError) {
  *systemError = 0;
  // A library that is not registered leaves nothing to remove.
  BSTR registered = nullptr;
  if (FAILED(QueryPathOfRegTypeLib(LIBID_TALVERLib, 1, 0, kTypeLibraryLocale, &registered))) return true;
  SysFreeString(registered);
  const HRESULT removed = UnRegisterTypeLib(LIBID_TALVERLib, 1, 0, kTypeLibraryLocale, kTypeLibrarySystem);
  if (FAILED(removed)) {
    *systemError = static_cast<DWORD>(removed);
    return false;
  }
  *systemError = 0;
  return true;
}

}  // namespace

bool RegisterServer(DWORD* systemError) {
  *systemError = 0;
  return RunScript(IDR_REGISTRY_APPLICATION_FILES, true, systemError) && RunClassScripts(true, systemError) &&
         RegisterTypeLibrary(systemError);
}

bool UnregisterServer(DWORD* systemError) {
  *systemError = 0;
  return RunScript(IDR_REGISTRY_APPLICATION_FILES, false, systemError) && RunClassScripts(false, systemError) &&
         UnregisterTypeLibrary(systemError);
}
