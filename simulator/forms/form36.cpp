#include "simulator/forms/form36.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "common/format.h"
#include "common/qt/qt_services.h"
#include "common/rounding.h"
#include "simulator/enterprise/model_stand_loading.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form30.h"
#include "simulator/forms/form35.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {
constexpr int kMatrixLeft = 170;
constexpr int kMatrixTop = 56;
constexpr int kMatrixWidth = 200;
}  // namespace

TForm36::TForm36(SimulatorState& st, Forms& fm, QWidget* parent) : QWidget(parent, Qt::Tool), state(st), forms(fm) {
  setObjectName("Form36");
  setWindowTitle(" Form36");
  setFixedSize(kMatrixLeft + kMatrixWidth + 12, kMatrixTop + 8 * 40 + 52);
  LbBestand = new QLabel(this);
  LbBestand->setObjectName("LbBestand");
  LbBestand->setGeometry(12, 8, 200, 22);
  QFont bold = LbBestand->font();
  bold.setBold(true);
  bold.setPointSize(11);
  LbBestand->setFont(bold);
  LbKLassen = new QLabel(this);
  LbKLassen->setObjectName("LbKLassen");
  QFont mono("Courier New");
  mono.setStyleHint(QFont::Monospace);
  mono.setPointSize(10);
  mono.setBold(true);
  LbKLassen->setFont(mono);
  LbKLassen->setGeometry(kMatrixLeft + 6, kMatrixTop - 22, kMatrixWidth, 20);
  ImgMatrix = new QLabel(this);
  ImgMatrix->setObjectName("ImgMatrix");
  ImgMatrix->setGeometry(kMatrixLeft, kMatrixTop, kMatrixWidth, 8 * 40);
  ImgMatrix->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  ImgMatrix->installEventFilter(this);
  for (int i = 1; i <= 8; ++i) {
    auto* l = new QLabel(this);
    l->setObjectName(QString("Label%1").arg(i));
    l->setGeometry(8, kMatrixTop + (i - 1) * 40 + 10, kMatrixLeft - 12, 20);
    Label[static_cast<std::size_t>(i)] = l;
  }
  Button1 = new QPushButton("OK", this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(kMatrixLeft, kMatrixTop + 8 * 40 + 12, 96, 30);
  Button2 = new QPushButton(QString::fromUtf8("zurück"), this);
  Button2->setObjectName("Button2");
  Button2->setGeometry(kMatrixLeft + kMatrixWidth - 96, kMatrixTop + 8 * 40 + 12, 96, 30);
  connect(Button1, &QPushButton::clicked, this, &TForm36::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm36::Button2Click);
}

void TForm36::Prepare() {
  const ModelStandState& m = state.modelStands;
  const bool wet = CurrentClassification(state) == ClassificationMode::DevelopmentTypes;
  LbBestand->setText(Q(Utf8Left(m.chosenText, 8)));
  Button2->setText(Q(Translate(state.language, "zurück")));
  const std::array<std::string, kTypeSlots> names = TypeNames(CurrentClassification(state), state.language);
  cell = RoundInt(ImgMatrix->width() / 5.0);
  // The column heads are spaced by characters: a fixed-pitch font as large as the five cells allow puts
  // each head over its column.
  const QString heads = wet ? "JPF   DF   VPF  VN   DW" : "1/2      3      4     5      6";
  QFont mono = LbKLassen->font();
  for (int px = 16; px >= 6; --px) {
    mono.setPixelSize(px);
    if (QFontMetrics(mono).horizontalAdvance(heads) <= 5 * cell - 4) break;
  }
  LbKLassen->setFont(mono);
  LbKLassen->setGeometry(ImgMatrix->x() + 4, ImgMatrix->y() - 20, 5 * cell, 18);
  LbKLassen->setText(heads);
  ImgMatrix->resize(5 * cell, 8 * cell);
  image_ = QImage(5 * cell, 8 * cell, QImage::Format_RGB32);
  marked_ = {};
  DrawMatrix();
  for (int i = 1; i <= 8; ++i) Label[static_cast<std::size_t>(i)]->setText(Q(names[static_cast<std::size_t>(i)]));
  result = 0;
  show();
  raise();
}

void TForm36::DrawMatrix() {
  image_.fill(Qt::white);
  QPainter p(&image_);
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  for (int i = 1; i <= 8; ++i)
    for (int j = 1; j <= 5; ++j) p.drawRect((j - 1) * cell, (i - 1) * cell, cell - 1, cell - 1);
  if (marked_.row >= 1 && marked_.row <= 8 && marked_.column >= 1 && marked_.column <= 5) {
    QFont f("Arial");
    f.setPointSize(10);
    f.setBold(true);
    p.setFont(f);
    // The mark's place in its cell: right of the middle and low, as the matrix always had it.
    const QPoint at(marked_.column * cell - 16, marked_.row * cell - 20);
    p.drawText(QRect(at, QSize(14, 18)), Qt::AlignLeft | Qt::AlignTop, "X");
  }
  p.end();
  ImgMatrix->setPixmap(QPixmap::fromImage(image_));
}

void TForm36::StandClassInRegister() {
  ModelStandState& m = state.modelStands;
  const std::string code = Utf8Left(m.chosenText, 8);
  const std::string path = ClassRegisterFor(state.folders, m.chosenText);
  if (!m.classWrite) {
    MatrixCell c;
    if (ReadStandClass(path, code, CurrentClassification(state), c) == ClassReadResult::Found) {
      marked_ = c;
      m.stratum = c;
      DrawMatrix();
    }
    return;
  }
  const ClassWriteOutcome o = WriteStandClass(path, code, CurrentClassification(state), marked_);
  const std::string message = ClassWriteMessage(o, path, code, state.language);
  if (!message.empty()) state.services.messages->ShowMessageBox(message, MessageKind::Warning, MessageButtons::Ok);
}

void TForm36::ImgMatrixMouseDown(int x, int y) {
  if (cell <= 0 || x < 0 || y < 0) return;
  const MatrixCell c{y / cell + 1, x / cell + 1};
  // Below the eight rows or right of the five columns there is no class.
  if (c.row > 8 || c.column > 5) return;
  marked_ = c;
  DrawMatrix();
  ModelStandState& m = state.modelStands;
  m.classWrite = true;
  if (forms.form30) forms.form30->SelectItem(m.listPosition);
  StandClassInRegister();
  close();
  if (forms.form35) forms.form35->close();
}

void TForm36::Button1Click() {
  ModelStandState& m = state.modelStands;
  TForm30* list = forms.form30;
  if (list) {
    const int count = list->ListBox1->count();
    if (m.chosenEntry >= count) m.chosenEntry = count - 1;
    list->SelectItem(m.chosenEntry);
    const int index = list->ListBox1->currentRow();
    if (index >= 0) {
      m.chosenText = S(list->ListBox1->item(index)->text());
      m.chosenEntry = m.listPosition = index + 1;
    }
  }
  m.classWrite = true;
  if (forms.form35) forms.form35->close();
  close();
}

void TForm36::Button2Click() {
  if (forms.form30) forms.form30->SelectItem(state.modelStands.listPosition - 1);
  result = 2;
  if (forms.form35) forms.form35->close();
  close();
}

bool TForm36::eventFilter(QObject* watched, QEvent* e) {
  if (watched == ImgMatrix && e->type() == QEvent::MouseButtonPress) {
    auto* me = static_cast<QMouseEvent*>(e);
    ImgMatrixMouseDown(me->position().toPoint().x(), me->position().toPoint().y());
    return true;
  }
  return QWidget::eventFilter(watched, e);
}

}  // namespace tolvek
