// The window translation on real windows: every listed control exists with its kind in the windows
// built so far, the language buttons switch and the choice survives a restart, texts stay plain.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QMenu>
#include <QRadioButton>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <cstdlib>
#include <memory>
#include <set>

#include "common/paths.h"
#include "common/qt/qt_services.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/program.h"
#include "simulator/forms/translate_forms.h"
#include "simulator/sampling/method.h"
#include "tests/support/fakes.h"

using namespace tolvek;
using tolvek::testing::FakeServices;
using tolvek::testing::TempDir;

namespace {

// A fresh program on a copy of the shipped program folder.
struct Program {
  explicit Program(const TempDir& d) : state(fs.services) {
    state.folders = ProgramFoldersFromFolder(d.path());
    program = std::make_unique<SimulatorProgram>(state, false);
  }
  TForm1& form1() { return *program->forms.form1; }
  QString Text(const char* window, const char* control) {
    auto* b = qobject_cast<QAbstractButton*>(FindControl(FindWindowByName(window), control));
    if (b) return b->text();
    auto* l = qobject_cast<QLabel*>(FindControl(FindWindowByName(window), control));
    return l ? l->text() : QString("<missing>");
  }
  FakeServices fs;
  SimulatorState state;
  std::unique_ptr<SimulatorProgram> program;
};

// Controls of the main window that areas still under construction add (help group, grid group,
// result and enterprise panels). Shrink this as they appear; the check fails for every other one.
const std::set<std::string> kMainWindowPending{
    "GrpDtEng", "RdDtsch",  "RdAnwend", "RdBenutzer", "RdSuche",  "RdNeue",   "Button1",  "Button3",
    "Button10", "Button11", "Button15", "Button16",   "Button22", "Button23", "Button24", "Button25",
    "Button26", "BtWarten", "Label10",  "Label11",    "Label12",  "Label13",  "CheckBox2", "CheckBox3"};

QString CaptionOf(QObject* c) {
  if (auto* b = qobject_cast<QAbstractButton*>(c)) return b->text();
  if (auto* l = qobject_cast<QLabel*>(c)) return l->text();
  if (auto* g = qobject_cast<QGroupBox*>(c)) return g->title();
  if (auto* a = qobject_cast<QAction*>(c)) return a->text();
  if (auto* m = qobject_cast<QMenu*>(c)) return m->title();
  return {};
}
QString HintOf(QObject* c) {
  if (auto* w = qobject_cast<QWidget*>(c)) return w->toolTip();
  if (auto* a = qobject_cast<QAction*>(c)) return a->toolTip();
  return {};
}

std::string FileText(const std::string& path) {
  std::string b;
  ReadWholeFile(path, b);
  return b;
}

}  // namespace

class TranslateFormsTest : public QObject {
  Q_OBJECT

 private slots:
  void everyListedControlExistsWithItsKind() {
    TempDir dir;
    testing::CopyShippedData(dir);
    Program p(dir);
    TranslateAllForms(p.state);  // German: every listed control remembers its built-in text
    std::vector<const FormList*> lists{&StartScreenList(), &MessageBoxList()};
    for (const auto& l : AllFormLists()) lists.push_back(&l);
    std::set<std::string> skipped;
    std::vector<std::string> faults;
    int checked = 0;
    for (const FormList* l : lists) {
      for (const FormEntry& e : l->entries) {
        const std::string window = e.window.empty() ? l->window : e.window;
        QWidget* w = FindWindowByName(window);
        if (!w) {
          skipped.insert(window);  // not built yet
          continue;
        }
        QObject* c = FindControl(w, e.component);
        if (!c && window == kMainWindow && kMainWindowPending.count(e.component))
          qInfo("%s: %s not built yet", l->formId.c_str(), e.component.c_str());
        else if (!c)
          faults.push_back(l->formId + ": " + window + " has no " + e.component);
        else if (!MatchesKind(c, e.kind))
          faults.push_back(l->formId + ": " + window + "." + e.component + " is of another kind");
        if (!e.copyToMain.empty() && !MatchesKind(FindControl(FindWindowByName(kMainWindow), e.copyToMain), e.kind))
          faults.push_back(l->formId + ": " + std::string(kMainWindow) + " has no button " + e.copyToMain);
        ++checked;
        // A control of the list without a row shows its built-in German text in every language.
        if (c && e.source == EntrySource::kRow && LookupComponentTexts(p.state.language, l->formId, e.component).found) {
          // The German row replaces the built-in text: say where the two have drifted apart.
          const QVariant own = c->property("tolvekOwnCaption");
          const auto german = LookupComponentTexts(p.state.language, l->formId, e.component).caption;
          if (own.isValid() && german && own.toString() != Q(*german))
            qInfo("%s: %s.%s built as \"%s\", German row \"%s\"", l->formId.c_str(), window.c_str(),
                  e.component.c_str(), qPrintable(own.toString()), german->c_str());
        }
        if (c && e.source == EntrySource::kRow && !LookupComponentTexts(p.state.language, l->formId, e.component).found)
          qInfo("%s: no row for %s.%s (caption \"%s\", hint \"%s\")", l->formId.c_str(), window.c_str(),
                e.component.c_str(), qPrintable(CaptionOf(c)), qPrintable(HintOf(c)));
      }
    }
    QVERIFY(checked > 0);
    for (const auto& f : faults) qWarning("%s", f.c_str());
    QVERIFY2(faults.empty(), "listed controls missing or of another kind (above)");
    for (const auto& s : skipped) qInfo("window %s not built yet: its list is not checked", s.c_str());
  }

