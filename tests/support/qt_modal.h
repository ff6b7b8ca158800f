#pragma once
// Answering modal windows from the event loop and keeping pictures of what a test saw; for the window
// tests of every program.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <string>

namespace tolvek::testing {

// Saves a picture of w into $TOLVEK_SCREENSHOT_DIR when that is set.
inline void Snapshot(QWidget* w, const char* name) {
  if (const char* d = std::getenv("TOLVEK_SCREENSHOT_DIR")) w->grab().save(QString("%1/%2.png").arg(d, name));
}

// A picture of the window as the screen shows it, after the pending layout (scroll bars) is done; with
// wholeScreen under a real screen (Xvfb) the whole screen, so windows over windows show.
inline void Shot(QWidget* w, const std::string& name, bool wholeScreen = false) {
  QCoreApplication::processEvents();
  const char* dir = std::getenv("TOLVEK_SCREENSHOT_DIR");
  if (dir && wholeScreen && QGuiApplication::platformName() == "xcb" && QGuiApplication::primaryScreen()) {
    QGuiApplication::primaryScreen()->grabWindow(0).save(QString("%1/%2.png").arg(dir, name.c_str()));
    return;
  }
  Snapshot(w, name.c_str());
}

// Runs step as soon as w is the modal window on top (and ready(), when given, says so).
inline void WhenModal(QWidget* w, std::function<void()> step, std::function<bool()> ready = {}) {
  QTimer::singleShot(0, [w, step, ready] {
    if (QApplication::activeModalWidget() != w || (ready && !ready())) {
      WhenModal(w, step, ready);
      return;
    }
    step();
  });
}

}  // namespace tolvek::testing
