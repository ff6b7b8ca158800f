// The main window's part in the model stands: the "Sonderfunktionen" panel with the real/generated
// choice, the overview of the model stands, the model-stand list for the classification and for the
// single model stand of an enterprise, the chosen stand on the map, and the start of the generator.
#include <QCheckBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>

#include "common/format.h"
#include "common/qt/qt_services.h"
#include "common/qt/widget_makers.h"
#include "simulator/enterprise/model_stand_loading.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form30.h"
#include "simulator/forms/form35.h"
#include "simulator/forms/form36.h"
#include "simulator/generator_launch.h"
#include "simulator/stand/stand_info.h"
#include "simulator/translate.h"

namespace tolvek {

void TForm1::BuildModelStandPanel() {
  // The panel stands in the data column, left of the map, above the mode buttons also on a 768-pixel
  // screen; the model-stand list opens over it.
  Panel7->setGeometry(164, 6, 246, 284);
  CheckBox2 = widgets::Check(Panel7, "CheckBox2", "Reale Bestände o. PW", QRect(12, 10, 226, 24), true);
  CheckBox3 = widgets::Check(Panel7, "CheckBox3", "Generierte Bestände", QRect(12, 36, 226, 24), true);
  // The boxes answer once "Sonderfunktionen" is chosen.
  CheckBox2->setEnabled(false);
  CheckBox3->setEnabled(false);
  Button22 = widgets::Button(Panel7, "Button22", "Anzahl der Modellbestände", QRect(10, 68, 226, 30),
                             "Modellbestände je Bestandestyp und Klasse");
  Button1 = widgets::Button(Panel7, "Button1", "Bestand zeichnen", QRect(10, 104, 226, 30),
                            "Modellbestand zeichnen, Klassifikation ändern");
  Button15 = widgets::Button(Panel7, "Button15", "Einh. Bestand wählen", QRect(10, 140, 226, 30),
                             "Den gesamten Betrieb mit einem Modellbestand belegen");
  Button16 =
      widgets::Button(Panel7, "Button16", "Bestand generieren", QRect(10, 186, 226, 30), "Programm Vorlint starten");
  Button18->setGeometry(10, 238, 108, 34);
  Button21->setGeometry(128, 238, 108, 34);

  connect(CheckBox2, &QCheckBox::toggled, this, [this](bool on) {
    state.modelStands.realStands = on;
    Button22Click(CheckBox2);
  });
  connect(CheckBox3, &QCheckBox::toggled, this, [this](bool on) {
    state.modelStands.generatedStands = on;
    Button22Click(CheckBox3);
  });
  connect(Button22, &QPushButton::clicked, this, [this] { Button22Click(Button22); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button15Click(Button1); });
  connect(Button15, &QPushButton::clicked, this, [this] { Button15Click(Button15); });
  connect(Button16, &QPushButton::clicked, this, &TForm1::BtnVorlintClick);
}

void TForm1::SetModelStandChoice(bool realStands, bool generatedStands) {
  // The check boxes' own handlers keep the state; they are told nothing here that they would repeat.
  const QSignalBlocker b2(CheckBox2);
  const QSignalBlocker b3(CheckBox3);
  CheckBox2->setChecked(realStands);
  CheckBox3->setChecked(generatedStands);
  state.modelStands.realStands = realStands;
  state.modelStands.generatedStands = generatedStands;
  LbModBestande->setText(Q(ModelStandCaption(realStands, generatedStands, state.language)));
}

void TForm1::LoadModelStandTable() {
  ModelStandState& m = state.modelStands;
  const std::string chosenCode = Utf8Left(m.chosenText, 8);
  ReloadModelStands(state);
  state.run.modelStandTableLoaded = true;
  // The list may have changed around the chosen stand (a register rewritten, another mode): the choice
  // follows the stand, and never points past the list.
  if (m.chosenEntry > 0) {
    int found = 0;
    for (int i = 1; i <= m.table.Count() && !chosenCode.empty(); ++i)
      if (m.table.Entry(i)->code == chosenCode) {
        found = i;
        break;
      }
    if (found > 0) {
      m.chosenEntry = m.listPosition = found;
      m.chosenText = m.table.Entry(found)->itemText;
    } else if (m.chosenEntry > m.table.Count()) {
      m.chosenEntry = m.listPosition = m.table.Count();
    }
  }
  if (forms.form30) forms.form30->FillList();
  // The type choice of the enterprise structure shows the counts of the table.
  ShowTypeChoiceCaptions();
}

void TForm1::ShowSingleModelStand() {
  LbEinhBest->setText(Q(T("Bestand: ") + Utf8Left(state.modelStands.chosenText, 8)));
  LbEinhBest->show();
  LbEinhBest->raise();
}

void TForm1::LoadSelectedStand() {
  ModelStandState& m = state.modelStands;
  if (m.chosenEntry <= 0) return;
  if (const Outcome r = LoadModelStand(state, m.chosenEntry); !r.ok()) {
    state.services.messages->ShowMessageBox(ModelStandLoadMessage(state, m.chosenEntry, r.problem()),
                                            MessageKind::Warning, MessageButtons::Ok);
    return;
  }
  ImgBest->show();
  Panel1->hide();
  Panel2->hide();
  // The mode buttons would stand half under the map; "zurück" and "weiter" bring them back.
  Panel6->hide();
  DrawStand();
  LoadModelStandTable();

  // The stand information with its class and the diameter histogram.
  const CurrentStand& cs = state.currentStand;
  const ModelStandEntry* entry = m.table.Entry(m.chosenEntry);
  StandClassLine classLine;
  // The class is named by the classification it was read with.
  classLine.wet = CurrentClassification(state) == ClassificationMode::DevelopmentTypes;
  if (entry) {
    classLine.typeName =
        TypeNames(CurrentClassification(state), state.language)[static_cast<std::size_t>(entry->cls.type)];
    classLine.treatmentName = TreatmentTypeName(entry->cls.klass);
    classLine.ageClass = entry->cls.klass + 1;
  }
  StandInfoInputs in{cs.sums,   cs.areaHa, m.chosenText, cs.speciesList, cs.files.folderKind == StandFolder::StandsGE,
                     &classLine};
  StandInfo info = BuildStandInfo(in, state.language);
  sBtDrehen->hide();
  if (forms.form35) {
    // Beside the main window where the screen has room, else at the foot of the data column.
    const QRect frame = frameGeometry();
    const QScreen* screen = this->screen();
    const int width = forms.form35->width();
    QPoint at = mapToGlobal(QPoint(164, 300));
    if (screen && frame.right() + 1 + width <= screen->availableGeometry().right() + 1)
      at = QPoint(frame.right() + 1, frame.top() + 300);
    forms.form35->ShowWithHistogram(info, cs.sums, at.x(), at.y());
  }
  modelStandShown = true;
}

void TForm1::Button15Click(QObject* sender) {
  if (GuardBusy()) return;
  TForm30* list = forms.form30;
  if (!list) return;
  ModelStandState& m = state.modelStands;
  ScrollBox1->show();
  SetClassification(state, ClassificationMode::StandTypes);
  LoadModelStandTable();
  sBtDrehen->hide();
  list->setWindowTitle(" Form30");

  // "zurück" leaves an earlier choice of a single model stand as it was.
  const int keptEntry = m.chosenEntry;
  const int keptPosition = m.listPosition;
  const std::string keptText = m.chosenText;
  const bool keptSingle = m.singleModelStand;
  const bool single = sender == Button15;
  int result = 0;
  do {
    // Stand 9 is shown first (or the last one of a shorter list).
    m.chosenEntry = m.listPosition = std::min(9, m.table.Count());
    GrpExtras->hide();
    list->Tag = 0;
    m.singleModelStand = false;
    list->ListBox1->setFixedHeight(246);
    if (single) {
      list->LbF30FrageW->setText(Q(T("Den gesamten Betrieb mit diesem") + "\n" + T("Bestand belegen?")));
      list->LbF30FrageW->show();
      list->LbF30Frage->hide();
      list->BtF30Ja->show();
      list->BtChWET->hide();
      list->BtChAKL->hide();
    } else {
      list->BtF30Ja->hide();
      list->LbF30FrageW->hide();
      list->LbF30Frage->setText(Q(T("Klassifikation ändern")));
      list->LbF30Frage->show();
      list->BtChWET->show();
      list->BtChAKL->show();
      list->BtChWET->setEnabled(false);
      list->BtChAKL->setEnabled(false);
    }
    list->BtChWET->move(109, 310);
    list->BtChAKL->move(13, 310);
    list->FillList();
    list->SelectItem(m.listPosition - 1);
    list->ListBox1DblClick();
    list->move(mapToGlobal(QPoint(164, 6)));
    result = list->exec();
    if (m.singleModelStand) {
      Button12->setEnabled(false);
      if (auto* structure = Client->findChild<QPushButton*>("Button23")) structure->setEnabled(false);
    }
  } while (!m.singleModelStand && result != 2);
  if (single && !m.singleModelStand) {
    m.chosenEntry = keptEntry;
    m.listPosition = keptPosition;
    m.chosenText = keptText;
    m.singleModelStand = keptSingle;
  }
  if (forms.form36) forms.form36->close();
  if (forms.form35) forms.form35->close();
}

void TForm1::Button22Click(QObject* sender) {
  if (sender == CheckBox2 || sender == CheckBox3) return;
  if (GuardBusy()) return;
  LoadModelStandTable();
  const ModelStandState& m = state.modelStands;
  const std::string text = ModelStandOverview(m.table, CurrentClassification(state), state.language,
                                              ModelStandCaption(m.realStands, m.generatedStands, state.language));
  state.services.messages->PlatformTableBox(ModelStandOverviewDisplay(text), 6, 402);
}

void TForm1::BtnVorlintClick() {
  if (GuardBusy()) return;
  // The generator lies in the program folder; a program folder set apart from the executables (a
  // per-user copy of the data) finds it beside the simulator.
  std::string program = JoinPath(state.folders.program, kGeneratorProgram);
  if (!FileExists(program)) {
    const std::string beside = JoinPath(S(QCoreApplication::applicationDirPath()), kGeneratorProgram);
    if (FileExists(beside)) program = beside;
  }
  const std::string parameter = GeneratorCommandLine(state.language, state.settings.language);
  if (state.services.launcher && state.services.launcher->Start(program, parameter)) return;
  // The simulator goes on whichever button is pressed.
  state.services.messages->PlatformBox(GeneratorMissingMessage(state.language, program), "", PlatformButtons::OkCancel,
                                       PlatformIcon::None);
}

}  // namespace tolvek
