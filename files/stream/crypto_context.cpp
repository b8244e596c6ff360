#include "files/stream/crypto_context.h"

#include <cstring>

void CryptoContext::Reset() {
  provider = 0;
  key = 0;
  hash = 0;
}

void CryptoContext::Release() {
  if (key)
    OsCryptDestroyKey(key);
  key = 0;
  if (hash)
    OsCryptDestroyHash(hash);
  hash = 0;
  if (provider)
    OsCryptReleaseProvider(provider);
  provider = 0;
}

bool CryptoContext::Acquire() {
  Release();
  return OsCryptAcquireProvider(&provider);
}

bool CryptoContext::DeriveKey(const char* password, int bits) {
  if (!provider)
    return false;
  OsCryptHandle passwordHash = 0;
  if (!OsCryptCreateMd5(provider, &passwordHash))
    return false;
  bool derived = false;
  if (bits == 128 || bits == 40) {
    if (key)
      OsCryptDestroyKey(key);
    key = 0;
    derived = OsCryptHashData(passwordHash, password, std::strlen(password)) &&
              OsCryptDeriveRc4Key(provider, passwordHash, bits, &key);
  }
  OsCryptDestroyHash(passwordHash);
  return derived;
}

bool CryptoContext::BeginDigest() {
  if (!provider)
    return false;
  if (hash)
    OsCryptDestroyHash(hash);
  hash = 0;
  return OsCryptCreateMd5(provider, &hash);
}

bool CryptoContext::AddToDigest(const void* buffer, size_t count) {
  return hash && OsCryptHashData(hash, buffer, count);
}

bool CryptoContext::GetDigest(uint8_t digest[kDigestSize]) { return hash && OsCryptGetMd5(hash, digest); }

bool CryptoContext::Encrypt(void* buffer, size_t count) { return key && OsCryptEncrypt(key, buffer, count); }

bool CryptoContext::Decrypt(void* buffer, size_t count) { return key && OsCryptDecrypt(key, buffer, count); }
