#include <cstring>

#include "files/native_binary/binary_format.h"

namespace {

struct ProtectionDigits {
  char key;
  char scope;
};

constexpr ProtectionDigits kDigits[kProtectionModeCount] = {
    {'0', '0'}, {'1', '1'}, {'1', '0'}, {'2', '1'}, {'2', '0'}};

}  // namespace

void BuildBinaryHeader(uint8_t protectionMode, char header[kBinaryHeaderSize]) {
  const ProtectionDigits digits = kDigits[protectionMode < kProtectionModeCount ? protectionMode : 0];
  header[0] = char('0' + kBinaryVersionWritten);
  header[1] = digits.key;
  header[2] = digits.scope;
  std::memset(header + 3, '0', kBinaryHeaderSize - 3);
}

bool ParseBinaryHeader(const char header[kBinaryHeaderSize], BinaryHeader* out) {
  if (header[0] < '1' || header[0] > '3')
    return false;
  out->version = uint8_t(header[0] - '0');
  const bool scoped = header[2] != '0';
  switch (header[1]) {
    case '2': out->protection = scoped ? 3 : 4; break;
    case '1': out->protection = scoped ? 1 : 2; break;
    default: out->protection = 0; break;
  }
  out->keyBits = ProtectionKeyBits(out->protection);
  out->valuesCopy = ProtectionHasValuesCopy(out->protection);
  return true;
}

int ProtectionKeyBits(uint8_t protectionMode) {
  if (protectionMode == 1 || protectionMode == 2)
    return 40;
  if (protectionMode == 3 || protectionMode == 4)
    return 128;
  return 0;
}

bool ProtectionHasValuesCopy(uint8_t protectionMode) { return protectionMode == 1 || protectionMode == 3; }
