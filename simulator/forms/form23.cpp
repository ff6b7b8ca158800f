#include "simulator/forms/form23.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include "common/qt/qt_canvas.h"
#include "common/qt/qt_services.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form15.h"
#include "simulator/forms/form35.h"
#include "simulator/forms/form44.h"
#include "simulator/stand/stand_loader.h"
#include "simulator/translate.h"
#include "simulator/views/stand_map.h"

namespace tolvek {

namespace {

const char* const kHeadings[9] = {"Bestände im Überblick", "reale Bestände",         "Nadelbaum-Bestände",
                                  "Laubbaum-Bestände",     "schwaches Baumholz",     "mittelstarkes Baumholz",
                                  "starkes Baumholz",      "generierte Bestände",    "reale Plenterbestände"};

}  // namespace

TForm23::TForm23(SimulatorState& st, Forms& fm, QWidget* parent) : QDialog(parent), state(st), forms(fm) {
  setObjectName("Form23");
  setWindowTitle("23 Tolvek");
  ImgBestande = new QLabel(this);
  ImgBestande->setObjectName("ImgBestande");
  ImgBestande->setScaledContents(true);
  ImgBestande->setStyleSheet("background: #2e6b3f;");
  for (int i = 1; i <= 12; ++i) {
    auto* l = new QLabel(this);
    l->setObjectName(QString("Label%1").arg(i));
    l->setStyleSheet("color: white; background: transparent;");
    QFont f("Arial");
    f.setPointSize(i == 1 ? 13 : 10);
    f.setBold(true);
    l->setFont(f);
    l->setWordWrap(true);
    if (i <= 9)
      l->setText(QString::fromUtf8(kHeadings[i - 1]));
    else
      l->hide();
    Label[static_cast<std::size_t>(i)] = l;
  }
  for (int k = 1; k <= kMaxCatalogueEntries; ++k) {
    auto* img = new QLabel(this);
    img->setObjectName(QString("Image%1").arg(k));
    img->setFixedSize(kThumbnailSize, kThumbnailSize);
    img->setStyleSheet("background: #1a3d24;");
    img->setCursor(Qt::PointingHandCursor);
    img->installEventFilter(this);
    img->hide();
    Image[static_cast<std::size_t>(k)] = img;
    thumbnails_[static_cast<std::size_t>(k)] = QImage(kThumbnailSize, kThumbnailSize, QImage::Format_RGB32);
    thumbnails_[static_cast<std::size_t>(k)].fill(Qt::black);
  }
  Button1 = new QPushButton("zurück", this);
  Button1->setObjectName("Button1");
  BtnVerzeichnis = new QPushButton("Verzeichnis der Bestände", this);
  BtnVerzeichnis->setObjectName("BtnVerzeichnis");
  connect(Button1, &QPushButton::clicked, this, &TForm23::Button1Click);
  connect(BtnVerzeichnis, &QPushButton::clicked, this, &TForm23::BtnVerzeichnisClick);
  ApplyLayout();
}

void TForm23::ApplyLayout() {
  // As wide as the screen allows, a frame of some pixels left for the window system.
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  layout_ = LayOutCatalogue(state.standCatalogue, screen ? screen->availableGeometry().width() - 16 : 0);
  setFixedSize(layout_.width, layout_.height);
  ImgBestande->setGeometry(0, 0, layout_.width, layout_.height);
  auto geom = [](QWidget* w, const LayoutRect& r) { w->setGeometry(r.left, r.top, r.width, r.height); };
  for (int i = 1; i <= 9; ++i) geom(Label[static_cast<std::size_t>(i)], layout_.labels[static_cast<std::size_t>(i - 1)]);
  geom(Button1, layout_.backButton);
  geom(BtnVerzeichnis, layout_.indexButton);
  for (int k = 1; k <= kMaxCatalogueEntries; ++k) {
    QLabel* img = Image[static_cast<std::size_t>(k)];
    if (k <= static_cast<int>(layout_.thumbnails.size())) {
      const LayoutRect& r = layout_.thumbnails[static_cast<std::size_t>(k - 1)];
      img->move(r.left, r.top);
      img->show();
    } else {
      img->hide();
    }
  }
}

void TForm23::DrawThumbnail(int k) {
  // The thumbnail's stand is read into a stand of its own: the loaded stand is not touched.
  StandChoice c = SelectCatalogueStand(state.standCatalogue, state.folders, k);
  if (!c.valid()) return;
  // Only the generated stands are read at every opening, as they always were; the others, drawn once
  // in place of fixed pictures, draw on numbers of their own so the program's sequence stays the same.
  RandomGenerator own(static_cast<std::uint32_t>(k));
  StandLoadInputs inputs{state.folders, state.calliper, false, state.standRegister,
                         IsGeneratedThumbnail(k) ? state.random : own};
  CurrentStand stand;
  if (!ReadStandInto(inputs, c.treePath, stand).ok()) return;  // the thumbnail stays as it is
  const StandCatalogueEntry* e = state.standCatalogue.Entry(k);
  QImage& img = thumbnails_[static_cast<std::size_t>(k)];
  ThumbnailTransform t;
  t.imageHeight = img.height();
  t.scale = img.height() / 270.0;
  {
    QtCanvas canvas(img);
    DrawStandThumbnail(canvas, t, stand.trees, stand.speciesList, stand.boundary, k,
                       e->number + "  " + e->description);
  }
  drawn_[static_cast<std::size_t>(k)] = true;
}

void TForm23::PrepareCatalogue() {
  auto T = [&](const std::string& german) { return Translate(state.language, german); };
  setToolTip(Q(T("Bestand durch Anklicken auswählen")));
  CatalogueReadResult r = ReadStandCatalogue(state.language, JoinPath(state.folders.presets, "Tolvek01.txt"),
                                             CatalogueStyle::Thumbnails, state.standCatalogue);
  if (!r.outcome.ok())
    state.services.messages->PlatformBox(ProblemMessage(state.language, r.outcome.problem()), "", PlatformButtons::Ok,
                                         PlatformIcon::Warning);
  else if (r.tooMany) {
    // Only the first 52 stands are offered; Cancel ends the program, asked first as "Ende" asks.
    if (state.services.messages->PlatformBox(T("nur 52 Bestände möglich"), "", PlatformButtons::YesNoCancel,
                                             PlatformIcon::None) == kResultCancel &&
        forms.form1)
      forms.form1->sBtEndeClick();
  }
  ApplyLayout();
  // The overview map is made for the usual arrangement; the narrow one goes on the plain green.
  QPixmap overview(Q(ResolveIn(state.folders.program, "Bitmap/Bestande.bmp")));
  if (overview.size() != QSize(layout_.width, layout_.height)) overview = QPixmap();
  ImgBestande->setPixmap(overview);
  // Headings in white on the plain green, in dark green on the overview map.
  const char* headingColour = overview.isNull() ? "white" : "#143d1f";
  for (int i = 1; i <= 9; ++i)
    Label[static_cast<std::size_t>(i)]->setStyleSheet(QString("color: %1; background: transparent;").arg(headingColour));
  if (forms.form44) forms.form44->Reset();
  for (int k = 1; k <= state.standCatalogue.Count(); ++k) {
    // Generated stands may have been replaced since the last opening; the others are drawn once.
    if (IsGeneratedThumbnail(k) || !drawn_[static_cast<std::size_t>(k)]) DrawThumbnail(k);
    QLabel* img = Image[static_cast<std::size_t>(k)];
    img->setPixmap(QPixmap::fromImage(thumbnails_[static_cast<std::size_t>(k)]));
    const StandCatalogueEntry* e = state.standCatalogue.Entry(k);
    img->setToolTip(Q(e->number + "  " + e->typeText + "#" + e->description));
  }
  result_ = 2;
}

int TForm23::OpenCatalogue() {
  PrepareCatalogue();
  exec();
  return result_;
}

bool TForm23::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) {
    auto* me = static_cast<QMouseEvent*>(e);
    if (me->button() == Qt::LeftButton) {
      for (int k = 1; k <= kMaxCatalogueEntries; ++k) {
        if (watched != Image[static_cast<std::size_t>(k)]) continue;
        if (k > state.standCatalogue.Count()) return true;
        if (e->type() == QEvent::MouseButtonPress)
          Image1Click(k);
        else
          Mini_1Click(k);
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, e);
}

void TForm23::Image1Click(int k) {
  if (!forms.form44) return;
  if (forms.form44->Preview(k)) {
    // The preview stands to the right of the catalogue when there is room, else over its right part;
    // it never covers the thumbnail just clicked (a double click there takes the stand): then it goes to
    // the other half of the screen, beside or above or below the thumbnail.
    QWidget* preview = forms.form44;
    const QSize size = preview->frameGeometry().size();
    const QRect thumb(Image[static_cast<std::size_t>(k)]->mapToGlobal(QPoint(0, 0)),
                      Image[static_cast<std::size_t>(k)]->size());
    QPoint p = mapToGlobal(QPoint(width() + 8, 0));
    if (QScreen* screen = this->screen()) {
      const QRect avail = screen->availableGeometry();
      auto clamp = [&](QPoint q) {
        return QPoint(std::max(avail.left(), std::min(q.x(), avail.right() + 1 - size.width())),
                      std::max(avail.top(), std::min(q.y(), avail.bottom() + 1 - size.height())));
      };
      const bool thumbRight = thumb.center().x() > avail.center().x();
      const bool thumbLow = thumb.center().y() > avail.center().y();
      const int otherX = thumbRight ? avail.left() : avail.right() + 1 - size.width();
      const int otherY = thumbLow ? avail.top() : avail.bottom() + 1 - size.height();
      const QPoint candidates[] = {clamp(p), clamp(QPoint(otherX, p.y())), clamp(QPoint(p.x(), otherY)),
                                   clamp(QPoint(otherX, otherY))};
      p = candidates[0];
      for (const QPoint& c : candidates)
        if (!QRect(c, size).intersects(thumb)) {
          p = c;
          break;
        }
    }
    preview->move(p);
  }
}

void TForm23::Mini_1Click(int k) {
  StandChoice c = SelectCatalogueStand(state.standCatalogue, state.folders, k);
  if (!c.valid()) return;
  state.standChoice.choice = c;
  TakeChoice();
}

void TForm23::TakeChoice() {
  result_ = 1;
  if (forms.form44) forms.form44->close();
  if (forms.form35) forms.form35->close();
  if (isVisible()) done(1);
}

void TForm23::Button1Click() {
  if (forms.form1) forms.form1->sBtZurueck->setEnabled(true);
  if (forms.form44) forms.form44->close();
  if (forms.form35) forms.form35->close();
  result_ = 2;
  if (isVisible()) done(2);
}

void TForm23::BtnVerzeichnisClick() {
  OpenStandHelp(state, 115);
  if (forms.form15) forms.form15->ShowStandDescription();
}

void TForm23::closeEvent(QCloseEvent* e) {
  // Closing the window by its frame is "zurück".
  if (result_ != 1) {
    if (forms.form1) forms.form1->sBtZurueck->setEnabled(true);
    if (forms.form44) forms.form44->close();
    if (forms.form35) forms.form35->close();
    result_ = 2;
  }
  QDialog::closeEvent(e);
}

}  // namespace tolvek
