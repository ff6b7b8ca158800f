#include "common/qt/qt_services.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileInfo>
#include <QFont>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#include <cstdlib>

#include "common/format.h"
#include "common/qt/vector_state.h"

namespace tolvek {

std::uint32_t QtClock::SeedFromTime() {
  return static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch() & 0xFFFFFFFFu);
}

void QtEventPump::Pump(unsigned maxWaitMs) {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (maxWaitMs > 0) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(maxWaitMs), &loop, &QEventLoop::quit);
    loop.exec();
  }
  ClearUpperVectorState();
}

static QMessageBox::StandardButtons ToQt(PlatformButtons b) {
  switch (b) {
    case PlatformButtons::Ok:
      return QMessageBox::Ok;
    case PlatformButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case PlatformButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PlatformButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case PlatformButtons::Yes:
      return QMessageBox::Yes;
  }
  return QMessageBox::Ok;
}

static QMessageBox::Icon ToQt(PlatformIcon i) {
  switch (i) {
    case PlatformIcon::None:
      return QMessageBox::NoIcon;
    case PlatformIcon::Information:
      return QMessageBox::Information;
    case PlatformIcon::Warning:
      return QMessageBox::Warning;
    case PlatformIcon::Error:
      return QMessageBox::Critical;
    case PlatformIcon::Question:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

int QtMessages::PlatformBox(const std::string& text, const std::string& title, PlatformButtons buttons,
                            PlatformIcon icon) {
  // As in the program's own box, "#" in a message stands for a line break.
  QMessageBox box(ToQt(icon), Q(title), Q(HashMarksToLineBreaks(text)), ToQt(buttons), QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  int r = box.exec();
  switch (r) {
    case QMessageBox::Yes:
      return kResultYes;
    case QMessageBox::No:
      return kResultNo;
    case QMessageBox::Cancel:
      return kResultCancel;
    case QMessageBox::Ok:
      return kResultOk;
    default:
      // Closed without a button: the most cautious answer the box offers.
      if (buttons == PlatformButtons::YesNoCancel || buttons == PlatformButtons::OkCancel) return kResultCancel;
      if (buttons == PlatformButtons::YesNo) return kResultNo;
      if (buttons == PlatformButtons::Yes) return kResultYes;
      return kResultOk;
  }
}

int QtMessages::PlatformTableBox(const std::string& text, int left, int top) {
  QMessageBox box(QMessageBox::NoIcon, "", Q(text), QMessageBox::Ok, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  QFont mono("DejaVu Sans Mono");
  mono.setStyleHint(QFont::Monospace);
  mono.setPointSize(9);
  box.setFont(mono);
  box.move(left, top);
  box.exec();
  return kResultOk;
}

int QtMessages::ShowMessageBox(const std::string& text, MessageKind kind, MessageButtons buttons) {
  const std::string t = HashMarksToLineBreaks(text);
  PlatformIcon icon = kind == MessageKind::Warning    ? PlatformIcon::Warning
                      : kind == MessageKind::Info     ? PlatformIcon::Information
                      : kind == MessageKind::Question ? PlatformIcon::Question
                                                      : PlatformIcon::None;
  return PlatformBox(t, "Message", buttons == MessageButtons::YesNo ? PlatformButtons::YesNo : PlatformButtons::Ok,
                     icon);
}

int QtMessages::AskYesNoAt(const std::string& text, MessageKind kind, int, int) {
  return ShowMessageBox(text, kind, MessageButtons::YesNo);
}

void QtExit::Quit(int code) { QCoreApplication::exit(code); }

void QtExit::Terminate(int code) {
  std::fflush(nullptr);
  std::exit(code);
}

void QtBeeper::Beep(int, int) { QApplication::beep(); }

bool QtDocuments::Open(const std::string& path) {
  if (!QFileInfo::exists(Q(path))) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(Q(path)));
}

bool QtLauncher::Start(const std::string& program, const std::string& parameter) {
  QStringList args;
  if (!parameter.empty()) args << Q(parameter);
  return QProcess::startDetached(Q(program), args);
}

}  // namespace tolvek
