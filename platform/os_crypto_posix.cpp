#include <new>

#include "platform/md5_digest.h"
#include "platform/os_crypto.h"
#include "platform/rc4_cipher.h"

namespace {

// The provider is only a token here: nothing is shared between its objects.
struct PortableProvider {
  uint32_t tag;
};

struct PortableHash {
  Md5Digest digest;
  bool finished;
  uint8_t value[kMd5DigestSize];
};

template <class T>
T* FromHandle(OsCryptHandle handle) {
  return reinterpret_cast<T*>(handle);
}

}  // namespace

bool OsCryptAcquireProvider(OsCryptHandle* provider) {
  auto* made = new (std::nothrow) PortableProvider{1};
  *provider = reinterpret_cast<OsCryptHandle>(made);
  return made != nullptr;
}

void OsCryptReleaseProvider(OsCryptHandle provider) { delete FromHandle<PortableProvider>(provider); }

bool OsCryptCreateMd5(OsCryptHandle provider, OsCryptHandle* hash) {
  *hash = 0;
  if (!provider)
    return false;
  auto* made = new (std::nothrow) PortableHash;
  if (!made)
    return false;
  made->digest.Init();
  made->finished = false;
  *hash = reinterpret_cast<OsCryptHandle>(made);
  return true;
}

bool OsCryptHashData(OsCryptHandle hash, const void* data, size_t count) {
  PortableHash* state = FromHandle<PortableHash>(hash);
  if (!state || state->finished)
    return false;
  state->digest.Update(data, count);
  return true;
}

bool OsCryptGetMd5(OsCryptHandle hash, uint8_t digest[16]) {
  PortableHash* state = FromHandle<PortableHash>(hash);
  if (!state)
    return false;
  if (!state->finished) {
    state->digest.Final(state->value);
    state->finished = true;
  }
  for (size_t i = 0; i < kMd5DigestSize; ++i) digest[i] = state->value[i];
  return true;
}

void OsCryptDestroyHash(OsCryptHandle hash) { delete FromHandle<PortableHash>(hash); }

bool OsCryptDeriveRc4Key(OsCryptHandle provider, OsCryptHandle hash, int bits, OsCryptHandle* key) {
  *key = 0;
  if (!provider || (bits != 40 && bits != 128))
    return false;
  uint8_t value[kMd5DigestSize];
  if (!OsCryptGetMd5(hash, value))
    return false;
  auto* cipher = new (std::nothrow) Rc4Cipher;
  if (!cipher)
    return false;
  cipher->SetKey(value, size_t(bits / 8));
  *key = reinterpret_cast<OsCryptHandle>(cipher);
  return true;
}

bool OsCryptEncrypt(OsCryptHandle key, void* data, size_t count) {
  Rc4Cipher* cipher = FromHandle<Rc4Cipher>(key);
  if (!cipher)
    return false;
  cipher->Apply(data, count);
  return true;
}

bool OsCryptDecrypt(OsCryptHandle key, void* data, size_t count) { return OsCryptEncrypt(key, data, count); }

void OsCryptDestroyKey(OsCryptHandle key) { delete FromHandle<Rc4Cipher>(key); }
