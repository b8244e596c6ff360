#ifndef TALVERO_TESTS_FUNCTIONS_AUTOMATION_TEST_SERVER_IDENTITY_H
#define TALVERO_TESTS_FUNCTIONS_AUTOMATION_TEST_SERVER_IDENTITY_H

// The test automation server's class, for the server and its clients.

#include <windows.h>

constexpr char kTestServerProgId[] = "Talvero.TestCalculator";
constexpr char kTestServerClsid[] = "{4B26DF52-DDCB-44CA-9DEF-68ABCF914A39}";
constexpr CLSID kTestServerClassId = {0x4b26df52, 0xddcb, 0x44ca, {0x9d, 0xef, 0x68, 0xab, 0xcf, 0x91, 0x4a, 0x39}};

#endif
