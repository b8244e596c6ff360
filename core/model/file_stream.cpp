#include "core/model/file_stream.h"

void FileStream::Close() {
  if (gzipState && releaseGzip)
    releaseGzip(gzipState);
  gzipState = nullptr;
  releaseGzip = nullptr;
  if (file)
    std::fclose(file);
  file = nullptr;
}
