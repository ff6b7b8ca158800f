#include "simulator/forms/form24.h"

#include <QEvent>
#include <QFont>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QToolTip>

#include "common/qt/qt_canvas.h"
#include "common/qt/qt_services.h"
#include "common/qt/widget_makers.h"
#include "simulator/forms/form1.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

constexpr const char* kGraphHint = "Mit Maustaste Skalenwerte anzeigen";

struct FieldRow {
  const char* header;  // a heading above the row's group, or null
  const char* headerName;
  const char* label;
  const char* labelName;
  const char* edit;
  PlanField field;
};
// The input panel's rows, top to bottom.
constexpr FieldRow kRows[] = {
    {"Zeitbedarf", "Label4", "Minuten / Fläche", "Pb_tFM", "Ed_tF0", PlanField::tF},
    {nullptr, nullptr, "Minuten / Baum", "Lb_tB0", "Ed_tB0", PlanField::tB},
    {"Gehgeschwindigkeit", "Label5", "km/h zwischen Flächen", "LbtFBkm", "Ed_tFMkm", PlanField::vF},
    {nullptr, nullptr, "km/h zwischen Bäumen", "Lb_tBMkm", "Ed_tBMkm", PlanField::vB},
    {"Standardabweichung (%)", "Label6", "zwischen  Flächen", "Lb_sigF", "Ed_SigF", PlanField::sF},
    {nullptr, nullptr, "zwischen  Bäumen", "Lb_SigB", "Ed_sigB", PlanField::sB},
    {"Bestand", "Label9", "Bestandesfläche", "Lb_BestFl", "Ed_BestFl", PlanField::A},
    {nullptr, nullptr, "Bäume / ha", "Lb_AnzB", "Ed_AnzB", PlanField::N},
    {nullptr, nullptr, "Genauigkeit (%)", "Label1", "Ed_VC", PlanField::VC},
};

}  // namespace

TForm24::TForm24(SimulatorState& st, TForm1* m, QWidget* parent) : QDialog(parent), state(st), main(m) {
  setObjectName("Form24");
  setWindowTitle(QString::fromUtf8("Optimierung des Stichprobenplans"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint);
  setModal(true);
  setFixedSize(930, 556);
  QLabel* title = widgets::Label(this, "Label10", "Zeitbedarf der Inventur", QRect(10, 6, 400, 20));
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  widgets::Label(this, "Label7", "Minuten", QRect(10, 24, 200, 16));
  ImgZeit = widgets::Label(this, "ImgZeit", "", QRect(10, 42, 560, 460));
  ImgZeit->installEventFilter(this);
  widgets::Label(this, "Label8", "Bäume je Probefläche", QRect(330, 506, 240, 18))->setAlignment(Qt::AlignRight);
  image_ = QImage(ImgZeit->size(), QImage::Format_RGB32);
  image_.fill(Qt::white);

  GrpVorgaben = new QGroupBox(QString::fromUtf8("Vorgaben"), this);
  GrpVorgaben->setObjectName("GrpVorgaben");
  GrpVorgaben->setGeometry(584, 10, 336, 424);
  QLineEdit** edits[] = {&Ed_tF0, &Ed_tB0, &Ed_tFMkm, &Ed_tBMkm, &Ed_SigF, &Ed_sigB, &Ed_BestFl, &Ed_AnzB, &Ed_VC};
  int top = 24;
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const FieldRow& row = kRows[i];
    if (row.header) {
      QLabel* h = widgets::Label(GrpVorgaben, row.headerName, row.header, QRect(10, top, 316, 20));
      h->setFont(bold);
      top += 22;
    }
    widgets::Label(GrpVorgaben, row.labelName, row.label, QRect(18, top + 3, 222, 20));
    QLineEdit* e = widgets::Edit(GrpVorgaben, row.edit, QRect(244, top, 80, 26));
    e->setAlignment(Qt::AlignRight);
    *edits[i] = e;
    connect(e, &QLineEdit::editingFinished, this, [this, e] { Ed_VCExit(e); });
    top += 32;
  }
  LbKurve1 =
      widgets::Label(this, "Label2", "Die Baumzahl-Flächenzahl-Kominationen der Kurve", QRect(584, 438, 336, 36));
  LbKurve2 =
      widgets::Label(this, "Label3", "gewährleisten den vorgegebenen Stichprobenfehler", QRect(584, 474, 336, 36));
  for (QLabel* l : {LbKurve1, LbKurve2}) {
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  }
  Button1 = widgets::Button(this, "Button1", "beenden", QRect(770, 516, 150, 32));
  connect(Button1, &QPushButton::clicked, this, &TForm24::Button1Click);
}

