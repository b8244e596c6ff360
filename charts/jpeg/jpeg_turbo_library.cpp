// The JPEG library built into the program, on libjpeg-turbo. Each entry
// point sets its jump buffer before its first libjpeg call and destroys
// what libjpeg made on every way out; the functions that call setjmp hold
// nothing that needs a destructor.

#include <cstdint>
#include <cstring>

#include "charts/jpeg/jpeg_library.h"
#include "charts/jpeg/jpeg_turbo_io.h"

namespace {

#define TALVERO_TEXT(x) #x
#define TALVERO_VERSION_TEXT(x) TALVERO_TEXT(x)

struct DecodeJob {
  jpeg_decompress_struct info;
  JpegErrorTrap trap;
};

struct EncodeJob {
  jpeg_compress_struct info;
  JpegErrorTrap trap;
  JpegGrowingDestination destination;
};

uint32_t ColourOfChannels(int channels) {
  switch (channels) {
    case 1:
      return kJpegColourGrey;
    case 3:
      return kJpegColourYCbCr;
    case 4:
      return kJpegColourYCbCrAlpha;
    default:
      return kJpegColourOther;
  }
}

void KeepComment(const jpeg_decompress_struct& info, JpegCoreProperties* p) {
  if (!p->comment || p->commentSize == 0)
    return;
  p->comment[0] = '\0';
  for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
    if (marker->marker != JPEG_COM)
      continue;
    const uint32_t length = marker->data_length < p->commentSize - 1 ? marker->data_length : p->commentSize - 1;
    std::memcpy(p->comment, marker->data, length);
    p->comment[length] = '\0';
    return;
  }
}

uint32_t RowCount(int32_t height) { return height < 0 ? 0u - static_cast<uint32_t>(height) : uint32_t(height); }

// Row `line` of the picture (from its top) in the bitmap's storage order.
uint8_t* RowOf(const JpegCoreProperties* p, uint32_t line, size_t stride) {
  const uint32_t stored = p->dibHeight > 0 ? line : RowCount(p->dibHeight) - 1 - line;
  return p->dibBytes + stride * stored;
}

