#include "simulator/forms/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QToolTip>
#include <QWindow>
#include <algorithm>

#include "common/paths.h"
#include "common/qt/qt_services.h"
#include "common/qt/widget_makers.h"
#include "common/rounding.h"
#include "simulator/forms/form15.h"
#include "simulator/forms/form2.h"
#include "simulator/forms/form35.h"
#include "simulator/forms/form44.h"
#include "simulator/forms/map_run_drawing.h"
#include "simulator/forms/text_viewer.h"
#include "simulator/forms/translate_forms.h"
#include "simulator/screen_fit.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

// The main window's colour $71B33C and the darker and lighter greens the title screen uses with it.
const char* const kMainColour = "#3cb371";
const char* const kBannerColour = "#1f5e34";
const char* const kPanelColour = "#e8f5e9";

using widgets::Make;

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, QRect r, int pointSize, bool bold = false,
                  const char* colour = "white") {
  auto* l = Make<QLabel>(parent, name);
  l->setText(QString::fromUtf8(text));
  l->setTextFormat(Qt::PlainText);
  l->setGeometry(r);
  QFont f("Arial");
  f.setPointSize(pointSize);
  f.setBold(bold);
  l->setFont(f);
  l->setStyleSheet(QString("color: %1; background: transparent;").arg(colour));
  l->setWordWrap(true);
  return l;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, QRect r) {
  QPushButton* b = widgets::Button(parent, name, caption, r);
  b->setFocusPolicy(Qt::TabFocus);
  return b;
}

QFrame* MakePanel(QWidget* parent, const char* name, QRect r, const char* colour) {
  auto* p = Make<QFrame>(parent, name);
  p->setGeometry(r);
  p->setFrameShape(QFrame::StyledPanel);
  p->setAutoFillBackground(true);
  p->setStyleSheet(QString("QFrame#%1 { background: %2; border: 1px solid #5a7d5a; }").arg(name, colour));
  return p;
}

// Scaling of one control by the screen factor: ScaleLabel also scales the font, ScaleMemo only the
// position; the others scale position and size.
void ScaleGeometry(QWidget* w, double scale, bool size = true) {
  if (!w) return;
  QRect g = w->geometry();
  if (size)
    w->setGeometry(ScaleInt(g.left(), scale), ScaleInt(g.top(), scale), ScaleInt(g.width(), scale),
                   ScaleInt(g.height(), scale));
  else
    w->move(ScaleInt(g.left(), scale), ScaleInt(g.top(), scale));
}

void ScaleLabel(QLabel* l, double scale) {
  if (!l) return;
  ScaleGeometry(l, scale);
  QFont f = l->font();
  f.setPointSize(std::max(1, ScaleInt(f.pointSize(), scale)));
  l->setFont(f);
}

}  // namespace

// The run's loops outlive the window in the program's state: they must not call into it afterwards;
// nor may the events of the window's children while they are taken down after it.
TForm1::~TForm1() {
  state.run.pumps.beforePump = nullptr;
  qApp->removeEventFilter(this);
}

TForm1::TForm1(SimulatorState& st, Forms& fm, QWidget* parent) : QMainWindow(parent), state(st), forms(fm) {
  setObjectName("Form1");
  setWindowTitle("TOLVEK");
  Client = Make<QWidget>(this, "Client");
  setCentralWidget(Client);

  // FormCreate, in its order.
  // 1. The random generator from the clock.
  state.random.SetSeed(state.services.clock->SeedFromTime());

  // 2. Run flags at their start values; "." as the decimal separator whatever the locale.
  state.run = RunControl{};
  state.sampleTreeCount = 0;
  QLocale::setDefault(QLocale::c());
  qApp->installEventFilter(this);

  BuildTitleScreen();
  BuildToolBar();
  BuildExtrasGroup();
  BuildPanels();
  // area builders
  BuildLanguageButtons();
  BuildStandArea();
  BuildEvaluationArea();
  BuildMethodArea();
  BuildGridArea();
  BuildRunDisplayArea();
  BuildModelStandPanel();
  BuildDiagramArea();
  BuildEnterpriseArea();
  BuildStructureArea();
  BuildTrueValueArea();
  BuildInventoryArea();
  BuildHelpArea();

  sBtNeuesVerfahren->setEnabled(false);
  sBtMultiSim->setEnabled(false);
  sBtPausePlus->hide();
  LbWarten->hide();

  // 3. Fixed panels, hints, version, corners per circle, extras hidden.
  sBtAnmerk->setEnabled(false);
  {
    QPalette p = QToolTip::palette();
    p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xAC));  // $ACFFFF
    p.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(p);
  }
  LblVersion1->setText("Datum: 24.02.2014");
  GrpExtras->hide();

  // 4. The program folders from the executable's folder (a test or the program start may have set them).
  if (state.folders.program.empty()) state.folders = ProgramFoldersFor(S(QCoreApplication::applicationDirPath()));
  LoadTitlePictures();
  // 5.-6. The settings file and the language table. A missing table is reported and the built-in
  //       German texts stay (a test's program folder needs the shipped tables: CopyShippedData).
  LoadStartLanguage(state.folders, state.settings, state.language, *state.services.messages);

  // 7. The main window's colour; the data labels cleared; the grid group hidden.
  setStyleSheet(QString("QMainWindow#Form1, QWidget#Client { background: %1; }").arg(kMainColour));
  ClearInfoLabels();
  GroupBox1->hide();

  // 8.-9. Fit to the screen, scale the title screen on a 768-pixel screen.
  QScreen* screen = QGuiApplication::primaryScreen();
  FitToTheScreen(screen ? screen->geometry().height() : 1024);

  // 10. "Ende" visible, remarks hidden.
  BtEnde->show();
  Memo1->hide();

  // 11. Expected coefficients of variation, type names, title-screen translation and the stand
  //     catalogue are read here.
  TranslateStartScreen(*this);
}

