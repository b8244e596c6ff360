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

// A test suite's start as a client of the server: COM for the thread and the
// server built beside the tests registered.
inline bool StartTestServerClient() {
  CoInitialize(nullptr);
  return RegisterTestServer(TALVERO_TEST_SERVER_PATH);
}

#endif
