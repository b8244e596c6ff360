#ifndef TALVERO_CHARTS_IMAGES_IMAGE_KINDS_H
#define TALVERO_CHARTS_IMAGES_IMAGE_KINDS_H

// What an image name says about its file: the codec by its extension, and
// where it lies by its prefix.

enum ImageType : int {
  kImageTypeOther = 0,
  kImageTypeBmp = 1,
  kImageTypeJpeg = 2,
  kImageTypePng = 3,
};

enum LinkKind : int {
  kLinkPlain = 0,  // a file name, also after "file://"
  kLinkWeb = 1,    // "http://" or "www."
  kLinkFtp = 2,    // "ftp://"
  kLinkInline = 3, // "inline://"
};

// By the text after the last "." compared without regard to case over the
// length of "BMP", "JPG", "JPEG" or "PNG" only (so "a.jpgx" is JPEG).
ImageType ImageTypeFromExtension(const char* name);

// By the name's prefix, compared without regard to case.
LinkKind LinkKindFromPrefix(const char* name);

// The file-system path of a plain name: after a "file://" prefix (and the
// slash of "file:///C:/..." before a drive letter), else the name itself.
const char* PathOfPlainName(const char* name);

#endif
