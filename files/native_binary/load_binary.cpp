#include <cstdio>
#include <cstring>

#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/native_binary/binary_format.h"
#include "files/stream/file_stream.h"

namespace {

constexpr size_t kDigestPiece = 4096;

size_t ReadFromStream(void* context, void* bytes, size_t count) {
  return static_cast<FileStream*>(context)->ReadDecrypt(bytes, count);
}

bool StreamHasError(void* context) { return static_cast<FileStream*>(context)->HasErrorGz(); }

class BinaryLoad {
 public:
  BinaryLoad(CWorkBook* book, const char* password) : book_(book), password_(password) { stream_.Reset(); }
  bool Run();

 private:
  bool Fail(uint8_t code) {
    stream_.CloseGz();
    book_->Clear();
    book_->error = code;
    return false;
  }
  bool Exact(void* bytes, size_t count) { return stream_.ReadDecrypt(bytes, count) == count; }
  // Reads the length byte, the filler and the stored digest.
  bool ReadDigestHead(uint8_t digest[kDigestSize]);
  // The digest of the rest of the stream; for version 3 without its last 8 bytes.
  bool DigestRest(uint8_t digest[kDigestSize]);
  bool ReadBody(int version) {
    BodySource source{ReadFromStream, StreamHasError, &stream_};
    return ReadBinaryBody(book_, &source, version);
  }

  CWorkBook* book_;
  const char* password_;
  FileStream stream_;
  BinaryHeader header_{};
};

bool BinaryLoad::ReadDigestHead(uint8_t digest[kDigestSize]) {
  uint8_t n;
  uint8_t filler[4 * 255];
  return Exact(&n, 1) && Exact(filler, DigestFillerSize(n)) && Exact(digest, kDigestSize);
}

bool BinaryLoad::DigestRest(uint8_t digest[kDigestSize]) {
  const size_t held = header_.version >= 3 ? kBinaryTrailerSize : 0;
  uint8_t buffer[kBinaryTrailerSize + kDigestPiece];
  size_t have = 0;
  for (;;) {
    const size_t got = stream_.ReadDecrypt(buffer + have, kDigestPiece);
    if (got == 0)
      break;
    have += got;
    if (have > held) {
      if (!stream_.crypto.AddToDigest(buffer, have - held))
        return false;
      std::memmove(buffer, buffer + have - held, held);
      have = held;
    }
  }
  return stream_.crypto.GetDigest(digest);
}

bool BinaryLoad::Run() {
  if (!book_->bufferedFile.file || !stream_.OpenGz(book_->bufferedFile.file, "rb"))
    return Fail(kFileReadError);
  stream_.SeekGz(SEEK_SET, 0);
  char header[kBinaryHeaderSize];
  if (stream_.ReadGz(header, sizeof header) != sizeof header)
    return Fail(kFileReadError);
  if (!ParseBinaryHeader(header, &header_))
    return Fail(kFileBadFormat);
  const uint8_t mode = header_.protection;

  if (header_.valuesCopy) {
    if (!ReadBody(header_.version)) {
      const uint8_t code = book_->error;
      return Fail(code);
    }
    if (!password_) {
      stream_.CloseGz();
      book_->protectionMode = mode;
      book_->readOnly = 1;
      book_->password[0] = '\0';
      return true;
    }
    // The full workbook replaces the values.
    book_->Clear();
  }
  if (mode != 0) {
    if (!password_)
      return Fail(kFileBadPassword);
    uint8_t stored[kDigestSize];
    uint8_t computed[kDigestSize];
    if (!stream_.crypto.Acquire() || !stream_.crypto.DeriveKey(password_, header_.keyBits) ||
        !stream_.crypto.BeginDigest())
      return Fail(kFileNoCryptoKey);
    const long start = stream_.TellGz();
    if (!ReadDigestHead(stored))
      return Fail(kFileReadError);
    if (!DigestRest(computed))
      return Fail(kFileNoCryptoKey);
    if (stream_.HasErrorGz())
      return Fail(kFileReadError);
    if (std::memcmp(stored, computed, kDigestSize) != 0)
      return Fail(kFileBadPassword);
    // The body is read again from the start of the RC4 stream, which a new
    // key restarts.
    stream_.crypto.Release();
    if (!stream_.crypto.Acquire() || !stream_.crypto.DeriveKey(password_, header_.keyBits))
      return Fail(kFileNoCryptoKey);
    if (!stream_.SeekGz(SEEK_SET, start) || !ReadDigestHead(stored))
      return Fail(kFileReadError);
  }
  if (!ReadBody(header_.version)) {
    const uint8_t code = book_->error;
    return Fail(code);
  }
  if (header_.version >= 3) {
    uint8_t trailer[kBinaryTrailerSize];
    if (!Exact(trailer, sizeof trailer))
      return Fail(kFileReadError);
  }
  // Reading on to the end lets the compression layer check the data's
  // length and check value.
  uint8_t probe;
  stream_.ReadGz(&probe, 1);
  if (stream_.HasErrorGz())
    return Fail(kFileReadError);
  stream_.CloseGz();
  book_->protectionMode = mode;
  std::snprintf(book_->password, sizeof book_->password, "%s", password_ ? password_ : "");
  return true;
}

}  // namespace

bool CWorkBook::LoadBinary(const char* password) {
  BinaryLoad load(this, password);
  return load.Run();
}
