#ifndef TALVERO_PLATFORM_RC4_CIPHER_H
#define TALVERO_PLATFORM_RC4_CIPHER_H

// RC4 as the Windows cryptographic providers apply it: one key stream that
// runs on across calls, the same transform for encryption and decryption.

#include <cstddef>
#include <cstdint>

struct Rc4Cipher {
  uint8_t s[256];
  uint8_t i;
  uint8_t j;

  // keyLength 1..256 bytes.
  void SetKey(const uint8_t* key, size_t keyLength);
  // XORs the next count bytes of the key stream into data.
  void Apply(void* data, size_t count);
};

#endif
