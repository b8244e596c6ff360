#ifndef TALVERO_TESTS_FUNCTIONS_AUTOMATION_TEST_SERVER_CLIENT_H
#define TALVERO_TESTS_FUNCTIONS_AUTOMATION_TEST_SERVER_CLIENT_H

// A client's side of the test automation server: its registration as a
// local server of the test prefix. TALVERO_TEST_SERVER_PATH names the
// program as the build made it.

#include <windows.h>

#include <objbase.h>

#include <string>

#include "tests/functions/automation_test_server/test_server_identity.h"

inline bool SetTestServerKey(const std::string& key, const std::string& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const bool set = RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                  DWORD(value.size() + 1)) == ERROR_SUCCESS;
  RegCloseKey(handle);
  return set;
}

// Registers the program at the Unix path (as the build names it) under its
// ProgID.
inline bool RegisterTestServer(const char* unixPath) {
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  const std::string classKey = std::string("CLSID\\") + kTestServerClsid;
  return SetTestServerKey(kTestServerProgId, "Test calculator") &&
         SetTestServerKey(std::string(kTestServerProgId) + "\\CLSID", kTestServerClsid) &&
         SetTestServerKey(classKey, "Test calculator") &&
         SetTestServerKey(classKey + "\\LocalServer32", "\"" + path + "\"") &&
         SetTestServerKey(classKey + "\\ProgID", kTestServerProgId);
}

// The suite's own object of the server, held from the suite's start to its
// end. The server process ends when its last object goes; held, one process
// serves every call of the suite, and no call meets a process that is
// ending or waits for a new one to start.
inline IDispatch*& HeldTestServerObject() {
  static IDispatch* held = nullptr;
  return held;
}

// A test suite's start as a client of the server: COM for the thread, the
// server built beside the tests registered and started, and held.
inline bool StartTestServerClient() {
  CoInitialize(nullptr);
  return RegisterTestServer(TALVERO_TEST_SERVER_PATH) &&
         SUCCEEDED(CoCreateInstance(kTestServerClassId, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                    reinterpret_cast<void**>(&HeldTestServerObject())));
}

// The suite's end: the server may end with it.
inline void StopTestServerClient() {
  if (HeldTestServerObject() != nullptr) HeldTestServerObject()->Release();
  HeldTestServerObject() = nullptr;
  CoUninitialize();
}

#endif
