// The main window's part in the enterprise structure: the structure panels (Panel8 on entry, Panel5
// once the structure is set), the wizard stepping through its windows, the structure file saved and
// read, and the area balance as a table and as a colour matrix.
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <filesystem>

#include "common/format.h"
#include "common/qt/qt_canvas.h"
#include "common/qt/qt_services.h"
#include "common/wait.h"
#include "simulator/enterprise/area_balance.h"
#include "simulator/enterprise/enterprise_choice.h"
#include "simulator/enterprise/model_stand_assignment.h"
#include "simulator/enterprise/model_stand_loading.h"
#include "simulator/enterprise/structure_file.h"
#include "simulator/forms/enterprise_windows.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form43.h"
#include "simulator/forms/small_dialogs.h"
#include "simulator/forms/structure_windows.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

std::vector<std::string> MessageLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : HashMarksToLineBreaks(text)) {
    if (c == '\n')
      lines.emplace_back();
    else
      lines.back() += c;
  }
  return lines;
}

}  // namespace

void TForm1::BuildStructureArea() {
  // Panel5 "Betriebstruktur" where Panel8 stands, once the structure is set.
  Panel5->setGeometry(Panel8->geometry().adjusted(0, 0, 0, 38));
  LbBetriebStruktur2 = new QLabel(QString::fromUtf8("Betriebstruktur"), Panel5);
  LbBetriebStruktur2->setObjectName("LbBetriebStruktur2");
  LbBetriebStruktur2->setGeometry(LbBetriebStruktur->geometry());
  LbBetriebStruktur2->setFont(LbBetriebStruktur->font());
  Button10 = StructurePanelButton(Panel5, "Button10", "Speichern", 34);
  Button11 = StructurePanelButton(Panel5, "Button11", "Lesen", 72);
  Button26 = StructurePanelButton(Panel5, "Button26", "Flächenbilanz", 110);
  Button3 = StructurePanelButton(Panel5, "Button3", "weiter", 148);
  Button3->setFocusPolicy(Qt::StrongFocus);

  connect(Button23, &QPushButton::clicked, this, &TForm1::Button23Click);
  connect(Button24, &QPushButton::clicked, this, &TForm1::Button11Click);
  connect(Button25, &QPushButton::clicked, this, &TForm1::Button25Click);
  connect(Button10, &QPushButton::clicked, this, &TForm1::Button10Click);
  connect(Button11, &QPushButton::clicked, this, &TForm1::Button11Click);
  connect(Button26, &QPushButton::clicked, this, &TForm1::Button26Click);
  connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
}

void TForm1::ShowTypeChoiceCaptions() {
  TForm29* types = forms.form29;
  if (!types) return;
  const ModelStandTable& table = state.modelStands.table;
  const std::array<std::string, kTypeSlots> names = TypeNames(CurrentClassification(state), state.language);
  std::array<std::string, 9> captions;
  for (int t = 1; t <= 8; ++t) captions[static_cast<std::size_t>(t)] = TypeChoiceCaption(table, names, t);
  types->SetTypeCaptions(captions);
}

void TForm1::SetMapClicks(bool on) {
  // Not disabled: a disabled picture would be shown greyed.
  ImgBest->setAttribute(Qt::WA_TransparentForMouseEvents, !on);
}

bool TForm1::MapTakesClicks() const { return !ImgBest->testAttribute(Qt::WA_TransparentForMouseEvents); }

void TForm1::DrawCompartments(int mode) {
  EnterpriseSession& e = state.enterprise;
  {
    QtCanvas canvas(*mapImage);
    canvas.SetPen(kBlack);
    canvas.SetBrush(kBlack);
    canvas.Rectangle(0, 0, mapImage->width(), mapImage->height());
    const EnterpriseMapTransform t = EnterpriseTransform();
    for (int a = 1; a <= e.compartmentCount; ++a) DrawCompartment(canvas, e, a, mode, t);
  }
  ShowMap();
}