std::string TForm1::T(const std::string& german) const { return Translate(state.language, german); }

void TForm1::BuildTitleScreen() {
  Panel1 = MakePanel(Client, "Panel1", QRect(200, 24, 1020, 170), kBannerColour);
  Label1 = MakeLabel(Client, "Label1", "TOLVEK", QRect(226, 34, 600, 64), 40, true);
  Label2 = MakeLabel(Client, "Label2", "Simulation von Stichprobeninventuren im Wald", QRect(226, 104, 980, 34), 20);
  Label3 = MakeLabel(Client, "Label3",
                     "Probekreise, Winkelzählprobe, n-Baum-Stichprobe und konzentrische Probekreise "
                     "in Beständen und Forstbetrieben",
                     QRect(226, 144, 980, 40), 12, false, "#d8f0d8");

  LbLernPrg = MakeLabel(Client, "LbLernPrg", "Lernprogramm", QRect(220, 214, 460, 30), 16, true);
  LbStudent = MakeLabel(Client, "LbStudent", "für Studierende der Forstwissenschaften", QRect(220, 246, 460, 56), 13);
  LbFortbild = MakeLabel(Client, "LbFortbild", "Fortbildung", QRect(720, 214, 480, 30), 16, true);
  LbEinricht =
      MakeLabel(Client, "LbEinricht", "für Forsteinrichter und Planer in der Praxis", QRect(720, 246, 480, 56), 13);

  Panel2 = MakePanel(Client, "Panel2", QRect(200, 320, 1020, 210), kPanelColour);
  Label4 = MakeLabel(Client, "Label4", "Inventur wählen:", QRect(224, 330, 500, 28), 14, true, kBannerColour);
  // The mode buttons stand on Panel6, which the model-stand panel of "Sonderfunktionen" keeps showing
  // while the rest of the title is gone.
  Panel6 = Make<QFrame>(Client, "Panel6");
  Panel6->setGeometry(236, 372, 944, 56);
  Button12 = MakeButton(Panel6, "Button12", "Bestand", QRect(0, 0, 280, 56));
  Button14 = MakeButton(Panel6, "Button14", "Betrieb", QRect(334, 0, 280, 56));
  Button17 = MakeButton(Panel6, "Button17", "Sonderfunktionen", QRect(664, 0, 280, 56));
  for (QPushButton* b : {Button12, Button14, Button17}) {
    QFont f("Arial");
    f.setPointSize(16);
    f.setBold(true);
    b->setFont(f);
  }
  Label6 = MakeLabel(Client, "Label6", "Stichprobeninventur in einem einzelnen Waldbestand", QRect(236, 436, 280, 80),
                     11, false, "#1f3d1f");
  Label7 = MakeLabel(Client, "Label7", "Inventur eines Modell-Forstbetriebs mit Straten", QRect(570, 436, 280, 80), 11,
                     false, "#1f3d1f");
  Label9 = MakeLabel(Client, "Label9", "Modellbestände und Bestandestypen bearbeiten", QRect(900, 436, 280, 80), 11,
                     false, "#1f3d1f");

  Bevel3 = MakePanel(Client, "Bevel3", QRect(200, 550, 1020, 110), "transparent");
  Label14 = MakeLabel(Client, "Label14", "Sprache / Language", QRect(224, 558, 500, 26), 12, true);
  static const char* const kLanguageNames[7] = {"Deutsch", "English", "Čeština", "Français",
                                                "Español", "Polski",  "Türkçe"};
  static const char* const kLanguageObjects[7] = {"BitBtn15", "BitBtn16", "BitBtn17", "BitBtn18",
                                                  "BitBtn19", "BitBtn20", "BitBtn21"};
  QPushButton** languageSlots[7] = {&BitBtn15, &BitBtn16, &BitBtn17, &BitBtn18, &BitBtn19, &BitBtn20, &BitBtn21};
  for (int i = 0; i < 7; ++i)
    *languageSlots[i] = MakeButton(Client, kLanguageObjects[i], kLanguageNames[i], QRect(224 + i * 140, 594, 128, 44));
  BitBtn15->setToolTip("Deutsch");
  BitBtn16->setToolTip("Englisch");

  Image1 = Make<QLabel>(Client, "Image1");
  Image2 = Make<QLabel>(Client, "Image2");
  Image3 = Make<QLabel>(Client, "Image3");
  QLabel* images[3] = {Image1, Image2, Image3};
  for (int i = 0; i < 3; ++i) {
    images[i]->setGeometry(200 + i * 350, 676, 320, 150);
    images[i]->setScaledContents(true);
  }
  PnBegrenzung = MakePanel(Client, "PnBegrenzung", QRect(200, 672, 1020, 158), "transparent");
  PnBegrenzung->hide();
  ImgLeg = Make<QLabel>(Client, "ImgLeg");
  ImgLeg->setGeometry(1000, 40, 200, 140);
  ImgLeg->hide();

  LblVersion1 = MakeLabel(Client, "LblVersion1", "", QRect(204, 846, 300, 22), 9, false, "#e0ffe0");
  BitHinweise = MakeButton(Client, "BitHinweise", "Wichtige Hinweise", QRect(1020, 838, 200, 36));
  // BitStop stands on the tool bar once the title screen is gone, in the row of the rotation button.
  BitStop = MakeButton(Client, "BitStop", "", QRect(114, kToolBarStandRow, 40, kToolBarButtonHeight));
  BitStop->setIcon(style()->standardIcon(QStyle::SP_BrowserStop));
  BitStop->hide();
  BitStop->setToolTip("Programm beenden");
  connect(BitStop, &QPushButton::clicked, this, &TForm1::BitStopClick);
  connect(Button12, &QPushButton::clicked, this, &TForm1::BtStartClick);
  connect(Button17, &QPushButton::clicked, this, &TForm1::Button17Click);

  MemHilfe = Make<QPlainTextEdit>(Client, "MemHilfe");
  MemHilfe->setReadOnly(true);
  MemHilfe->setGeometry(320, 200, 700, 500);
  MemHilfe->hide();

  LblBaumZahl = MakeLabel(Client, "LblBaumZahl", "", QRect(6, kToolBarStandRow + 92, 152, 20), 9);
  LbBaumZahlQ = MakeLabel(Client, "LbBaumZahlQ", "", QRect(6, 742, 290, 20), 9);
  LbAnzStpQ = MakeLabel(Client, "LbAnzStpQ", "", QRect(6, 764, 290, 20), 9);
  LbModBestande = MakeLabel(Client, "LbModBestande", "", QRect(6, 786, 290, 20), 9);
  LblAnzStp = MakeLabel(Client, "LblAnzStp", "", QRect(6, 808, 290, 20), 9);
  LbWarten = MakeLabel(Client, "LbWarten", "Bitte warten ...", QRect(6, 830, 290, 20), 10, true);
}

