#pragma once
// Stand photographs: JPEG files decoded into a plain RGB buffer. A damaged file is reported, never
// allowed to end the program.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/problem.h"

namespace tolvek {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // rows top to bottom, 3 bytes (R, G, B) a pixel
};

struct JpegDecodeResult {
  Outcome outcome = Problem{"not decoded", ""};  // the decoder's reason (its own words) when refused
  bool progressive = false;
};

// A photograph's file takes at most this much; the largest picture the decoder takes (16 megapixels)
// fits well below it at any ordinary quality.
inline constexpr std::size_t kMaxJpegFileBytes = 16u * 1024u * 1024u;

// Decodes baseline and progressive files in one output pass. A progressive file of more than 100
// scans, a picture of more than 16 megapixels and a damaged file are refused with the reason.
JpegDecodeResult DecodeJpeg(std::string_view bytes, RgbImage& image);
JpegDecodeResult LoadJpegFile(const std::string& path, RgbImage& image);

}  // namespace tolvek
