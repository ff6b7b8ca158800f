// The stand photographs: any bytes end in a picture or a reason, within bounded time and memory.
#include "simulator/stand/jpeg_photo.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tolvek;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  RgbImage image;
  const JpegDecodeResult r = DecodeJpeg(fuzz::Bytes(data, size), image);
  if (!r.outcome.ok()) {
    fuzz::Check(!r.outcome.problem().message.empty() && image.pixels.empty(), "a refusal says why and keeps nothing");
    return 0;
  }
  fuzz::Check(image.width > 0 && image.height > 0, "a picture has a size");
  fuzz::Check(image.pixels.size() == static_cast<std::size_t>(image.width) * image.height * 3, "three bytes a pixel");
  return 0;
}