void TForm1::LoadTitlePictures() {
  const char* const kTitlePictures[3] = {"Fotos/Foto11.jpg", "Fotos/Foto21.jpg", "Fotos/Foto29.jpg"};
  QLabel* images[3] = {Image1, Image2, Image3};
  for (int i = 0; i < 3; ++i) {
    QPixmap pm(Q(ResolveIn(state.folders.program, kTitlePictures[i])));
    if (pm.isNull())
      images[i]->hide();  // no picture installed: the place stays green
    else                  // cut to the place's proportions, so the picture is never squeezed
      images[i]->setPixmap(pm.scaled(images[i]->size(), Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation)
                               .copy(QRect(QPoint(0, 0), images[i]->size())));
  }
}

void TForm1::BuildToolBar() {
  PnWerkzeug = MakePanel(Client, "PnWerkzeug", QRect(0, 0, 160, 1000), "#2f8f57");
  PnWerkzeug->lower();  // the bar's background, under everything placed on it
  struct ButtonDef {
    QPushButton** slot;
    const char* name;
    const char* caption;
    const char* hint;
  };
  // Seven blanks before "Bestände", "Verfahren" and "Extras", nine before the other buttons of the
  // first nine: room for the glyph.
  const ButtonDef bar[] = {
      {&sBtBestand, "sBtBestand", "       Bestände", "Bestand auswählen"},
      {&sBtVerfahren, "sBtVerfahren", "       Verfahren", "Stichprobenverfahren # festlegen"},
      {&sBtGitter, "sBtGitter", "         Gitter", "Stichprobengitter # anlegen"},
      {&sBtAuswertung, "sBtAuswertung", "         Auswertung", "Stichprobe auswerten"},
      {&sBtDiagramm, "sBtDiagramm", "         Diagramm", "Diagramme zum Bestand"},
      {&sBtProbeBaeume, "sBtProbeBaeume", "         Probebäume", "Liste der Probebäume"},
      {&sBtExtras, "sBtExtras", "       Extras", "Varianz, Optimierung # und weitere Funktionen"},
      {&sBtAnweisung, "sBtAnweisung", "         Anweisung", "Bedienungsanleitung"},
      {&sBtAnmerk, "sBtAnmerk", "         Anmerkungen", "Anmerkungen zum Verfahren"},
      {&sBtZurueck, "sBtZurueck", "Zurück zum Hauptmenü", "Zurück zum Hauptmenü"},
      {&BtEnde, "BtEnde", "Ende", "Programm beenden"},
  };
  // Rows of 28 pixels, 3 apart: the bar with the stand's labels below it fits a 768-pixel screen also
  // when the window system takes some of it for the title bar.
  int top = kToolBarTop;
  for (const ButtonDef& s : bar) {
    *s.slot = MakeButton(Client, s.name, s.caption, QRect(6, top, 148, kToolBarButtonHeight));
    (*s.slot)->setToolTip(QString::fromUtf8(s.hint));
    (*s.slot)->setStyleSheet("text-align: left; padding-left: 4px;");
    top += kToolBarPitch;
  }
  BtEnde->setStyleSheet("");
  top += 10;
  const ButtonDef runBar[] = {
      {&sBtNeuesVerfahren, "sBtNeuesVerfahren", "Neues Verfahren / Druck", "Wiederholungen beenden#und drucken"},
      {&sBtMultiSim, "sBtMultiSim", "Zwischenergebnisse", "Zwischenergebnisse zeigen"},
      {&F1BtWiederholen, "F1BtWiederholen", "Simulation wiederholen", "Stichprobe mehrfach wiederholen"},
      {&F1BnStatus, "F1BnStatus", "Grafik aus", "Grafik ein- und ausschalten"},
      {&sBtPausePlus, "sBtPausePlus", "Einzelschritte", "Wiederholungen einzeln#anzeigen"},
      {&sBtFin, "sBtFin", "aus", "Einzelschritte beenden"},
      {&sBStatModBst, "sBStatModBst", "used model stands", "Verwendete Modellbestände"},
  };
  for (const ButtonDef& s : runBar) {
    *s.slot = MakeButton(Client, s.name, s.caption, QRect(6, top, 148, kToolBarButtonHeight));
    (*s.slot)->setToolTip(QString::fromUtf8(s.hint));
    top += kToolBarPitch;
  }
  sBtDrehen = MakeButton(Client, "sBtDrehen", "↻", QRect(6, kToolBarStandRow, 40, kToolBarButtonHeight));
  sBtDrehen->setToolTip("Bestand drehen");

  connect(BtEnde, &QPushButton::clicked, this, &TForm1::sBtEndeClick);
  connect(sBtProbeBaeume, &QPushButton::clicked, this, &TForm1::sBtProbeBaeumeClick);
  connect(sBStatModBst, &QPushButton::clicked, this, &TForm1::sBStatModBstClick);
  connect(sBtExtras, &QPushButton::clicked, this, &TForm1::sBtExtrasClick);
  connect(sBtAnmerk, &QPushButton::clicked, this, &TForm1::sBtAnmerkClick);
  connect(sBtZurueck, &QPushButton::clicked, this, &TForm1::sBtZurueckClick);
  connect(F1BnStatus, &QPushButton::clicked, this, &TForm1::F1BnStatusClick);

  // Title screen: only "Ende" of the bar is there.
  for (QPushButton* b : {sBtBestand, sBtVerfahren, sBtGitter, sBtAuswertung, sBtDiagramm, sBtProbeBaeume, sBtExtras,
                         sBtAnweisung, sBtAnmerk, sBtZurueck, sBtNeuesVerfahren, sBtMultiSim, F1BtWiederholen,
                         F1BnStatus, sBtPausePlus, sBtFin, sBStatModBst, sBtDrehen})
    b->hide();
}

