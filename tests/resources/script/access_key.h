#ifndef TALVERO_TESTS_RESOURCES_ACCESS_KEY_H
#define TALVERO_TESTS_RESOURCES_ACCESS_KEY_H

#include <cctype>
#include <string>

// The key that reaches a menu item or a control: the character after the
// first single "&" of its text, upper case; 0 without one.
inline char AccessKey(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
  }
  return 0;
}

#endif