  void titleScreenStartsInTheSavedLanguage() {
    TempDir dir;
    testing::CopyShippedData(dir);
    {
      Program p(dir);
      // First start: German, the settings file created.
      QCOMPARE(p.form1().Button12->text(), QString("Bestand"));
      QCOMPARE(FileText(dir.File("EinStell.Txt")), std::string("Sprache: 0\r\nWET no\r\n"));
      QVERIFY(p.fs.messages.shown.empty());
      p.form1().LanguageButton(2)->click();
      QCOMPARE(p.form1().Button12->text(), QString("Stand"));
      QCOMPARE(p.form1().sBtBestand->text(), QString("       Stands"));
      QCOMPARE(FileText(dir.File("EinStell.Txt")), std::string("Sprache: 2\r\nWET no\r\n"));
    }
    {
      Program p(dir);
      QCOMPARE(p.form1().Button12->text(), QString("Stand"));
      p.form1().LanguageButton(3)->click();
      QCOMPARE(p.form1().Button12->text(), QString("Porost"));
      // Back to German: the German columns of the English file.
      p.form1().LanguageButton(1)->click();
      QCOMPARE(p.form1().Button12->text(), QString("Bestand"));
      QCOMPARE(p.state.language.tableFile, dir.File("SpracheEN.txt"));
      QCOMPARE(p.state.language.selector, 1);
    }
  }

  void missingTableGivesTheBuiltInTextsBack() {
    TempDir dir;
    testing::CopyShippedData(dir);
    Program p(dir);
    const QString own = p.form1().Button12->text();
    p.form1().LanguageButton(2)->click();
    QCOMPARE(p.form1().Button12->text(), QString("Stand"));
    QFile::remove(QString::fromStdString(dir.File("SpracheTR.txt")));
    p.form1().LanguageButton(7)->click();
    QCOMPARE(p.fs.exit.quits, 0);
    QVERIFY(p.fs.messages.Saw("SpracheTR.txt:  Auf Datei kann nicht zugegrriffen werden. Auf Deutsch umgeschaltet"));
    QCOMPARE(p.form1().Button12->text(), own);
    QCOMPARE(FileText(dir.File("EinStell.Txt")), std::string("Sprache: 1\r\nWET no\r\n"));
  }

  void ownTextIsNotRestoredOverATextTheProgramSet() {
    TempDir dir;
    testing::CopyShippedData(dir);
    Program p(dir);
    p.form1().LanguageButton(2)->click();
    QCOMPARE(p.form1().sBtAnweisung->text(), QString("         Instructions"));
    p.form1().sBtAnweisung->setText(" Close instructions");
    p.state.language.selector = 0;
    TranslateAllForms(p.state);
    QCOMPARE(p.form1().sBtAnweisung->text(), QString(" Close instructions"));
    QCOMPARE(p.form1().Button12->text(), QString("Bestand"));
  }

