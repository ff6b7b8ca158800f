#include "langedit/forms/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QTranslator>
#include <QVBoxLayout>
#include <clocale>

#include "common/format.h"
#include "common/paths.h"
#include "common/qt/qt_services.h"
#include "common/translate.h"

namespace tolvek::langedit {

// ---- Timer and grid

QtRepeatTimer::QtRepeatTimer() {
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    // The tick may stop the timer; it stays alive until it returns.
    std::function<void()> tick = tick_;
    if (tick) tick();
  });
}

void QtRepeatTimer::Start(unsigned intervalMs, std::function<void()> tick) {
  tick_ = std::move(tick);
  timer_.start(static_cast<int>(intervalMs));
}

void QtRepeatTimer::Stop() { timer_.stop(); }

int EditorGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shownRows_;
}

int EditorGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 1 + kEditableFields; }

QVariant EditorGridModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= std::min(shownRows_, RowCount(state_))) return {};
  if (index.column() == 0) return index.row() + 1;
  return Q(state_.rows[static_cast<std::size_t>(index.row())].field[static_cast<std::size_t>(index.column() - 1)]);
}

QVariant EditorGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section >= captions_.size()) return {};
  return captions_[section];
}

void EditorGridModel::SetCaptions(const QStringList& captions) {
  captions_ = captions;
  emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(captions.size()) - 1);
}

void EditorGridModel::Refill() {
  if (shownRows_ == RowCount(state_)) {
    if (shownRows_ > 0) emit dataChanged(index(0, 0), index(shownRows_ - 1, kEditableFields));
    return;
  }
  beginResetModel();
  shownRows_ = RowCount(state_);
  endResetModel();
}

void EditorGridModel::RowChanged(int row) { emit dataChanged(index(row - 1, 0), index(row - 1, kEditableFields)); }

// ---- The window

namespace {

// The controls whose texts come from the editor's rows, with their built-in German texts.
struct TextOf {
  const char* name;  // the control's objectName
  const char* caption;  // nullptr: the control shows no caption of its own
  const char* hint;
};

const TextOf kTexts[] = {
    {"Label1", "Sprache", nullptr},
    {"GroupBox2", "E", "Englische Texte der Zeile"},
    {"Edit0", nullptr, "Formular-Kennung"},
    {"Edit1", nullptr, "Name der Komponente"},
    {"Edit2", nullptr, "Beschriftung deutsch"},
    {"Edit3", nullptr, "Hinweis oder Meldung deutsch"},
    {"Edit4", nullptr, "Beschriftung englisch"},
    {"Edit5", nullptr, "Hinweis oder Meldung englisch"},
    {"Edit6", nullptr, "Beschriftung in der Sprache"},
    {"Edit7", nullptr, "Hinweis oder Meldung in der Sprache"},
    {"Edit8", nullptr, "Suchbegriff"},
    {"edRowNr", nullptr, "Zeilennummer eingeben: Zeile aufsuchen"},
    {"edRowNr3", nullptr, "Zeile der Texte in der Sprache"},
    {"edSprache", nullptr,
     "Sprachnummer: 1 deutsch, 2 englisch, 3 tschechisch, 4 französisch, 5 spanisch, 6 polnisch, 7 türkisch"},
    {"sbUP", nullptr, "Eine Zeile zurück (gedrückt halten: weiter zurück)"},
    {"sbDown", nullptr, "Eine Zeile vor (gedrückt halten: weiter vor)"},
    {"sb3UP", nullptr, "Nur die Zeile der Sprache eine zurück"},
    {"sb3Down", nullptr, "Nur die Zeile der Sprache eine vor"},
    {"btWrite", "speichern",
     "Tabelle der Sprache speichern und Programm beenden"},
    {"BtRowAdd", "Zeile einfügen",
     "Leere Zeile in die Texte der Sprache einfügen: die folgenden Texte rücken eine Zeile nach unten"},
    {"BzRowDel", "Zeile löschen",
     "Texte der Sprache in dieser Zeile löschen: die folgenden Texte rücken eine Zeile nach oben"},
    {"Button1", "EN übernehmen ",
     "Englische Texte in die Zeile der Sprache übernehmen"},
    {"BtPlus", "+", "Leere Zeile in die Tabelle einfügen"},
    {"btEnde", "Ende", "Programm beenden"},
    {"Bt1", "suchen",
     "Suchbegriff in der gewählten Spalte suchen, ab der Zeile nach der aktuellen"},
};

// Grid headers: row number, then fields 1 … 4.
const char* const kGridCaptions[] = {"Nr.", "Formular", "Komponente", "Beschriftung", "Hinweis / Meldung"};

void SetCaption(QWidget* w, const QString& text) {
  if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(text);
  else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(text);
  else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(text);
}

void SetHint(QWidget* w, const QString& text) {
  w->setToolTip(text);
  // The empty search field says what it is for; in the table's fields grey text would pass for content.
  if (w->objectName() == "Edit8") static_cast<QLineEdit*>(w)->setPlaceholderText(text);
}

QLineEdit* NewEdit(const char* name, QWidget* parent, bool readOnly, int width = 0) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setReadOnly(readOnly);
  if (width) e->setFixedWidth(width);
  return e;
}

