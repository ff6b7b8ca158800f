#include "simulator/forms/form15.h"

#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>

#include "common/format.h"
#include "common/qt/qt_services.h"
#include "common/qt/widget_makers.h"
#include "common/wait.h"
#include "simulator/forms/documents_open.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form44.h"
#include "simulator/forms/small_dialogs.h"
#include "simulator/forms/translate_forms.h"
#include "simulator/stand/stand_loader.h"
#include "simulator/translate.h"

namespace tolvek {

using widgets::DialogButton;
using widgets::Make;
using widgets::Memo;
using widgets::SubMenu;

void OpenStandHelp(SimulatorState& state, int context) { OpenHelpTopic(state, context); }

TForm15::TForm15(SimulatorState& st, Forms& fm, QWidget* parent) : QDialog(parent, Qt::Tool), state(st), forms(fm) {
  setObjectName("Form15");
  setWindowTitle("15  Bestand wählen");
  // Narrow enough to stand beside the main window on a screen 1366 pixels wide; the buttons in two
  // columns wide enough for their captions in every language.
  setFixedSize(kWidth, 452);
  MainMenu1 = Make<QMenuBar>(this, "MainMenu1", QRect(0, 0, kWidth, 24));
  NadelholzBestnde1 = SubMenu(MainMenu1, "NadelholzBestnde1", "Nadelbaum-Bestände ");
  LaubholzBestnde1 = SubMenu(MainMenu1, "LaubholzBestnde1", "Laubbaum-Bestände  ");
  GenerierteBestnde1 = SubMenu(MainMenu1, "GenerierteBestnde1", "Generierte Bestände");
  schwachesBaumholz1 = SubMenu(NadelholzBestnde1, "schwachesBaumholz1", "schwaches Baumholz");
  mittelstarkesBaumholz1 = SubMenu(NadelholzBestnde1, "mittelstarkesBaumholz1", "mittelstarkes Baumholz");
  starkesBaumholz1 = SubMenu(NadelholzBestnde1, "starkesBaumholz1", "starkes Baumholz");
  Plenterwald1 = SubMenu(NadelholzBestnde1, "Plenterwald1", "Plenterwald");
  schwachesBaumholz2 = SubMenu(LaubholzBestnde1, "schwachesBaumholz2", "schwaches Baumholz");
  mittelstarkesBaumholz2 = SubMenu(LaubholzBestnde1, "mittelstarkesBaumholz2", "mittelstarkes Baumholz");
  starkesbaumholz2 = SubMenu(LaubholzBestnde1, "starkesbaumholz2", "starkes Baumholz");

  LbTitel = Make<QLabel>(this, "LbTitel", QRect(10, 28, kWidth - 20, 34));
  LbTitel->setWordWrap(true);  // a long title takes a second line rather than being cut
  LbTitel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont bold = LbTitel->font();
  bold.setBold(true);
  LbTitel->setFont(bold);
  MemVerz = Memo(this, "MemVerz", QRect(10, 66, kWidth - 124, 26));
  MemCode = Memo(this, "MemCode", QRect(kWidth - 108, 66, 98, 26));
  // One line each, the folder and the code: no scroll bar takes half of their room.
  for (QPlainTextEdit* line : {MemVerz, MemCode}) {
    line->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    line->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    line->setLineWrapMode(QPlainTextEdit::NoWrap);
  }
  Memo1 = Memo(this, "Memo1", QRect(10, 98, kWidth - 20, 200));
  const int half = (kWidth - 26) / 2, right = 16 + half;
  Button1 = DialogButton(this, "Button1", "Beschreibung", QRect(10, 306, half, 28));
  BtnFoto = DialogButton(this, "BtnFoto", "Foto", QRect(right, 306, half, 28));
  ButonDrehen = DialogButton(this, "ButonDrehen", "drehen", QRect(10, 340, half, 28));
  BtnKluppschw = DialogButton(this, "BtnKluppschw", "Kluppschwelle", QRect(right, 340, half, 28));
  BtnVerzeichnis = DialogButton(this, "BtnVerzeichnis", "Verzeichnis der Bestände", QRect(10, 374, half, 28));
  BtnEntschHilfe = DialogButton(this, "BtnEntschHilfe", "Entscheidungshilfe", QRect(right, 374, half, 28));
  BtnAbbruch = DialogButton(this, "BtnAbbruch", "Abbruch", QRect(10, 412, half, 30));
  BtnWeiter = DialogButton(this, "BtnWeiter", "weiter", QRect(right, 412, half, 30));
  BtnKluppschw->setToolTip(QString::fromUtf8("Kleinsten erfassten BHD wählen"));
  BtnFoto->setEnabled(false);

  connect(Button1, &QPushButton::clicked, this, &TForm15::Button1Click);
  connect(BtnFoto, &QPushButton::clicked, this, &TForm15::BtnFotoClick);
  connect(ButonDrehen, &QPushButton::clicked, this, &TForm15::ButonDrehenClick);
  connect(BtnKluppschw, &QPushButton::clicked, this, &TForm15::BtnKluppschwClick);
  connect(BtnVerzeichnis, &QPushButton::clicked, this, &TForm15::BtnVerzeichnisClick);
  connect(BtnEntschHilfe, &QPushButton::clicked, this, &TForm15::BtnEntschHilfeClick);
  connect(BtnAbbruch, &QPushButton::clicked, this, &TForm15::BtnAbbruchClick);
  connect(BtnWeiter, &QPushButton::clicked, this, &TForm15::BtnWeiterClick);
}

QMenu* TForm15::MenuFor(StandMenu m) const {
  switch (m) {
    case StandMenu::ConiferWeak:
      return schwachesBaumholz1;
    case StandMenu::ConiferMedium:
      return mittelstarkesBaumholz1;
    case StandMenu::ConiferStrong:
      return starkesBaumholz1;
    case StandMenu::ConiferPlenter:
      return Plenterwald1;
    case StandMenu::BroadleafWeak:
      return schwachesBaumholz2;
    case StandMenu::BroadleafMedium:
      return mittelstarkesBaumholz2;
    case StandMenu::BroadleafStrong:
      return starkesbaumholz2;
    case StandMenu::Generated:
      return GenerierteBestnde1;
    case StandMenu::None:
      return nullptr;
  }
  return nullptr;
}

void TForm15::BuildStandMenu(bool menuMode) {
  auto& sc = state.standChoice;
  if (!sc.menuBuilt) {
    CatalogueReadResult r = ReadStandCatalogue(state.language, JoinPath(state.folders.presets, "Tolvek01.txt"),
                                               CatalogueStyle::Menu, state.standCatalogue);
    if (!r.outcome.ok()) {
      state.services.messages->PlatformBox(ProblemMessage(state.language, r.outcome.problem()), "", PlatformButtons::Ok,
                                           PlatformIcon::Warning);
    } else {
      // More than 52 stands: the first 52 are offered and the program goes on.
      if (r.tooMany)
        state.services.messages->ShowMessageBox(Translate(state.language, "nur 52 Bestände möglich"), MessageKind::Info,
                                                MessageButtons::Ok);
      for (const auto& e : state.standCatalogue.entries) {
        QMenu* menu = MenuFor(MenuForEntry(e));
        if (!menu) continue;
        QAction* a = menu->addAction(Q(StandMenuCaption(e)));
        connect(a, &QAction::triggered, this, [this, a] { schwachesBaumholz1Click(a->text()); });
      }
      sc.menuBuilt = true;
      // The window follows the screen once, its controls with it.
      const double f = state.screenScale;
      if (std::abs(f - 1.0) > 0.001) {
        for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
          if (w->isWindow()) continue;
          const QRect g = w->geometry();
          w->setGeometry(RoundInt(g.x() * f), RoundInt(g.y() * f), RoundInt(g.width() * f), RoundInt(g.height() * f));
        }
        setFixedSize(RoundInt(width() * f), RoundInt(height() * f));
        FitCaptions(this);  // the buttons are narrower now, their captions are not
      }
    }
  }
  if (menuMode) {
    sc.choice = SelectCatalogueStand(state.standCatalogue, state.folders, 9);
    BuildStandFileNames();
  }
  StandFiles files;
  if (sc.choice.valid() && ResolveStandFiles(state.folders, sc.choice.treePath, files).ok()) {
    MemVerz->setPlainText(Q(files.folder));
    MemCode->setPlainText(Q(files.code));
  }
  FindChosenLine(state.standCatalogue, sc.choice);
}

