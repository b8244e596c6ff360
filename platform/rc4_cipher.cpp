#include "platform/rc4_cipher.h"

void Rc4Cipher::SetKey(const uint8_t* key, size_t keyLength) {
  for (int n = 0; n < 256; ++n) s[n] = uint8_t(n);
  uint8_t k = 0;
  for (int n = 0; n < 256; ++n) {
    k = uint8_t(k + s[n] + key[n % keyLength]);
    const uint8_t t = s[n];
    s[n] = s[k];
    s[k] = t;
  }
  i = 0;
  j = 0;
}

void Rc4Cipher::Apply(void* data, size_t count) {
  uint8_t* bytes = static_cast<uint8_t*>(data);
  uint8_t x = i, y = j;
  for (size_t n = 0; n < count; ++n) {
    x = uint8_t(x + 1);
    y = uint8_t(y + s[x]);
    const uint8_t t = s[x];
    s[x] = s[y];
    s[y] = t;
    bytes[n] ^= s[uint8_t(s[x] + s[y])];
  }
  i = x;
  j = y;
}
