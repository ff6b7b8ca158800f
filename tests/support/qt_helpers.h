#pragma once
// Small aids shared by the window tests: answering modal windows from the event loop and keeping
// pictures of what a test saw.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QtTest>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "common/paths.h"
#include "simulator/forms/program.h"
#include "simulator/state.h"
#include "tests/support/fakes.h"
#include "tests/support/qt_modal.h"

namespace tolvek::testing {

// The simulator's windows built on a fresh copy of the shipped program folder, with fake services.
struct ShippedProgram {
  ShippedProgram() : state(fs.services) {
    // Work takes time: a run's loops handle events every 20 ms, here at every look at the clock.
    fs.clock.msPerRead = 20;
    CopyShippedData(dir);
    state.folders = ProgramFoldersFromFolder(dir.path());
    program = std::make_unique<SimulatorProgram>(state, false);
  }
  TForm1& form1() { return *program->forms.form1; }
  Forms& forms() { return program->forms; }
  // The catalogue entry of a stand number ("22"), 0 for none (the catalogue is read as its window opens).
  int EntryOf(const std::string& number) const {
    for (int k = 1; k <= state.standCatalogue.Count(); ++k)
      if (state.standCatalogue.entries[static_cast<std::size_t>(k - 1)].number == number) return k;
    return 0;
  }

  TempDir dir;
  FakeServices fs;
  SimulatorState state;
  std::unique_ptr<SimulatorProgram> program;
};

// The main of a window test that wants a screen of its own size: Qt's offscreen platform with one screen
// of width × height pixels, unless QT_QPA_PLATFORM names xcb (a run under Xvfb takes the real screen).
template <class Test>
int RunOnScreen(int width, int height, int argc, char** argv) {
  const QString config =
      QDir::temp().filePath(QString("tolvek_screen_%1_%2.json").arg(width).arg(QCoreApplication::applicationPid()));
  if (qgetenv("QT_QPA_PLATFORM") != "xcb") {
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return 2;
    file.write(QString(R"({"screens":[{"name":"qa","x":0,"y":0,"width":%1,"height":%2,)"
                       R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})")
                   .arg(width)
                   .arg(height)
                   .toUtf8());
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
  }
  int result = 0;
  {
    QApplication app(argc, argv);
    Test test;
    result = QTest::qExec(&test, argc, argv);
  }
  QFile::remove(config);
  return result;
}

}  // namespace tolvek::testing