void TForm1::BuildExtrasGroup() {
  GrpExtras = Make<QGroupBox>(Client, "GrpExtras");
  GrpExtras->setTitle("Extras");
  GrpExtras->setGeometry(8, 200, 244, 220);
  GrpExtras->setStyleSheet("QGroupBox#GrpExtras { background: #e8f5e9; }");
  BtVarianz = MakeButton(GrpExtras, "BtVarianz", "E-Wert der Varianz", QRect(10, 24, 224, 30));
  BtOptom = MakeButton(GrpExtras, "BtOptom", "Optimierung", QRect(10, 58, 224, 30));
  BtKluppschwelle = MakeButton(GrpExtras, "BtKluppschwelle", "Kluppschwelle", QRect(10, 92, 224, 30));
  Button4 = MakeButton(GrpExtras, "Button4", "Betrieb generieren", QRect(10, 126, 224, 30));
  Label5 = MakeLabel(GrpExtras, "Label5", "Ecken je Kreis (10-40)", QRect(10, 160, 160, 20), 9, false, "black");
  EdEcken = Make<QLineEdit>(GrpExtras, "EdEcken");
  EdEcken->setGeometry(176, 160, 60, 22);
  EdEcken->setText("36");
  Label5->hide();
  EdEcken->hide();
  Button19 = MakeButton(GrpExtras, "Button19", " schliessen ", QRect(10, 184, 224, 28));
  connect(Button19, &QPushButton::clicked, this, &TForm1::Button19Click);
}

