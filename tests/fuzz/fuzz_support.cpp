#include "tests/fuzz/fuzz_support.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tolvek::fuzz {

ScratchFolder::ScratchFolder() {
  std::error_code ec;
  const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
  std::string templ = (base / "tolvek-fuzz-XXXXXX").string();
  Check(::mkdtemp(templ.data()) != nullptr, "a scratch folder can be made");
  path_ = templ + "/";
}

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void ScratchFolder::Write(const std::string& name, std::string_view bytes) const {
  const fs::path file = fs::path(path_) / name;
  std::error_code ec;
  fs::create_directories(file.parent_path(), ec);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Check(static_cast<bool>(out), "the scratch file can be written");
}

}  // namespace tolvek::fuzz
