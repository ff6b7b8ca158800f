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
  if (code == JWRN_JPEG_EOF || code == JWRN_HUFF_BAD_CODE || code == JWRN_HIT_MARKER || code == JWRN_MUST_RESYNC)
    err->damaged = true;
  if (err->warnings++ == 0) (*cinfo->err->format_message)(cinfo, err->message);
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
// Returns 0 on success, 1 on a libjpeg error, 2 for a size out of range.
int Decode(const unsigned char* data, unsigned long size, ErrorManager& err, RgbImage& image, bool& progressive) {
  jpeg_decompress_struct cinfo;
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnMessage;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return 1;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, const_cast<unsigned char*>(data), size);
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  progressive = jpeg_has_multiple_scans(&cinfo) != 0;
  cinfo.buffered_image = progressive ? TRUE : FALSE;
  jpeg_calc_output_dimensions(&cinfo);
  if (cinfo.output_width == 0 || cinfo.output_height == 0 || cinfo.output_components != 3 ||
      static_cast<unsigned long>(cinfo.output_width) * cinfo.output_height > kMaxPixels) {
    jpeg_destroy_decompress(&cinfo);
    return 2;
  }
  image.width = static_cast<int>(cinfo.output_width);
  image.height = static_cast<int>(cinfo.output_height);
  image.pixels.assign(static_cast<std::size_t>(image.width) * image.height * 3, 0);

  jpeg_start_decompress(&cinfo);
  if (progressive) {
    // One output pass per scan that has arrived, at least one, and the last one of the final scan:
    // that pass holds the full picture.
    for (;;) {
      jpeg_start_output(&cinfo, cinfo.input_scan_number);
      ReadScanlines(cinfo, image);
      jpeg_finish_output(&cinfo);
      if (jpeg_input_complete(&cinfo) && cinfo.output_scan_number >= cinfo.input_scan_number) break;
    }
  } else {
    ReadScanlines(cinfo, image);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return 0;
}

}  // namespace

JpegDecodeResult DecodeJpeg(std::string_view bytes, RgbImage& image) {
  JpegDecodeResult result;
  if (bytes.empty()) {
    result.error = "empty file";
    return result;
  }
  ErrorManager err{};
  RgbImage decoded;
  bool progressive = false;
  int rc = Decode(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()),
                  err, decoded, progressive);
  result.progressive = progressive;
  if (rc == 1) {
    result.error = err.message;
    return result;
  }
  if (rc == 2) {
    result.error = "picture size out of range";
    return result;
  }
  if (err.damaged) {
    result.error = err.message;
    return result;
  }
  image = std::move(decoded);
  result.ok = true;
  return result;
}

JpegDecodeResult LoadJpegFile(const std::string& path, RgbImage& image) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    JpegDecodeResult r;
    r.error = "cannot read " + path;
    return r;
  }
  return DecodeJpeg(bytes, image);
}

}  // namespace tolvek