void TForm15::BuildStandFileNames() {
  auto& c = state.standChoice.choice;
  if (c.fileName.empty()) return;
  c = ChoiceForFileName(state.standCatalogue, state.folders, c.fileName);
  BtnFoto->setEnabled(true);
  ShowStandDescription();
}

void TForm15::ShowStandDescription() {
  const StandChoice& c = state.standChoice.choice;
  if (c.treePath.empty()) return;
  Memo1->clear();
  StandFiles files;
  if (!ResolveStandFiles(state.folders, c.treePath, files).ok() || !FileExists(ResolvePath(files.treeFile))) {
    // "ja": the user picks again; the other answers end the program, asked first as "Ende" asks.
    const int answer =
        state.services.messages->PlatformBox(Translate(state.language, "Bestand nicht gefunden, bitte neu wählen."), "",
                                             PlatformButtons::YesNoCancel, PlatformIcon::None);
    if (answer != kResultYes && forms.form1) forms.form1->sBtEndeClick();
    return;
  }
  StandDescriptionView view;
  if (!ReadStandDescriptionView(files.descriptionFile, files.numberText, view)) return;
  LbTitel->setText(Q(view.title));
  for (const auto& line : view.lines) Memo1->appendPlainText(Q(line));
  Memo1->moveCursor(QTextCursor::Start);
}

