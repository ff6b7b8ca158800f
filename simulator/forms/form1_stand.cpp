// The main window's part in choosing a stand and showing it: "Bestände", the stand map with its
// legend, blinking species, rotation and the calliper threshold.
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>

#include "common/qt/qt_canvas.h"
#include "common/qt/qt_services.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form15.h"
#include "simulator/forms/form23.h"
#include "simulator/forms/form35.h"
#include "simulator/forms/form44.h"
#include "simulator/forms/paced_picture.h"
#include "simulator/screen_fit.h"
#include "simulator/stand/stand_loader.h"
#include "simulator/translate.h"

namespace tolvek {

void TForm1::BuildStandArea() {
  auto label = [this](const char* name, int top, int height) {
    auto* l = new QLabel(Client);
    l->setObjectName(name);
    l->setGeometry(6, top, 152, height);
    l->setWordWrap(true);
    QFont f("Arial");
    f.setPointSize(9);
    f.setBold(true);
    l->setFont(f);
    l->setStyleSheet("color: white; background: transparent;");
    l->hide();
    return l;
  };
  LblBestand = label("LblBestand", kToolBarStandRow + 32, 36);
  LblFlaeche = label("LblFlaeche", kToolBarStandRow + 70, 20);

  ImgFoto = new QLabel(Client);
  ImgFoto->setObjectName("ImgFoto");
  ImgFoto->setGeometry(420, 120, 400, 300);
  ImgFoto->setScaledContents(true);
  ImgFoto->setStyleSheet("background: black; border: 2px solid white;");
  ImgFoto->hide();

  // The legend image lies in the legend panel, its buttons on the left edge beside each name.
  ImgLeg->setParent(Panel3);
  ImgLeg->setGeometry(0, 0, Panel3->width(), Panel3->height());
  ImgLeg->setToolTip("Blinken: Baumartenknopf anklicken");
  for (int k = 1; k <= 9; ++k) {
    auto* b = new QPushButton(Panel3);
    b->setObjectName(QString("BitBa%1").arg(k));
    b->setGeometry(2, k * 35 - 12, 14, 14);
    b->hide();
    BitBa[k] = b;
    connect(b, &QPushButton::clicked, this, [this, k] { BitBa1Click(k); });
  }

  mapImage = new QImage(968, 968, QImage::Format_RGB32);
  mapImage->fill(Qt::black);
  legendImage = new QImage(130, 330, QImage::Format_RGB32);
  legendImage->fill(Qt::black);
  // A run redraws the map far more often than a screen shows pictures.
  mapPicture_ = new PacedPicture(ImgBest, mapImage, 40, true);
  QImage* map = mapImage;
  QImage* legend = legendImage;
  connect(this, &QObject::destroyed, [map, legend] {
    delete map;
    delete legend;
  });

  connect(sBtBestand, &QPushButton::clicked, this, &TForm1::sBtBestandClick);
  connect(sBtDrehen, &QPushButton::clicked, this, &TForm1::sBtDrehenClick);
  connect(BtKluppschwelle, &QPushButton::clicked, this, &TForm1::BtKluppschwelleClick);
}

StandMapTransform TForm1::MapTransform() const {
  StandMapTransform t;
  t.scale = state.standMap.scale;
  t.imageWidth = mapImage->width();
  t.imageHeight = mapImage->height();
  t.enterpriseMode = state.run.enterpriseMode;
  t.enterpriseScale = state.standMap.enterpriseScale;
  return t;
}

void TForm1::ShowMap() { mapPicture_->Show(); }

void TForm1::PaintOnMap(const std::function<void(Canvas&, const StandMapTransform&)>& paint) {
  {
    QtCanvas canvas(*mapImage);
    paint(canvas, MapTransform());
  }
  ShowMap();
}

void TForm1::ShowTreesPerHectare(const std::string& prefix) {
  const CurrentStand& cs = state.currentStand;
  LblBaumZahl->setText(Q(TreesPerHectareLabel(T(prefix), cs.TreeCount(), cs.areaHa)));
  LblBaumZahl->show();
  LblBaumZahl->raise();  // it lies under the tool bar's panel otherwise
}

void TForm1::DrawStand() {
  const CurrentStand& cs = state.currentStand;
  if (!cs.loaded) return;
  // The picture takes the size the window gave the stand image.
  if (mapImage->size() != ImgBest->size() && ImgBest->width() > 0 && ImgBest->height() > 0)
    *mapImage = QImage(ImgBest->size(), QImage::Format_RGB32);
  state.standMap.scale = StandScaleForBoundary(cs.boundary, mapImage->width(), mapImage->height());
  const StandMapTransform t = MapTransform();
  {
    QtCanvas canvas(*mapImage);
    canvas.SetBrush(kBlack);
    canvas.SetPen(kBlack);
    canvas.Rectangle(0, 0, t.imageWidth, t.imageHeight);
  }

  // The legend stands at the foot of the data column, as tall as the species present need, clear of the
  // map and of the counters above it.
  int present = 0;
  for (int i = 1; i <= 9; ++i)
    if (cs.sums.count[static_cast<std::size_t>(i)] > 0) ++present;
  const int legendHeight = ScaleInt(35 * std::max(1, present) + 20, state.screenScale);
  Panel3->setGeometry(PnDaten->x() + 4, std::max(0, PnDaten->height() - legendHeight - 6), Panel3->width(),
                      legendHeight);
  ImgLeg->setGeometry(0, 0, Panel3->width(), legendHeight);
  *legendImage = QImage(Panel3->width(), legendHeight, QImage::Format_RGB32);
  int buttons = 0;
  {
    QtCanvas legend(*legendImage);
    std::array<int, 11> counts{};
    for (int i = 0; i <= 10; ++i) counts[static_cast<std::size_t>(i)] = cs.sums.count[static_cast<std::size_t>(i)];
    buttons = DrawSpeciesLegend(
        legend, legendImage->width(), legendImage->height(), counts, cs.speciesList, state.screenScale,
        [&](int i) { return T(SpeciesNameTable::Name(i, cs.speciesList)); }, state.standMap);
  }
  for (int k = 1; k <= 9; ++k) {
    BitBa[k]->move(2, ScaleInt(k * 35, state.screenScale) - 12);
    BitBa[k]->setVisible(k <= buttons);
    if (k <= buttons) {
      const Colour c = SpeciesColour(state.standMap.legend[static_cast<std::size_t>(k)], cs.speciesList);
      BitBa[k]->setStyleSheet(QString("background: rgb(%1,%2,%3); border: 1px solid white;")
                                  .arg(ColourRed(c))
                                  .arg(ColourGreen(c))
                                  .arg(ColourBlue(c)));
    }
  }
  ImgLeg->setPixmap(QPixmap::fromImage(*legendImage));
  {
    QtCanvas canvas(*mapImage);
    DrawStandFrame(canvas, t, kWhite, state.screenScale);
  }
  DrawTrees();
  if (!state.run.enterpriseMode) ShowTreesPerHectare("Bäume:");
  ImgText->hide();  // the stand mode's photograph gives way to the map
  ScrollBox1->show();
  ScrollBox1->raise();
  ImgBest->show();
  Panel3->show();
  Panel3->raise();
  ImgLeg->show();
  // The grid group and the run's picture, when up, stay over the legend.
  for (QWidget* w : std::initializer_list<QWidget*>{GroupBox1, ImgRepeat, ImgRepeatN, ImgRepeatD})
    if (w && w->isVisible()) w->raise();
}

void TForm1::DrawTrees() {
  const CurrentStand& cs = state.currentStand;
  {
    QtCanvas canvas(*mapImage);
    tolvek::DrawTrees(canvas, MapTransform(), cs.trees, cs.speciesList, cs.boundary, state.screenScale);
  }
  LblFlaeche->setText(Q(StandAreaLabel(T("Fläche"), cs.areaHa)));
  LblFlaeche->show();
  ImgBest->setToolTip(Q(T("Linke Maustaste: Probefläche verschieben # Rechte Maustaste: Koordinaten anzeigen")));
  sBtDrehen->show();
  ShowMap();
}

void TForm1::sBtBestandClick() {
  if (GuardBusy()) return;
  HideTitleScreen();
  if (state.run.enterpriseMode) LeaveEnterpriseView();
  state.run.enterpriseMode = false;
  const bool mapWasShown = ScrollBox1->isVisible() && state.currentStand.loaded;
  const bool dataWasShown = PnDaten->isVisible();
  for (QWidget* w : std::initializer_list<QWidget*>{ImgBest, ScrollBox1, ImgLeg, Panel3, GroupBox1, PnDaten})
    w->hide();
  sBtZurueck->setEnabled(false);
  if (forms.form15) forms.form15->BtnFoto->setEnabled(false);
  DisableResultButtons();

  // "zurück" leaves the loaded stand as it was, and so its map; coming from the title screen, where
  // the stand was hidden, it is drawn again.
  const bool standLoaded = state.currentStand.loaded;
  auto restore = [&] {
    if (!mapWasShown) {
      if (!standLoaded) return;
      DrawStand();
      LblBestand->show();
      PnDaten->show();
      // As a chosen stand leaves them (its results wait for a new pass, and the last run's counters,
      // without the pictures they go with, would stand alone in the data column).
      for (QPushButton* b : {sBtVerfahren, sBtExtras, sBtGitter}) b->setEnabled(true);
      ClearRunLabels(false);
      return;
    }
    ScrollBox1->show();
    ImgBest->show();
    Panel3->show();
    ImgLeg->show();
    sBtDrehen->show();
    PnDaten->setVisible(dataWasShown);
    ShowTreesPerHectare("Bäume:");  // leaving the title screen hid it
  };

  const bool menuMode = QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier);
  if (menuMode) {
    if (!forms.form15) return;
    forms.form15->BuildStandMenu(true);
    if (!forms.form15->RunMenuMode()) {
      restore();
      return;
    }
  } else {
    if (!forms.form23) return;
    if (forms.form44) forms.form44->ClearHistogram();
    if (forms.form23->OpenCatalogue() != 1) {
      restore();
      return;
    }
    if (forms.form15) forms.form15->ShowStandDescription();
  }
  // A stand refused at loading leaves the loaded one in place, and so its map.
  if (!LoadChosenStand()) restore();
}

