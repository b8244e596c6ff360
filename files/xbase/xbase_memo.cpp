#include "files/xbase/xbase_memo.h"

#include <cstdio>
#include <cstring>

#include "core/model/buffered_file.h"
#include "core/model/exchange_options.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/text/loaded_sheet.h"
#include "platform/os_files.h"
#include "platform/os_services.h"

namespace {

constexpr uint32_t kMemoHeaderSize = 512;
constexpr uint32_t kDBaseBlockSize = 512;
constexpr uint32_t kFoxProBlockSize = 64;
// dBase III+ ends a memo with two of these.
constexpr uint8_t kMemoEnd = 0x1A;
// The head of a dBase IV memo: a mark and the count of bytes the head and
// the text take; of a FoxPro memo: the block type and the text's length.
constexpr uint32_t kMemoHeadSize = 8;
constexpr uint32_t kFoxProTextBlock = 1;

void PutLittle32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = uint8_t(value >> (8 * i));
}

void PutBig32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = uint8_t(value >> (8 * (3 - i)));
}

uint32_t Little32(const uint8_t* at) {
  return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

uint32_t Big32(const uint8_t* at) {
  return uint32_t(at[0]) << 24 | uint32_t(at[1]) << 16 | uint32_t(at[2]) << 8 | uint32_t(at[3]);
}

void PutNextFreeBlock(uint8_t* at, uint8_t dialect, uint32_t block) {
  if (dialect == kXBaseFoxPro)
    PutBig32(at, block);
  else
    PutLittle32(at, block);
}

// The block size a memo file's header gives; 0 when it is damaged.
uint32_t BlockSize(const uint8_t* header, uint8_t dialect) {
  switch (dialect) {
    case kXBaseDBaseIV: return uint32_t(header[20]) | uint32_t(header[21]) << 8;
    case kXBaseFoxPro: return uint32_t(header[6]) << 8 | header[7];
    default: return kDBaseBlockSize;
  }
}

void BuildMemoHeader(const char* tablePath, uint8_t dialect, uint8_t* header) {
  std::memset(header, 0, kMemoHeaderSize);
  switch (dialect) {
    case kXBaseDBaseIV: {
      PutLittle32(header, 1);
      const char* name = FileNameOfPath(tablePath);
      for (size_t i = 0; i < 8 && name[i] != '\0' && name[i] != '.'; ++i) header[8 + i] = uint8_t(name[i]);
      OsUpperText(reinterpret_cast<char*>(header + 8), 8);
      header[20] = uint8_t(kDBaseBlockSize & 0xFF);
      header[21] = uint8_t(kDBaseBlockSize >> 8);
      break;
    }
    case kXBaseFoxPro:
      PutBig32(header, kMemoHeaderSize / kFoxProBlockSize);
      header[6] = 0;
      header[7] = kFoxProBlockSize;
      break;
    default:
      PutLittle32(header, 1);
      header[16] = 3;
      break;
  }
}

uint32_t BlocksFor(long bytes, uint32_t blockSize) { return uint32_t((uint64_t(bytes) + blockSize - 1) / blockSize); }

// The bytes of a dBase III+ memo before its two end bytes, of which only
// the first kXBaseMemoCapacity are kept (so the scan ends there too); a
// lone end byte is kept, unless the scan ends right after it.
size_t ScanUntilEndMark(std::FILE* file, char* out) {
  uint8_t piece[kDBaseBlockSize];
  size_t kept = 0;
  bool endPending = false;
  auto keep = [&](uint8_t c) {
    if (kept < kXBaseMemoCapacity)
      out[kept++] = char(c);
  };
  while (kept < kXBaseMemoCapacity) {
    const size_t got = std::fread(piece, 1, sizeof piece, file);
    for (size_t i = 0; i < got; ++i) {
      if (endPending) {
        if (piece[i] == kMemoEnd)
          return kept;
        keep(kMemoEnd);
        endPending = false;
      }
      if (piece[i] == kMemoEnd)
        endPending = true;
      else
        keep(piece[i]);
    }
    if (got < sizeof piece)
      break;
  }
  return kept;
}

// The text of a dBase III+ memo. It ends at a NUL, as its readers take it.
// An end byte then left at its end closed the memo on its own, as some
// programs write them, and is left out whether or not an end pair follows
// later: no text of this layout can end with an end byte, so one kept
// would load a text that could not be written back.
size_t ReadUntilEndMark(std::FILE* file, char* out) {
  size_t kept = strnlen(out, ScanUntilEndMark(file, out));
  if (kept > 0 && uint8_t(out[kept - 1]) == kMemoEnd)
    --kept;
  return kept;
}

bool ReadMemo(std::FILE* file, uint8_t dialect, uint32_t block, char* out) {
  uint8_t header[32];
  if (std::fread(header, 1, sizeof header, file) != sizeof header)
    return false;
  const uint32_t blockSize = BlockSize(header, dialect);
  if (blockSize == 0 || std::fseek(file, long(uint64_t(block) * blockSize), SEEK_SET) != 0)
    return false;
  size_t length = 0;
  if (dialect == kXBaseDBaseIII || dialect == kXBaseClipper) {
    length = ReadUntilEndMark(file, out);
  } else {
    uint8_t head[kMemoHeadSize];
    if (std::fread(head, 1, sizeof head, file) != sizeof head)
      return false;
    uint32_t textLength = 0;
    if (dialect == kXBaseFoxPro) {
      textLength = Big32(head + 4);
    } else {
      // The count includes the head itself: anything smaller is no memo.
      const uint32_t counted = Little32(head + 4);
      if (counted < kMemoHeadSize)
        return false;
      textLength = counted - kMemoHeadSize;
    }
    const size_t wanted = textLength < kXBaseMemoCapacity ? textLength : kXBaseMemoCapacity;
    length = std::fread(out, 1, wanted, file);
  }
  out[length] = '\0';
  return !std::ferror(file);
}

}  // namespace