void TForm1::BuildPanels() {
  // Stand map: scroll box and image; the map's owner paints ImgBest from a QImage.
  ScrollBox1 = Make<QScrollArea>(Client, "ScrollBox1");
  ScrollBox1->setGeometry(308, 0, 968, 968);
  ScrollBox1->setWidgetResizable(false);
  ImgBest = Make<QLabel>(nullptr, "ImgBest");
  ImgBest->setGeometry(0, 0, 968, 968);
  ImgBest->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  ImgBest->setStyleSheet("background: white;");
  // The map's picture always covers the whole label (ShowMap sizes the label to it): filling the label
  // white first at every repaint only cost a million pixels each time the map is shown.
  ImgBest->setAttribute(Qt::WA_OpaquePaintEvent);
  ScrollBox1->setWidget(ImgBest);
  ScrollBox1->hide();

  ImgText = Make<QLabel>(Client, "ImgText");
  ImgText->setGeometry(320, 40, 640, 480);
  ImgText->setScaledContents(true);
  ImgText->hide();

  // The data column between the tool bar and the map: the method and grid figures and the run's
  // counters at the top; below them the grid group, the run's picture and, at the bottom, the legend.
  PnDaten = MakePanel(Client, "PnDaten", QRect(162, 0, 252, 700), kPanelColour);
  PnDaten->hide();
  Panel3 = MakePanel(Client, "Panel3", QRect(1100, 40, 130, 300), "white");
  Panel3->setToolTip("Blinken: Baumartenknopf anklicken");
  Panel3->hide();
  Panel5 = MakePanel(Client, "Panel5", QRect(320, 500, 600, 300), kPanelColour);
  Panel5->hide();
  // Above the mode buttons, clear of them also on a 768-pixel screen.
  Panel7 = MakePanel(Client, "Panel7", QRect(200, 20, 780, 270), kPanelColour);
  Panel7->setToolTip("Der gesamte Betrieb wird mit einem Modellbestand belegt");
  Button18 = MakeButton(Panel7, "Button18", "zurück", QRect(16, 224, 120, 34));
  Button21 = MakeButton(Panel7, "Button21", "weiter", QRect(644, 224, 120, 34));
  connect(Button18, &QPushButton::clicked, this, &TForm1::Button18Click);
  connect(Button21, &QPushButton::clicked, this, &TForm1::Button18Click);
  Panel7->hide();
  Panel8 = MakePanel(Client, "Panel8", QRect(320, 40, 600, 400), kPanelColour);
  Panel8->hide();
  Panel10 = MakePanel(Client, "Panel10", QRect(320, 40, 600, 400), kPanelColour);
  Panel10->hide();
  Panel12 = Make<QFrame>(Client, "Panel12");  // a plain container: never draws over the title
  Panel12->setGeometry(QRect(200, 24, 1020, 170));
  Panel12->lower();
  Panel12->hide();
  LbEinhBest = MakeLabel(Client, "LbEinhBest", "", QRect(320, 8, 600, 24), 11, true);
  LbEinhBest->hide();

  GroupBox1 = Make<QGroupBox>(Client, "GroupBox1");
  GroupBox1->setTitle("Gitter");
  GroupBox1->setGeometry(4, 440, 300, 300);
  GroupBox1->setStyleSheet("QGroupBox#GroupBox1 { background: #e8f5e9; }");
  BitBtn13 = MakeButton(GroupBox1, "BitBtn13", "↺", QRect(10, 260, 40, 30));
  BitBtn13->setToolTip("Gitter nach links drehen");
  BitBtn14 = MakeButton(GroupBox1, "BitBtn14", "↻", QRect(56, 260, 40, 30));
  BitBtn14->setToolTip("Gitter nach rechts drehen");
  connect(BitBtn13, &QPushButton::clicked, this, &TForm1::BitBtn13Click);
  connect(BitBtn14, &QPushButton::clicked, this, &TForm1::BitBtn14Click);

  Memo1 = Make<QPlainTextEdit>(Client, "Memo1");
  Memo1->setGeometry(320, 560, 620, 300);

  Panel15 = MakePanel(Client, "Panel15", QRect(480, 400, 320, 70), "#fff8c0");
  Panel15Text = MakeLabel(Panel15, "Panel15Text", "Bitte warten ...", QRect(0, 0, 320, 70), 16, true, "black");
  Panel15Text->setAlignment(Qt::AlignCenter);
  Panel15->hide();
  Panel14 = MakePanel(Client, "Panel14", QRect(480, 480, 160, 40), "#ffd0d0");
  MakeLabel(Panel14, "Panel14Text", "Interrupt", QRect(0, 0, 160, 40), 12, true, "black")
      ->setAlignment(Qt::AlignCenter);
  Panel14->hide();
}

void TForm1::FitToTheScreen(int screenHeight) {
  fit_ = FitToScreen(screenHeight);
  state.screenScale = fit_.scale;
  ScrollBox1->setGeometry(fit_.mapLeft, 0, fit_.mapSize, fit_.mapSize);
  ImgBest->setGeometry(0, 0, fit_.mapSize, fit_.mapSize);
  ScrollBox1->hide();
  state.gridRotation = 0.06;
  // On a 768-pixel screen the map is scaled with the title screen (380 / 898 become 304 / 718).
  if (std::abs(fit_.scale - 1.0) > 0.001) ScaleTitleScreen();
  mapSide_ = ImgBest->height();
  // The legend always follows the factor: its size by the factor rounded to hundredths.
  const double legend = RoundInt(fit_.scale * 100) / 100.0;
  QRect g = Panel3->geometry();
  Panel3->setGeometry(RoundInt(g.left() * fit_.scale), RoundInt(g.top() * fit_.scale), ScaleInt(g.width(), legend),
                      ScaleInt(g.height(), legend));
  ScrollBox1->setFrameShape(QFrame::NoFrame);
  PlaceOnScreen();
}