bool TForm1::BtBtWetClick() {
  EnterpriseSession& e = state.enterprise;
  StructureWizard& w = state.structureWizard;
  TForm29* types = forms.form29;
  TForm25* shares = forms.form25;
  TForm26* mixing = forms.form26;
  if (!types || !shares || !mixing) return false;
  const bool wet = state.settings.forestDevelopmentTypes;
  types->Prepare(wet);
  ShowTypeChoiceCaptions();
  // The wizard's windows take the structure panel's place, leaving the map in view.
  const QPoint corner = Client->mapToGlobal(Panel8->geometry().topLeft());
  for (QWidget* window : std::initializer_list<QWidget*>{types, shares, mixing}) window->move(corner);
  w.Start();
  sBtZurueck->setEnabled(false);
  GeneratorDraws random(state.random);
  for (;;) {
    switch (w.Step()) {
      case WizardStep::kTypes:
        if (types->Ask() == 0)
          w.ChooseTypes(e, types->Ticked());
        else
          w.Back(e);
        break;
      case WizardStep::kTypeShares:
        shares->PrepareTypes(wet);
        if (shares->Ask() != 0) {
          w.Back(e);
          break;
        }
        w.SharesNext(e, random);
        state.currentStand.areaHa = e.totalArea;
        DrawCompartments(1);
        break;
      case WizardStep::kMixing:
        if (!StructureWizard::CanMix(e)) {
          state.services.messages->PlatformBox(T("Bitte erst Bestandestypen auswählen"), "", PlatformButtons::Ok,
                                               PlatformIcon::None);
          w.MixNext(e, 0, random);
          break;
        }
        mixing->setToolTip(Q(T("Mischung der Bestandestypen # zwischen den Abteilungen einstellen")));
        if (mixing->Ask() != 0) {
          w.Back(e);  // the types undecided (light green) until they are dealt again
          DrawCompartments(1);
          break;
        }
        w.MixNext(e, mixing->Trackbar->value(), random);
        DrawCompartments(1);
        break;
      case WizardStep::kClassShares:
        shares->PrepareClasses(wet);
        if (shares->Ask() != 0) {
          w.Back(e);
          break;
        }
        w.SharesNext(e, random);
        DrawCompartments(0);
        Panel8->hide();
        Panel5->show();
        Panel5->raise();
        SetMapClicks(false);
        WaitMs(1000, state.run, state.services);
        break;
      case WizardStep::kDone:
        sBtZurueck->setEnabled(true);
        return true;
      case WizardStep::kLeft:
        Panel8->show();
        Panel8->raise();
        SetMapClicks(true);
        sBtZurueck->setEnabled(true);
        return false;
    }
  }
}

void TForm1::Button23Click() {
  if (GuardBusy()) return;
  EnterpriseSession& e = state.enterprise;
  Panel8->hide();
  Button25->setEnabled(false);
  Button11->setEnabled(true);
  Button10->setEnabled(true);
  ImgBest->setToolTip(QString());
  e.firstDrawing = true;
  // Which registers the model stands are to come from (the table is loaded again with them).
  if (!state.modelStands.singleModelStand && forms.form43) forms.form43->exec();
  DrawCompartments(1);
  BtBtWetClick();
}

void TForm1::Button25Click() {
  if (GuardBusy()) return;
  EnterpriseSession& e = state.enterprise;
  Panel8->hide();
  Panel5->show();
  Panel5->raise();
  Button3->setFocus();
  SetMapClicks(false);
  ImgBest->setToolTip(QString());
  if (state.modelStands.singleModelStand) {
    e.firstDrawing = false;
    DrawCompartments(0);
  }
}

void TForm1::Button3Click() {
  if (GuardBusy()) return;
  EnterpriseSession& e = state.enterprise;
  // Without types the stands have no stratum to take a model stand from: the wizard first.
  const ModelStandState& m = state.modelStands;
  if (e.chosen.codes[1] == 0 && !m.singleModelStand) {
    Panel5->hide();
    if (!BtBtWetClick()) return;
  }
  GeneratorDraws random(state.random);
  AssignModelStands(e, m, m.singleModelStand ? m.chosenEntry : 0, random);
  Panel5->hide();
  sBtVerfahrenClick();
}

void TForm1::Button10Click() {
  if (GuardBusy() || !state.run.enterpriseMode) return;
  EnterpriseSession& e = state.enterprise;
  const int mode = state.settings.forestDevelopmentTypes ? 1 : 0;
  std::vector<std::string> lines;
  const ModelStandRegisters registers{state.modelStands.realStands, state.modelStands.generatedStands};
  if (const Outcome made = StructureFileLines(StructureOf(e, mode, registers), lines); !made.ok()) {
    const Problem& p = made.problem();
    state.services.messages->ShowMessageBox(
        T("Betrieb nicht gespeichert") + "#" + T("Abteilung") + " " + p.where + ": " + T(p.message),
        MessageKind::Warning, MessageButtons::Ok);
    return;
  }
  const std::string path = EnterpriseFilePath(state.folders.program, e.number);
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  if (const Outcome written = WriteTextLines(path, lines); !written.ok()) {
    state.services.messages->ShowMessageBox(
        T("Betrieb nicht gespeichert") + "#" + ProblemMessage(state.language, written.problem()), MessageKind::Warning,
        MessageButtons::Ok);
    return;
  }
  e.storedMode[static_cast<std::size_t>(e.number)] = mode;
  state.services.messages->ShowMessageBox(T("Betrieb erfolgreich gespeichert"), MessageKind::Info, MessageButtons::Ok);
}

