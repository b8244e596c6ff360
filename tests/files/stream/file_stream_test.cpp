#include "files/stream/file_stream.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "platform/md5_digest.h"
#include "platform/rc4_cipher.h"
#include "tests/files/file_test_support.h"

namespace {

std::string GzipBytes(const std::string& content) {
  gzFile gz = gzopen("files_stream_gz.tmp", "wb9");
  gzwrite(gz, content.data(), unsigned(content.size()));
  gzclose(gz);
  return filetest::ReadAll("files_stream_gz.tmp");
}

// Reads the whole stream through ReadGz, in pieces.
std::string ReadThrough(FileStream& stream) {
  std::string out;
  char buffer[777];
  size_t got;
  while ((got = stream.ReadGz(buffer, sizeof buffer)) > 0) out.append(buffer, got);
  return out;
}

TEST(FileStream, EncryptedWritesFormOneKeyStreamAndLeaveTheCallersBuffer) {
  std::string data(5000, '\0');
  std::mt19937 random(5);
  for (char& c : data) c = char(random());
  const std::string original = data;
  for (int bits : {40, 128}) {
    std::FILE* file = std::fopen("files_stream_rc4.tmp", "w+b");
    ASSERT_NE(file, nullptr);
    FileStream stream;
    stream.Reset();
    ASSERT_TRUE(stream.OpenGz(file, "wb"));
    ASSERT_TRUE(stream.crypto.Acquire());
    ASSERT_TRUE(stream.crypto.DeriveKey("p\xE4ss", bits));
    EXPECT_EQ(stream.WriteEncrypt(data.data(), data.size()), 5000u);
    EXPECT_EQ(data, original);
    EXPECT_TRUE(stream.CloseGz());

    Md5Digest md5;
    md5.Init();
    md5.Update("p\xE4ss", 4);
    uint8_t key[16];
    md5.Final(key);
    Rc4Cipher cipher;
    cipher.SetKey(key, size_t(bits / 8));
    std::string expected = original;
    cipher.Apply(&expected[0], expected.size());

    stream.Reset();
    ASSERT_TRUE(stream.OpenGz(file, "rb"));
    EXPECT_TRUE(stream.IsCompressed());
    EXPECT_EQ(ReadThrough(stream), expected);
    EXPECT_TRUE(stream.CloseGz());

    // Read back with decryption in pieces of any size.
    stream.Reset();
    ASSERT_TRUE(stream.OpenGz(file, "rb"));
    ASSERT_TRUE(stream.crypto.Acquire());
    ASSERT_TRUE(stream.crypto.DeriveKey("p\xE4ss", bits));
    std::string back;
    char piece[1500];
    for (size_t size = 1; back.size() < original.size(); size = size * 3 % 1499 + 1) {
      const size_t got = stream.ReadDecrypt(piece, size);
      ASSERT_GT(got, 0u);
      back.append(piece, got);
    }
    EXPECT_EQ(back, original);
    EXPECT_TRUE(stream.CloseGz());
    // The stream never closes the document's file.
    EXPECT_EQ(std::fseek(file, 0, SEEK_END), 0);
    EXPECT_GT(std::ftell(file), 0);
    std::fclose(file);
  }
}

TEST(FileStream, KeysOtherThan40Or128BitsAreRefused) {
  CryptoContext crypto;
  EXPECT_FALSE(crypto.DeriveKey("x", 128));  // no provider yet
  ASSERT_TRUE(crypto.Acquire());
  EXPECT_FALSE(crypto.DeriveKey("x", 56));
  EXPECT_EQ(crypto.key, 0u);
  EXPECT_EQ(crypto.hash, 0u);
  EXPECT_TRUE(crypto.DeriveKey("", 40));
  crypto.Release();
  EXPECT_EQ(crypto.provider, 0u);
  EXPECT_EQ(crypto.key, 0u);
}

// What the gzip side reads: plain files through, gzip data inflated; the
// end of the data is no error, damaged data is.
TEST(FileStream, GzipSideReadsPlainAndCompressedAndTellsDamage) {
  std::string content;
  for (int i = 0; i < 3000; ++i) content += "line " + std::to_string(i) + "\n";
  const std::string gzip = GzipBytes(content);
  std::string badCheck = gzip;
  badCheck[badCheck.size() - 6] ^= 0x55;  // the CRC of the trailer
  struct Case {
    const char* what;
    std::string bytes;
    bool compressed;
    bool damaged;
  };
  const Case cases[] = {
      {"plain text", content, false, false},
      {"gzip", gzip, true, false},
      {"truncated gzip", gzip.substr(0, gzip.size() / 2), true, true},
      {"gzip without its trailer", gzip.substr(0, gzip.size() - 4), true, true},
      {"gzip with a wrong check value", badCheck, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(filetest::WriteAll("files_stream_read.tmp", c.bytes));
    std::FILE* file = std::fopen("files_stream_read.tmp", "rb");
    ASSERT_NE(file, nullptr);
    FileStream stream;
    stream.Reset();
    ASSERT_TRUE(stream.OpenGz(file, "rb"));
    EXPECT_EQ(stream.IsCompressed(), c.compressed);
    const std::string read = ReadThrough(stream);
    EXPECT_EQ(stream.HasErrorGz(), c.damaged);
    if (!c.damaged) {
      EXPECT_EQ(read, content);
      EXPECT_TRUE(stream.AtEndGz());
      // Back to the start for a second reading.
      EXPECT_TRUE(stream.SeekGz(SEEK_SET, 0));
      EXPECT_EQ(stream.TellGz(), 0);
      char first[5];
      EXPECT_EQ(stream.ReadGz(first, 5), 5u);
      EXPECT_EQ(std::string(first, 5), "line ");
    }
    stream.CloseGz();
    std::fclose(file);
  }
}

}  // namespace
