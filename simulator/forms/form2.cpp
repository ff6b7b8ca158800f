#include "simulator/forms/form2.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>

#include "common/qt/qt_canvas.h"
#include "common/qt/qt_services.h"
#include "common/qt/widget_makers.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form18.h"
#include "simulator/translate.h"

namespace tolvek {

namespace {

using namespace diagram_layout;

// The row headings need more room than a value column: their column reaches left under the label panel,
// the value columns stay under their bars.
constexpr int kHeadingColumnLeft = 106;
constexpr int kHeadingColumnWidth = kChartLeft - 1 - kHeadingColumnLeft;
constexpr int kLeftColumn = 8, kLeftColumnWidth = 172;
// Printed pictures are made at this multiple of the screen's pixels.
constexpr int kPrintScale = 3;

QFont PixelFont(int pixels, bool bold = false) {
  QFont f("Arial");
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

QLabel* HeaderLabel(QWidget* parent, const char* name, QRect r, bool bold = false, int pixels = 11) {
  auto* l = new QLabel(parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setGeometry(r);
  l->setTextFormat(Qt::PlainText);
  l->setFont(PixelFont(pixels, bold));
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return l;
}

QPushButton* CommandButton(QWidget* parent, const char* name, const char* caption, QRect r) {
  QPushButton* b = widgets::Button(parent, name, caption, r);
  b->setFont(PixelFont(11));
  return b;
}

}  // namespace

DiagramPictureBox::DiagramPictureBox(const char* name, QRect geometry, QWidget* parent) : QWidget(parent) {
  setObjectName(QString::fromLatin1(name));
  setGeometry(geometry);
  setAttribute(Qt::WA_OpaquePaintEvent);
  image = QImage(geometry.size(), QImage::Format_RGB32);
  image.fill(Qt::white);
}

void DiagramPictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(rect(), image);
}

TForm2::TForm2(SimulatorState& st, Forms& fm, QWidget* parent) : QDialog(parent), state(st), forms(fm) {
  setObjectName("Form2");
  setWindowTitle("2  Grafik");
  setFixedSize(kWindowWidth, kWindowHeight);
  // A white sheet, as the picture is printed and saved.
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);

  Label3 = HeaderLabel(this, "Label3", QRect(kLeftColumn, 6, 660, 20), true, 14);
  LblMerkmal = HeaderLabel(this, "LblMerkmal", QRect(kChartLeft, 30, kChartWidth, 18), true, 12);
  struct Row {
    QLabel** slot;
    const char* name;
    int top;
    bool bold;
  };
  const Row rows[] = {{&LblBestand, "LblBestand", 51, false},   {&LblFlaeche, "LblFlaeche", 69, false},
                      {&LblBaeume, "LblBaeume", 87, false},     {&LbBestGroesse, "LbBestGroesse", 105, false},
                      {&LblGitter, "LblGitter", 131, true},     {&LblGitterAnf, "LblGitterAnf", 149, false},
                      {&LblAuswEinh, "LblAuswEinh", 175, true}, {&LblBTAK, "LblBTAK", 193, false},
                      {&LblBTAk2, "LblBTAk2", 211, false}};
  for (const Row& r : rows)
    *r.slot = HeaderLabel(this, r.name, QRect(kLeftColumn, r.top, kLeftColumnWidth, 16), r.bold);
  LblAnzStp = HeaderLabel(this, "LblAnzStp", QRect(kLeftColumn, 240, kLeftColumnWidth, 30));
  LblBaumZahl = HeaderLabel(this, "LblBaumZahl", QRect(kLeftColumn, 272, kLeftColumnWidth, 30));
  for (QLabel* l : {LblAnzStp, LblBaumZahl}) l->setWordWrap(true);

  Graf1 = new DiagramPictureBox("Graf1", QRect(kAxisLeft, kChartTop, kAxisWidth, kChartHeight), this);
  Graf = new DiagramPictureBox("Graf", QRect(kChartLeft, kChartTop, kChartWidth, kChartHeight), this);

