#include "tests/support/fakes.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "common/paths.h"

namespace fs = std::filesystem;

namespace tolvek::testing {

int FakeMessages::ShowMessageBox(const std::string& text, int kind, int buttons) {
  shown.push_back({text, kind, buttons, -1, -1, false, {}});
  if (onShow) onShow(shown.back());
  if (!answers.empty()) {
    int a = answers.front();
    answers.pop_front();
    return a;
  }
  return (buttons & kButtonsYesNo) && !(buttons & kButtonsOk) ? kResultNo : kResultOk;
}

int FakeMessages::AskYesNoAt(const std::string& text, int kind, int left, int top) {
  shown.push_back({text, kind, kButtonsYesNo, left, top, false, {}});
  if (onShow) onShow(shown.back());
  if (!answers.empty()) {
    int a = answers.front();
    answers.pop_front();
    return a;
  }
  return kResultNo;
}

int FakeMessages::PlatformBox(const std::string& text, const std::string& title, PlatformButtons buttons,
                              PlatformIcon) {
  shown.push_back({text, 0, static_cast<int>(buttons), -1, -1, true, title});
  if (onShow) onShow(shown.back());
  if (!answers.empty()) {
    int a = answers.front();
    answers.pop_front();
    return a;
  }
  return buttons == PlatformButtons::Yes ? kResultYes : kResultOk;
}

bool FakeMessages::Saw(const std::string& fragment) const {
  for (const auto& m : shown)
    if (m.text.find(fragment) != std::string::npos) return true;
  return false;
}

TempDir::TempDir() {
  std::string templ = (fs::temp_directory_path() / "tolvek-test-XXXXXX").string();
  char* p = ::mkdtemp(templ.data());
  path_ = std::string(p ? p : templ.c_str()) + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void TempDir::Write(const std::string& name, const std::string& bytes) const {
  fs::path p = fs::path(path_) / name;
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

std::string SourceDataDir() {
  if (const char* d = std::getenv("TOLVEK_DATA_DIR")) return std::string(d) + "/";
#ifdef TOLVEK_SOURCE_DATA_DIR
  return TOLVEK_SOURCE_DATA_DIR "/";
#else
  return "data/";
#endif
}

void CopyShippedData(const TempDir& dir) {
  fs::copy(SourceDataDir(), dir.path(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

std::string BadFile(const std::string& name) { return std::string(TOLVEK_BAD_FILES_DIR "/") + name; }

std::string BadFileBytes(const std::string& name) {
  std::string bytes;
  if (!ReadWholeFile(BadFile(name), bytes)) ADD_FAILURE() << "missing test file " << BadFile(name);
  return bytes;
}

}  // namespace tolvek::testing
