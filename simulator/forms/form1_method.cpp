// The main window's part in the method choice: "Verfahren", the two method labels and the decision
// hints shown for the chosen method and stand.
#include <QGroupBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "common/qt/qt_services.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/method_dialogs.h"
#include "simulator/sampling/decision_hints.h"
#include "simulator/sampling/selection.h"
#include "simulator/screen_fit.h"
#include "simulator/translate.h"

namespace tolvek {

void TForm1::BuildMethodArea() {
  auto label = [this](const char* name, int top, int height, bool bold) {
    auto* l = new QLabel(PnDaten);
    l->setObjectName(name);
    l->setGeometry(4, top, PnDaten->width() - 8, height);
    l->setWordWrap(false);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont f("Arial");
    f.setPointSize(8);
    f.setBold(bold);
    l->setFont(f);
    l->setStyleSheet("color: #1f3d1f; background: transparent;");
    return l;
  };
  LblVerfahren = label("LblVerfahren", 8, 22, true);
  LblRadius = label("LblRadius", 30, 22, false);
  connect(sBtVerfahren, &QPushButton::clicked, this, &TForm1::sBtVerfahrenClick);
}

void TForm1::SetDataLabel(QLabel* label, const std::string& text) {
  const QString q = Q(text);
  QFont f = label->font();
  const int width = label->contentsRect().width();
  for (int size = 8; size >= 6; --size) {
    f.setPointSize(size);
    if (QFontMetrics(f).horizontalAdvance(q) <= width) break;
  }
  label->setFont(f);
  label->setText(q);
}

void TForm1::ShowMethodLabels() {
  const MethodSettings& m = state.sampling.method;
  // The angle count is named by its short name on the map's side; the stored name stays the long one.
  const std::string name = m.code == kMethodAngleCount ? T("WZP") : m.name;
  SetDataLabel(LblVerfahren, name);
  SetDataLabel(LblRadius, m.parameterLine);
}

void TForm1::MethodLetterChosen(int methodCode) {
  ShowDecisionHints(MethodLetter(methodCode));
  sBtAnmerk->setEnabled(true);
}

void TForm1::ShowDecisionHints(const std::string& letter) {
  const CurrentStand& cs = state.currentStand;
  const std::vector<std::string> lines =
      DecisionHintLines(cs.chosenLine, cs.name, letter, ReadDecisionHintFile(state.folders.presets));
  QStringList text;
  for (const std::string& line : lines) text << Q(line);
  Memo1->setPlainText(text.join('\n'));
  // As tall as its lines, but never beyond the window.
  const int room = std::max(120, height() - Memo1->y() - 8);
  Memo1->resize(Memo1->width(), std::min(DecisionHintMemoHeight(static_cast<int>(lines.size())), room));
  Memo1->setReadOnly(true);
  if (!state.run.enterpriseMode) {
    Memo1->show();
    Memo1->raise();
  }
}

void TForm1::sBtVerfahrenClick() {
  if (GuardBusy()) return;
  TBtnRightDlg1* dialog = forms.btnRightDlg1;
  if (!dialog) return;
  state.run.graphics = true;
  F1BnStatus->setText(Q(T("Grafik aus")));
  // With the graphics on again single steps can be chosen again.
  sBtPausePlus->setEnabled(true);
  DisableResultButtons();
  CloseOperatingHelp();
  ForgetGridUnlessLoaded(state.sampling.grid);
  // A forgotten grid is laid again with "Gitter"; its group has nothing left to edit.
  if (!state.sampling.grid.exists) GroupBox1->hide();
  // Tree-centred weights belong to the method they were computed for: they are forgotten on every new
  // choice, also after a plot-centred run, or a later tree-centred run would read another method's weights.
  ClearTreeCentredWeights(state.currentStand.trees);
  state.sampling.pass.sampleTreeTotal = 0;
  LblBaumZahl->clear();
  ClearRunLabels(!state.sampling.grid.exists);
  if (state.run.enterpriseMode)
    Panel5->hide();
  else if (state.currentStand.loaded)
    DrawTrees();
  sBtNeuesVerfahren->setEnabled(false);
  // The last run's picture belongs to the method now left: it would show under the grid group.
  for (QLabel* picture : {ImgRepeat, ImgRepeatN, ImgRepeatD}) picture->hide();

  if (!dialog->property("placed").toBool()) {
    // Beside the tool bar, its left edge scaled to the screen once.
    dialog->move(mapToGlobal(QPoint(ScaleInt(320, state.screenScale), 120)));
    dialog->setProperty("placed", true);
  }
  for (;;) {
    dialog->exec();
    if (state.sampling.method.code != kMethodNone) break;
    if (dialog->Tag != 0) return;
    state.services.messages->ShowMessageBox(T("Bitte Verfahren festlegen"), kKindInfo, kButtonsOk);
  }
  // Another method confirmed: its first "Auswertung" is a single evaluation with its report.
  state.run.repeatMode = false;
  if (!state.run.enterpriseMode) sBtAnmerk->show();
  BtVarianz->show();
}

}  // namespace tolvek
