#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "charts/images/image_cache_loading.h"
#include "charts/images/image_errors.h"
#include "charts/images/image_kinds.h"
#include "charts/jpeg/jpeg_codec.h"
#include "charts/png/png_codec.h"
#include "tests/charts/png/sample_picture.h"

namespace {

namespace fs = std::filesystem;

// A folder of its own with the sample picture as PNG and JPEG files.
class ImageCacheFiles : public testing::Test {
 protected:
  void SetUp() override {
    folder = fs::absolute("charts_image_cache_files");
    fs::remove_all(folder);
    fs::create_directories(folder);
    SampleDibPtr dib = MakeSampleDib(true);
    uint8_t* bytes = nullptr;
    size_t count = 0;
    uint8_t error = 0;
    ASSERT_TRUE(EncodePng(dib.get(), &bytes, &count, 0.0, &error));
    Write("a.png", bytes, count);
    std::free(bytes);
    ASSERT_TRUE(EncodeJpeg(dib.get(), &bytes, &count, 0, &error));
    Write("photo.jpgx", bytes, count);
    Write("broken.png", bytes, count);  // JPEG bytes under a PNG name
    std::free(bytes);
  }
  void TearDown() override { fs::remove_all(folder); }

  void Write(const char* name, const uint8_t* bytes, size_t count) {
    std::FILE* file = std::fopen(Path(name).c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(bytes, 1, count, file), count);
    std::fclose(file);
  }
  std::string Path(const std::string& name) const { return (folder / name).string(); }

  fs::path folder;
  ImageCache cache;
};

TEST_F(ImageCacheFiles, ANameIsReadOnceWhateverItsLetterCase) {
  ImageNode* first = GetImage(cache, Path("a.png").c_str());
  ASSERT_NE(first, nullptr);
  ASSERT_NE(first->picture, nullptr);
  fs::remove(folder / "a.png");
  std::string upper = Path("A.PNG");
  for (size_t i = 0; i < upper.size() - 5; ++i) upper[i] = static_cast<char>(std::toupper(upper[i]));
  EXPECT_EQ(GetImage(cache, upper.c_str()), first);
  EXPECT_EQ(cache.head, first);
  EXPECT_EQ(first->next, nullptr);
  EXPECT_EQ(cache.error, 0);
}

TEST_F(ImageCacheFiles, AFailedNameStaysFailedUntilTheCacheIsCleared) {
  const std::string late = Path("late.png");
  ImageNode* missing = GetImage(cache, late.c_str());
  ASSERT_NE(missing, nullptr);
  EXPECT_EQ(missing->picture, nullptr);
  EXPECT_EQ(cache.error, kImageCannotOpen);
  fs::copy_file(folder / "a.png", late);
  EXPECT_EQ(GetImage(cache, late.c_str()), missing);
  EXPECT_EQ(missing->picture, nullptr);

  // A later success leaves the code of the last failure.
  EXPECT_NE(GetImage(cache, Path("a.png").c_str())->picture, nullptr);
  EXPECT_EQ(cache.error, kImageCannotOpen);

  // A decode that failed keeps the file's bytes and is not tried again.
  ImageNode* broken = GetImage(cache, Path("broken.png").c_str());
  EXPECT_EQ(cache.error, kImagePngReadError);
  EXPECT_NE(broken->bytes, nullptr);
  EXPECT_FALSE(DecodeImage(cache, *broken));

  cache.Clear();
  EXPECT_EQ(cache.head, nullptr);
  EXPECT_NE(GetImage(cache, late.c_str())->picture, nullptr);
}

TEST_F(ImageCacheFiles, SourcesAndExtensionsDecideBeforeAndAfterReading) {
  struct Case {
    std::string name;
    bool picture;
    uint8_t error;
  } cases[] = {
      {"http://example/a.png", false, kImageUnsupportedSource},
      {"HtTp://example/a.png", false, kImageUnsupportedSource},
      {"www.example.png", false, kImageUnsupportedSource},
      {"ftp://example/a.png", false, kImageUnsupportedSource},
      {"inline://a.png", false, kImageUnsupportedSource},
      {"file://" + Path("a.png"), true, 0},
      {Path("photo.jpgx"), true, 0},  // only the pattern's length is compared
      {Path("a.png") + ".txt", false, kImageCannotOpen},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cache.Clear();
    cache.error = 0;
    ImageNode* node = GetImage(cache, c.name.c_str());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->picture != nullptr, c.picture);
    EXPECT_EQ(cache.error, c.error);
    if (c.error == kImageUnsupportedSource) {
      EXPECT_EQ(node->bytes, nullptr);
    }
  }
  // Read, but of a kind no codec takes.
  fs::copy_file(folder / "a.png", folder / "a.gif");
  cache.error = 0;
  ImageNode* gif = GetImage(cache, Path("a.gif").c_str());
  EXPECT_NE(gif->bytes, nullptr);
  EXPECT_EQ(cache.error, kImageUnsupportedFormat);
}

TEST_F(ImageCacheFiles, ALongNameIsFoundAgain) {
  std::string name = Path("");
  while (name.size() < 300) name += "x";
  name += ".png";
  ImageNode* node = GetImage(cache, name.c_str());
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(std::string(node->name), name);
  EXPECT_EQ(GetImage(cache, name.c_str()), node);
  EXPECT_EQ(node->next, nullptr);
}

TEST(ImageKinds, ExtensionsAndPrefixes) {
  struct Case {
    const char* name;
    ImageType type;
    LinkKind link;
    const char* path;
  } cases[] = {
      {"C:\\pics\\a.BMP", kImageTypeBmp, kLinkPlain, "C:\\pics\\a.BMP"},
      {"a.jpeg", kImageTypeJpeg, kLinkPlain, "a.jpeg"},
      {"photo.pngold", kImageTypePng, kLinkPlain, "photo.pngold"},
      {"a.jp", kImageTypeOther, kLinkPlain, "a.jp"},
      {"noextension", kImageTypeOther, kLinkPlain, "noextension"},
      {"FILE://C:\\a.png", kImageTypePng, kLinkPlain, "C:\\a.png"},
      {"file:///C:/a.png", kImageTypePng, kLinkPlain, "C:/a.png"},
      {"file:///tmp/a.png", kImageTypePng, kLinkPlain, "/tmp/a.png"},
      {"WWW.a.png", kImageTypePng, kLinkWeb, "WWW.a.png"},
      {"ftp://a.png", kImageTypePng, kLinkFtp, "ftp://a.png"},
      {"Inline://a", kImageTypeOther, kLinkInline, "Inline://a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ImageTypeFromExtension(c.name), c.type);
    EXPECT_EQ(LinkKindFromPrefix(c.name), c.link);
    EXPECT_STREQ(PathOfPlainName(c.name), c.path);
  }
}

}  // namespace