uint8_t Clamp(int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

// Luminance and colour differences to red, green, blue in 16-bit fixed point,
// as libjpeg converts them.
void YccToRgb(uint8_t* pixel) {
  const int y = pixel[0];
  const int cb = pixel[1] - 128;
  const int cr = pixel[2] - 128;
  pixel[0] = Clamp(y + ((91881 * cr + 32768) >> 16));
  pixel[1] = Clamp(y - ((22554 * cb + 46802 * cr - 32768) >> 16));
  pixel[2] = Clamp(y + ((116130 * cb + 32768) >> 16));
}

// The output colour space for the bitmap the caller asks for; false when
// the JPEG cannot give it.
bool ChooseOutput(jpeg_decompress_struct& info, const JpegCoreProperties* p) {
  if (p->dibChannels == 3 && p->dibColour == kJpegColourBgr &&
      (info.num_components == 1 || info.num_components == 3)) {
    info.out_color_space = JCS_EXT_BGR;
    return true;
  }
  if (p->dibChannels == 4 && p->dibColour == kJpegColourRgba && info.num_components == 4) {
    info.out_color_space = info.jpeg_color_space;
    return true;
  }
  return false;
}

int ReadParameters(JpegCoreProperties* p) {
  DecodeJob job;
  job.info.err = InitJpegErrorTrap(job.trap);
  if (setjmp(job.trap.jump)) {
    jpeg_destroy_decompress(&job.info);
    return 1;
  }
  jpeg_create_decompress(&job.info);
  jpeg_mem_src(&job.info, p->jpgBytes, p->jpgSizeBytes);
  jpeg_save_markers(&job.info, JPEG_COM, 0xFFFF);
  if (jpeg_read_header(&job.info, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&job.info);
    return 1;
  }
  p->jpgWidth = job.info.image_width;
  p->jpgHeight = job.info.image_height;
  p->jpgChannels = static_cast<uint32_t>(job.info.num_components);
  p->jpgColour = ColourOfChannels(job.info.num_components);
  KeepComment(job.info, p);
  jpeg_destroy_decompress(&job.info);
  return 0;
}

int ReadImage(JpegCoreProperties* p) {
  DecodeJob job;
  job.info.err = InitJpegErrorTrap(job.trap);
  if (setjmp(job.trap.jump)) {
    jpeg_destroy_decompress(&job.info);
    return 1;
  }
  jpeg_create_decompress(&job.info);
  jpeg_mem_src(&job.info, p->jpgBytes, p->jpgSizeBytes);
  const uint32_t height = RowCount(p->dibHeight);
  if (!p->dibBytes || jpeg_read_header(&job.info, TRUE) != JPEG_HEADER_OK || !ChooseOutput(job.info, p) ||
      job.info.image_width != p->dibWidth || job.info.image_height != height) {
    jpeg_destroy_decompress(&job.info);
    return 1;
  }
  const bool ycc = job.info.out_color_space == JCS_YCCK;
  jpeg_start_decompress(&job.info);
  const size_t rowBytes = size_t{p->dibWidth} * p->dibChannels;
  const size_t stride = rowBytes + p->dibPadBytes;
  while (job.info.output_scanline < height) {
    uint8_t* row = RowOf(p, job.info.output_scanline, stride);
    JSAMPROW rows[1] = {row};
    jpeg_read_scanlines(&job.info, rows, 1);
    if (ycc)
      for (size_t x = 0; x < rowBytes; x += 4) YccToRgb(row + x);
  }
  jpeg_finish_decompress(&job.info);
  jpeg_destroy_decompress(&job.info);
  return 0;
}

int WriteImage(JpegCoreProperties* p) {
  EncodeJob job;
  job.info.err = InitJpegErrorTrap(job.trap);
  if (setjmp(job.trap.jump)) {
    jpeg_destroy_compress(&job.info);
    return 1;
  }
  jpeg_create_compress(&job.info);
  const uint32_t height = RowCount(p->dibHeight);
  if (!p->dibBytes || p->dibChannels != 3 || p->dibColour != kJpegColourBgr || p->jpgChannels != 3 ||
      p->jpgWidth != p->dibWidth || p->jpgHeight != height || p->dibWidth == 0 || height == 0) {
    jpeg_destroy_compress(&job.info);
    return 1;
  }
  UseGrowingDestination(job.info, job.destination, p);
  job.info.image_width = p->jpgWidth;
  job.info.image_height = p->jpgHeight;
  job.info.input_components = 3;
  job.info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&job.info);
  jpeg_set_quality(&job.info, static_cast<int>(p->quality < 1 ? 1 : p->quality > 100 ? 100 : p->quality), TRUE);
  const int sampling = p->jpgSubsampling == kJpegSubsampling411 ? 2 : 1;
  job.info.comp_info[0].h_samp_factor = sampling;
  job.info.comp_info[0].v_samp_factor = sampling;
  jpeg_start_compress(&job.info, TRUE);
  const size_t stride = size_t{p->dibWidth} * 3 + p->dibPadBytes;
  while (job.info.next_scanline < height) {
    JSAMPROW rows[1] = {RowOf(p, job.info.next_scanline, stride)};
    jpeg_write_scanlines(&job.info, rows, 1);
  }
  jpeg_finish_compress(&job.info);
  jpeg_destroy_compress(&job.info);
  return 0;
}

int Init(JpegCoreProperties* p) { return p ? 0 : 1; }

int Free(JpegCoreProperties* p) { return p ? 0 : 1; }

int Read(JpegCoreProperties* p, uint32_t mode) {
  if (!p || !p->jpgBytes || p->jpgFile)
    return 1;
  if (mode == kJpegReadParameters)
    return ReadParameters(p);
  if (mode == kJpegReadImage)
    return ReadImage(p);
  return 1;
}

int Write(JpegCoreProperties* p, uint32_t mode) {
  if (!p || p->jpgFile || mode != kJpegWriteImage)
    return 1;
  return WriteImage(p);
}

const char* Version() { return "libjpeg-turbo " TALVERO_VERSION_TEXT(LIBJPEG_TURBO_VERSION); }

const JpegEntryPoints kLibrary = {Init, Free, Read, Write, Version};

}  // namespace

const JpegEntryPoints& BuiltInJpegLibrary() { return kLibrary; }
