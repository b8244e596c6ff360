#include <cstring>

#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/native_binary/binary_format.h"
#include "files/stream/file_stream.h"

namespace {

struct StreamSink {
  FileStream* stream;
  bool complete;
};

bool PutToStream(void* context, const void* bytes, size_t count) {
  auto* sink = static_cast<StreamSink*>(context);
  if (sink->stream->WriteEncrypt(bytes, count) == count)
    return true;
  sink->complete = false;
  return false;
}

bool PutToDigest(void* context, const void* bytes, size_t count) {
  return static_cast<CryptoContext*>(context)->AddToDigest(bytes, count);
}

// The MD5 of exactly the bytes the full body writes, from a provider of its
// own. False when the provider or the hash cannot be had.
bool DigestBinaryBody(CWorkBook* book, uint8_t digest[kDigestSize]) {
  CryptoContext crypto;
  bool digested = false;
  if (crypto.Acquire() && crypto.BeginDigest()) {
    BodySink sink{PutToDigest, &crypto};
    digested = WriteBinaryBody(book, &sink, false) && crypto.GetDigest(digest);
  }
  crypto.Release();
  return digested;
}

}  // namespace

bool CWorkBook::SaveBinary() {
  FileStream stream;
  stream.Reset();
  if (!bufferedFile.file || !stream.OpenGz(bufferedFile.file, "wb")) {
    error = kFileWriteError;
    return false;
  }
  char header[kBinaryHeaderSize];
  BuildBinaryHeader(protectionMode, header);
  StreamSink target{&stream, true};
  BodySink sink{PutToStream, &target};
  sink.put(sink.context, header, sizeof header);

  const uint8_t mode = protectionMode < kProtectionModeCount ? protectionMode : 0;
  if (ProtectionHasValuesCopy(mode) && !WriteBinaryBody(this, &sink, true)) {
    stream.CloseGz();
    return false;
  }
  const int bits = ProtectionKeyBits(mode);
  if (bits) {
    uint8_t digest[kDigestSize];
    if (!stream.crypto.Acquire() || !stream.crypto.DeriveKey(password, bits) || !DigestBinaryBody(this, digest)) {
      stream.CloseGz();
      error = kFileNoCryptoKey;
      return false;
    }
    uint8_t filler[4 * 255];
    const size_t fillerSize = DigestFillerSize(digest[0]);
    std::memset(filler, digest[1], fillerSize);
    sink.put(sink.context, &digest[0], 1);
    sink.put(sink.context, filler, fillerSize);
    sink.put(sink.context, digest, kDigestSize);
  }
  if (!WriteBinaryBody(this, &sink, false)) {
    stream.CloseGz();
    return false;
  }
  const uint8_t trailer[kBinaryTrailerSize] = {};
  sink.put(sink.context, trailer, sizeof trailer);
  // The save counts only when everything reached the file: the trailing
  // bytes, the compressor's last output and the close.
  const bool streamGood = target.complete && !stream.HasErrorGz();
  const bool closed = stream.CloseGz();
  if (!streamGood || !closed) {
    error = kFileWriteError;
    return false;
  }
  return true;
}
