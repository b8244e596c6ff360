#include "platform/os_crypto.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "platform/md5_digest.h"
#include "platform/rc4_cipher.h"

namespace {

std::string Hex(const uint8_t* bytes, size_t count) {
  std::string text;
  char pair[3];
  for (size_t i = 0; i < count; ++i) {
    std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
    text += pair;
  }
  return text;
}

std::string PortableMd5(const std::string& data) {
  Md5Digest digest;
  digest.Init();
  digest.Update(data.data(), data.size());
  uint8_t value[kMd5DigestSize];
  digest.Final(value);
  return Hex(value, sizeof value);
}

TEST(Md5Digest, KnownDigests) {
  EXPECT_EQ(PortableMd5(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(PortableMd5("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(PortableMd5("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(PortableMd5("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
            "57edf4a22be3c955ac49da2e2107b67a");
  EXPECT_EQ(PortableMd5(std::string(1000000, 'a')), "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(Rc4Cipher, KnownKeyStreams) {
  struct Case {
    const char* key;
    const char* plain;
    const char* cipher;
  };
  const Case cases[] = {{"Key", "Plaintext", "bbf316e8d940af0ad3"},
                        {"Wiki", "pedia", "1021bf0420"},
                        {"Secret", "Attack at dawn", "45a01f645fc35b383552544b9bf5"}};
  for (const Case& c : cases) {
    Rc4Cipher cipher;
    cipher.SetKey(reinterpret_cast<const uint8_t*>(c.key), std::strlen(c.key));
    std::string data = c.plain;
    // In two calls: the key stream runs on.
    cipher.Apply(&data[0], 3);
    cipher.Apply(&data[3], data.size() - 3);
    EXPECT_EQ(Hex(reinterpret_cast<const uint8_t*>(data.data()), data.size()), c.cipher) << c.key;
  }
}

// The system's provider (on Windows) against the portable MD5 and RC4,
// byte for byte: random passwords including the empty one and high bytes,
// both key sizes, data handed over in random pieces.
TEST(OsCrypt, MatchesPortableMd5AndRc4) {
  std::mt19937 random(20261207);
  OsCryptHandle provider = 0;
  ASSERT_TRUE(OsCryptAcquireProvider(&provider));
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    std::string password;
    const size_t length = round == 0 ? 0 : random() % 40;
    for (size_t i = 0; i < length; ++i) password.push_back(char(1 + random() % 255));
    const int bits = round % 2 ? 40 : 128;

    OsCryptHandle hash = 0;
    ASSERT_TRUE(OsCryptCreateMd5(provider, &hash));
    size_t at = 0;
    while (at < password.size()) {
      const size_t piece = 1 + random() % (password.size() - at);
      ASSERT_TRUE(OsCryptHashData(hash, password.data() + at, piece));
      at += piece;
    }
    OsCryptHandle key = 0;
    ASSERT_TRUE(OsCryptDeriveRc4Key(provider, hash, bits, &key));
    uint8_t value[16];
    ASSERT_TRUE(OsCryptGetMd5(hash, value));
    OsCryptDestroyHash(hash);
    EXPECT_EQ(Hex(value, 16), PortableMd5(password));

    std::string data(1 + random() % 9000, '\0');
    for (char& c : data) c = char(random());
    std::string expected = data;
    Md5Digest digest;
    digest.Init();
    digest.Update(password.data(), password.size());
    uint8_t keyBytes[16];
    digest.Final(keyBytes);
    Rc4Cipher cipher;
    cipher.SetKey(keyBytes, size_t(bits / 8));
    cipher.Apply(&expected[0], expected.size());

    std::string encrypted = data;
    for (at = 0; at < encrypted.size();) {
      const size_t piece = 1 + random() % (encrypted.size() - at < 3000 ? encrypted.size() - at : 3000);
      ASSERT_TRUE(OsCryptEncrypt(key, &encrypted[at], piece));
      at += piece;
    }
    EXPECT_EQ(encrypted, expected);
    OsCryptDestroyKey(key);

    hash = 0;
    ASSERT_TRUE(OsCryptCreateMd5(provider, &hash));
    ASSERT_TRUE(OsCryptHashData(hash, password.data(), password.size()));
    ASSERT_TRUE(OsCryptDeriveRc4Key(provider, hash, bits, &key));
    OsCryptDestroyHash(hash);
    ASSERT_TRUE(OsCryptDecrypt(key, &encrypted[0], encrypted.size()));
    EXPECT_EQ(encrypted, data);
    OsCryptDestroyKey(key);
  }
  OsCryptHandle hash = 0;
  OsCryptHandle key = 0;
  ASSERT_TRUE(OsCryptCreateMd5(provider, &hash));
  EXPECT_FALSE(OsCryptDeriveRc4Key(provider, hash, 56, &key));
  EXPECT_EQ(key, 0u);
  OsCryptDestroyHash(hash);
  OsCryptReleaseProvider(provider);
}

}  // namespace
