#ifndef TALVERO_CHARTS_IMAGES_IMAGE_CACHE_LOADING_H
#define TALVERO_CHARTS_IMAGES_IMAGE_CACHE_LOADING_H

// Reading and decoding the pictures of a document's image cache
// (core/model/image_cache.h): each name is read from its file and decoded
// by its extension (BMP, JPEG or PNG) once; a name that failed keeps its
// node without picture and is not tried again until the cache is cleared.
// Failures leave their code in the cache (image_errors.h).

#include "core/model/image_cache.h"

// The node of the name (letter case aside), made, read and decoded on the
// first request and returned as it is at later ones, with or without a
// picture; null (error 1) only when no node can be had.
ImageNode* GetImage(ImageCache& cache, const char* name);

// Reads the node's file into it: true when its bytes are there. A web, FTP
// or inline link fails with 3, a file that cannot be opened with 34, bytes
// that cannot be had with 1, a short read with 38.
bool ReadImageFile(ImageCache& cache, ImageNode& node);

// Decodes the node's bytes into its picture: true when the picture is
// there; false without a new code when there are no bytes. An extension
// other than BMP, JPG, JPEG or PNG fails with 6, a codec with its own code.
// The bytes stay either way.
bool DecodeImage(ImageCache& cache, ImageNode& node);

#endif
