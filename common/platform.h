#pragma once
// Platform services the core calls. They are interfaces so that the core stays free of any window
// system: the programs implement them on Qt (common/qt), tests implement them as fakes.
#include <cstdint>
#include <string>

namespace tolvek {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since some fixed start; only differences are used.
  virtual std::uint64_t TickMs() = 0;
  // Seed material for the random generator at start-up.
  virtual std::uint32_t SeedFromTime() = 0;
};

class EventPump {
 public:
  virtual ~EventPump() = default;
  // Handles all pending window events, then sleeps until new events arrive or maxWaitMs passes.
  // With 0 it only handles what is pending. Button handlers run inside this call.
  virtual void Pump(unsigned maxWaitMs) = 0;
};

// Codes returned by message boxes (the same numbers throughout the programs).
enum MessageResult : int { kResultOk = 1, kResultCancel = 2, kResultLeft = 5, kResultYes = 6, kResultNo = 7 };

// Icon kind of the own message box: 0 warning, 2 information, 3 question mark, 4 none with the text moved left.
enum MessageKind : int { kKindWarning = 0, kKindNone = 1, kKindInfo = 2, kKindQuestion = 3, kKindPlainLeft = 4 };
// Button set of the own message box.
enum MessageButtons : int { kButtonsYesNo = 1, kButtonsOk = 4 };

enum class PlatformButtons { Ok, YesNo, YesNoCancel, OkCancel, Yes };
enum class PlatformIcon { None, Information, Warning, Error, Question };

class MessageService {
 public:
  virtual ~MessageService() = default;
  // The program's own modal message box ("#" line breaks, "[left,right]" button spec); returns the code.
  virtual int ShowMessageBox(const std::string& text, int kind, int buttons) = 0;
  // The own message box placed at a screen position with "ja" and "nein": 6 or 7.
  virtual int AskYesNoAt(const std::string& text, int kind, int left, int top) = 0;
  // The platform's standard message box; returns kResultOk/Cancel/Yes/No.
  virtual int PlatformBox(const std::string& text, const std::string& title, PlatformButtons buttons,
                          PlatformIcon icon) = 0;
  // The platform's message dialog (OK) for a text laid out in columns of a fixed-pitch font, placed at a
  // screen position where the platform allows it.
  virtual int PlatformTableBox(const std::string& text, int left, int top) {
    return PlatformBox(text, "", PlatformButtons::Ok, PlatformIcon::None);
  }
};

class ProgramExit {
 public:
  virtual ~ProgramExit() = default;
  // Ends the program after the current handler (the normal end after "Ende").
  virtual void Quit(int code) = 0;
  // Ends the program at once after a fatal report. Implementations must not return
  // (tests' fakes throw).
  virtual void Terminate(int code) = 0;
};

class Beeper {
 public:
  virtual ~Beeper() = default;
  virtual void Beep(int frequencyHz, int durationMs) = 0;
};

class DocumentOpener {
 public:
  virtual ~DocumentOpener() = default;
  // Opens a document with the viewer the system has for it; false when that failed.
  virtual bool Open(const std::string& path) = 0;
};

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Starts a program detached with one parameter string; false when it could not be started.
  virtual bool Start(const std::string& program, const std::string& parameter) = 0;
};

// The bundle handed to everything that needs the platform.
struct Services {
  Clock* clock = nullptr;
  EventPump* pump = nullptr;
  MessageService* messages = nullptr;
  ProgramExit* exit = nullptr;
  Beeper* beeper = nullptr;
  DocumentOpener* documents = nullptr;
  ProcessLauncher* launcher = nullptr;
};

// Never returns: asks the exit service to terminate and aborts should it come back.
[[noreturn]] void TerminateProgram(Services& services, int code);

}  // namespace tolvek
