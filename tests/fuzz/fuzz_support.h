#pragma once
// What the fuzz targets share: the input as bytes, a check that turns a broken promise of a reader into
// a crash that libFuzzer reports with its input, and a scratch folder for readers that take a path.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tolvek::fuzz {

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// An input that carries two files: what comes before the first separator, and what follows it (empty
// when there is no separator).
struct TwoFiles {
  std::string_view first;
  std::string_view second;
  bool separated = false;
};
inline TwoFiles SplitAt(std::string_view input, std::string_view separator) {
  const std::size_t cut = input.find(separator);
  if (cut == std::string_view::npos) return {input, {}, false};
  return {input.substr(0, cut), input.substr(cut + separator.size()), true};
}

// A checksum of the input, for choices (which stand, which enterprise) that mutations should wander through.
inline unsigned Checksum(std::string_view input) {
  unsigned sum = 0;
  for (unsigned char c : input) sum = sum * 31u + c;
  return sum;
}

// A reader's promise that the input broke: libFuzzer keeps the input as a crash.
inline void Check(bool holds, const char* promise) {
  if (holds) return;
  std::fprintf(stderr, "broken promise: %s\n", promise);
  std::abort();
}

// A folder of its own below /dev/shm (or the system's temp folder), removed when the run ends.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  const std::string& path() const { return path_; }  // ends with "/"
  // Writes bytes to path() + name (creating its folder); the name may hold one subfolder.
  void Write(const std::string& name, std::string_view bytes) const;

 private:
  std::string path_;
};

}  // namespace tolvek::fuzz
