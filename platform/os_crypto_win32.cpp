#include <windows.h>
#include <wincrypt.h>

#include "platform/os_crypto.h"

namespace {

bool TryAcquire(OsCryptHandle* provider, const char* name, DWORD flags) {
  HCRYPTPROV handle = 0;
  if (!CryptAcquireContextA(&handle, nullptr, name, PROV_RSA_FULL, flags))
    return false;
  *provider = OsCryptHandle(handle);
  return true;
}

// CryptoAPI takes DWORD counts; larger pieces are handed over in parts.
constexpr size_t kMaxPiece = 0x40000000;

}  // namespace

bool OsCryptAcquireProvider(OsCryptHandle* provider) {
  *provider = 0;
  static const char kStrong[] = "Microsoft Strong Cryptographic Provider";
  static const char kBase[] = "Microsoft Base Cryptographic Provider v1.0";
  // Only hashes and session keys are made, so no key container is needed:
  // creating the user's first one races with another program doing the
  // same, and the loser would fall back to the base provider, whose RC4
  // keys are at most 56 bits. The container is tried only where a provider
  // takes no context without one.
  return TryAcquire(provider, kStrong, CRYPT_VERIFYCONTEXT) || TryAcquire(provider, kStrong, 0) ||
         TryAcquire(provider, kStrong, CRYPT_NEWKEYSET) || TryAcquire(provider, kBase, CRYPT_VERIFYCONTEXT) ||
         TryAcquire(provider, kBase, 0) || TryAcquire(provider, kBase, CRYPT_NEWKEYSET);
}

void OsCryptReleaseProvider(OsCryptHandle provider) {
  if (provider)
    CryptReleaseContext(HCRYPTPROV(provider), 0);
}

bool OsCryptCreateMd5(OsCryptHandle provider, OsCryptHandle* hash) {
  HCRYPTHASH handle = 0;
  *hash = 0;
  if (!provider || !CryptCreateHash(HCRYPTPROV(provider), CALG_MD5, 0, 0, &handle))
    return false;
  *hash = OsCryptHandle(handle);
  return true;
}

bool OsCryptHashData(OsCryptHandle hash, const void* data, size_t count) {
  if (!hash)
    return false;
  const BYTE* bytes = static_cast<const BYTE*>(data);
  do {
    const size_t piece = count < kMaxPiece ? count : kMaxPiece;
    if (!CryptHashData(HCRYPTHASH(hash), bytes, DWORD(piece), 0))
      return false;
    bytes += piece;
    count -= piece;
  } while (count);
  return true;
}

bool OsCryptGetMd5(OsCryptHandle hash, uint8_t digest[16]) {
  DWORD size = 16;
  return hash && CryptGetHashParam(HCRYPTHASH(hash), HP_HASHVAL, digest, &size, 0) && size == 16;
}

void OsCryptDestroyHash(OsCryptHandle hash) {
  if (hash)
    CryptDestroyHash(HCRYPTHASH(hash));
}

bool OsCryptDeriveRc4Key(OsCryptHandle provider, OsCryptHandle hash, int bits, OsCryptHandle* key) {
  HCRYPTKEY handle = 0;
  *key = 0;
  if (!provider || !hash || (bits != 40 && bits != 128))
    return false;
  if (!CryptDeriveKey(HCRYPTPROV(provider), CALG_RC4, HCRYPTHASH(hash), (DWORD(bits) << 16) | CRYPT_NO_SALT,
                      &handle))
    return false;
  *key = OsCryptHandle(handle);
  return true;
}

bool OsCryptEncrypt(OsCryptHandle key, void* data, size_t count) {
  BYTE* bytes = static_cast<BYTE*>(data);
  do {
    const size_t piece = count < kMaxPiece ? count : kMaxPiece;
    DWORD length = DWORD(piece);
    if (!key || !CryptEncrypt(HCRYPTKEY(key), 0, FALSE, 0, bytes, &length, DWORD(piece)))
      return false;
    bytes += piece;
    count -= piece;
  } while (count);
  return true;
}

bool OsCryptDecrypt(OsCryptHandle key, void* data, size_t count) {
  BYTE* bytes = static_cast<BYTE*>(data);
  do {
    const size_t piece = count < kMaxPiece ? count : kMaxPiece;
    DWORD length = DWORD(piece);
    if (!key || !CryptDecrypt(HCRYPTKEY(key), 0, FALSE, 0, bytes, &length))
      return false;
    bytes += piece;
    count -= piece;
  } while (count);
  return true;
}

void OsCryptDestroyKey(OsCryptHandle key) {
  if (key)
    CryptDestroyKey(HCRYPTKEY(key));
}
