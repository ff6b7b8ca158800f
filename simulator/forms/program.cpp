#include "simulator/forms/program.h"

#include <QApplication>
#include <QCoreApplication>
#include <clocale>

#include "common/qt/qt_services.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form18.h"
#include "simulator/forms/form2.h"
#include "simulator/forms/text_viewer.h"
#include "simulator/forms/form15.h"
#include "simulator/forms/form22.h"
#include "simulator/forms/form23.h"
#include "simulator/forms/enterprise_results.h"
#include "simulator/forms/enterprise_windows.h"
#include "simulator/forms/form24.h"
#include "simulator/forms/form30.h"
#include "simulator/forms/form35.h"
#include "simulator/forms/form36.h"
#include "simulator/forms/form43.h"
#include "simulator/forms/form44.h"
#include "simulator/forms/form42.h"
#include "simulator/forms/small_dialogs.h"
#include "simulator/forms/method_dialogs.h"
#include "simulator/forms/structure_windows.h"

namespace tolvek {

SimulatorProgram::SimulatorProgram(SimulatorState& st, bool installOwnMessageBox) : state(st) {
  // The start-up order of the windows; the main window first, its creation sets the program-wide state.
  forms.form1 = Add(new TForm1(state, forms));
  forms.btnRightDlg1 = Add(new TBtnRightDlg1(state, forms, forms.form1));
  forms.btnRightDlg4 = Add(new TBtnRightDlg4(state, forms.form1));
  forms.btnRightDlg5 = Add(new TBtnRightDlg5(state, forms.form1));
  forms.btnRightDlg6 = Add(new TBtnRightDlg6(state, forms, forms.form1));
  forms.btnRightDlg7 = Add(new TBtnRightDlg7(state, forms.form1));
  forms.form2 = Add(new TForm2(state, forms, forms.form1));
  forms.form15 = Add(new TForm15(state, forms, forms.form1));
  forms.btnRightDlg8 = Add(new TBtnRightDlg8());
  forms.form18 = Add(new TForm18(state, forms, forms.form1));
  forms.form22 = Add(new TForm22(state, forms.form1, forms.form1));
  forms.form23 = Add(new TForm23(state, forms, forms.form1));
  forms.form24 = Add(new TForm24(state, forms.form1, forms.form1));
  forms.form25 = Add(new TForm25(state, forms.form1));
  forms.form26 = Add(new TForm26(state, forms.form1));
  forms.form27 = Add(new TForm27(state, forms, forms.form1));
  forms.form29 = Add(new TForm29(state, forms.form1));
  forms.form16 = Add(new TForm16(forms.form1));
  forms.form30 = Add(new TForm30(state, forms, forms.form1));
  forms.form31 = Add(new TForm31(state, forms, forms.form1));
  forms.btnRightDlg3 = Add(new TBtnRightDlg3(state, forms, forms.form1));
  forms.form32 = Add(new TForm32(state));
  forms.form33 = Add(new TForm33(state, forms.form1));
  forms.form34 = Add(new TForm34());
  // The stand information and the preview answer while the catalogue is open modally: its windows.
  forms.form35 = Add(new TForm35(state, forms, forms.form23));
  // The matrix answers while the model-stand list is open modally: a window of the list.
  forms.form36 = Add(new TForm36(state, forms, forms.form30));
  forms.form37 = Add(new TForm37(state, forms));
  forms.form38 = Add(new TForm38(state));
  forms.btnRightDlg40 = Add(new TBtnRightDlg40(state, forms.form1));
  forms.form41 = Add(new TForm41(state, forms));
  forms.form42 = Add(new TForm42(state));
  forms.form43 = Add(new TForm43(state, forms, forms.form1));
  forms.form44 = Add(new TForm44(state, forms, forms.form23));

  if (installOwnMessageBox) {
    previousMessages_ = state.services.messages;
    ownBox_ = std::make_unique<Form42Messages>(*forms.form42, *previousMessages_);
    state.services.messages = ownBox_.get();
  }
}

SimulatorProgram::~SimulatorProgram() {
  if (ownBox_) state.services.messages = previousMessages_;
  while (!owned_.empty()) owned_.pop_back();  // the reverse of the creation order
}

int ProgramStart(int argc, char** argv) {
  QApplication app(argc, argv);
  // Number texts never follow the locale.
  std::setlocale(LC_NUMERIC, "C");
  QtServices qt;
  SimulatorState state(qt.services);
  state.folders = ProgramFoldersFor(S(QCoreApplication::applicationDirPath()));
  SimulatorProgram program(state, true);
  program.forms.form1->show();
  return app.exec();
}

}  // namespace tolvek
