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