void TForm15::schwachesBaumholz1Click(const QString& caption) {
  if (state.run.busy) return;  // a pass works on the loaded stand
  const std::string nn = NumberFromMenuCaption(S(caption));
  StandChoice c = ChoiceForFileName(state.standCatalogue, state.folders, "Bestnd" + nn + ".txt");
  if (!c.valid()) return;
  state.standChoice.choice = c;
  MemCode->setPlainText(Q(Utf8Left(c.fileName, 8)));
  LbTitel->setText(Q(c.name));
  BuildStandFileNames();
  // Outside menu mode a stand picked here is loaded at once, as one from the catalogue would be.
  if (!menuMode_ && forms.form1) forms.form1->LoadChosenStand();
}

bool TForm15::RunMenuMode() {
  menuMode_ = true;
  const int r = exec();
  menuMode_ = false;
  return r == QDialog::Accepted;
}

void TForm15::BtnKluppschwClick() {
  if (state.run.busy || !forms.btnRightDlg8) return;
  TBtnRightDlg8& dlg = *forms.btnRightDlg8;
  dlg.ListBox1->clear();
  for (const auto& t : CalliperThresholdTexts()) dlg.ListBox1->addItem(Q(t));
  dlg.ListBox1->setCurrentRow(CalliperThresholdIndex(state.calliper.lower));
  dlg.exec();
  QListWidgetItem* item = dlg.ListBox1->currentItem();
  std::optional<long long> value = item ? ParseInt(TrimSpaces(S(item->text()))) : std::nullopt;
  dlg.ListBox1->clear();
  if (!value) return;
  const Outcome r = ApplyCalliperThreshold(state, static_cast<double>(*value));
  if (r.ok() && state.currentStand.loaded && forms.form1) {
    forms.form1->ShowTreesPerHectare("Bäume:");
    if (forms.form1->ScrollBox1->isVisible()) forms.form1->DrawStand();
  }
  ShowStandDescription();
}

void TForm15::BtnFotoClick() {
  if (state.run.busy || !forms.form1) return;
  auto T = [&](const std::string& german) { return Translate(state.language, german); };
  BtnFoto->setEnabled(false);
  const std::string& first = state.standChoice.choice.photoPath;
  if (first.empty() || !FileExists(ResolvePath(first))) {
    state.services.messages->PlatformBox(T("Bestandesfoto leider nicht vorhanden"), "", PlatformButtons::Ok,
                                         PlatformIcon::Warning);
    hide();
    return;
  }
  QLabel* panel = forms.form1->ImgFoto;
  slideShow_ = true;
  state.run.busy = true;
  state.run.waitAbort = false;
  panel->show();
  panel->raise();
  for (const std::string& path : SlideShowPhotos(first)) {
    QImage img;
    if (const Outcome read = LoadStandPhoto(path, img); !read.ok()) {
      state.services.messages->PlatformBox(
          T("Bestandesfoto leider nicht vorhanden") + ": " + path + " " + read.problem().message, "",
          PlatformButtons::Ok, PlatformIcon::Warning);
      continue;
    }
    panel->setPixmap(QPixmap::fromImage(img));
    WaitMs(3000, state.run, state.services);
    if (!slideShow_) break;  // "weiter" ended the show
  }
  panel->hide();
  panel->clear();
  state.run.busy = false;
  slideShow_ = false;
}

void TForm15::BtnWeiterClick() {
  // Ends a running photograph display at once.
  if (slideShow_) {
    slideShow_ = false;
    state.run.waitAbort = true;
  }
  if (forms.form44) forms.form44->close();
  if (menuMode_)
    accept();
  else
    hide();
}

void TForm15::BtnAbbruchClick() { BtnWeiterClick(); }

void TForm15::BtnVerzeichnisClick() {
  OpenStandHelp(state, 115);
  ShowStandDescription();
}

void TForm15::BtnEntschHilfeClick() {
  OpenStandHelp(state, 116);
  ShowStandDescription();
}

void TForm15::Button1Click() { ShowStandDescription(); }

void TForm15::ButonDrehenClick() {
  if (forms.form1) forms.form1->sBtDrehenClick();
}

void TForm15::closeEvent(QCloseEvent* e) {
  if (slideShow_) {
    e->ignore();
    state.services.messages->PlatformBox(Translate(state.language, "Bestandesfotos nicht beendet"), "",
                                         PlatformButtons::Ok, PlatformIcon::Warning);
    return;
  }
  QDialog::closeEvent(e);
}

}  // namespace tolvek
