// The main window's help and documents: "Wichtige Hinweise", the operating-help group with the manual
// and the help pages, and the theory documents.
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <functional>

#include "common/paths.h"
#include "common/qt/qt_services.h"
#include "common/qt/widget_makers.h"
#include "simulator/documents.h"
#include "simulator/forms/documents_open.h"
#include "simulator/forms/form1.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

QGroupBox* Group(QWidget* parent, const char* name, const char* title, QRect r) {
  auto* g = new QGroupBox(QString::fromUtf8(title), parent);
  g->setObjectName(name);
  g->setGeometry(r);
  g->setStyleSheet(QString("QGroupBox#%1 { background: #e8f5e9; border: 1px solid #5a7d5a; margin-top: 8px; }"
                           "QGroupBox#%1::title { subcontrol-origin: margin; left: 8px; }")
                       .arg(name));
  g->hide();
  return g;
}

// A radio button of an exclusive group can only be unchecked with its exclusiveness off for a moment.
void Uncheck(QRadioButton* b) {
  const bool exclusive = b->autoExclusive();
  b->setAutoExclusive(false);
  b->setChecked(false);
  b->setAutoExclusive(exclusive);
}

// A click into the notes memo closes it.
class ClickCloses : public QObject {
 public:
  ClickCloses(QObject* parent, std::function<void()> onClick) : QObject(parent), onClick_(std::move(onClick)) {}
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::MouseButtonPress) {
      onClick_();
      return true;
    }
    return false;
  }

 private:
  std::function<void()> onClick_;
};

}  // namespace

void TForm1::BuildHelpArea() {
  GrpDtEng = Group(Client, "GrpDtEng", " Bedienung ", QRect(166, 240, 250, 196));
  RdDtsch = widgets::TabRadio(GrpDtEng, "RdDtsch", "Bedienungsanleitung", QRect(12, 26, 230, 26));
  RdBenutzer = widgets::TabRadio(GrpDtEng, "RdBenutzer", "Benutzerhandbuch", QRect(12, 58, 230, 26));
  // Help pages open in the browser here: nothing needs installing.
  RdBenutzer->setToolTip(QString::fromUtf8("Hilfe: Inhaltsverzeichnis # öffnet im Internet-Browser"));
  RdNeue = widgets::TabRadio(GrpDtEng, "RdNeue", "Struktur d. Datenbestände", QRect(12, 90, 230, 26));
  RdAnwend = widgets::TabRadio(GrpDtEng, "RdAnwend", "Anwendungen", QRect(12, 122, 230, 26));
  RdSuche = widgets::TabRadio(GrpDtEng, "RdSuche", "Theoretische Grundlagen", QRect(12, 154, 230, 26));
  for (QRadioButton* b : {RdDtsch, RdBenutzer, RdNeue, RdAnwend, RdSuche})
    connect(b, &QRadioButton::clicked, this, [this, b] { RdDtschClick(b); });

  BtWarten = new QPushButton(Client);
  BtWarten->setObjectName("BtWarten");
  BtWarten->setGeometry(166, 442, 250, 70);
  BtWarten->setText(Q(T("Bitte warten ...")));
  BtWarten->hide();

  GbNbaum = Group(Client, "GbNbaum", " Theoretische Grundlagen ", QRect(424, 240, 400, 276));
  static const char* const kCaptions[7] = {"Genauigkeit der Betriebsinventuren",
                                           "Genauigkeit des mittl. BHD ",
                                           "Genauigkeit der Grundfläche",
                                           "Erwartungswerte der Stichprobenvarianz",
                                           "Optimierung des Stichprobenplans",
                                           "Bias-Reduktion bei der n-Baum Stichprobe",
                                           "Zur Stichprobentheorie der n-Baum Stichprobe "};
  for (int i = 0; i < 7; ++i) {
    RbTeo[i] = widgets::TabRadio(GbNbaum, kTheoryDocuments[i].control, kCaptions[i], QRect(12, 30 + i * 34, 376, 28));
    connect(RbTeo[i], &QRadioButton::clicked, this, [this, i] { RbTeoAllgemeinClick(RbTeo[i]); });
  }
  ButtonX = new QPushButton("x", GbNbaum);
  ButtonX->setObjectName("ButtonX");
  ButtonX->setGeometry(368, 14, 24, 22);
  connect(ButtonX, &QPushButton::clicked, this, &TForm1::ButtonXClick);

  connect(sBtAnweisung, &QPushButton::clicked, this, &TForm1::sBtAnweisungClick);
  connect(BitHinweise, &QPushButton::clicked, this, &TForm1::BitHinweiseClick);
  MemHilfe->setToolTip(QString::fromUtf8("Fenster durch Anklicken schliessen"));
  MemHilfe->viewport()->installEventFilter(new ClickCloses(MemHilfe, [this] { MemHilfeClick(); }));
}

