#ifndef TALVERO_TESTS_FUNCTIONS_AUTOMATION_TEST_SERVER_IDENTITY_H
#define TALVERO_TESTS_FUNCTIONS_AUTOMATION_TEST_SERVER_IDENTITY_H

// The test automation server's class, for the server and its clients, and
// its registration as a local server of the test prefix.

#include <windows.h>

#include <string>

constexpr char kTestServerProgId[] = "Talvero.TestCalculator";
constexpr char kTestServerClsid[] = "{4B26DF52-DDCB-44CA-9DEF-68ABCF914A39}";
constexpr CLSID kTestServerClassId = {0x4b26df52, 0xddcb, 0x44ca, {0x9d, 0xef, 0x68, 0xab, 0xcf, 0x91, 0x4a, 0x39}};

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

#endif
