#include "simulator/forms/form44.h"

#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

#include "common/qt/qt_canvas.h"
#include "common/qt/qt_services.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form23.h"
#include "simulator/forms/form35.h"
#include "simulator/stand/jpeg_photo.h"
#include "simulator/stand/stand_info.h"
#include "simulator/stand/stand_loader.h"
#include "simulator/translate.h"

namespace tolvek {

Outcome LoadStandPhoto(const std::string& path, QImage& photo) {
  RgbImage rgb;
  JpegDecodeResult r = LoadJpegFile(path, rgb);
  if (!r.outcome.ok()) return r.outcome;
  if (rgb.width <= 0 || rgb.height <= 0) return Problem{"picture size out of range", ""};
  QImage view(rgb.pixels.data(), rgb.width, rgb.height, rgb.width * 3, QImage::Format_RGB888);
  photo = view.copy();  // the decoder's buffer goes away with rgb
  return {};
}

namespace {

QLabel* PhotoLabel(QWidget* parent, const char* name, QRect r) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  l->setGeometry(r);
  l->setScaledContents(true);
  l->setStyleSheet("background: #203020;");
  return l;
}

}  // namespace

TForm44::TForm44(SimulatorState& st, Forms& fm, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint), state(st), forms(fm) {
  setObjectName("Form44");
  setWindowTitle(QString::fromUtf8("Bestandesvorschau"));
  setFixedSize(640, 470);
  FotoImgR = PhotoLabel(this, "FotoImgR", QRect(8, 8, 204, 153));
  FotoImgS = PhotoLabel(this, "FotoImgS", QRect(218, 8, 204, 153));
  FotoImgT = PhotoLabel(this, "FotoImgT", QRect(428, 8, 204, 153));
  LbKeinFoto = new QLabel("Sorry, kein Foto vorhanden", this);
  LbKeinFoto->setObjectName("LbKeinFoto");
  LbKeinFoto->setGeometry(8, 164, 300, 18);
  LbKeinFoto->setStyleSheet("color: #a00000;");
  LbKeinFotoText = new QLabel(this);
  LbKeinFotoText->setObjectName("LbKeinFotoText");
  LbKeinFotoText->setGeometry(310, 164, 322, 18);
  LbKeinFoto->hide();
  LbKeinFotoText->hide();
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setReadOnly(true);
  Memo1->setGeometry(8, 186, 360, 276);
  LbBestBez = new QLabel(this);
  LbBestBez->setObjectName("LbBestBez");
  LbBestBez->setGeometry(378, 186, 254, 20);
  QFont bold = LbBestBez->font();
  bold.setBold(true);
  LbBestBez->setFont(bold);
  ImgDuVertlg = new QLabel(this);
  ImgDuVertlg->setObjectName("ImgDuVertlg");
  ImgDuVertlg->setGeometry(378, 210, 254, 160);
  BtBaAnteile = new QPushButton("Baumarten-Anteile", this);
  BtBaAnteile->setObjectName("BtBaAnteile");
  BtBaAnteile->setGeometry(378, 388, 254, 30);
  BtAuswahl = new QPushButton("OK", this);
  BtAuswahl->setObjectName("BtAuswahl");
  BtAuswahl->setGeometry(378, 428, 254, 34);
  connect(BtBaAnteile, &QPushButton::clicked, this, &TForm44::BtBaAnteileClick);
  connect(BtAuswahl, &QPushButton::clicked, this, &TForm44::BtAuswahlClick);
  histogram_ = QImage(ImgDuVertlg->width(), ImgDuVertlg->height(), QImage::Format_RGB32);
  ClearHistogram();
}

void TForm44::Reset() {
  shownDescription_ = 0;
  previewFresh_ = false;
}

bool TForm44::TakePreviewedStand(const StandChoice& choice, CurrentStand& into) {
  if (!previewFresh_ || !stand_.loaded || choice.fileName != choice_.fileName ||
      readWith_.lower != state.calliper.lower || readWith_.upper != state.calliper.upper)
    return false;
  into = std::move(stand_);
  stand_ = CurrentStand{};
  previewFresh_ = false;
  return true;
}