QToolButton* NewArrow(const char* name, Qt::ArrowType arrow, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setArrowType(arrow);
  b->setFixedSize(26, 26);
  return b;
}

QPushButton* NewButton(const char* name, QWidget* parent) {
  auto* b = new QPushButton(parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}

// The part in front of the caption fields: the same width in every group, so the columns line up.
constexpr int kLeadWidth = 330;
constexpr int kCaptionWidth = 280;

}  // namespace

TForm1::TForm1(EditorState& st, Services& sv, RepeatTimer& timer, QWidget* parent)
    : QWidget(parent), state(st), services(sv), repeat_(timer) {
  setObjectName("Form1");
  setWindowTitle("Diruvori");
  BuildControls();
  TranslateWindow();
  FormCreate();
}

void TForm1::BuildControls() {
  auto* top = new QVBoxLayout(this);

  auto group = [this](const char* name, QWidget*& lead) {
    auto* g = new QGroupBox(this);
    g->setObjectName(name);
    auto* row = new QHBoxLayout(g);
    lead = new QWidget(g);
    lead->setFixedWidth(kLeadWidth);
    row->addWidget(lead);
    return g;
  };
  auto leadRow = [](QWidget* lead) {
    auto* l = new QHBoxLayout(lead);
    l->setContentsMargins(0, 0, 0, 0);
    return l;
  };

  QWidget* lead1 = nullptr;
  GroupBox1 = group("GroupBox1", lead1);
  auto* l1 = leadRow(lead1);
  sbUP = NewArrow("sbUP", Qt::UpArrow, lead1);
  sbDown = NewArrow("sbDown", Qt::DownArrow, lead1);
  lbRowNr = new QLabel(lead1);
  lbRowNr->setObjectName("lbRowNr");
  lbRowNr->setFixedWidth(40);
  lbRowNr->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Edit0 = NewEdit("Edit0", lead1, false, 60);
  Edit1 = NewEdit("Edit1", lead1, false);
  for (QWidget* w : std::initializer_list<QWidget*>{sbUP, sbDown, lbRowNr, Edit0, Edit1}) l1->addWidget(w);
  Edit2 = NewEdit("Edit2", GroupBox1, false, kCaptionWidth);
  Edit3 = NewEdit("Edit3", GroupBox1, false);
  GroupBox1->layout()->addWidget(Edit2);
  GroupBox1->layout()->addWidget(Edit3);

  QWidget* lead2 = nullptr;
  GroupBox2 = group("GroupBox2", lead2);
  Edit4 = NewEdit("Edit4", GroupBox2, true, kCaptionWidth);
  Edit5 = NewEdit("Edit5", GroupBox2, true);
  GroupBox2->layout()->addWidget(Edit4);
  GroupBox2->layout()->addWidget(Edit5);

  QWidget* lead3 = nullptr;
  GroupBox3 = group("GroupBox3", lead3);
  auto* l3 = leadRow(lead3);
  sb3UP = NewArrow("sb3UP", Qt::UpArrow, lead3);
  sb3Down = NewArrow("sb3Down", Qt::DownArrow, lead3);
  edRowNr3 = NewEdit("edRowNr3", lead3, true, 48);
  edRowNr3->setAlignment(Qt::AlignRight);
  Label1 = new QLabel(lead3);
  Label1->setObjectName("Label1");
  lbSP = new QLabel(lead3);
  lbSP->setObjectName("lbSP");
  lbSP->setMinimumWidth(24);
  edSprache = NewEdit("edSprache", lead3, false, 30);
  edSprache->setAlignment(Qt::AlignRight);
  for (QWidget* w : std::initializer_list<QWidget*>{sb3UP, sb3Down, edRowNr3}) l3->addWidget(w);
  l3->addStretch();
  for (QWidget* w : std::initializer_list<QWidget*>{Label1, lbSP, edSprache}) l3->addWidget(w);
  Edit6 = NewEdit("Edit6", GroupBox3, true, kCaptionWidth);
  Edit7 = NewEdit("Edit7", GroupBox3, true);
  GroupBox3->layout()->addWidget(Edit6);
  GroupBox3->layout()->addWidget(Edit7);

  auto* buttons = new QHBoxLayout;
  edRowNr = NewEdit("edRowNr", this, false, 60);
  edRowNr->setAlignment(Qt::AlignRight);
  buttons->addWidget(edRowNr);
  btWrite = NewButton("btWrite", this);
  BtRowAdd = NewButton("BtRowAdd", this);
  BzRowDel = NewButton("BzRowDel", this);
  Button1 = NewButton("Button1", this);
  BtPlus = NewButton("BtPlus", this);
  BtPlus->setFixedWidth(36);
  btEnde = NewButton("btEnde", this);
  for (QWidget* w : std::initializer_list<QWidget*>{btWrite, BtRowAdd, BzRowDel, Button1, BtPlus}) buttons->addWidget(w);
  buttons->addStretch();
  Edit8 = NewEdit("Edit8", this, false, 220);
  Bt1 = NewButton("Bt1", this);
  buttons->addWidget(Edit8);
  buttons->addWidget(Bt1);
  buttons->addSpacing(24);
  buttons->addWidget(btEnde);

  StringGrid1 = new QTableView(this);
  StringGrid1->setObjectName("StringGrid1");
  model_ = new EditorGridModel(state, StringGrid1);
  StringGrid1->setModel(model_);
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->verticalHeader()->hide();
  StringGrid1->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  StringGrid1->horizontalHeader()->setStretchLastSection(true);
  StringGrid1->setWordWrap(false);

  for (QGroupBox* g : {GroupBox1, GroupBox2, GroupBox3}) top->addWidget(g);
  top->addLayout(buttons);
  top->addWidget(StringGrid1, 1);
  resize(1120, 720);
  for (int c = 0; c < 4; ++c) StringGrid1->setColumnWidth(c, std::array{50, 70, 150, 300}[c]);

  // Built-in German texts; the language table replaces them.
  for (const TextOf& t : kTexts) {
    QWidget* w = findChild<QWidget*>(t.name);
    if (t.caption) SetCaption(w, QString::fromUtf8(t.caption));
    if (t.hint) SetHint(w, QString::fromUtf8(t.hint));
  }

  for (QToolButton* a : {sbUP, sbDown}) {
    connect(a, &QToolButton::pressed, this, [this, a] { sbDownMouseDown(a); });
    connect(a, &QToolButton::released, this, [this] { ArrowUp(); });
  }
  for (QToolButton* a : {sb3UP, sb3Down}) {
    connect(a, &QToolButton::pressed, this, [this, a] { sb3DownMouseDown(a); });
    connect(a, &QToolButton::released, this, [this] { ArrowUp(); });
  }
  connect(btWrite, &QPushButton::clicked, this, [this] { btWriteClick(); });
  connect(BtRowAdd, &QPushButton::clicked, this, [this] { BtRowAddClick(); });
  connect(BzRowDel, &QPushButton::clicked, this, [this] { BzRowDelClick(); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(BtPlus, &QPushButton::clicked, this, [this] { BtPlusClick(); });
  connect(btEnde, &QPushButton::clicked, this, [this] { btEndeClick(); });
  connect(Bt1, &QPushButton::clicked, this, [this] { Bt1Click(); });
  connect(Edit8, &QLineEdit::returnPressed, this, [this] { Bt1Click(); });
  connect(edRowNr, &QLineEdit::editingFinished, this, [this] { edRowNrExit(); });
  connect(edSprache, &QLineEdit::editingFinished, this, [this] { edSpracheExit(); });
  for (QLineEdit* e : {Edit0, Edit1, Edit2, Edit3}) connect(e, &QLineEdit::editingFinished, this, [this] { CommitEdits(); });
  connect(StringGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (!selecting_ && current.isValid()) StringGrid1SelectCell(current.row() + 1, current.column());
          });
  connect(StringGrid1, &QTableView::clicked, this, [this] { StringGrid1Click(); });
}

std::string TForm1::T(const std::string& german) const { return Translate(state.texts, german); }

void TForm1::TranslateWindow() {
  for (const TextOf& t : kTexts) {
    QWidget* w = findChild<QWidget*>(t.name);
    ComponentTexts found = LookupComponentTexts(state.texts, kEditorFormId, t.name);
    if (t.caption && found.caption) SetCaption(w, Q(*found.caption));
    if (found.hint) SetHint(w, Q(*found.hint));
  }
  QStringList captions;
  for (const char* c : kGridCaptions) captions << Q(T(c));
  model_->SetCaptions(captions);
}

void TForm1::FormCreate() {
  LoadOutcome ref = LoadReference(state);
  if (ref.result != LoadResult::kOk) {
    Inform(ref.path + ": " +
               T(ref.result == LoadResult::kEmpty ? "Datei ist leer" : "Datei kann nicht gelesen werden"),
           PlatformIcon::Warning);
  } else {
    LoadOutcome target = LoadTarget(state, state.target);
    if (target.result != LoadResult::kOk)
      Inform(target.path + ": " + T("Datei kann nicht gelesen werden") + "#" + T("Die englischen Texte werden eingesetzt"),
             PlatformIcon::Warning);
  }
  // Without a reference there is nothing to edit or write; only "Ende" is left.
  for (QWidget* w : std::initializer_list<QWidget*>{GroupBox1, GroupBox3, edRowNr, btWrite, BtRowAdd, BzRowDel,
                                                    Button1, BtPlus, Edit8, Bt1, StringGrid1})
    w->setEnabled(state.referenceLoaded);
  ShowLanguage();
  FillEditorGrid();
  SelectGridRow(state.referenceRow);
  ShowEditorRow();
}

void TForm1::ShowLanguage() {
  lbSP->setText(Q(EditorLanguageCode(state.target)));
  edSprache->setText(QString::number(state.target));
}

void TForm1::ShowEditorRow() {
  lbRowNr->setText(QString::number(state.referenceRow));
  edRowNr->setText(QString::number(state.referenceRow));
  edRowNr3->setText(QString::number(state.targetRow));
  QLineEdit* const reference[] = {Edit0, Edit1, Edit2, Edit3, Edit4, Edit5};
  const bool any = !state.rows.empty();
  for (int f = 0; f < 6; ++f) {
    reference[f]->setText(any ? Q(state.rows[state.referenceRow - 1].field[f]) : QString());
    reference[f]->setCursorPosition(0);
  }
  Edit6->setText(any ? Q(state.rows[state.targetRow - 1].field[kTargetCaption]) : QString());
  Edit7->setText(any ? Q(state.rows[state.targetRow - 1].field[kTargetHint]) : QString());
  Edit6->setCursorPosition(0);
  Edit7->setCursorPosition(0);
}

void TForm1::FillEditorGrid() { model_->Refill(); }

void TForm1::SelectGridRow(int row) {
  if (state.rows.empty()) return;
  selecting_ = true;
  const QModelIndex at = model_->index(row - 1, state.column);
  StringGrid1->setCurrentIndex(at);
  StringGrid1->scrollTo(at);
  selecting_ = false;
}

void TForm1::CommitEdits() {
  if (!state.referenceLoaded) return;
  if (CommitReferenceFields(state, {S(Edit0->text()), S(Edit1->text()), S(Edit2->text()), S(Edit3->text())})) {
    model_->RowChanged(state.referenceRow);
    ShowEditorRow();  // the cleaned texts
  }
}

void TForm1::sbDownMouseDown(QToolButton* arrow) {
  CommitEdits();
  const int delta = arrow == sbDown ? 1 : -1;
  repeat_.Press([this, delta] {
    if (!StepBoth(state, delta)) return false;
    ShowEditorRow();
    SelectGridRow(state.referenceRow);
    return true;
  });
}

void TForm1::sb3DownMouseDown(QToolButton* arrow) {
  CommitEdits();
  const int delta = arrow == sb3Down ? 1 : -1;
  repeat_.Press([this, delta] {
    if (!StepTarget(state, delta)) return false;
    ShowEditorRow();
    return true;
  });
}

void TForm1::ArrowUp() { repeat_.Release(); }

void TForm1::StringGrid1SelectCell(int row, int column) {
  CommitEdits();
  state.column = column;
  state.referenceRow = std::clamp(row, 1, std::max(1, RowCount(state)));  // the target row follows on a click
  ShowEditorRow();
}

void TForm1::StringGrid1Click() {
  CommitEdits();
  state.targetRow = state.referenceRow;
  FillEditorGrid();
  SelectGridRow(state.referenceRow);
  ShowEditorRow();
}

void TForm1::edRowNrExit() {
  std::optional<long long> n = ParseInt(S(edRowNr->text().trimmed()));
  if (!n) {
    ShowEditorRow();  // not a number: the current row stays
    return;
  }
  if (*n == state.referenceRow) return;
  CommitEdits();
  GoToRow(state, *n);
  FillEditorGrid();
  SelectGridRow(state.referenceRow);
  ShowEditorRow();
}

void TForm1::edSpracheExit() {
  // The boxes below take the focus from the field, which may report its exit once more.
  if (changingLanguage_) return;
  changingLanguage_ = true;
  ChangeLanguage();
  changingLanguage_ = false;
}

void TForm1::ChangeLanguage() {
  std::optional<long long> n = ParseInt(S(edSprache->text().trimmed()));
  if (!n || !IsEditorLanguage(*n)) {
    ShowLanguage();
    Inform(T("Nur die Sprachen 1 bis 7 sind möglich"), PlatformIcon::Information);
    return;
  }
  if (*n == state.target) return;
  if (state.targetChanged &&
      !Ask(T("Verschobene und übernommene Texte der Sprache gehen verloren. Trotzdem wechseln?"))) {
    ShowLanguage();
    return;
  }
  CommitEdits();
  LoadOutcome target = LoadTarget(state, static_cast<LanguageNumber>(*n));
  if (target.result != LoadResult::kOk)
    Inform(target.path + ": " + T("Datei kann nicht gelesen werden") + "#" + T("Die englischen Texte werden eingesetzt"),
           PlatformIcon::Warning);
  ShowLanguage();
  ShowEditorRow();
}

void TForm1::Button1Click() {
  CommitEdits();
  CopyEnglish(state);
  ShowEditorRow();
}

void TForm1::BtRowAddClick() {
  CommitEdits();
  if (InsertTargetRowLosesTexts(state) &&
      !Ask(T("Die Texte der letzten Zeile gehen verloren. Trotzdem einfügen?")))
    return;
  InsertTargetRow(state);
  ShowEditorRow();
}

void TForm1::BzRowDelClick() {
  CommitEdits();
  DeleteTargetRow(state);
  ShowEditorRow();
}

void TForm1::BtPlusClick() {
  CommitEdits();
  InsertReferenceRow(state);
  FillEditorGrid();
  SelectGridRow(state.referenceRow);
  ShowEditorRow();
}

void TForm1::Bt1Click() {
  CommitEdits();
  std::optional<int> row = FindRow(state, S(Edit8->text()));
  if (!row) {
    Inform(T("nich gefunden"), PlatformIcon::Information);
    return;
  }
  GoToRow(state, *row);
  SelectGridRow(state.referenceRow);
  ShowEditorRow();
  StringGrid1Click();
}

void TForm1::Inform(const std::string& text, PlatformIcon icon) {
  services.messages->PlatformBox(text, "Diruvori", PlatformButtons::Ok, icon);
}

bool TForm1::Ask(const std::string& text) {
  return services.messages->PlatformBox(text, "Diruvori", PlatformButtons::YesNo, PlatformIcon::Question) ==
         kResultYes;
}

bool TForm1::WriteFile() {
  CommitEdits();
  if (const Outcome written = WriteTargetFile(state); !written.ok()) {
    const Problem& p = written.problem();
    const std::string notWritten = "Datei konnte nicht geschrieben werden:";
    // A refusal before writing says why; a failed write is said by the first part alone.
    Inform(T(notWritten) + " " + p.where + (p.message == notWritten ? std::string() : " (" + p.message + ")"),
           PlatformIcon::Warning);
    return false;
  }
  Inform(T("Datei erfolgreich gespeichert"), PlatformIcon::Information);
  return true;
}

void TForm1::btWriteClick() {
  if (WriteFile()) End();
}

void TForm1::End() {
  if (ending_) return;
  ending_ = true;
  repeat_.Release();
  close();
  services.exit->Quit(0);
}

void TForm1::btEndeClick() { close(); }

void TForm1::closeEvent(QCloseEvent* e) {
  if (!ending_) {
    // A failed write keeps the window open with every edit.
    if (state.referenceLoaded && Ask(T("Dateien speichern?")) && !WriteFile()) {
      e->ignore();
      return;
    }
    ending_ = true;
    repeat_.Release();
    services.exit->Quit(0);
  }
  e->accept();
}

int ProgramStart(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  QtServices qt;
  EditorState state;
  state.folder = ProgramFoldersFor(S(QCoreApplication::applicationDirPath())).program;
  LoadEditorTexts(state);
  // Qt's own buttons ("Yes", "No", "OK") in the window's language, where Qt ships a translation.
  static const char* const kQtLanguage[] = {"de", "de", "en", "cs", "fr", "es", "pl", "tr"};
  QTranslator qtTexts;
  if (state.textsLanguage >= 0 && state.textsLanguage <= kLastLanguage &&
      qtTexts.load(QString("qtbase_") + kQtLanguage[state.textsLanguage],
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qtTexts);
  QtRepeatTimer timer;
  TForm1 form(state, qt.services, timer);
  form.show();
  return app.exec();
}

}  // namespace tolvek::langedit