bool TForm1::LoadChosenStand() {
  const StandChoice& choice = state.standChoice.choice;
  state.sampling.method.weighting = WeightingMode::PlotCentred;
  sBtVerfahren->setEnabled(true);
  sBtExtras->setEnabled(true);
  sBtMultiSim->setEnabled(false);
  if (!state.run.enterpriseMode && forms.form15) forms.form15->BuildStandMenu(false);
  if (!choice.valid()) {
    sBtGitter->setEnabled(false);
    return false;
  }

  // The stand the preview read is the one taken: it is not read a second time.
  CurrentStand previewed;
  Outcome r;
  if (forms.form44 && forms.form44->TakePreviewedStand(choice, previewed))
    state.currentStand = std::move(previewed);
  else
    r = LoadStand(state, choice.treePath);
  if (!r.ok()) {
    // The loaded stand stays as it was, and stays the choice: its description, its grid and its method
    // go on as before the refused one was picked. Without a loaded stand no grid can be laid.
    const CurrentStand& loaded = state.currentStand;
    state.standChoice.choice =
        loaded.loaded ? SelectCatalogueStand(state.standCatalogue, state.folders, loaded.catalogueIndex) : StandChoice{};
    if (state.standChoice.choice.valid() && forms.form15) forms.form15->ShowStandDescription();
    sBtGitter->setEnabled(loaded.loaded);
    return false;
  }
  ApplyChoiceToStand(choice, state.currentStand);
  ClearRunLabels(true);
  // Another stand: its first "Auswertung" is a single evaluation with its report, and the last run's
  // picture goes with the stand it was made on.
  state.run.repeatMode = false;
  for (QLabel* picture : {ImgRepeat, ImgRepeatN, ImgRepeatD}) picture->hide();
  sBtZurueck->setEnabled(true);
  sBtGitter->setEnabled(true);
  LblBestand->setText(Q(StandLabel(choice)));
  LblBestand->show();

  if (const Outcome read = ReadExpectedVcTable(JoinPath(state.folders.presets, "Tolvek02.txt"), state.expectedVc);
      !read.ok())
    state.services.messages->PlatformBox(ProblemMessage(state.language, read.problem()), "", PlatformButtons::Ok,
                                         PlatformIcon::Warning);
  DrawStand();
  PnDaten->show();
  if (forms.form44) forms.form44->close();
  if (forms.form15) forms.form15->BtnFoto->setEnabled(FileExists(ResolvePath(choice.photoPath)));
  if (forms.form15 && !forms.form15->isModal()) {
    // The description and the photographs stay at hand beside the main window where the screen has
    // room there (a frame of some pixels counted before the window system has drawn it). Elsewhere they
    // would lie over the map or the tool bar; everything the window offers is also at hand without it
    // (the preview's description and photographs, rotation, calliper threshold and decision help in the
    // main window and the method window), so it stays closed.
    const QRect frame = frameGeometry();
    QWidget* description = forms.form15;
    const int frameWidth = description->frameGeometry().width() + (description->isVisible() ? 0 : 8);
    QScreen* screen = this->screen();
    if (screen && frame.right() + 1 + frameWidth <= screen->availableGeometry().right() + 1) {
      description->move(frame.right() + 1, frame.top());
      description->show();
    } else {
      description->hide();
    }
  }
  return true;
}

void TForm1::sBtDrehenClick() {
  if (GuardBusy()) return;
  CurrentStand& cs = state.currentStand;
  if (!cs.loaded) return;
  state.standMap.scale = RotateStand(cs.trees, cs.boundary, mapImage->width(), mapImage->height());
  DrawTrees();
}

void TForm1::BtKluppschwelleClick() {
  if (GuardBusy()) return;
  if (forms.form15) forms.form15->BtnKluppschwClick();
}

void TForm1::BitBa1Click(int button) {
  if (GuardBusy()) return;
  if (button < 1 || button > 9) return;
  const int species = state.standMap.legend[static_cast<std::size_t>(button)];
  state.standMap.blinkSpecies = species;
  if (species == 0) return;
  const CurrentStand& cs = state.currentStand;
  state.run.busy = true;
  {
    QtCanvas canvas(*mapImage);
    BlinkSpecies(true, species, canvas, MapTransform(), cs.trees, cs.speciesList, cs.boundary, state.screenScale,
                 [this] { ShowMap(); }, state.run, state.services);
  }
  state.run.busy = false;
  ShowMap();
}

}  // namespace tolvek
