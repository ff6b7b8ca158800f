#include "simulator/forms/enterprise_results.h"

#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include "common/paths.h"
#include "common/qt/qt_canvas.h"
#include "common/qt/qt_services.h"
#include "common/translate.h"
#include "simulator/enterprise/enterprise_views.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/text_viewer.h"
#include "common/qt/widget_makers.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

// The matrix of cells: 7 × 40 pixels, its left edge under the class names of Label2.
constexpr int kCell = 40;
constexpr int kMatrixLeft = 258, kMatrixTop = 74;
constexpr int kMatrix = 7 * kCell;

// The captions of the stand types' mode, as the language table gives them for the window.
std::string DesignCaption(const LanguageTable& table, const char* name, const char* german) {
  const ComponentTexts t = LookupComponentTexts(table, "F27", name);
  return t.caption ? *t.caption : std::string(german);
}

constexpr const char* kAgeClassHead = "Altersklasse   1/2    3    4    5   6+   alle";
constexpr const char* kTypesCaption = "Bestandestypen";
constexpr const char* kAllTypesCaption = "Alle Bestandestypen";

QFont Font(int points, bool bold = false, bool mono = false) {
  QFont f(mono ? "DejaVu Sans Mono" : "Arial");
  if (mono) f.setStyleHint(QFont::TypeWriter);
  f.setPointSize(points);
  f.setBold(bold);
  return f;
}

// The hectares of the strata, stands of type positions and classes 1..5 only.
std::array<std::array<double, kStrata>, kStrata> AreaOfStrata(const EnterpriseSession& e) {
  std::array<std::array<double, kStrata>, kStrata> b{};
  for (int a = 1; a <= e.compartmentCount && a < static_cast<int>(e.compartments.size()); ++a)
    for (const EnterpriseStand& st : e.At(a).stands) {
      if (st.typePosition < 1 || st.typePosition > 5 || st.cls < 1 || st.cls > 5) continue;
      for (const auto& [t, k] : {std::pair{st.typePosition, st.cls}, std::pair{st.typePosition, 0}, std::pair{0, st.cls},
                                 std::pair{0, 0}})
        b[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)] += st.area;
    }
  return b;
}

}  // namespace