void TForm1::PlaceOnScreen() {
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  const QRect free = screen ? screen->availableGeometry() : QRect(0, 0, fit_.windowWidth, fit_.windowHeight);
  placedMargins_ = windowHandle() && isVisible() ? windowHandle()->frameMargins() : QMargins();
  const PixelRect c =
      PlaceMainWindow(fit_, {free.x(), free.y(), free.width(), free.height()},
                      {placedMargins_.left(), placedMargins_.top(), placedMargins_.right(), placedMargins_.bottom()});
  // The frame's position (a top-level window's pos() is its frame's), the client's size.
  resize(c.width, c.height);
  move(c.left - placedMargins_.left(), c.top - placedMargins_.top());
  PnWerkzeug->resize(PnWerkzeug->width(), std::max(c.height, 600));
  // The map begins right of the data column and its box ends within the window; the picture fills the
  // box, so the whole map is in view without scrolling (the map's scale follows the picture's size).
  PnDaten->resize(PnDaten->width(), c.height);
  const int boxLeft = std::max(ScrollBox1->x(), PnDaten->geometry().right() + 2);
  const int boxWidth = std::max(200, c.width - boxLeft);
  const int boxHeight = std::max(200, std::min(mapSide_, c.height));
  const QSize oldBox = ScrollBox1->size();
  ScrollBox1->setGeometry(boxLeft, 0, boxWidth, boxHeight);
  const QSize picture(std::min(mapSide_, boxWidth), boxHeight);
  if (state.run.enterpriseMode) {
    // The enterprise map is drawn once for the picture's size: a frame that comes late must not wipe it.
    // Where the picture was as large as the box it follows the box, its drawing kept; where the map
    // made it larger it stays and scrolls.
    if (!mapImage) return;
    const QSize kept = mapImage->size();
    const QSize fitted(kept.width() == oldBox.width() ? boxWidth : kept.width(),
                       kept.height() == oldBox.height() ? boxHeight : kept.height());
    if (fitted == kept) return;
    QImage next(fitted, QImage::Format_RGB32);
    next.fill(Qt::white);
    QPainter(&next).drawImage(0, 0, *mapImage);
    *mapImage = std::move(next);
    ShowMap();
    return;
  }
  if (ImgBest->size() == picture) return;
  ImgBest->resize(picture);
  if (!mapImage) return;
  *mapImage = QImage(picture, QImage::Format_RGB32);
  mapImage->fill(Qt::black);
  // A stand in view is drawn again to the picture's new size.
  if (ScrollBox1->isVisible() && state.currentStand.loaded && !state.run.busy) DrawStand();
}

void TForm1::ScaleTitleScreen() {
  const double s = state.screenScale;
  for (QLabel* l : {Label1, Label2, Label3, Label4, Label6, Label7, Label9, Label14, LblVersion1, LbLernPrg, LbStudent,
                    LbFortbild, LbEinricht})
    ScaleLabel(l, s);
  for (QWidget* w : std::initializer_list<QWidget*>{Panel1, Panel2, Bevel3, Image1, PnBegrenzung, Image2, Image3,
                                                    ImgLeg, ScrollBox1, ImgBest})
    ScaleGeometry(w, s);
  ScaleGeometry(Memo1, s, false);
  // The mode, language and end buttons stand on the scaled panels: they follow them.
  ScaleGeometry(Panel6, s);
  for (QPushButton* b : {Button12, Button14, Button17, BitBtn15, BitBtn16, BitBtn17, BitBtn18, BitBtn19, BitBtn20,
                         BitBtn21, BitHinweise}) {
    ScaleGeometry(b, s);
    QFont f = b->font();
    f.setPointSize(std::max(1, ScaleInt(f.pointSize(), s)));
    b->setFont(f);
  }
}

QPushButton* TForm1::LanguageButton(int languageNumber) const {
  QPushButton* const b[7] = {BitBtn15, BitBtn16, BitBtn17, BitBtn18, BitBtn19, BitBtn20, BitBtn21};
  if (languageNumber < 1 || languageNumber > 7) return nullptr;
  return b[languageNumber - 1];
}

bool TForm1::GuardBusy() const { return state.run.busy; }

void TForm1::DisableResultButtons() {
  sBtAuswertung->setEnabled(false);
  sBtDiagramm->setEnabled(false);
  sBtProbeBaeume->setEnabled(false);
  // It repeats the last evaluation's pass, which a new stand, method or grid leaves behind.
  F1BtWiederholen->setEnabled(false);
}

void TForm1::HideTitleScreen() {
  sBtBestand->setEnabled(true);
  BitHinweise->hide();
  MemHilfe->hide();
  BitStop->show();
  for (QWidget* w : std::initializer_list<QWidget*>{
           Label1,      Label2,    Label3,        Label4,    Label6,     Label7,     Label9,     Label14, LblBaumZahl,
           LbBaumZahlQ, LbAnzStpQ, LbModBestande, Bevel3,    Image1,     Image2,     Image3,     Panel1,  Panel2,
           Panel3,      Panel6,    LbLernPrg,     LbStudent, LbFortbild, LbEinricht, LblVersion1})
    w->hide();
  sBtAnweisung->show();
  sBtAnmerk->show();
  for (int i = 1; i <= 7; ++i) LanguageButton(i)->hide();
}

void TForm1::ShowTitleScreen() {
  // Leaving a mode hides whatever it showed: every control of the client area but the title screen, the
  // tool bar's own buttons and the containers the title screen keeps (the mode buttons' Panel6, Panel12).
  const std::initializer_list<QWidget*> title{Label1,    Label2,     Label3,     Label4, Label6,     Label7,
                                              Label9,    Label14,    Bevel3,     Panel1, Panel2,     LbLernPrg,
                                              LbStudent, LbFortbild, LbEinricht, Panel6, LblVersion1};
  const std::initializer_list<QWidget*> kept{PnWerkzeug,  sBtBestand,     sBtVerfahren, sBtGitter,    sBtAuswertung,
                                             sBtDiagramm, sBtProbeBaeume, sBtExtras,    sBtAnweisung, sBtAnmerk,
                                             sBtZurueck,  BtEnde,         Panel12,      BitHinweise,  Image1,
                                             Image2,      Image3};
  const auto among = [](const std::initializer_list<QWidget*>& list, const QObject* o) {
    return std::find(list.begin(), list.end(), o) != list.end();
  };
  for (QObject* o : Client->children()) {
    auto* w = qobject_cast<QWidget*>(o);
    if (w && !w->isWindow() && !among(title, w) && !among(kept, w) && LanguageNumberOf(w) == 0) w->hide();
  }
  for (QWidget* w : title) w->show();
  for (QLabel* image : {Image1, Image2, Image3}) image->setVisible(!image->pixmap().isNull());
  for (int i = 1; i <= 7; ++i) LanguageButton(i)->show();
}

