#include "simulator/stand/jpeg_photo.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "tests/support/fakes.h"

namespace tolvek {
namespace {

// A test picture: red left half, blue right half, so the decoded colours can be checked. scans > 0 makes
// a progressive file of that many scans: the DC scan, then one scan for each AC coefficient in turn.
std::string Compress(int width, int height, bool progressive, bool gray = false, int scans = 0) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = gray ? 1 : 3;
  cinfo.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  std::vector<jpeg_scan_info> script;
  if (scans > 0) {
    script.push_back({3, {0, 1, 2, 0}, 0, 0, 0, 0});
    for (int k = 0; static_cast<int>(script.size()) < scans; ++k)
      script.push_back({1, {k / 63, 0, 0, 0}, k % 63 + 1, k % 63 + 1, 0, 0});
    cinfo.scan_info = script.data();
    cinfo.num_scans = scans;
  }
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * cinfo.input_components);
  while (cinfo.next_scanline < cinfo.image_height) {
    for (int x = 0; x < width; ++x) {
      if (gray) {
        row[static_cast<std::size_t>(x)] = 128;
        continue;
      }
      bool left = x < width / 2;
      row[static_cast<std::size_t>(x) * 3 + 0] = left ? 230 : 10;
      row[static_cast<std::size_t>(x) * 3 + 1] = 10;
      row[static_cast<std::size_t>(x) * 3 + 2] = left ? 10 : 230;
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::string bytes(reinterpret_cast<char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

void ExpectRedBlue(const RgbImage& img) {
  auto at = [&](int x, int y, int c) { return img.pixels[(static_cast<std::size_t>(y) * img.width + x) * 3 + c]; };
  EXPECT_GT(at(5, 20, 0), 200);
  EXPECT_LT(at(5, 20, 2), 50);
  EXPECT_LT(at(img.width - 5, img.height - 5, 0), 50);
  EXPECT_GT(at(img.width - 5, img.height - 5, 2), 200);
}

TEST(JpegPhoto, BaselineFile) {
  RgbImage img;
  JpegDecodeResult r = DecodeJpeg(Compress(64, 48, false), img);
  ASSERT_TRUE(r.outcome.ok());
  EXPECT_FALSE(r.progressive);
  EXPECT_EQ(img.width, 64);
  EXPECT_EQ(img.height, 48);
  ASSERT_EQ(img.pixels.size(), 64u * 48u * 3u);
  ExpectRedBlue(img);
}

TEST(JpegPhoto, ProgressiveFileIsDecodedToItsLastScan) {
  RgbImage img;
  JpegDecodeResult r = DecodeJpeg(Compress(80, 60, true), img);
  ASSERT_TRUE(r.outcome.ok());
  EXPECT_TRUE(r.progressive);
  EXPECT_EQ(img.width, 80);
  ExpectRedBlue(img);
}

TEST(JpegPhoto, GrayscaleComesOutAsRgb) {
  RgbImage img;
  ASSERT_TRUE(DecodeJpeg(Compress(16, 16, false, true), img).outcome.ok());
  EXPECT_EQ(img.pixels.size(), 16u * 16u * 3u);
  EXPECT_NEAR(img.pixels[0], 128, 3);
  EXPECT_EQ(img.pixels[0], img.pixels[2]);
}

TEST(JpegPhoto, DamagedFilesAreReportedAndTheImageKept) {
  RgbImage img;
  img.width = 7;
  const std::string good = Compress(64, 48, false);
  const std::string progressive = Compress(64, 48, true);
  std::string noSoi = good;
  noSoi[1] = 0x00;
  std::string scrambled = good;  // entropy data overwritten in the middle of the scan
  for (std::size_t i = scrambled.size() / 2; i < scrambled.size() / 2 + 200; ++i) scrambled[i] = '\xFF';
  const std::vector<std::string> bad{good.substr(0, good.size() / 2), progressive.substr(0, progressive.size() / 3),
                                     good.substr(0, 20), noSoi, scrambled, "not a picture", std::string()};
  for (const auto& bytes : bad) {
    JpegDecodeResult r = DecodeJpeg(bytes, img);
    ASSERT_FALSE(r.outcome.ok()) << bytes.size();
    EXPECT_FALSE(r.outcome.problem().message.empty());
  }
  EXPECT_EQ(img.width, 7);
}

TEST(JpegPhoto, ScanBombsAreRefusedAtOnce) {
  // Progressive files of a few kilobytes that claim 4096 x 4096 pixels and hundreds or thousands of
  // nearly empty scans: each scan would cost a pass over sixteen million pixels.
  for (const char* name : {"jpeg_scan_bomb_200.jpg", "jpeg_scan_bomb_4000.jpg"}) {
    RgbImage img;
    img.width = 7;
    const auto start = std::chrono::steady_clock::now();
    JpegDecodeResult r = LoadJpegFile(testing::BadFile(name), img);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500)) << name;
    ASSERT_FALSE(r.outcome.ok()) << name;
    EXPECT_FALSE(r.outcome.problem().message.empty()) << name;
    EXPECT_EQ(img.width, 7);
  }
  // Sound files: a hundred scans are taken, more are not.
  RgbImage img;
  JpegDecodeResult r = DecodeJpeg(Compress(64, 48, true, false, 100), img);
  ASSERT_TRUE(r.outcome.ok());
  ExpectRedBlue(img);
  r = DecodeJpeg(Compress(64, 48, true, false, 101), img);
  ASSERT_FALSE(r.outcome.ok());
  EXPECT_EQ(r.outcome.problem().message, "progressive picture with more than 100 scans");
  // Scans are counted from the markers before decoding: scan markers inside an application segment (as
  // an embedded thumbnail holds them) are none of the picture's.
  std::string payload;
  for (int i = 0; i < 200; ++i) payload += std::string("\xFF\xDA\x00\x02", 4);
  const std::string sound = Compress(64, 48, true, false, 100);
  const std::size_t length = payload.size() + 2;
  const std::string app = std::string("\xFF\xE1", 2) + static_cast<char>(length >> 8) + static_cast<char>(length & 0xFF);
  r = DecodeJpeg(sound.substr(0, 2) + app + payload + sound.substr(2), img);
  ASSERT_TRUE(r.outcome.ok());
  ExpectRedBlue(img);
}

TEST(JpegPhoto, FileLoading) {
  testing::TempDir dir;
  dir.Write("Fotogr07.jpg", Compress(32, 32, true));
  RgbImage img;
  EXPECT_TRUE(LoadJpegFile(dir.File("Fotogr07.jpg"), img).outcome.ok());
  EXPECT_EQ(img.height, 32);
  EXPECT_FALSE(LoadJpegFile(dir.File("Fotogr08.jpg"), img).outcome.ok());
}

}  // namespace
}  // namespace tolvek