TForm27::TForm27(SimulatorState& st, Forms& fm, QWidget* parent) : QDialog(parent), state(st), forms(fm) {
  setObjectName("Form27");
  setWindowTitle("Tolvek");
  setModal(true);
  setStyleSheet("QDialog#Form27 { background: #eef4ee; }");
  Label[1] = widgets::Label(this, "Label1", "Wahl der Auswertungseinheit", QRect(20, 10, 560, 26));
  Label[1]->setFont(Font(13, true));
  Label[2] = widgets::Label(this, "Label2", kAgeClassHead, QRect(130, 50, 470, 20));
  Label[2]->setFont(Font(10, true, true));
  Label[3] = widgets::Label(this, "Label3", kTypesCaption, QRect(20, 50, 200, 20));
  Label[3]->setFont(Font(10, true));
  for (int p = 1; p <= 5; ++p) {
    Label[static_cast<std::size_t>(p + 3)] =
        widgets::Label(this, ("Label" + std::to_string(p + 3)).c_str(), "", QRect(20, kMatrixTop + (p - 1) * kCell + 10, 232, 20));
  }
  Label[9] = widgets::Label(this, "Label9", kAllTypesCaption, QRect(20, kMatrixTop + 5 * kCell + 10, 232, 20));
  Label[11] = widgets::Label(this, "Label11", "Vergleich  Bestandestypen", QRect(20, kMatrixTop + 6 * kCell + 10, 232, 20));
  Label[12] = widgets::Label(this, "Label12", "Vergleich  Altersklassen",
                    QRect(kMatrixLeft + 6 * kCell - 60, kMatrixTop + kMatrix + 4, 220, 20));
  Label[12]->setAlignment(Qt::AlignRight | Qt::AlignTop);
  Label[12]->setGeometry(kMatrixLeft + kMatrix - 220, kMatrixTop + kMatrix + 4, 220, 20);
  Label[10] = widgets::Label(this, "Label10", "In der Tabelle Zahl der Probeflächen", QRect(20, kMatrixTop + kMatrix + 28, 500, 20));
  for (int i : {9, 11}) Label[static_cast<std::size_t>(i)]->setFont(Font(9, true));
  ImgBTAk = new QLabel(this);
  ImgBTAk->setObjectName("ImgBTAk");
  ImgBTAk->setGeometry(kMatrixLeft, kMatrixTop, kMatrix, kMatrix);
  ImgBTAk->setCursor(Qt::PointingHandCursor);
  ImgBTAk->setToolTip(QString::fromUtf8("Gewünschte BT/AK - Kombination anklicken"));
  ImgBTAk->installEventFilter(this);
  picture = QImage(kMatrix + 1, kMatrix + 1, QImage::Format_RGB32);
  picture.fill(Qt::white);
  const int buttons = kMatrixTop + kMatrix + 60;
  Button2 = widgets::Button(this, "Button2", "weiter", QRect(20, buttons, 150, 30));
  Button3 = widgets::Button(this, "Button3", "Anweisung", QRect(190, buttons, 150, 30));
  BtMultiSim27 = widgets::Button(this, "BtMultiSim27", "schliessen", QRect(kMatrixLeft + kMatrix - 150, buttons, 150, 30));
  connect(Button2, &QPushButton::clicked, this, &TForm27::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TForm27::Button3Click);
  connect(BtMultiSim27, &QPushButton::clicked, this, &TForm27::BtMultiSim27Click);
  setFixedSize(kMatrixLeft + kMatrix + 30, buttons + 50);
}

void TForm27::Button1Click() {
  const LanguageTable& lang = state.language;
  const auto T = [&](const char* german) { return Q(Translate(lang, german)); };
  picture.fill(Qt::white);
  {
    QtCanvas canvas(picture);
    DrawUnitChoice(canvas, state.inventory.estimates, AreaOfStrata(state.enterprise), property("tag").toInt(),
                   ImgBTAk->width());
  }
  ImgBTAk->setPixmap(QPixmap::fromImage(picture));
  Label[1]->setText(T("Wahl der Auswertungseinheit"));
  Label[10]->setText(T("In der Tabelle Zahl der Probeflächen"));
  Label[11]->setText(T("Vergleich  Bestandestypen"));
  Label[12]->setText(T("Vergleich  Altersklassen"));
  if (state.settings.forestDevelopmentTypes) {
    Label[2]->setText(T("Behandlungstyp   JPF   DF  VPF  VN   DW  alle"));
    Label[3]->setText(T("Waldentwicklungstypen"));
    Label[9]->setText(T("Alle Waldentwicklungstypen"));
    Label[11]->setText(T("Vergleich  Waldentwicklungstypen"));
    Label[12]->setText(T("Vergleich  Behandlungstypen"));
  } else {
    Label[2]->setText(Q(DesignCaption(lang, "Label2", kAgeClassHead)));
    Label[3]->setText(Q(DesignCaption(lang, "Label3", kTypesCaption)));
    Label[9]->setText(Q(DesignCaption(lang, "Label9", kAllTypesCaption)));
  }
  Label[2]->move(130, Label[2]->y());
  const std::array<std::string, kStrata> names = PositionNames(state);
  for (int p = 1; p <= 5; ++p) Label[static_cast<std::size_t>(p + 3)]->setText(Q(names[static_cast<std::size_t>(p)]));
}

void TForm27::ImgBTAkMouseDown(int x, int y) {
  const UnitCell c = UnitAt(x, y, ImgBTAk->width());
  state.inventory.chosenRow = c.row;
  state.inventory.chosenColumn = c.column;
  done(QDialog::Accepted);
}