int TForm1::LanguageNumberOf(const QObject* o) const {
  for (int i = 1; i <= 7; ++i)
    if (LanguageButton(i) == o) return i;
  return 0;
}

void TForm1::BtStartClick() {
  if (GuardBusy()) return;
  TranslateAllForms(state);
  HideTitleScreen();
  CloseOperatingHelp();
  sBtBestand->show();
  sBtBestand->setEnabled(true);
  sBtVerfahren->show();
  sBtGitter->show();
  sBtAuswertung->show();
  sBtAuswertung->setEnabled(false);
  sBtDiagramm->show();
  sBtDiagramm->setEnabled(false);
  sBtProbeBaeume->show();
  sBtProbeBaeume->setEnabled(false);
  sBtExtras->show();
  sBtExtras->setEnabled(false);
  sBtAnweisung->show();
  sBtZurueck->show();
  QPixmap photo(Q(ResolveIn(state.folders.program, "Fotos\\FotogS20.jpg")));
  if (!photo.isNull()) {
    ImgText->setPixmap(photo);
    ImgText->show();
  }
  // The result graphic window's "Liste" and "Fläche" belong to the enterprise views.
  if (forms.form2) {
    forms.form2->BtListe->setEnabled(false);
    forms.form2->BtFlaeche->setEnabled(false);
  }
  // The model-stand table is loaded once, here.
  if (!state.run.modelStandTableLoaded) LoadModelStandTable();
  if (!state.run.enterpriseMode) sBtBestandClick();
}

void TForm1::Button17Click() {
  if (GuardBusy()) return;
  HideTitleScreen();
  CloseOperatingHelp();
  TranslateAllForms(state);
  Panel7->show();
  Panel7->raise();
  Button21->setFocus();
  Panel6->show();
  Button12->setEnabled(false);
  Button14->setEnabled(false);
  CheckBox2->setEnabled(true);
  CheckBox3->setEnabled(true);
  state.run.specialFunctions = true;
}

void TForm1::Button18Click() {
  if (GuardBusy()) return;
  Panel7->hide();
  ScrollBox1->hide();
  Panel3->hide();
  LbEinhBest->hide();
  if (modelStandShown) {
    // The figures of the model stand shown go with its map.
    LblFlaeche->hide();
    LblBaumZahl->hide();
    modelStandShown = false;
  }
  Panel6->show();
  Button14->setEnabled(true);
  // Back on the whole title screen with both modes at hand (it once stayed stripped, "Bestand" disabled).
  ShowTitleScreen();
  // As on the first title screen: the stand is chosen with "Bestand", and the notes are at hand again.
  sBtBestand->setEnabled(false);
  if (!state.run.enterpriseMode) BitHinweise->show();
  Button12->setEnabled(true);
}

void TForm1::BitStopClick() { sBtEndeClick(); }

bool TForm1::sBtEndeClick() {
  if (quitting_) return true;
  // The captions of the message box are translated (form id "F42") here.
  TranslateMessageBoxButtons(state);
  int answer = state.services.messages->AskYesNoAt(T("Programm wird beendet"), MessageKind::Question, 3, 650);
  if (answer != kResultYes) return false;
  quitting_ = true;
  if (state.run.busy) {
    // A loop is running under this handler: it stops after its current step, then the program ends.
    state.run.repetitionStop = true;
    state.run.waitAbort = true;
    state.run.endRequested = true;
  }
  state.services.exit->Quit(0);
  return true;
}

// A click on the wait panel ends the program as "Ende" does, asked first: a click there is easily made
// by mistake while a run goes on.
void TForm1::Panel15Click() { sBtEndeClick(); }

void TForm1::sBtProbeBaeumeClick() {
  if (GuardBusy()) return;
  if (state.sampleTreeCount > 1500) {
    // The list is not shown; Cancel ends the program, asked first as "Ende" asks.
    const int answer = state.services.messages->PlatformBox(
        T("Nur bis 1500 Probebäume darstellbar") + ". " +
            T("File " + JoinPath(state.folders.program, "Temp/ProbeBa.Txt") + " # mit Notepad ausgeben."),
        "", PlatformButtons::YesNoCancel, PlatformIcon::None);
    if (answer == kResultCancel) sBtEndeClick();
    return;
  }
  forms.btnRightDlg3->ShowTextFile(1, ResolveIn(state.folders.program, "Temp/ProbeBa.Txt"));
}

void TForm1::sBStatModBstClick() {
  if (GuardBusy()) return;
  forms.btnRightDlg3->ShowTextFile(2, ResolveIn(state.folders.program, "Temp/StatModBst.Txt"));
}