  void graphicsButtonKeepsNamingWhatItDoes() {
    TempDir dir;
    testing::CopyShippedData(dir);
    Program p(dir);
    p.form1().LanguageButton(2)->click();
    QCOMPARE(p.form1().F1BnStatus->text(), QString("Graphics off"));
    p.state.run.graphics = false;
    TranslateAllForms(p.state);
    QCOMPARE(p.form1().F1BnStatus->text(), QString("Graphics on"));
  }

  void englishReachesTheWaitPanelStandWindowVariantsAndPhotoNotice() {
    TempDir dir;
    testing::CopyShippedData(dir);
    Program p(dir);
    p.form1().LanguageButton(2)->click();
    QCOMPARE(p.state.language.selector, 2);
    QCOMPARE(p.form1().Panel15Text->text(), QString("Please wait ..."));
    QCOMPARE(p.Text("Form15", "Button1"), QString("Description"));
    QCOMPARE(p.Text("Form15", "ButonDrehen"), QString("rotate"));
    QCOMPARE(p.Text("Form15", "BtnVerzeichnis"), QString("List of stands"));
    QCOMPARE(p.Text("Form15", "BtnAbbruch"), QString("Cancel"));
    QCOMPARE(p.Text("Form23", "BtnVerzeichnis"), QString("List of stands"));
    QCOMPARE(p.Text("Form44", "LbKeinFoto"), QString("Sorry, no photo available"));
    QCOMPARE(p.Text("BtnRightDlg6", "RadioButton1"), QString("(1) Prodan: no correction"));
    QCOMPARE(p.Text("BtnRightDlg6", "RadioButton6"), QString("(6) OXV:  classical +14 cm"));
    MethodSettings m;
    m.treeNumber = 6;
    m.variant = 2;
    QCOMPARE(NTreeParameterLine(m, p.state.language), std::string("Trees: 6  Variant: 2"));
    // back in German the German keys show again
    p.form1().LanguageButton(1)->click();
    QCOMPARE(p.form1().Panel15Text->text(), QString("Bitte warten ..."));
    QCOMPARE(p.Text("BtnRightDlg6", "RadioButton6"), QString("(6)OXV:  klassisch +14 cm"));
    QCOMPARE(NTreeParameterLine(m, p.state.language), std::string("Baumzahl: 6  Variante: 2"));
  }

  void messageBoxButtonsUnderF42() {
    TempDir dir;
    testing::CopyShippedData(dir);
    Program p(dir);
    p.form1().LanguageButton(4)->click();
    TranslateMessageBoxButtons(p.state);
    QCOMPARE(p.Text("Form42", "btnYES"), QString("oui"));
    QCOMPARE(p.Text("Form42", "btnNO"), QString("non"));
    QCOMPARE(p.state.translation.formId, std::string("F42"));
    TranslateAllForms(p.state);
    QCOMPARE(p.state.translation.formId, std::string("F1"));
  }

  void labelsShowTextPlain() {
    TempDir dir;
    testing::CopyShippedData(dir);
    Program p(dir);
    ApplyTexts({{kMainWindow, "Label2", ControlKind::kLabel, TextProperty::kCaption,
                 std::string("Programm <Vorlint.exe> nicht gefunden")}});
    QCOMPARE(p.form1().Label2->textFormat(), Qt::PlainText);
    QCOMPARE(p.form1().Label2->text(), QString("Programm <Vorlint.exe> nicht gefunden"));
    // A window that does not exist is passed over.
    ApplyTexts({{"NoSuchWindow", "Label2", ControlKind::kLabel, TextProperty::kCaption, std::string("x")}});
  }