void TForm27::Button2Click() { done(QDialog::Accepted); }

void TForm27::Button3Click() {
  leave = true;
  done(QDialog::Accepted);
  if (forms.form1) forms.form1->sBtAnweisung->show();
}

void TForm27::BtMultiSim27Click() {
  leave = true;
  state.run.showReport = false;
  if (forms.form1) forms.form1->sBtNeuesVerfahren->setEnabled(true);
  done(QDialog::Accepted);
}

bool TForm27::eventFilter(QObject* watched, QEvent* e) {
  if (watched == ImgBTAk && e->type() == QEvent::MouseButtonPress) {
    const QPoint p = static_cast<QMouseEvent*>(e)->position().toPoint();
    ImgBTAkMouseDown(p.x(), p.y());
    return true;
  }
  return QDialog::eventFilter(watched, e);
}

// ---- TForm31

TForm31::TForm31(SimulatorState& st, Forms& fm, QWidget* parent) : QDialog(parent), state(st), forms(fm) {
  setObjectName("Form31");
  setWindowTitle("Tolvek");
  setModal(true);
  resize(900, 640);
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setStyleSheet("background: white;");
  Memo1->setFont(Font(10, false, true));
  Memo1->setGeometry(8, 8, 884, 570);
  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setStyleSheet("background: red;");
  Panel1->setGeometry(StratumTableMarkerLeft(6), 8, 1, 570);
  Panel1->setToolTip(QString::fromUtf8("rote Linie markiert die in der Grafik dargestellten Ergebnisse"));
  Button1 = widgets::Button(this, "Button1", "schliessen", QRect(8, 594, 150, 32));
  Button1->setToolTip(QString::fromUtf8("Tabelle schliessen, zurück zur Grundfläche"));
  Button2 = widgets::Button(this, "Button2", "drucken", QRect(170, 594, 150, 32));
  Button2->setToolTip(QString::fromUtf8("Tabelle drucken"));
  connect(Button1, &QPushButton::clicked, this, &TForm31::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm31::Button2Click);
  choosePrinter = [this](QPrinter& printer) {
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName("PrintDialog1");
    return dialog.exec() == QDialog::Accepted;
  };
}

void TForm31::Fill(const std::vector<std::string>& lines, int column) {
  QStringList text;
  for (const std::string& l : lines) text << Q(l);
  Memo1->setPlainText(text.join('\n'));
  Panel1->move(StratumTableMarkerLeft(column), Panel1->y());
  Panel1->raise();
}

bool TForm31::ShowStratumTable(const std::vector<std::string>& lines, int column) {
  const Outcome written = WriteTextLines(StratumTablePath(state.folders.program), lines);
  if (!written.ok())
    state.services.messages->PlatformBox(ProblemMessage(state.language, written.problem()), "", PlatformButtons::Ok,
                                         PlatformIcon::Warning);
  Fill(lines, column);
  exec();
  return written.ok();
}

void TForm31::Button1Click() {
  state.graph.command = 'G';
  done(QDialog::Accepted);
}

bool TForm31::PrintOn(QPrinter& printer) {
  return PrintTextFileTo(state, StratumTablePath(state.folders.program), printer);
}

void TForm31::Button2Click() {
  Button1->hide();
  Button2->hide();
  QPrinter printer(QPrinter::HighResolution);
  if (choosePrinter && choosePrinter(printer)) PrintOn(printer);
  Button1->show();
  Button2->show();
}

// ---- TForm16

TForm16::TForm16(QWidget* parent) : QDialog(parent) {
  setObjectName("Form16");
  setWindowTitle("Tolvek");
  BtnStop = widgets::Button(this, "BtnStop", "schliessen", QRect(20, 20, 150, 30));
  connect(BtnStop, &QPushButton::clicked, this, &TForm16::BtnStopClick);
  setFixedSize(190, 70);
}

void TForm16::BtnStopClick() { close(); }

}  // namespace tolvek