void TForm44::ClearHistogram() {
  histogram_.fill(Qt::white);
  ImgDuVertlg->setPixmap(QPixmap::fromImage(histogram_));
}

bool TForm44::Preview(int k) {
  auto T = [&](const std::string& german) { return Translate(state.language, german); };
  StandChoice choice = SelectCatalogueStand(state.standCatalogue, state.folders, k);
  if (!choice.valid()) return false;
  if (forms.form35) forms.form35->close();

  // The stand's files must be there before anything is shown of it.
  StandFiles files;
  if (!ResolveStandFiles(state.folders, choice.treePath, files).ok() || !FileExists(ResolvePath(files.treeFile))) {
    // "ja": the user picks again; the other answers end the program, asked first as "Ende" asks.
    const int answer = state.services.messages->PlatformBox(T("Bestand nicht gefunden, bitte neu wählen."), "",
                                                            PlatformButtons::YesNoCancel, PlatformIcon::None);
    if (answer != kResultYes && forms.form1) forms.form1->sBtEndeClick();
    return false;
  }
  StandLoadInputs inputs{state.folders, state.calliper, false, state.standRegister, state.random};
  CurrentStand stand;
  if (const Outcome read = ReadStandInto(inputs, choice.treePath, stand); !read.ok()) {
    state.services.messages->PlatformBox(StandLoadMessage(state.language, read.problem(), choice.treePath), "",
                                         PlatformButtons::Ok, PlatformIcon::Warning);
    return false;
  }
  stand_ = std::move(stand);
  choice_ = choice;
  previewFresh_ = true;
  readWith_ = state.calliper;

  bool anyStock = false;
  QLabel* places[3] = {FotoImgR, FotoImgS, FotoImgT};
  auto photos = PreviewPhotos(state.folders, choice.numberText, state.random);
  for (int i = 0; i < 3; ++i) {
    QImage img;
    bool read = LoadStandPhoto(photos[i].path, img).ok();
    if (!read && !photos[i].stock) {
      // A damaged photograph counts as a missing one.
      photos[i].stock = true;
      const std::string stock =
          ResolveIn(state.folders.program, "Fotos/Foto" + std::to_string(11 + state.random.Next(38)) + ".jpg");
      read = LoadStandPhoto(stock, img).ok();
    }
    anyStock = anyStock || photos[i].stock;
    if (!read)
      places[i]->clear();
    else
      places[i]->setPixmap(QPixmap::fromImage(img));
  }
  LbKeinFoto->setVisible(anyStock);
  LbKeinFotoText->setVisible(anyStock);
  if (anyStock) LbKeinFotoText->setText(Q(T("Bestandesfoto leider nicht vorhanden")));

  if (shownDescription_ != k) {
    Memo1->clear();
    for (const auto& line : PreviewDescription(stand_.files.descriptionFile, choice.numberText))
      Memo1->appendPlainText(Q(line));
    Memo1->moveCursor(QTextCursor::Start);
    shownDescription_ = k;
  }
  hide();
  show();
  raise();
  DrawHistogram();
  return true;
}

void TForm44::DrawHistogram() {
  {
    QtCanvas c(histogram_);
    DrawDbhHistogram(c, histogram_.width(), histogram_.height(), stand_.sums.histogram, state.language, true);
  }
  ImgDuVertlg->setPixmap(QPixmap::fromImage(histogram_));
  LbBestBez->setText(Q(Translate(state.language, "Bestand Nr. ") + choice_.numberText));
}

void TForm44::BtBaAnteileClick() {
  if (!stand_.loaded || !forms.form35) return;
  StandInfoInputs in{stand_.sums, stand_.areaHa, stand_.files.code, stand_.speciesList,
                     stand_.files.folderKind == StandFolder::StandsGE, nullptr};
  StandInfo info = BuildStandInfo(in, state.language);
  if (forms.form1) forms.form1->sBtDrehen->hide();
  forms.form35->ShowBesidePreview(info, this, BtBaAnteile);
}

void TForm44::BtAuswahlClick() {
  if (!choice_.valid()) return;
  state.standChoice.choice = choice_;
  if (forms.form35) forms.form35->close();
  close();
  if (forms.form23) forms.form23->TakeChoice();
}

}  // namespace tolvek
