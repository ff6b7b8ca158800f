#pragma once
// Stand photographs: JPEG files decoded into a plain RGB buffer. A damaged file is reported, never
// allowed to end the program.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tolvek {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // rows top to bottom, 3 bytes (R, G, B) a pixel
};

struct JpegDecodeResult {
  bool ok = false;
  bool progressive = false;
  std::string error;  // the decoder's reason when !ok
};

// Decodes baseline and progressive files; progressive ones are decoded scan by scan through the
// buffered-image mode and the final output pass is kept.
JpegDecodeResult DecodeJpeg(std::string_view bytes, RgbImage& image);
JpegDecodeResult LoadJpegFile(const std::string& path, RgbImage& image);

}  // namespace tolvek
