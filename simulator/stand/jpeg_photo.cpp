#include "simulator/stand/jpeg_photo.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

#include "common/paths.h"

namespace tolvek {
namespace {

// libjpeg's own error handler ends the process; this one jumps back to the decoder instead, so a
// damaged photograph is reported and the program goes on.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  int warnings;
  bool damaged;
};

// Ordinary encoders write about ten scans; every scan costs a pass over all blocks of its components,
// and a file of a few kilobytes can claim thousands of nearly empty scans of a 4096 x 4096 picture. With
// this cap no photograph takes more than a small fraction of a second.
constexpr int kMaxScans = 100;
constexpr const char* kTooManyScans = "progressive picture with more than 100 scans";

// The scans a stream holds, counted from its markers without decoding, up to one above `limit`. A
// bomb is thereby refused before the decoder takes the memory of the whole picture: that alone costs
// more than the cap's scans on a loaded machine. Marker segments are skipped by their length, so a
// thumbnail inside one is not counted; in entropy-coded data 0xFF is followed by 0x00 or a restart
// marker, which are stepped over.
int CountScans(const unsigned char* p, unsigned long n, int limit) {
  int scans = 0;
  unsigned long i = 2;  // after the start marker
  while (i + 1 < n) {
    if (p[i] != 0xFF) {
      ++i;
      continue;
    }
    const unsigned char m = p[i + 1];
    if (m == 0xFF) {
      ++i;  // fill byte
      continue;
    }
    if (m == 0xD9) break;  // end of image
    if (m == 0x00 || m == 0x01 || m == 0xD8 || (m >= 0xD0 && m <= 0xD7)) {
      i += 2;  // stuffed byte or a marker without a segment
      continue;
    }
    if (m == 0xDA && ++scans > limit) break;
    if (i + 3 >= n) break;
    i += 2 + ((static_cast<unsigned long>(p[i + 2]) << 8) | p[i + 3]);
  }
  return scans;
}

// Called by the decoder as it reads the scans: a file beyond the cap is given up at once, through the
// same jump as a decoder error.
void OnProgress(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number <= kMaxScans) return;
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  std::snprintf(err->message, sizeof err->message, "%s", kTooManyScans);
  std::longjmp(err->jump, 1);
}

void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace output
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  // The memory source ends a short file with a made-up end marker, and damaged entropy data is skipped
  // with a warning: either way the picture is incomplete. Other warnings (stray bytes between markers)
  // leave a sound picture.
  const int code = cinfo->err->msg_code;
  const bool damage =
      code == JWRN_JPEG_EOF || code == JWRN_HUFF_BAD_CODE || code == JWRN_HIT_MARKER || code == JWRN_MUST_RESYNC;
  if (err->warnings++ == 0 || damage) (*cinfo->err->format_message)(cinfo, err->message);
  // An incomplete picture is refused whatever follows, so the decoder stops here: left to go on it would
  // make up every missing block of a picture that may claim sixteen million pixels.
  if (damage) {
    err->damaged = true;
    std::longjmp(err->jump, 1);
  }
}

// A damaged header can claim any size; refuse pictures no stand photograph comes near.
constexpr unsigned long kMaxPixels = 16ul * 1024ul * 1024ul;

void ReadScanlines(jpeg_decompress_struct& cinfo, RgbImage& image) {
  const std::size_t stride = static_cast<std::size_t>(image.width) * 3;
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = image.pixels.data() + stride * cinfo.output_scanline;
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) break;
  }
}

// Everything between setjmp and a possible longjmp is plain C state, so the jump skips no destructor.
// Returns 0 on success, 1 on a libjpeg error (or too many scans), 2 for a size out of range.
int Decode(const unsigned char* data, unsigned long size, ErrorManager& err, RgbImage& image, bool& progressive) {
  jpeg_decompress_struct cinfo;
  jpeg_progress_mgr progress{};
  progress.progress_monitor = OnProgress;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnMessage;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return 1;
  }
  jpeg_create_decompress(&cinfo);
  cinfo.progress = &progress;
  jpeg_mem_src(&cinfo, const_cast<unsigned char*>(data), size);
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  progressive = jpeg_has_multiple_scans(&cinfo) != 0;
  jpeg_calc_output_dimensions(&cinfo);
  if (cinfo.output_width == 0 || cinfo.output_height == 0 || cinfo.output_components != 3 ||
      static_cast<unsigned long>(cinfo.output_width) * cinfo.output_height > kMaxPixels) {
    jpeg_destroy_decompress(&cinfo);
    return 2;
  }
  if (progressive && CountScans(data, size, kMaxScans) > kMaxScans) {
    std::snprintf(err.message, sizeof err.message, "%s", kTooManyScans);
    jpeg_destroy_decompress(&cinfo);
    return 1;
  }
  // A progressive file's scans are all taken in first (the progress hook counts them) and the picture is
  // put out once: one output pass, however many scans. The picture's memory is taken only then.
  jpeg_start_decompress(&cinfo);
  image.width = static_cast<int>(cinfo.output_width);
  image.height = static_cast<int>(cinfo.output_height);
  image.pixels.assign(static_cast<std::size_t>(image.width) * image.height * 3, 0);
  ReadScanlines(cinfo, image);
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return 0;
}

}  // namespace

JpegDecodeResult DecodeJpeg(std::string_view bytes, RgbImage& image) {
  JpegDecodeResult result;
  if (bytes.empty()) {
    result.outcome = Problem{"empty file", ""};
    return result;
  }
  ErrorManager err{};
  RgbImage decoded;
  bool progressive = false;
  int rc = Decode(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()),
                  err, decoded, progressive);
  result.progressive = progressive;
  if (rc == 1) {
    result.outcome = Problem{err.message, ""};
    return result;
  }
  if (rc == 2) {
    result.outcome = Problem{"picture size out of range", ""};
    return result;
  }
  if (err.damaged) {
    result.outcome = Problem{err.message, ""};
    return result;
  }
  image = std::move(decoded);
  result.outcome = {};
  return result;
}

JpegDecodeResult LoadJpegFile(const std::string& path, RgbImage& image) {
  std::string bytes;
  JpegDecodeResult r;
  switch (ReadFileUpTo(path, kMaxJpegFileBytes, bytes)) {
    case FileRead::kOk: return DecodeJpeg(bytes, image);
    case FileRead::kTooLarge:
      r.outcome = Problem{"file larger than 16 MB", ""};
      break;
    case FileRead::kCannotRead:
      r.outcome = Problem{"cannot read " + path, ""};
      break;
  }
  return r;
}

}  // namespace tolvek
