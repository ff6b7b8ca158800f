#include "simulator/forms/enterprise_windows.h"

#include <QBitmap>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

#include "common/qt/qt_services.h"
#include "common/qt/widget_makers.h"
#include "simulator/enterprise/enterprise_choice.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/small_dialogs.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

constexpr int kPicture = 200;
constexpr int kGap = 24;
constexpr int kMargin = 20;
// Room right of the pictures for the area balance a click shows.
constexpr int kPreviewPane = 540;

}  // namespace

TForm37::TForm37(SimulatorState& st, Forms& fm, QWidget* parent) : QDialog(parent), state(st), forms(fm) {
  setObjectName("Form37");
  setWindowTitle("Modellbetrieb auswählen");
  setModal(true);
  setStyleSheet("QDialog#Form37 { background: #e8f5e9; }");
  auto label = [this](const char* name, const char* text, QRect r, int points, bool bold) {
    QLabel* l = widgets::Label(this, name, text, r);
    QFont f("Arial");
    f.setPointSize(points);
    f.setBold(bold);
    l->setFont(f);
    return l;
  };
  const int width = 2 * kMargin + 3 * kPicture + 2 * kGap;
  Label3 = label("Label3", "Mausklick: Struktur anzeigen.  Doppelklick: Betrieb auswählen.",
                 QRect(kMargin, 10, width - 2 * kMargin, 22), 10, false);
  Label1 =
      label("Label1", "Betriebsstruktur nach Altersklassen", QRect(kMargin, 40, width - 2 * kMargin, 24), 12, true);
  const int row1 = 68, sizes = row1 + kPicture + 4, label2 = sizes + 30, row2 = label2 + 28;
  Label2 = label("Label2", "Betriebsstruktur nach Wald- Entwicklungstypen",
                 QRect(kMargin, label2, width - 2 * kMargin, 24), 12, true);
  for (int i = 1; i <= 6; ++i) {
    const int column = (i - 1) % 3;
    auto* img = new QLabel(this);
    img->setObjectName(QString("Image%1").arg(i));
    img->setGeometry(kMargin + column * (kPicture + kGap), i <= 3 ? row1 : row2, kPicture, kPicture);
    img->setAlignment(Qt::AlignCenter);
    img->setStyleSheet("background: white; border: 1px solid #5a7d5a;");
    img->setCursor(Qt::PointingHandCursor);
    img->setToolTip(QString::fromUtf8("Struktur anzeigen:  Mausklick# Betrieb auswählen: Doppelklick"));
    img->installEventFilter(this);
    Image[static_cast<std::size_t>(i)] = img;
  }
  for (int n = 1; n <= 3; ++n) {
    QLabel* l = label(("LbGroesse" + std::to_string(n)).c_str(), ModelEnterprise(n).sizeCaption,
                      QRect(kMargin + (n - 1) * (kPicture + kGap), sizes, kPicture, 22), 11, true);
    l->setAlignment(Qt::AlignHCenter);
    LbGroesse[static_cast<std::size_t>(n)] = l;
  }
  BtZurueck = widgets::Button(this, "BtZurueck", "zurück", QRect(kMargin, row2 + kPicture + 16, 120, 32));
  connect(BtZurueck, &QPushButton::clicked, this, &TForm37::BtZurueckClick);
  setFixedSize(width + kPreviewPane, row2 + kPicture + 64);
}

QPoint TForm37::PreviewCorner(int row) const {
  const QLabel* first = Image[row == 1 ? 4 : 1];
  return mapToGlobal(QPoint(Image[3]->geometry().right() + kGap, first->y()));
}

void TForm37::LoadPictures() {
  for (int i = 1; i <= 6; ++i) {
    QLabel* img = Image[static_cast<std::size_t>(i)];
    const int k = PreviewPicture(state.enterprise, i, state.settings.forestDevelopmentTypes);
    const QPixmap pm(Q(PreviewPicturePath(state.folders.program, k)));
    if (pm.isNull()) {
      // No picture installed: the enterprise's number in its place.
      img->setPixmap(QPixmap());
      img->setText(Q(Translate(state.language, "Betrieb") + " " + std::to_string((i - 1) % 3 + 1)));
    } else {
      img->setText(QString());
      img->setPixmap(pm.scaled(img->size() - QSize(2, 2), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    // The hint of the first picture, as the language table gives it, on all six.
    if (i > 1) img->setToolTip(Image[1]->toolTip());
  }
}

void TForm37::Image1Click(int image) {
  if (forms.form32) forms.form32->hide();
  if (ChoiceClick(state.enterprise, image) && showStoredStructure) showStoredStructure(state.enterprise.number);
}

void TForm37::Image1DblClick(int image) {
  state.settings.forestDevelopmentTypes = ChoiceDoubleClick(state.enterprise, image);
  done(1);
}

void TForm37::BtZurueckClick() {
  ChoiceBack(state.enterprise);
  done(1);
}

bool TForm37::eventFilter(QObject* watched, QEvent* e) {
  for (int i = 1; i <= 6; ++i) {
    if (watched != Image[static_cast<std::size_t>(i)]) continue;
    // A double click comes after the click of its first press, as the handlers expect.
    if (e->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
      Image1Click(i);
      return true;
    }
    if (e->type() == QEvent::MouseButtonDblClick && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
      Image1DblClick(i);
      return true;
    }
  }
  return QDialog::eventFilter(watched, e);
}

TForm41::TForm41(SimulatorState& st, Forms& fm, QWidget* parent) : QDialog(parent), state(st), forms(fm) {
  setObjectName("Form41");
  setWindowTitle("Betrieb neu erzeugen");
  setModal(true);
  setFixedSize(260, 150);
  for (int n = 1; n <= 3; ++n) {
    auto* rb = new QRadioButton(QString("Betrieb %1").arg(n), this);
    rb->setObjectName(QString("RbBetrieb%1").arg(n));
    rb->setGeometry(30, 20 + (n - 1) * 38, 200, 28);
    rb->setAutoExclusive(false);  // a choice acts once; the window opens with none chosen
    connect(rb, &QRadioButton::clicked, this, [this, n] { RbBetrieb1Click(n); });
    RbBetrieb[static_cast<std::size_t>(n)] = rb;
  }
}

void TForm41::RbBetrieb1Click(int n) {
  RbBetrieb[static_cast<std::size_t>(n)]->setChecked(false);
  if (const Outcome reset = ResetEnterpriseFile(state.folders.program, n); !reset.ok()) {
    // The program goes on; the enterprise's file is as it was.
    const Problem& p = reset.problem();
    state.services.messages->PlatformBox(Translate(state.language, "Sorry, Betrieb nicht generiert") + "#" + p.where +
                                             ": " + Translate(state.language, p.message),
                                         "", PlatformButtons::Ok, PlatformIcon::Information);
    return;
  }
  state.services.messages->PlatformBox(Translate(state.language, "Betrieb erfolgreich generiert"), "",
                                       PlatformButtons::Ok, PlatformIcon::Information);
  done(1);
  if (forms.form1 && !inEnterpriseView) forms.form1->Button18Click();
}

}  // namespace tolvek
