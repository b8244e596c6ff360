#include "app/startup/image_encoders.h"

#include "charts/jpeg/jpeg_codec.h"
#include "charts/png/png_codec.h"
#include "view/images/image_file.h"

namespace {

bool EncodePngImage(const uint8_t* packedDib, double gamma, uint8_t** bytesOut, size_t* countOut, uint8_t* error) {
  return EncodePng(reinterpret_cast<const BitmapInfoHeader*>(packedDib), bytesOut, countOut, gamma, error);
}

bool EncodeJpegImage(const uint8_t* packedDib, double quality, uint8_t** bytesOut, size_t* countOut, uint8_t* error) {
  return EncodeJpeg(reinterpret_cast<const BitmapInfoHeader*>(packedDib), bytesOut, countOut, static_cast<int>(quality),
                    error);
}

const ImageEncoders kEncoders = {EncodePngImage, EncodeJpegImage};

}  // namespace

void InstallImageEncoders() { SetImageEncoders(&kEncoders); }