bool XBaseMemoFileName(const char* tablePath, char* out, size_t size, uint8_t dialect) {
  const char* name = FileNameOfPath(tablePath);
  const char* dot = std::strrchr(name, '.');
  const size_t stem = dot ? size_t(dot - tablePath) : std::strlen(tablePath);
  const char* extension = dialect == kXBaseFoxPro ? ".fpt" : ".dbt";
  if (stem + std::strlen(extension) + 1 > size)
    return false;
  std::memcpy(out, tablePath, stem);
  std::strcpy(out + stem, extension);
  return true;
}

namespace {

// The table's memo file opened with the mode; null when it cannot be.
std::FILE* OpenMemoFile(const char* tablePath, uint8_t dialect, const char* mode) {
  char memoPath[kFilePathSize];
  return XBaseMemoFileName(tablePath, memoPath, sizeof memoPath, dialect) ? std::fopen(memoPath, mode) : nullptr;
}

}  // namespace

bool CreateXBaseMemoFile(const char* tablePath, uint8_t dialect) {
  std::FILE* file = OpenMemoFile(tablePath, dialect, "wb");
  if (!file)
    return false;
  uint8_t header[kMemoHeaderSize];
  BuildMemoHeader(tablePath, dialect, header);
  const bool written = std::fwrite(header, 1, sizeof header, file) == sizeof header;
  return std::fclose(file) == 0 && written;
}

bool ReadXBaseMemo(const char* tablePath, uint8_t dialect, uint32_t block, char* out) {
  out[0] = '\0';
  std::FILE* file = OpenMemoFile(tablePath, dialect, "rb");
  if (!file)
    return false;
  const bool read = ReadMemo(file, dialect, block, out);
  std::fclose(file);
  return read;
}

bool CWorkBook::WriteXBaseMemo(const char* tablePath, uint8_t dialect, const char* text, size_t length,
                               uint32_t* block) {
  *block = 0;
  if (length == 0)
    return true;
  char memoPath[kFilePathSize];
  if (!XBaseMemoFileName(tablePath, memoPath, sizeof memoPath, dialect) ||
      (!OsFileExists(memoPath) && !CreateXBaseMemoFile(tablePath, dialect))) {
    error = kFileCannotOpenForWriting;
    return false;
  }
  std::FILE* file = std::fopen(memoPath, "r+b");
  if (!file) {
    error = kFileCannotOpenForReading;
    return false;
  }
  uint8_t header[32];
  long fileLength = -1;
  uint32_t blockSize = 0;
  if (std::fread(header, 1, sizeof header, file) == sizeof header && std::fseek(file, 0, SEEK_END) == 0) {
    fileLength = std::ftell(file);
    blockSize = BlockSize(header, dialect);
  }
  bool written = fileLength >= 0 && blockSize != 0;
  if (written) {
    *block = BlocksFor(fileLength, blockSize);
    uint8_t head[kMemoHeadSize];
    size_t headSize = 0;
    if (dialect == kXBaseDBaseIV) {
      PutLittle32(head, 0x0008FFFF);
      PutLittle32(head + 4, uint32_t(length) + kMemoHeadSize);
      headSize = kMemoHeadSize;
    } else if (dialect == kXBaseFoxPro) {
      PutBig32(head, kFoxProTextBlock);
      PutBig32(head + 4, uint32_t(length));
      headSize = kMemoHeadSize;
    }
    const uint8_t endMark[2] = {kMemoEnd, kMemoEnd};
    const size_t tail = dialect == kXBaseDBaseIII || dialect == kXBaseClipper ? sizeof endMark : 0;
    const uint64_t used = headSize + length + tail;
    const size_t padding = size_t((blockSize - used % blockSize) % blockSize);
    static const uint8_t kZeros[kDBaseBlockSize] = {};
    written = std::fseek(file, long(uint64_t(*block) * blockSize), SEEK_SET) == 0 &&
              std::fwrite(head, 1, headSize, file) == headSize && std::fwrite(text, 1, length, file) == length &&
              std::fwrite(endMark, 1, tail, file) == tail;
    for (size_t left = padding; written && left > 0;) {
      const size_t piece = left < sizeof kZeros ? left : sizeof kZeros;
      written = std::fwrite(kZeros, 1, piece, file) == piece;
      left -= piece;
    }
    uint8_t next[4];
    PutNextFreeBlock(next, dialect, *block + BlocksFor(long(used + padding), blockSize));
    written = written && std::fseek(file, 0, SEEK_SET) == 0 && std::fwrite(next, 1, sizeof next, file) == sizeof next;
  }
  if (std::fclose(file) != 0 || !written) {
    *block = 0;
    error = kFileWriteError;
    return false;
  }
  return true;
}
