#pragma once
// Fake platform services: simulated time, scripted answers to message boxes, an exit that throws.
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/platform.h"

namespace tolvek::testing {

struct ProgramTerminated : std::runtime_error {
  explicit ProgramTerminated(int c) : std::runtime_error("program terminated"), code(c) {}
  int code;
};

class FakeClock : public Clock {
 public:
  std::uint64_t now = 1000;
  std::uint32_t seed = 12345;
  // The time work takes between two looks at the clock (0: none), so that loops which handle events
  // only every so many milliseconds get to them while they run.
  std::uint64_t msPerRead = 0;
  std::uint64_t TickMs() override {
    const std::uint64_t t = now;
    now += msPerRead;
    return t;
  }
  std::uint32_t SeedFromTime() override { return seed; }
};

// Each pump advances the fake clock by the time it was allowed to wait (at least 1 ms) and runs the
// optional hook, which plays the part of a button clicked while a loop runs.
class FakePump : public EventPump {
 public:
  explicit FakePump(FakeClock& c) : clock(c) {}
  FakeClock& clock;
  int pumps = 0;
  std::function<void(int pumpIndex)> onPump;
  void Pump(unsigned maxWaitMs) override {
    ++pumps;
    if (onPump) onPump(pumps);
    clock.now += maxWaitMs ? maxWaitMs : 1;
  }
};

struct ShownMessage {
  std::string text;
  int kind = 0;
  int buttons = 0;
  int left = -1, top = -1;
  bool platform = false;
  std::string title;
};

class FakeMessages : public MessageService {
 public:
  std::vector<ShownMessage> shown;
  std::deque<int> answers;  // answers handed out in order; when empty: OK (1) or "nein" (7) for questions
  // Called with every message as it is shown, before it is answered.
  std::function<void(const ShownMessage&)> onShow;
  int ShowMessageBox(const std::string& text, int kind, int buttons) override;
  int AskYesNoAt(const std::string& text, int kind, int left, int top) override;
  int PlatformBox(const std::string& text, const std::string& title, PlatformButtons buttons, PlatformIcon icon) override;
  bool Saw(const std::string& fragment) const;
};

class FakeExit : public ProgramExit {
 public:
  int quits = 0;
  void Quit(int) override { ++quits; }
  void Terminate(int code) override { throw ProgramTerminated(code); }
};

class FakeBeeper : public Beeper {
 public:
  int beeps = 0;
  void Beep(int, int) override { ++beeps; }
};

class FakeDocuments : public DocumentOpener {
 public:
  std::vector<std::string> opened;
  bool result = true;
  bool Open(const std::string& path) override {
    opened.push_back(path);
    return result;
  }
};

class FakeLauncher : public ProcessLauncher {
 public:
  std::vector<std::pair<std::string, std::string>> started;
  bool result = true;
  bool Start(const std::string& program, const std::string& parameter) override {
    started.emplace_back(program, parameter);
    return result;
  }
};

struct FakeServices {
  FakeClock clock;
  FakePump pump{clock};
  FakeMessages messages;
  FakeExit exit;
  FakeBeeper beeper;
  FakeDocuments documents;
  FakeLauncher launcher;
  Services services{&clock, &pump, &messages, &exit, &beeper, &documents, &launcher};
};

// A fresh folder below the system's temp folder, removed at destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }  // ends with "/"
  std::string File(const std::string& name) const { return path_ + name; }
  void Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

// The shipped program folder of the source tree (data/).
std::string SourceDataDir();
// A copy of the shipped program folder in a TempDir, so a test may write in it.
void CopyShippedData(const TempDir& dir);

// A damaged or hostile input file of tests/bad_files/ (the fuzz targets take them as seeds too).
std::string BadFile(const std::string& name);
std::string BadFileBytes(const std::string& name);

}  // namespace tolvek::testing
