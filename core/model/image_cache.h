#ifndef TALVERO_CORE_IMAGE_CACHE_H
#define TALVERO_CORE_IMAGE_CACHE_H

// The pictures a document shows (container backgrounds, worksheet
// backgrounds), each read from its file and decoded once and then served
// from memory, keyed by the file name without regard to case. The charts
// layer reads and decodes (charts/images/image_cache_loading.h); the
// workbook owns the cache and empties it with the document.

#include <cstddef>
#include <cstdint>

struct ImageNode {
  char* name;          // the whole name as it was asked for, NUL-terminated; owned
  uint32_t byteCount;  // of the file's bytes
  uint8_t* bytes;      // the file as read, kept after decoding; owned, or null
  uint8_t* picture;    // the decoded packed device-independent bitmap; owned, or null
  ImageNode* next;
};

class ImageCache {
 public:
  ImageCache() = default;
  ~ImageCache() { Clear(); }
  ImageCache(const ImageCache&) = delete;
  ImageCache& operator=(const ImageCache&) = delete;

  // Frees every node with its name, bytes and picture. The error code stays.
  void Clear();

  // The node whose name equals the given one without regard to case, or null.
  ImageNode* Find(const char* name) const;

  // A zeroed node holding a copy of the name, first in the list; null when
  // it cannot be allocated.
  ImageNode* Add(const char* name);

  ImageNode* head = nullptr;  // the most recently added first
  uint8_t error = 0;          // of the last failed read or decode; successes leave it
};

#endif
