#include "files/stream/file_stream.h"

#include <zlib.h>

#include <cstring>

#include "platform/os_files.h"

namespace {

// Larger than zlib's default, so that a workbook moves in few system calls.
constexpr unsigned kGzipBuffer = 128 * 1024;

gzFile Gz(void* handle) { return static_cast<gzFile>(handle); }

}  // namespace

void FileStream::Reset() {
  file_ = nullptr;
  gz_ = nullptr;
  crypto.Reset();
}

void FileStream::Attach(std::FILE* file) {
  file_ = file;
  std::fseek(file, 0, SEEK_SET);
}

bool FileStream::Seek(int origin, long offset) { return file_ && std::fseek(file_, offset, origin) == 0; }

size_t FileStream::Read(void* buffer, size_t count) { return file_ ? std::fread(buffer, 1, count, file_) : 0; }

size_t FileStream::Write(const void* buffer, size_t count) {
  return file_ ? std::fwrite(buffer, 1, count, file_) : 0;
}

bool FileStream::HasError() const { return !file_ || std::ferror(file_) != 0; }

void FileStream::ReleaseCrypto() { crypto.Release(); }

bool FileStream::OpenGz(std::FILE* file, const char* mode) {
  if (gz_) {
    const int closed = gzclose(Gz(gz_));
    gz_ = nullptr;
    if (closed != Z_OK)
      return false;
  }
  if (!file)
    return false;
  file_ = file;
  // The descriptor's position is shared with the file: rewinding the file
  // (which also drops its buffer) puts the gzip stream at the start.
  std::fflush(file);
  std::rewind(file);
  const int descriptor = OsDuplicateDescriptor(file);
  if (descriptor < 0)
    return false;
  gzFile gz = gzdopen(descriptor, mode);
  if (!gz) {
    OsCloseDescriptor(descriptor);
    return false;
  }
  gzbuffer(gz, kGzipBuffer);
  gz_ = gz;
  return true;
}

bool FileStream::IsCompressed() { return gz_ && gzdirect(Gz(gz_)) == 0; }

bool FileStream::SeekGz(int origin, long offset) {
  if (!gz_)
    return false;
  const z_off_t reached = gzseek(Gz(gz_), offset, origin);
  if (reached < 0)
    return false;
  return origin != SEEK_SET || reached == offset;
}

long FileStream::TellGz() { return gz_ ? long(gztell(Gz(gz_))) : -1; }

size_t FileStream::ReadGz(void* buffer, size_t count) {
  if (!gz_ || count == 0)
    return 0;
  const int got = gzread(Gz(gz_), buffer, unsigned(count));
  return got > 0 ? size_t(got) : 0;
}

size_t FileStream::WriteGz(const void* buffer, size_t count) {
  if (!gz_ || count == 0)
    return 0;
  const int put = gzwrite(Gz(gz_), buffer, unsigned(count));
  return put > 0 ? size_t(put) : 0;
}

size_t FileStream::ReadDecrypt(void* buffer, size_t count) {
  const size_t got = ReadGz(buffer, count);
  if (!crypto.key || got == 0)
    return got;
  return crypto.Decrypt(buffer, got) ? got : 0;
}

size_t FileStream::WriteEncrypt(const void* buffer, size_t count) {
  if (!crypto.key)
    return WriteGz(buffer, count);
  const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
  uint8_t work[kEncryptPiece];
  size_t written = 0;
  while (written < count) {
    const size_t piece = count - written < kEncryptPiece ? count - written : kEncryptPiece;
    std::memcpy(work, bytes + written, piece);
    if (!crypto.Encrypt(work, piece))
      break;
    const size_t put = WriteGz(work, piece);
    written += put;
    if (put < piece)
      break;
  }
  return written;
}

bool FileStream::AtEndGz() { return gz_ && gzeof(Gz(gz_)) > 0; }

bool FileStream::HasErrorGz() {
  if (!gz_)
    return true;
  int number = Z_OK;
  gzerror(Gz(gz_), &number);
  // zlib versions before 1.2.4 also reported the end of the data here.
  return number != Z_OK && number != Z_STREAM_END;
}

bool FileStream::CloseGz() {
  bool closed = true;
  if (gz_) {
    // gzclose finishes a written stream itself; a separate finishing flush
    // first would make some zlib versions append an empty second member.
    closed = gzclose(Gz(gz_)) == Z_OK;
    gz_ = nullptr;
  }
  crypto.Release();
  return closed;
}
