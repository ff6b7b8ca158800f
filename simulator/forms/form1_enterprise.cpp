// The main window's part in enterprise mode: "Betrieb" with the choice of a model enterprise, its map cut
// into stands, a click re-cutting a compartment, the enterprise's figures, the arrow glyphs of the grid
// buttons, and the way back to the stand map.
#include <QBitmap>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

#include "common/paths.h"
#include "common/qt/qt_canvas.h"
#include "common/qt/qt_services.h"
#include "common/qt/widget_makers.h"
#include "simulator/enterprise/enterprise_choice.h"
#include "simulator/enterprise/subdivision.h"
#include "simulator/forms/enterprise_windows.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/small_dialogs.h"
#include "simulator/forms/translate_forms.h"
#include "simulator/screen_fit.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

// Pixels left free beyond the map's farthest corner.
constexpr int kMapMargin = 8;
// The enterprise's figures in the data column, below the method and grid figures; the structure panel
// below them.
constexpr int kFiguresTop = 116;
constexpr int kFigureLine = 21;
constexpr int kStructurePanelTop = kFiguresTop + 4 * kFigureLine + 8;

int ScreenHeight() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().height() : 1024;
}

// The grid's spacing buttons in enterprise mode: their glyph and, when no language table is in use,
// their hint.
struct ArrowButton {
  int index;
  const char* glyph;
  const char* hint;
};
constexpr ArrowButton kArrows[4] = {
    {9, "gonext.bmp", "Gitterabstand in x-Richtung 25 m größer"},
    {11, "goprev.bmp", "Gitterabstand in x-Richtung 25 m kleiner"},
    {10, "goup.bmp", "Gitterabstand in y-Richtung 25 m größer"},
    {12, "godown.bmp", "Gitterabstand in y-Richtung 25 m kleiner"},
};

// A glyph as bitmap buttons show it: its bottom-left pixel's colour is transparent.
QIcon GlyphIcon(const std::string& path) {
  QImage image(Q(path));
  if (image.isNull()) return {};
  QPixmap pm = QPixmap::fromImage(image);
  pm.setMask(QBitmap::fromImage(image.createMaskFromColor(image.pixel(0, image.height() - 1), Qt::MaskInColor)));
  return QIcon(pm);
}

}  // namespace

void TForm1::BuildEnterpriseArea() {
  auto figure = [this](const char* name) {
    auto* l = new QLabel(Client);
    l->setObjectName(name);
    l->setStyleSheet("color: white; background: transparent;");
    l->hide();
    return l;
  };
  LblBaeume = figure("LblBaeume");
  LbBestGroesse = figure("LbBestGroesse");
  // Which registers the model stands come from: in the tool bar where the stand's name and area stand at
  // the stand level (an enterprise shows its figures in the data column), on the screen also at 768
  // pixels.
  LbModBestande->setGeometry(6, kToolBarStandRow + 36, PnDaten->x() - 12, 40);
  LbModBestande->setWordWrap(true);
  LbModBestande->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  // Panel8 "Betriebstruktur" in the data column, below the enterprise's figures.
  Panel8->setGeometry(PnDaten->x() + 4, kStructurePanelTop, PnDaten->width() - 8, 150);
  LbBetriebStruktur = new QLabel(QString::fromUtf8("Betriebstruktur"), Panel8);
  LbBetriebStruktur->setObjectName("LbBetriebStruktur");
  LbBetriebStruktur->setGeometry(10, 6, 220, 22);
  QFont heading("Arial");
  heading.setPointSize(10);
  heading.setBold(true);
  LbBetriebStruktur->setFont(heading);
  Button24 = StructurePanelButton(Panel8, "Button24", "Betrieb einlesen", 34);
  Button25 = StructurePanelButton(Panel8, "Button25", "Struktur beibehalten", 72);
  Button23 = StructurePanelButton(Panel8, "Button23", "Struktur ändern", 110);

  connect(Button14, &QPushButton::clicked, this, &TForm1::BtBetriebClick);
  connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
}

QPushButton* TForm1::StructurePanelButton(QFrame* panel, const char* name, const char* caption, int top) {
  return widgets::TabButton(panel, name, caption, QRect(10, top, panel->width() - 20, 32));
}

int TForm1::ChooseEnterprise() {
  EnterpriseSession& e = state.enterprise;
  PrepareEnterpriseChoice(e, state.folders.program);
  TForm37* f = forms.form37;
  if (!f) return 0;
  f->LoadPictures();
  if (!f->showStoredStructure) f->showStoredStructure = [this](int n) { ShowStoredStructure(n); };
  f->exec();
  if (forms.form32) forms.form32->hide();
  return e.number;
}

