#pragma once
// Qt implementations of the platform services.
#include <QElapsedTimer>
#include <QString>

#include "common/platform.h"

namespace tolvek {

inline QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string S(const QString& s) { return s.toUtf8().toStdString(); }

class QtClock : public Clock {
 public:
  QtClock() { timer_.start(); }
  std::uint64_t TickMs() override { return static_cast<std::uint64_t>(timer_.elapsed()); }
  std::uint32_t SeedFromTime() override;

 private:
  QElapsedTimer timer_;
};

// Handles pending events; when asked to wait, runs a nested event loop that a timer ends, so the
// thread sleeps instead of spinning.
class QtEventPump : public EventPump {
 public:
  void Pump(unsigned maxWaitMs) override;
};

// The platform's message boxes. The own message box is supplied by the program (the simulator's
// message window); without one, a plain platform box stands in.
class QtMessages : public MessageService {
 public:
  int ShowMessageBox(const std::string& text, MessageKind kind, MessageButtons buttons) override;
  int AskYesNoAt(const std::string& text, MessageKind kind, int left, int top) override;
  int PlatformBox(const std::string& text, const std::string& title, PlatformButtons buttons,
                  PlatformIcon icon) override;
  int PlatformTableBox(const std::string& text, int left, int top) override;
};

class QtExit : public ProgramExit {
 public:
  void Quit(int code) override;
  void Terminate(int code) override;
};

class QtBeeper : public Beeper {
 public:
  void Beep(int frequencyHz, int durationMs) override;
};

class QtDocuments : public DocumentOpener {
 public:
  bool Open(const std::string& path) override;
};

class QtLauncher : public ProcessLauncher {
 public:
  bool Start(const std::string& program, const std::string& parameter) override;
};

// All Qt services in one place; services() hands them out as the core's bundle.
struct QtServices {
  QtClock clock;
  QtEventPump pump;
  QtMessages messages;
  QtExit exit;
  QtBeeper beeper;
  QtDocuments documents;
  QtLauncher launcher;
  Services services{&clock, &pump, &messages, &exit, &beeper, &documents, &launcher};
};

}  // namespace tolvek