void TForm1::sBtExtrasClick() {
  if (GuardBusy()) return;
  // The caption of Panel3 of the optimisation window becomes Translate("schnell") here.
  if (GrpExtras->isVisible()) {
    GrpExtras->hide();
    return;
  }
  // In the data column's slot, beside the tool bar (over it, the group hid its buttons): what the slot
  // holds (the grid group, a run's pictures) steps aside while the group is open and comes back when it
  // closes, whoever closes it.
  GrpExtras->move(PnDaten->x() + 4, kDataSlotTop);
  besideExtras_.clear();
  for (QWidget* w : std::initializer_list<QWidget*>{GroupBox1, ImgRepeat, ImgRepeatN, ImgRepeatD})
    if (w && w->isVisible()) {
      besideExtras_.push_back(w);
      w->hide();
    }
  GrpExtras->show();
  GrpExtras->raise();
}

void TForm1::Button19Click() { GrpExtras->hide(); }

void TForm1::sBtAnmerkClick() {
  if (GuardBusy()) return;
  if (Memo1->isVisible()) {
    Memo1->hide();
    sBtAnmerk->setText(Q("       " + T("Anmerkung")));
  } else {
    Memo1->show();
    Memo1->raise();
    sBtAnmerk->setText(Q(T("Anmerkung schliessen")));
  }
  widgets::FitCaption(sBtAnmerk);
}

void TForm1::sBtZurueckClick() {
  if (GuardBusy()) return;
  // The map, legend, data column, panels and run pictures go with the rest of the mode, and so do the
  // stand's description and preview windows; the work buttons wait for a mode as on the first title.
  CloseOperatingHelp();
  ShowTitleScreen();
  for (QWidget* window : std::initializer_list<QWidget*>{forms.form15, forms.form35, forms.form44})
    if (window && !window->isModal()) window->hide();
  for (QPushButton* b : {sBtBestand, sBtVerfahren, sBtGitter, sBtAuswertung, sBtDiagramm, sBtProbeBaeume, sBtExtras})
    b->setEnabled(false);
  Panel12->show();
  Panel6->show();
  Button12->setEnabled(true);
  Button14->setEnabled(true);
  if (state.run.enterpriseMode) {
    LeaveEnterpriseView();
    state.folders.stands = JoinPath(state.folders.program, "Bestande/");
  } else {
    BitHinweise->show();
  }
}

void TForm1::BitBtn13Click() {
  if (GuardBusy()) return;
  state.gridRotation = RotateGridLeft(state.gridRotation);
  // The grid is rebuilt with the current spacing, drawn and counted here.
}

void TForm1::BitBtn14Click() {
  if (GuardBusy()) return;
  state.gridRotation = RotateGridRight(state.gridRotation);
  // The grid is rebuilt with the current spacing, drawn and counted here.
}

void TForm1::F1BnStatusClick() {
  state.run.graphics = !state.run.graphics;
  F1BnStatus->setText(Q(T(state.run.graphics ? "Grafik aus" : "Grafik ein")));
  widgets::FitCaption(F1BnStatus);
  sBtPausePlus->setEnabled(state.run.graphics);
  // Single steps end as by "aus".
  state.run.singleStep = false;
  state.run.waitAbort = true;
  sBtFin->hide();
}

void TForm1::closeEvent(QCloseEvent* e) {
  // Closing the window is the same as "Ende": asked first, so a running loop is stopped in order.
  if (quitting_) {
    e->accept();
    return;
  }
  e->ignore();
  sBtEndeClick();
}

bool TForm1::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::ToolTip && watched->isWidgetType()) {
    auto* w = static_cast<QWidget*>(watched);
    // A window may switch its hints off (the result window does while a distribution is chosen).
    if (w->window()->property(kShowHintProperty) == QVariant(false)) return true;
    if (w->toolTip().isEmpty()) return false;
    std::string hint = HintText(S(w->toolTip()));
    for (char& c : hint)
      if (c == '\r') c = '\n';
    auto* he = static_cast<QHelpEvent*>(e);
    // Plain text: a hint is never read as markup; hidden again after 5 s.
    QString text = Q(hint).toHtmlEscaped().replace("\n", "<br>");
    QToolTip::showText(he->globalPos(), "<qt>" + text + "</qt>", w, QRect(), 5000);
    return true;
  }
  if (watched == GrpExtras && e->type() == QEvent::Hide) {
    for (QWidget* w : besideExtras_)
      if (w) w->show();
    besideExtras_.clear();
  }
  // The window system's frame is known only some time after the window is up (a window manager frames
  // it when it gets to it): the window is placed again then, so that the frame, not only the client,
  // stands on the screen.
  if (watched == this && (e->type() == QEvent::Show || e->type() == QEvent::Move) && windowHandle()) {
    for (int ms : {0, 300, 1500})
      QTimer::singleShot(ms, this, [this] {
        if (windowHandle() && isVisible() && windowHandle()->frameMargins() != placedMargins_) PlaceOnScreen();
      });
  }
  if (e->type() == QEvent::MouseButtonPress && (watched == Panel15 || watched == Panel15Text)) {
    Panel15Click();
    return true;
  }
  if (e->type() == QEvent::MouseButtonPress && watched == BtVarianz) {
    const auto* me = static_cast<QMouseEvent*>(e);
    BtVarianzMouseDown(me->button() == Qt::LeftButton && (me->modifiers() & Qt::ControlModifier));
  }
  return QMainWindow::eventFilter(watched, e);
}

}  // namespace tolvek