void TForm1::BtBetriebClick() {
  if (GuardBusy()) return;
  HideTitleScreen();
  sBtNeuesVerfahren->setEnabled(false);
  state.sampling.grid.loadedFromFile = false;
  state.sampling.grid.saveRequest = false;
  TranslateAllForms(state);

  if (ChooseEnterprise() == 0) {
    sBtZurueckClick();
    return;
  }
  EnterpriseSession& e = state.enterprise;
  // The map first: one that cannot be read leaves everything as it was, back on the title screen.
  MapReadProblem problem;
  if (!StartEnterprise(e, state.folders.presets, state.screenScale, ScreenHeight(), problem)) {
    state.services.messages->ShowMessageBox(MapProblemText(problem, [this](const std::string& g) { return T(g); }),
                                            MessageKind::Warning, MessageButtons::Ok);
    sBtZurueckClick();
    return;
  }
  if (forms.form32) forms.form32->hide();
  CloseOperatingHelp();
  Panel7->hide();
  PnDaten->show();
  sBtAnmerk->hide();
  Button25->setEnabled(true);
  e.captionPrefix = T("Betrieb Nr.");
  state.run.enterpriseMode = true;
  LoadModelStandTable();
  if (forms.form32) {
    forms.form32->Button1->setText(Q(T("Nein")));
    forms.form32->Button2->setText(Q(T("Ja")));
  }
  ScrollBox1->show();
  TranslateAllForms(state);
  for (QWidget* w : std::initializer_list<QWidget*>{Panel1, Panel2, Panel6, Panel14}) w->hide();
  Panel8->show();
  Panel8->raise();
  Button24->setEnabled(false);
  sBtAuswertung->setEnabled(false);
  // "Liste" of the result window is enabled here.
  ImgBest->setToolTip(Q(T("Zur Änderung der Bestandesgröße Maus # in Abteilung platzieren und linke Taste drücken")));
  ImgBest->setEnabled(true);
  SetMapClicks(true);
  if (!state.modelStands.singleModelStand) Button25->setEnabled(false);

  // The picture fills the map's box, and is larger only where the map needs it (with scroll bars).
  state.standMap.enterpriseScale = e.mapScale;
  const MapReach reach = EnterpriseMapReach(e.outlines, e.mapAngle, e.mapScale);
  const int bar = ScrollBox1->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  int width = ScrollBox1->width(), height = ScrollBox1->height();
  const bool wide = reach.columns + kMapMargin > width;
  if (wide) height -= bar;
  const bool tall = reach.rows + kMapMargin > height;
  if (tall && !wide) width -= bar;
  *mapImage =
      QImage(wide ? reach.columns + kMapMargin : width, tall ? reach.rows + kMapMargin : height, QImage::Format_RGB32);
  mapImage->fill(Qt::white);
  GeneratorDraws random(state.random);
  const bool outside = SubdivideEnterprise(e, random);
  {
    QtCanvas canvas(*mapImage);
    const EnterpriseMapTransform t = EnterpriseTransform();
    for (int a = 1; a <= e.compartmentCount; ++a) DrawCompartment(canvas, e, a, 0, t);
  }
  ImgBest->show();
  ShowMap();
  ScrollBox1->raise();
  if (outside) state.services.messages->ShowMessageBox(T("Außerhalb"), MessageKind::Info, MessageButtons::Ok);

  ShowEnterpriseFigures(2);
  LbModBestande->setText(
      Q(ModelStandCaption(state.modelStands.realStands, state.modelStands.generatedStands, state.language)));
  LbModBestande->show();

  // The spacing buttons of the grid group turn into arrows: x wider or narrower, y wider or narrower.
  for (const ArrowButton& a : kArrows) {
    QPushButton* b = GridButton[a.index];
    if (!b->property("tolvekStandCaption").isValid()) {
      b->setProperty("tolvekStandCaption", b->text());
      b->setProperty("tolvekStandHint", b->toolTip());
    }
    const std::string hint = LookupNextRowText(state.language, "F1", "BitBtn" + std::to_string(a.index));
    b->setToolTip(Q(hint.empty() ? std::string(a.hint) : hint));
    const QIcon icon = GlyphIcon(ResolveIn(state.folders.program, std::string("Bitmap/") + a.glyph));
    if (!icon.isNull()) {
      b->setIcon(icon);
      b->setText(QString());
    }
  }
  if (!state.run.specialFunctions) LoadModelStandTable();
  // The stored structure, when it is in the classification of the chosen row.
  if (e.viewRow == e.storedMode[static_cast<std::size_t>(e.number)]) Button11Click();
}

