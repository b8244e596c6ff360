#ifndef TALVERO_FILES_CRYPTO_CONTEXT_H
#define TALVERO_FILES_CRYPTO_CONTEXT_H

// The cryptographic handles of one load or save: the provider, the RC4 key
// derived from the password and an open MD5 hash object for a body's
// digest. Each handle is 0 when absent; a key switches a stream's
// encryption on.

#include <cstddef>
#include <cstdint>

#include "platform/os_crypto.h"

constexpr size_t kDigestSize = 16;

struct CryptoContext {
  void Reset();
  // Destroys the key, then the hash, then releases the provider.
  void Release();
  // Releases what is held, then acquires a provider.
  bool Acquire();
  // An RC4 key of 128 or 40 bits from the MD5 of the password's bytes (no
  // NUL, no salt); any other size fails. The key stream starts anew.
  bool DeriveKey(const char* password, int bits);
  bool BeginDigest();
  bool AddToDigest(const void* buffer, size_t count);
  bool GetDigest(uint8_t digest[kDigestSize]);
  // In place, the key stream running on across calls.
  bool Encrypt(void* buffer, size_t count);
  bool Decrypt(void* buffer, size_t count);

  OsCryptHandle provider = 0;
  OsCryptHandle key = 0;
  OsCryptHandle hash = 0;
};

#endif
