#ifndef TALVERO_FILES_FILE_STREAM_H
#define TALVERO_FILES_FILE_STREAM_H

// The stream of one load or save over a document's open file: either the
// file itself (the plain side) or a gzip stream opened over a duplicate of
// its descriptor (the gzip side), which reads plain files through
// unchanged. On the gzip side a key in the crypto context RC4-encrypts every
// byte written and decrypts every byte read. Closing the stream never closes
// the document's file. A stream lives on the stack of one load or save:
// Reset, Attach or OpenGz, reads or writes, then ReleaseCrypto or CloseGz on
// every path.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "files/stream/crypto_context.h"

// Encryption works through a fixed buffer of this size, so that writing a
// large record never allocates.
constexpr size_t kEncryptPiece = 2048;

class FileStream {
 public:
  void Reset();

  // Plain side: the file itself, rewound to its start. Never encrypts.
  void Attach(std::FILE* file);
  bool Seek(int origin, long offset);
  size_t Read(void* buffer, size_t count);
  size_t Write(const void* buffer, size_t count);
  // The file's error indicator; writers ask once at the end.
  bool HasError() const;
  // The crypto handles go; the file stays open.
  void ReleaseCrypto();

  // Gzip side. Closes a gzip stream already open (false when that close
  // fails), rewinds the file and opens the gzip stream over a duplicate of
  // its descriptor: "rb" reads gzip or plain data, "wb" writes gzip data at
  // the default level.
  bool OpenGz(std::FILE* file, const char* mode);
  // True when the data read is gzip data, false when a plain file is read through.
  bool IsCompressed();
  // Seeks in the uncompressed data; true when the stream stands at the
  // requested position afterwards.
  bool SeekGz(int origin, long offset);
  long TellGz();
  size_t ReadGz(void* buffer, size_t count);
  size_t WriteGz(const void* buffer, size_t count);
  // With a key the bytes read are decrypted in place; 0 when that fails.
  size_t ReadDecrypt(void* buffer, size_t count);
  // With a key the bytes are encrypted in pieces of kEncryptPiece through a
  // work buffer, the caller's buffer unchanged; the count written stops at
  // the first piece that fails.
  size_t WriteEncrypt(const void* buffer, size_t count);
  bool AtEndGz();
  // A real error of the gzip stream: corrupt or truncated data, a failed
  // check value, a failed read or write of the file. Reaching the end of the
  // data is not an error.
  bool HasErrorGz();
  // Finishes and closes the gzip stream, then releases the crypto handles.
  // False when the final writes or the close failed: a writer's result must
  // include them.
  bool CloseGz();

  bool IsOpenGz() const { return gz_ != nullptr; }

  CryptoContext crypto;

 private:
  std::FILE* file_ = nullptr;
  void* gz_ = nullptr;  // the zlib gzip handle
};

#endif