void TForm1::sBtAnweisungClick() {
  if (GuardBusy()) return;
  const bool show = !GrpDtEng->isVisible();
  GrpDtEng->setVisible(show);
  if (show) GrpDtEng->raise();
  for (QRadioButton* b : {RdDtsch, RdBenutzer, RdAnwend, RdNeue, RdSuche}) Uncheck(b);
  GbNbaum->hide();
  sBtAnweisung->setText(Q(show ? " " + T("Anweisung schliessen") : "        " + T("Anweisung")));
}

void TForm1::CloseOperatingHelp() {
  if (GrpDtEng && GrpDtEng->isVisible()) sBtAnweisungClick();
  if (GbNbaum) GbNbaum->hide();
}

void TForm1::RdDtschClick(QObject* sender) {
  if (GuardBusy()) return;
  GbNbaum->setVisible(sender == RdSuche);
  if (sender == RdSuche) GbNbaum->raise();
  if (sender == RdDtsch) {
    const std::string manual = ManualFileFor(state.settings.language);
    if (manual.empty()) return;
    BtWarten->setText("Please wait,\ninternet-browser\nwill be activated");
    BtWarten->show();
    BtWarten->raise();
    state.services.pump->Pump(0);  // the notice is seen before the browser takes its time
    OpenDocumentReported(state, ResolveIn(state.folders.program, manual), DocumentKind::kPage);
    BtWarten->setText(Q(T("Bitte warten ...")));
    BtWarten->hide();
  } else if (sender == RdBenutzer) {
    OpenHelpTopic(state, kHelpContents);
  } else if (sender == RdNeue) {
    OpenHelpTopic(state, kHelpDataStructure);
  } else if (sender == RdAnwend) {
    OpenHelpTopic(state, kHelpApplications);
  }
}

void TForm1::RbTeoAllgemeinClick(QObject* sender) {
  if (GuardBusy()) return;
  const std::string file = TheoryDocumentFor(S(sender->objectName()));
  if (!file.empty()) OpenDocumentReported(state, ResolveIn(state.folders.presets, file), DocumentKind::kTheory);
  Uncheck(RdSuche);
}

void TForm1::ButtonXClick() {
  GbNbaum->hide();
  Uncheck(RdSuche);
}

void TForm1::BitHinweiseClick() {
  MemHilfe->clear();
  QStringList lines;
  for (const std::string& l : ImportantNotes(state.language)) lines << Q(l);
  MemHilfe->setPlainText(lines.join('\n'));
  MemHilfe->setToolTip(Q(T("Fenster durch Anklicken schliessen")));
  // within the window also on a small screen
  const QRect g = MemHilfe->geometry();
  MemHilfe->resize(std::min(700, Client->width() - g.left() - 20), std::min(500, Client->height() - g.top() - 20));
  MemHilfe->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  MemHilfe->show();
  MemHilfe->raise();
  BitHinweise->hide();
}

void TForm1::MemHilfeClick() {
  MemHilfe->hide();
  BitHinweise->show();
}

}  // namespace tolvek
