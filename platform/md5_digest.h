#ifndef TALVERO_PLATFORM_MD5_DIGEST_H
#define TALVERO_PLATFORM_MD5_DIGEST_H

// MD5 as the Windows cryptographic providers compute it. The POSIX build's
// cryptographic services run on it, and the Windows build's tests compare the
// providers' results with it.

#include <cstddef>
#include <cstdint>

constexpr size_t kMd5DigestSize = 16;

struct Md5Digest {
  uint32_t state[4];
  uint64_t byteCount;
  uint8_t pending[64];

  void Init();
  void Update(const void* data, size_t count);
  // The digest of everything added; the state must be set up again after.
  void Final(uint8_t digest[kMd5DigestSize]);

 private:
  void Block(const uint8_t* block);
};

#endif
