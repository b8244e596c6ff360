#include "core/model/image_cache.h"

#include <cstdlib>
#include <cstring>

#include "core/base/text_compare.h"

void ImageCache::Clear() {
  while (head) {
    ImageNode* node = head;
    head = node->next;
    std::free(node->name);
    std::free(node->bytes);
    std::free(node->picture);
    std::free(node);
  }
}

ImageNode* ImageCache::Find(const char* name) const {
  const size_t length = std::strlen(name);
  for (ImageNode* node = head; node; node = node->next)
    if (CompareTextIgnoringCase(node->name, std::strlen(node->name), name, length) == 0)
      return node;
  return nullptr;
}

ImageNode* ImageCache::Add(const char* name) {
  ImageNode* node = static_cast<ImageNode*>(std::calloc(1, sizeof(ImageNode)));
  const size_t length = std::strlen(name);
  char* copy = static_cast<char*>(std::malloc(length + 1));
  if (!node || !copy) {
    std::free(node);
    std::free(copy);
    return nullptr;
  }
  std::memcpy(copy, name, length + 1);
  node->name = copy;
  node->next = head;
  head = node;
  return node;
}
