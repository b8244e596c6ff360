#ifndef TALVERO_PLATFORM_OS_CRYPTO_H
#define TALVERO_PLATFORM_OS_CRYPTO_H

// The cryptographic services that password-protected workbooks use: a
// provider, MD5 hash objects and RC4 keys derived from an MD5 hash without
// salt. The Windows build asks the system's providers; the POSIX build
// computes the same bytes itself. A handle of 0 is no object.

#include <cstddef>
#include <cstdint>

using OsCryptHandle = uintptr_t;

// Tries the strong provider, then the base provider, each first as it is and
// then creating its key set. False when all fail.
bool OsCryptAcquireProvider(OsCryptHandle* provider);
void OsCryptReleaseProvider(OsCryptHandle provider);

bool OsCryptCreateMd5(OsCryptHandle provider, OsCryptHandle* hash);
bool OsCryptHashData(OsCryptHandle hash, const void* data, size_t count);
// The 16-byte value; the hash takes no more data afterwards.
bool OsCryptGetMd5(OsCryptHandle hash, uint8_t digest[16]);
void OsCryptDestroyHash(OsCryptHandle hash);

// An RC4 key of 40 or 128 bits from the hash's value: its first 5 or all 16
// bytes. False for any other size.
bool OsCryptDeriveRc4Key(OsCryptHandle provider, OsCryptHandle hash, int bits, OsCryptHandle* key);
// In place, the key stream running on from the previous call.
bool OsCryptEncrypt(OsCryptHandle key, void* data, size_t count);
bool OsCryptDecrypt(OsCryptHandle key, void* data, size_t count);
void OsCryptDestroyKey(OsCryptHandle key);

#endif
