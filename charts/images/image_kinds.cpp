#include "charts/images/image_kinds.h"

#include <cctype>
#include <cstring>

namespace {

// Whether the text begins with the pattern (upper case), letter case aside.
bool StartsWithNoCase(const char* text, const char* pattern) {
  for (; *pattern; ++text, ++pattern)
    if (std::toupper(static_cast<unsigned char>(*text)) != *pattern)
      return false;
  return true;
}

constexpr const char kFilePrefix[] = "FILE://";

}  // namespace

ImageType ImageTypeFromExtension(const char* name) {
  const char* dot = std::strrchr(name, '.');
  if (!dot)
    return kImageTypeOther;
  const char* extension = dot + 1;
  if (StartsWithNoCase(extension, "BMP"))
    return kImageTypeBmp;
  if (StartsWithNoCase(extension, "JPG") || StartsWithNoCase(extension, "JPEG"))
    return kImageTypeJpeg;
  if (StartsWithNoCase(extension, "PNG"))
    return kImageTypePng;
  return kImageTypeOther;
}

LinkKind LinkKindFromPrefix(const char* name) {
  if (StartsWithNoCase(name, "HTTP://") || StartsWithNoCase(name, "WWW."))
    return kLinkWeb;
  if (StartsWithNoCase(name, "FTP://"))
    return kLinkFtp;
  if (StartsWithNoCase(name, "INLINE://"))
    return kLinkInline;
  return kLinkPlain;
}

const char* PathOfPlainName(const char* name) {
  if (!StartsWithNoCase(name, kFilePrefix))
    return name;
  const char* path = name + sizeof kFilePrefix - 1;
  if (path[0] == '/' && std::isalpha(static_cast<unsigned char>(path[1])) && path[2] == ':')
    ++path;
  return path;
}