  Tabelle = new QTableWidget(kTableRows, kTableColumns, this);
  Tabelle->setObjectName("Tabelle");
  Tabelle->setGeometry(kHeadingColumnLeft, kTableTop, kTableLeft + kTableWidth - kHeadingColumnLeft + 2, kTableHeight);
  Tabelle->setFont(PixelFont(11));
  Tabelle->horizontalHeader()->hide();
  Tabelle->verticalHeader()->hide();
  Tabelle->verticalHeader()->setMinimumSectionSize(kRowHeight);
  Tabelle->verticalHeader()->setDefaultSectionSize(kRowHeight);
  Tabelle->setColumnWidth(0, kHeadingColumnWidth);
  for (int c = 1; c < kTableColumns; ++c) Tabelle->setColumnWidth(c, kBarPitch);
  Tabelle->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Tabelle->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Tabelle->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Tabelle->setSelectionMode(QAbstractItemView::NoSelection);
  Tabelle->setFocusPolicy(Qt::NoFocus);
  Tabelle->setStyleSheet("QTableWidget { background: white; color: black; gridline-color: #a0a0a0; }");
  for (int r = 0; r < kTableRows; ++r)
    for (int c = 0; c < kTableColumns; ++c) {
      auto* item = new QTableWidgetItem();
      item->setTextAlignment((c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
      Tabelle->setItem(r, c, item);
    }

  GroupBox1 = new QFrame(this);
  GroupBox1->setObjectName("GroupBox1");
  GroupBox1->setGeometry(kCategoryGroupLeft, kCategoryGroupTop, kCategoryGroupWidth, kRowHeight + 6);
  static const char* const kCategoryCaptions[kDiagramCategories] = {"Alle", "Fi", "Ta", "Ki", "sNb",
                                                                    "Bu",   "Ei", "Es", "Ah", "sLb"};
  for (int q = 0; q < kDiagramCategories; ++q) {
    const std::string name = "Button" + std::to_string(q + 2);
    auto* b = CommandButton(GroupBox1, name.c_str(), kCategoryCaptions[q],
                            QRect(CategoryButtonLeft(q), 2, CategoryButtonWidth(q), kRowHeight + 2));
    b->setFont(PixelFont(10));
    CategoryButton[static_cast<std::size_t>(q)] = b;
    connect(b, &QPushButton::clicked, this, [this, q] { ButtonBaClick(q); });
  }
  PnLabel = new QFrame(this);
  PnLabel->setObjectName("PnLabel");
  PnLabel->setGeometry(kLabelPanelLeft, kLabelPanelTop, kLabelPanelWidth, kRowHeight + 6);
  Label2 = HeaderLabel(PnLabel, "Label2", QRect(0, 0, kLabelPanelWidth - 4, kRowHeight + 6), true);
  Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  PnLabel->raise();

  BtGesamt = CommandButton(this, "BtGesamt", "Alle Simulationen",
                           QRect(kLeftColumn, kAllSimulationsTop, kLeftColumnWidth, 24));
  const int narrow = kHeadingColumnLeft - kLeftColumn - 4;
  BtListe = CommandButton(this, "BtListe", "Tabelle", QRect(kLeftColumn, kTableButtonTop, narrow, 20));
  BtFlaeche = CommandButton(this, "BtFlaeche", "Fläche", QRect(kLeftColumn, kAreaButtonTop, narrow, 20));
  BtGrundfl = CommandButton(this, "BtGrundfl", "Grundfläche", QRect(kLeftColumn, kBasalAreaButtonTop, narrow, 20));
  BtBaumZahl = CommandButton(this, "BtBaumZahl", "Baumzahl", QRect(kLeftColumn, kStemNumberButtonTop, narrow, 20));
  Button14 = CommandButton(this, "Button14", "BHD", QRect(kLeftColumn, kDbhButtonTop, narrow, 20));
  Button1 = CommandButton(this, "Button1", "drucken", QRect(kChartLeft, 494, 110, 30));
  BtSpeich = CommandButton(this, "BtSpeich", "speichern", QRect(kChartLeft + 120, 494, 110, 30));
  Button13 = CommandButton(this, "Button13", "schliessen", QRect(kChartLeft + kChartWidth - 110, 494, 110, 30));

  connect(Button13, &QPushButton::clicked, this, &TForm2::Button13Click);
  connect(Button14, &QPushButton::clicked, this, &TForm2::Button14Click);
  connect(BtGrundfl, &QPushButton::clicked, this, &TForm2::BtGrundflClick);
  connect(BtBaumZahl, &QPushButton::clicked, this, &TForm2::BtBaumZahlClick);
  connect(BtFlaeche, &QPushButton::clicked, this, &TForm2::BtFlaecheClick);
  connect(BtListe, &QPushButton::clicked, this, &TForm2::BtListeClick);
  connect(BtGesamt, &QPushButton::clicked, this, &TForm2::BtGesamtClick);
  connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
  connect(BtSpeich, &QPushButton::clicked, this, &TForm2::BtSpeichClick);

  choosePrinter = [this](QPrinter& printer) {
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName("PrintDialog1");
    return dialog.exec() == QDialog::Accepted;
  };
  chooseSaveFile = [this]() -> std::pair<std::string, std::string> {
    const QString bmp = "Bitmap (*.bmp)", png = "PNG (*.png)";
    QString filter = bmp;
    const QString file = QFileDialog::getSaveFileName(this, QString(), QString(), bmp + ";;" + png, &filter);
    return {S(file), filter == png ? "PNG" : "BMP"};
  };
}

std::string TForm2::T(const char* german) const { return Translate(state.language, german); }

// The main window's hint handler reads the property.
void TForm2::SetHints(bool on) { setProperty(kShowHintProperty, on); }

ResultDiagramSetting TForm2::MakeSetting(char) const {
  ResultDiagramSetting s;
  const CurrentStand& cs = state.currentStand;
  s.enterpriseMode = state.run.enterpriseMode;
  s.allSimulations = state.graph.allSimulations;
  s.repetitionCount = state.evaluation.run.count;
  s.basalAreaUnit = state.evaluation.histograms.basalAreaWidth;
  s.stemNumberUnit = state.evaluation.histograms.stemNumberWidth;
  s.graphSpeciesName = SpeciesNameTable::Name(state.graph.graphSpecies, cs.speciesList);
  s.standNumber = cs.files.catalogueCode ? cs.files.numberText : std::to_string(cs.files.number);
  s.standAreaHa = cs.areaHa;
  s.standTrees = cs.TreeCount();
  s.enterprise = state.graph.enterprise;
  s.gridDx = state.sampling.grid.dx;
  s.gridDy = state.sampling.grid.dy;
  if (const TForm1* f = forms.form1) {
    const bool all = state.graph.allSimulations;
    s.plotsLine = S((all ? f->LbAnzStpQ : f->LblAnzStp)->text());
    s.sampleTreesLine = S((all ? f->LbBaumZahlQ : f->LblBaumZahl)->text());
  }
  return s;
}

void TForm2::Fill(const ResultDiagramData& data) {
  const ResultDiagramPicture p = LayOutResultDiagram(data, MakeSetting(data.code), state.language);
  const std::pair<QLabel*, const std::string*> texts[] = {{Label3, &p.label3},
                                                          {LblBestand, &p.lblBestand},
                                                          {LblFlaeche, &p.lblFlaeche},
                                                          {LblBaeume, &p.lblBaeume},
                                                          {LbBestGroesse, &p.lbBestGroesse},
                                                          {LblGitter, &p.lblGitter},
                                                          {LblGitterAnf, &p.lblGitterAnf},
                                                          {LblAuswEinh, &p.lblAuswEinh},
                                                          {LblBTAK, &p.lblBTAK},
                                                          {LblBTAk2, &p.lblBTAk2},
                                                          {LblMerkmal, &p.lblMerkmal},
                                                          {LblAnzStp, &p.lblAnzStp},
                                                          {LblBaumZahl, &p.lblBaumZahl},
                                                          {Label2, &p.label2}};
  for (const auto& [label, text] : texts) label->setText(Q(*text));
  BtBaumZahl->setText(Q(p.btBaumZahl));
  for (int r = 0; r < kTableRows; ++r)
    for (int c = 0; c < kTableColumns; ++c)
      Tabelle->item(r, c)->setText(Q(p.table[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]));
  for (int q = 0; q < kDiagramCategories; ++q) {
    QPushButton* b = CategoryButton[static_cast<std::size_t>(q)];
    b->setText(Q(p.buttonCaptions[static_cast<std::size_t>(q)]));
    b->setEnabled(true);
  }
  CategoryButton[0]->setEnabled(p.firstButtonEnabled);
  BtGesamt->setEnabled(p.allSimulationsEnabled);
  state.graph.barCategory = p.barCategory;

  Graf->image.fill(Qt::white);
  Graf1->image.fill(Qt::white);
  {
    QtCanvas chart(Graf->image), axis(Graf1->image);
    p.chart.ReplayOn(chart);
    p.axis.ReplayOn(axis);
  }
  Graf->update();
  Graf1->update();
}

DiagramShown TForm2::DrawResultDiagram(const ResultDiagramData& data) {
  // Inside a run of repetitions only the stand report of the intermediate results leads here.
  if (state.run.busy && !state.run.showReport) return DiagramShown::NotShown;
  Fill(data);
  if (exec() != QDialog::Accepted) Button13Click();
  return DiagramShown::Shown;
}

void TForm2::Leave() {
  if (isVisible()) done(QDialog::Accepted);
}

void TForm2::Button13Click() {
  if (state.run.enterpriseMode) state.graph.enterpriseExit = true;
  Button14->show();
  state.graph.kind = DiagramKind::Exit;
  state.graph.command = 'E';
  Leave();
}

void TForm2::Button14Click() {
  SetHints(true);
  state.graph.kind = DiagramKind::MeanDiameter;
  Label2->setText(Q(T("Baumart")));
  state.graph.command = 'D';
  Leave();
}

void TForm2::BtGrundflClick() {
  SetHints(true);
  state.graph.command = 'G';
  state.graph.kind = DiagramKind::BasalArea;
  Leave();
}

void TForm2::BtBaumZahlClick() {
  SetHints(true);
  state.graph.command = 'Z';
  state.graph.kind = DiagramKind::StemNumber;
  Leave();
}

void TForm2::BtFlaecheClick() {
  SetHints(true);
  Leave();
  state.graph.command = 'F';
}

void TForm2::BtListeClick() {
  SetHints(true);
  Leave();
  state.graph.command = 'T';
}

void TForm2::BtnZuruckClick() {
  Leave();
  state.graph.kind = DiagramKind::BasalArea;
}

void TForm2::ButtonBaClick(int category) {
  SetHints(false);
  for (QPushButton* b : CategoryButton) b->setEnabled(true);
  // The distribution stays until another quantity is chosen.
  if (state.graph.kind == DiagramKind::Distribution) return;
  Leave();
  state.graph.graphSpecies = category;
  state.graph.kind = DiagramKind::Distribution;
  state.graph.command = 'V';
}

void TForm2::BtGesamtClick() {
  SetHints(true);
  state.graph.allSimulations = !state.graph.allSimulations;
  BtGesamt->setText(Q(state.graph.allSimulations ? T("Letzte Simulation") : T("Alle Simulationen")));
  Leave();
}

std::array<QPushButton*, 9> TForm2::CommandButtons() const {
  // "Alle Simulationen" too: a button on paper or in a picture file is no use to anybody.
  return {BtListe, BtFlaeche, BtGrundfl, Button14, Button1, Button13, BtSpeich, BtBaumZahl, BtGesamt};
}

std::array<bool, 9> TForm2::HideCommandButtons() {
  std::array<bool, 9> visible{};
  const auto buttons = CommandButtons();
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    visible[i] = !buttons[i]->isHidden();
    buttons[i]->hide();
  }
  return visible;
}

void TForm2::RestoreCommandButtons(const std::array<bool, 9>& visible) {
  const auto buttons = CommandButtons();
  for (std::size_t i = 0; i < buttons.size(); ++i) buttons[i]->setVisible(visible[i]);
}

QImage TForm2::Picture(int scale) {
  const std::array<bool, 9> visible = HideCommandButtons();
  scale = std::max(1, scale);
  QImage picture(size() * scale, QImage::Format_RGB32);
  picture.setDevicePixelRatio(scale);
  picture.fill(Qt::white);
  render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
  RestoreCommandButtons(visible);
  picture.setDevicePixelRatio(1.0);
  return picture;
}

void TForm2::PaintPage(QPainter& painter, const QRect& page) {
  const QImage picture = Picture(kPrintScale);
  if (picture.isNull() || page.width() <= 0 || page.height() <= 0) return;
  // Across the page's width, at its top; a page too low for that gets the picture at its full height.
  QSize target =
      picture.size().scaled(page.width(), page.width() * picture.height() / picture.width(), Qt::KeepAspectRatio);
  if (target.height() > page.height()) target = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  painter.drawImage(QRect(page.topLeft(), target), picture);
  painter.restore();
}

bool TForm2::PrintOn(QPrinter& printer) {
  QPainter painter;
  if (!BeginMetricPrinting(printer, painter, state)) return false;
  const QRect page(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
  PaintPage(painter, page);
  painter.end();
  return true;
}

void TForm2::Button1Click() {
  const std::array<bool, 9> visible = HideCommandButtons();
  QPrinter printer(QPrinter::HighResolution);
  if (choosePrinter && choosePrinter(printer)) PrintOn(printer);
  RestoreCommandButtons(visible);
}

namespace {

// The file name with the format's suffix when the user typed none.
QString WithSuffix(const QString& file, const char* format) {
  if (!QFileInfo(file).suffix().isEmpty()) return file;
  return file + "." + QString::fromLatin1(format).toLower();
}

}  // namespace

bool TForm2::SavePictureTo(const std::string& path, const char* format) {
  const QImage picture = Picture();
  const QString file = WithSuffix(Q(path), format);
  const QString suffix = QFileInfo(file).suffix().toLower();
  const char* chosen = suffix == "png" ? "PNG" : suffix == "bmp" ? "BMP" : format;
  if (!picture.save(file, chosen)) {
    state.services.messages->PlatformBox(T("Datei konnte nicht gespeichert werden:") + " " + S(file), "",
                                         PlatformButtons::Ok, PlatformIcon::Warning);
    return false;
  }
  state.services.messages->PlatformBox(T("Grafik gespeichert als <") + S(file) + ">", "", PlatformButtons::Ok,
                                       PlatformIcon::Information);
  return true;
}

void TForm2::BtSpeichClick() {
  const std::array<bool, 9> visible = HideCommandButtons();
  if (chooseSaveFile) {
    const auto [file, format] = chooseSaveFile();
    if (!file.empty()) SavePictureTo(file, format.c_str());
  }
  RestoreCommandButtons(visible);
}

}  // namespace tolvek