EnterpriseMapTransform TForm1::EnterpriseTransform() const {
  const EnterpriseSession& e = state.enterprise;
  return {e.mapAngle, e.mapScale, mapImage->height()};
}

void TForm1::DrawEnterpriseMap() {
  {
    QtCanvas canvas(*mapImage);
    tolvek::DrawEnterpriseMap(canvas, state.enterprise, EnterpriseTransform(), mapImage->width(), mapImage->height());
  }
  ShowMap();
}

void TForm1::ShowEnterpriseFigures(int numberWidth) {
  const EnterpriseLabelTexts t =
      MakeEnterpriseLabels(state.enterprise, numberWidth, [this](const std::string& g) { return T(g); });
  const std::pair<QLabel*, const std::string*> labels[] = {
      {LblBestand, &t.bestand}, {LblFlaeche, &t.flaeche}, {LblBaeume, &t.baeume}, {LbBestGroesse, &t.groesse}};
  // In the data column, one line each in a font of even widths: the figures are padded to stand under
  // each other.
  QFont mono("DejaVu Sans Mono");
  mono.setStyleHint(QFont::TypeWriter);
  mono.setBold(true);
  int top = kFiguresTop;
  for (auto [label, text] : labels) {
    if (!label->property("tolvekStandGeometry").isValid()) {
      label->setProperty("tolvekStandGeometry", label->geometry());
      label->setProperty("tolvekStandFont", label->font());
      label->setProperty("tolvekStandStyle", label->styleSheet());
    }
    label->setGeometry(PnDaten->x() + 6, top, PnDaten->width() - 12, 20);
    label->setStyleSheet("color: #1f3d1f; background: transparent;");
    label->setWordWrap(false);
    label->setFont(mono);
    SetDataLabel(label, *text);
    label->show();
    label->raise();
    top += kFigureLine;
  }
}

void TForm1::EnterpriseMapMouseDown(int px, int py, bool rightButton) {
  Button10->setEnabled(true);
  Button11->setEnabled(true);
  state.sampling.pass.sampleTreeTotal = 0;
  EnterpriseSession& e = state.enterprise;
  const int a = CompartmentAt(e, EnterpriseTransform().ToMetres(px, py));
  if (a == 0) return;
  if (rightButton) {
    e.markedCompartment = a;
    return;
  }
  GeneratorDraws random(state.random);
  const bool outside = CycleCompartmentKind(e, a, random).outsideAtThirdLevel;
  {
    QtCanvas canvas(*mapImage);
    DrawCompartment(canvas, e, a, 0, EnterpriseTransform());
  }
  ShowMap();
  if (outside) state.services.messages->ShowMessageBox(T("Außerhalb"), MessageKind::Info, MessageButtons::Ok);
  SumEnterpriseArea(e);
  const EnterpriseLabelTexts t = MakeEnterpriseLabels(e, 2, [this](const std::string& g) { return T(g); });
  SetDataLabel(LblBaeume, t.baeume);
}

void TForm1::LeaveEnterpriseView() {
  for (QWidget* w :
       std::initializer_list<QWidget*>{Panel8, LblBaeume, LbBestGroesse, LblBestand, LblFlaeche, ImgBest, ScrollBox1})
    w->hide();
  ImgBest->setToolTip(QString());
  SetMapClicks(true);
  for (QLabel* l : {LblBestand, LblFlaeche}) {
    if (!l->property("tolvekStandGeometry").isValid()) continue;
    l->setGeometry(l->property("tolvekStandGeometry").toRect());
    l->setFont(l->property("tolvekStandFont").value<QFont>());
    l->setStyleSheet(l->property("tolvekStandStyle").toString());
    l->setWordWrap(true);
  }
  // The stand map's picture as large as its box again.
  const ScreenFit fit = FitToScreen(ScreenHeight());
  const QSize box = ScrollBox1->size();
  *mapImage = QImage(std::min(fit.mapSize, box.width()), std::min(fit.mapSize, box.height()), QImage::Format_RGB32);
  mapImage->fill(Qt::black);
  ImgBest->resize(mapImage->size());
  for (const ArrowButton& a : kArrows) {
    QPushButton* b = GridButton[a.index];
    if (!b->property("tolvekStandCaption").isValid()) continue;
    b->setIcon(QIcon());
    b->setText(b->property("tolvekStandCaption").toString());
    b->setToolTip(b->property("tolvekStandHint").toString());
  }
}

void TForm1::Button4Click() {
  if (GuardBusy()) return;
  if (forms.form41) forms.form41->exec();
}

}  // namespace tolvek
