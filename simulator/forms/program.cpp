#include "simulator/forms/program.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMainWindow>

#include "common/qt/qt_services.h"
#include "simulator/state.h"

namespace tolvek {

int ProgramStart(int argc, char** argv) {
  QApplication app(argc, argv);
  QtServices qt;
  SimulatorState state(qt.services);
  state.folders = ProgramFoldersFor(S(QCoreApplication::applicationDirPath()));
  QMainWindow w;
  w.setWindowTitle("Tolvek");
  w.show();
  return app.exec();
}

}  // namespace tolvek