  void eachKindTakesItsTexts() {
    QWidget window;
    window.setObjectName("FormKinds");
    auto make = [&](auto* w, const char* name, QWidget* parent) {
      w->setObjectName(name);
      w->setParent(parent);
      return w;
    };
    auto* button = make(new QPushButton("Knopf"), "Button1", &window);
    auto* bitmap = make(new QPushButton("⏻"), "BitBtn1", &window);
    auto* label = make(new QLabel("Beschriftung"), "Label1", &window);
    auto* group = make(new QGroupBox("Gruppe"), "GroupBox1", &window);
    auto* check = make(new QCheckBox("Haken"), "CheckBox1", group);
    auto* radio = make(new QRadioButton("Knopf"), "RadioButton1", group);
    auto* menu = make(new QMenu("Menü"), "Menu1", &window);
    auto* item = new QAction("Eintrag", menu);
    item->setObjectName("Item1");
    menu->addAction(item);
    // A window of its own inside this one: its controls are not this window's.
    auto* child = new QDialog(&window);
    child->setObjectName("ChildDialog");
    auto* foreign = make(new QPushButton("fremd"), "Button2", child);
    window.show();

    LanguageTable t;
    t.selector = 2;
    auto row = [&](const char* comp, const char* caption, const char* hint) {
      LanguageRow r;
      r.field = {"FX", comp, "", "", caption, hint};
      t.rows.push_back(r);
    };
    row("Button1", "Button", "Button hint");
    row("BitBtn1", "Bitmap", "Bitmap hint");
    row("Label1", "<b>Label</b>", "Label hint");
    row("GroupBox1", "Group", "Group hint");
    row("CheckBox1", "Check", "Check hint");
    row("RadioButton1", "Radio", "Radio hint");
    row("Item1", "Item", "Item hint");
    row("Button2", "Foreign", "Foreign hint");
    FormList list{"FX", "FormKinds", {}};
    auto entry = [&](const char* name, ControlKind k) {
      FormEntry e;
      e.component = name;
      e.kind = k;
      list.entries.push_back(e);
    };
    entry("Button1", ControlKind::kButton);
    entry("BitBtn1", ControlKind::kBitmapButton);
    entry("Label1", ControlKind::kLabel);
    entry("GroupBox1", ControlKind::kGroupBox);
    entry("CheckBox1", ControlKind::kCheckBox);
    entry("RadioButton1", ControlKind::kRadioButton);
    entry("Item1", ControlKind::kMenuItem);
    entry("Button2", ControlKind::kButton);
    ApplyTexts(PlanFormTexts(t, list));

    QCOMPARE(button->text(), QString("Button"));
    QCOMPARE(button->toolTip(), QString("Button hint"));
    QCOMPARE(bitmap->text(), QString("⏻"));  // a bitmap button keeps its picture caption
    QCOMPARE(bitmap->toolTip(), QString("Bitmap hint"));
    QCOMPARE(label->text(), QString("<b>Label</b>"));
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(group->title(), QString("Group"));
    QCOMPARE(check->text(), QString("Check"));
    QCOMPARE(check->toolTip(), QString("Check hint"));
    QCOMPARE(radio->text(), QString("Radio"));
    QCOMPARE(item->text(), QString("Item"));
    QVERIFY(item->toolTip() != QString("Item hint"));  // menu items take no hint
    QCOMPARE(foreign->text(), QString("fremd"));

    // Back to the built-in texts when the table is gone.
    t.selector = 0;
    ApplyTexts(PlanFormTexts(t, list));
    QCOMPARE(button->text(), QString("Knopf"));
    QCOMPARE(button->toolTip(), QString(""));
    QCOMPARE(label->text(), QString("Beschriftung"));
    QCOMPARE(group->title(), QString("Gruppe"));
    QCOMPARE(item->text(), QString("Eintrag"));
  }

  // With TOLVEK_SCREENSHOTS set to a folder, the title screen in each language is saved there.
  void screenshots() {
    const char* out = std::getenv("TOLVEK_SCREENSHOTS");
    if (!out) QSKIP("TOLVEK_SCREENSHOTS not set");
    TempDir dir;
    testing::CopyShippedData(dir);
    Program p(dir);
    p.form1().show();
    for (int n = 1; n <= 7; ++n) {
      p.form1().LanguageButton(n)->click();
      QApplication::processEvents();
      p.form1().grab().save(QString("%1/title-%2.png").arg(out).arg(Q(LanguageCode(n))));
      TranslateAllForms(p.state);
      for (QWidget* w : QApplication::topLevelWidgets()) {
        const QString name = w->objectName();
        if (name == "Form1" || !(name.startsWith("Form") || name.startsWith("BtnRight"))) continue;
        w->show();
        QApplication::processEvents();
        w->grab().save(QString("%1/%2-%3.png").arg(out).arg(name).arg(Q(LanguageCode(n))));
        w->hide();
      }
    }
  }
};

QTEST_MAIN(TranslateFormsTest)
#include "translate_forms_test.moc"