void TForm24::InitPlanOptimisation(double sF, double sB) {
  ImgZeit->setToolTip(QString::fromStdString(Translate(state.language, kGraphHint)));
  GrpVorgaben->setToolTip(
      QString::fromStdString(Translate(state.language, "Anklicken eines Eingabefeldes aktualisiert Grafik")));
  PlanOptimisationModel fresh;
  fresh.sF = sF;
  fresh.sB = sB;
  const CurrentStand& cs = state.currentStand;
  fresh.A = cs.areaHa;
  fresh.N = cs.areaHa > 0.0 ? cs.TreeCount() / cs.areaHa : 0.0;
  model() = fresh;
  marked_ = false;
  DrawPlanCurveNow();
}

void TForm24::DrawPlanCurveNow() {
  image_.fill(Qt::white);
  {
    QtCanvas canvas(image_);
    graph_ = DrawPlanCurve(canvas, model(), image_.width(), image_.height(), state.language);
  }
  const PlanEditTexts t = PlanEditFieldTexts(model());
  const std::pair<QLineEdit*, const std::string*> fields[] = {{Ed_tF0, &t.tF},   {Ed_tFMkm, &t.vF}, {Ed_tB0, &t.tB},
                                                              {Ed_tBMkm, &t.vB}, {Ed_SigF, &t.sF},  {Ed_sigB, &t.sB},
                                                              {Ed_BestFl, &t.A}, {Ed_AnzB, &t.N},   {Ed_VC, &t.VC}};
  for (auto [edit, text] : fields) edit->setText(QString::fromStdString(*text));
  ShowGraph();
}

void TForm24::ShowGraph() { ImgZeit->setPixmap(QPixmap::fromImage(image_)); }

void TForm24::Ed_VCExit(QLineEdit* edit) {
  for (const FieldRow& row : kRows) {
    if (edit->objectName() != row.edit) continue;
    if (!SetPlanField(model(), row.field, edit->text().toStdString()) && state.services.beeper) {
      state.services.beeper->Beep(440, 120);
    }
    break;
  }
  DrawPlanCurveNow();
}

void TForm24::Button1Click() {
  done(1);
  if (main) main->ShowLegendAgain();
}

void TForm24::ImgZeitMouseDown(int x, int y) {
  (void)y;
  const PlanReadout r = ReadPlanCurve(model(), graph_, x, state.language);
  ImgZeit->setToolTip(QString::fromStdString(r.hint));
  markX_ = graph_.PixelX(r.x);
  markY_ = graph_.PixelY(r.minutes);
  marked_ = true;
  {
    QtCanvas canvas(image_);
    canvas.SetPen(kRed);
    canvas.Line(markX_, markY_, markX_, image_.height() - 20);
    canvas.Line(markX_, markY_, 20, markY_);
  }
  ShowGraph();
  QToolTip::showText(ImgZeit->mapToGlobal(QPoint(x, y)), ImgZeit->toolTip(), ImgZeit);
}

void TForm24::ImgZeitMouseUp() {
  if (marked_) {
    QtCanvas canvas(image_);
    canvas.SetPen(kWhite);
    canvas.Line(markX_, markY_, markX_, 1000);
    canvas.Line(markX_, markY_, 20, markY_);
  }
  marked_ = false;
  DrawPlanCurveNow();
  ImgZeit->setToolTip(QString::fromStdString(Translate(state.language, kGraphHint)));
}

bool TForm24::eventFilter(QObject* watched, QEvent* e) {
  if (watched == ImgZeit) {
    if (e->type() == QEvent::MouseButtonPress) {
      auto* me = static_cast<QMouseEvent*>(e);
      ImgZeitMouseDown(static_cast<int>(me->position().x()), static_cast<int>(me->position().y()));
      return true;
    }
    if (e->type() == QEvent::MouseButtonRelease) {
      ImgZeitMouseUp();
      return true;
    }
  }
  return QDialog::eventFilter(watched, e);
}

}  // namespace tolvek