bool TForm1::ReadEnterpriseFile() {
  EnterpriseSession& e = state.enterprise;
  const TranslateFn tr = [this](const std::string& g) { return T(g); };
  EnterpriseStructure s;
  const Outcome read =
      ReadEnterpriseStructure(EnterpriseFilePath(state.folders.program, e.number), e.compartmentCount, s);
  if (!read.ok()) {
    // The enterprise stays as it is; the user's file stays where it is until the reset replaces it.
    const std::string text = StructureProblemText(e.number, read.problem(), tr);
    if (StructureProblemKindOf(read.problem()) == StructureProblemKind::kDamaged)
      state.services.messages->ShowMessageBox(text, MessageKind::Warning, MessageButtons::Ok);
    else
      state.services.messages->PlatformBox(text, "", PlatformButtons::OkCancel, PlatformIcon::Warning);
    Button24->setEnabled(false);
    Button25->setEnabled(false);
    if (TForm41* reset = forms.form41) {
      reset->inEnterpriseView = true;
      reset->exec();
      reset->inEnterpriseView = false;
    }
    return false;
  }
  e.storedMode[static_cast<std::size_t>(e.number)] = s.mode;
  if (e.takeModeFromFile) state.settings.forestDevelopmentTypes = s.mode != 0;
  // The registers the structure was made with; the real/generated window keeps the same choice.
  SetModelStandChoice(s.registers.real, s.registers.generated);
  if (TForm43* choice = forms.form43) {
    choice->ChkBox2->setChecked(s.registers.real);
    choice->ChkBox3->setChecked(s.registers.generated);
  }
  LbModBestande->show();
  ApplyStructure(e, std::move(s));
  DrawEnterpriseMap();
  // The stored model stands name entries of the registers as they were when the file was saved.
  LoadModelStandTable();
  GeneratorDraws random(state.random);
  if (const int redrawn = RecheckModelStands(e, state.modelStands, random); redrawn > 0)
    state.services.messages->ShowMessageBox(
        FormatInt(redrawn, 1) + " " + T("Modellbestände passten nicht mehr zum Register und wurden neu gewählt"),
        MessageKind::Info, MessageButtons::Ok);
  return true;
}

void TForm1::Button11Click() {
  if (GuardBusy() || !state.run.enterpriseMode) return;
  if (!ReadEnterpriseFile()) return;
  EnterpriseSession& e = state.enterprise;
  SetMapClicks(true);
  SumEnterpriseArea(e);
  ShowEnterpriseFigures(1);
  Button25->setEnabled(true);
  Button24->setEnabled(false);
  Button11->setEnabled(false);
  Button10->setEnabled(false);
}

void TForm1::Button26Click() {
  if (GuardBusy()) return;
  const EnterpriseSession& e = state.enterprise;
  const bool wet = state.settings.forestDevelopmentTypes;
  const TranslateFn tr = [this](const std::string& g) { return T(g); };
  const AreaBalance balance = BuildAreaBalance(e.compartments);
  const std::array<std::string, 6> names =
      PositionNames(e.chosen, TypeNames(CurrentClassification(state), state.language));
  TForm32* table = forms.form32;
  if (!table) return;
  table->AskAboutTable(AreaBalanceDisplayLines(AreaBalanceText(balance, wet, names, tr)),
                       T("Farben der Karte erläutern?"), QPoint(10, 360));
  if (state.structureAnswer != 0 || !forms.form33) return;
  forms.form33->Button1Click(balance, names, wet);
  forms.form33->exec();
  sBtAnweisung->show();
}

void TForm1::ShowStoredStructure(int n) {
  TForm32* table = forms.form32;
  if (!table) return;
  const TranslateFn tr = [this](const std::string& g) { return T(g); };
  EnterpriseStructure s;
  std::vector<std::string> lines;
  const Outcome read =
      ReadEnterpriseStructure(EnterpriseFilePath(state.folders.program, n), ModelEnterprise(n).compartments, s);
  if (read.ok()) {
    const bool wet = s.mode != 0;
    const auto typeNames =
        TypeNames(wet ? ClassificationMode::DevelopmentTypes : ClassificationMode::StandTypes, state.language);
    lines = AreaBalanceDisplayLines(
        AreaBalanceText(BuildAreaBalance(s.compartments), wet, PositionNames(s.chosen, typeNames), tr));
  } else {
    lines = MessageLines(StructureProblemText(n, read.problem(), tr));
  }
  // Beside the choice window's pictures, level with the row clicked.
  const QPoint at = forms.form37 ? forms.form37->PreviewCorner(state.enterprise.viewRow) : QPoint(130 * n + 268, 480);
  table->ShowTablePreview(lines, at, forms.form37);
}

}  // namespace tolvek
