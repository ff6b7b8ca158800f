// The controls every window makes: where the keyboard focus goes and what Enter presses depend on the
// maker a window chose, and the language tables find each control, menus included, by its name.
#include "common/qt/widget_makers.h"

#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalSpy>
#include <QtTest>

using namespace tolvek;

namespace {

// Shows w and waits until it takes the keyboard, as a user's window does.
bool ShowActive(QWidget& w) {
  w.show();
  w.activateWindow();
  return QTest::qWaitForWindowActive(&w);
}

}  // namespace

class WidgetMakersTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void enterPressesTheDialogButtonWithTheFocus() {
    QDialog dialog;
    dialog.resize(300, 120);
    QPushButton* first = widgets::DialogButton(&dialog, "Button1", "Beschreibung", QRect(10, 10, 120, 30));
    QPushButton* second = widgets::DialogButton(&dialog, "BtnFoto", "Foto", QRect(10, 50, 120, 30));
    QVERIFY(ShowActive(dialog));
    QSignalSpy firstClicks(first, &QPushButton::clicked);
    QSignalSpy secondClicks(second, &QPushButton::clicked);
    second->setFocus();
    QTest::keyClick(second, Qt::Key_Return);
    QCOMPARE(secondClicks.count(), 1);
    QCOMPARE(firstClicks.count(), 0);
  }

  void enterPressesNoPlainButtonOfADialog() {
    QDialog dialog;
    dialog.resize(300, 120);
    widgets::Button(&dialog, "OKBtn", "weiter", QRect(10, 10, 120, 30));
    QPushButton* back = widgets::Button(&dialog, "CancelBtn", "zurück", QRect(10, 50, 120, 30));
    QVERIFY(ShowActive(dialog));
    QSignalSpy backClicks(back, &QPushButton::clicked);
    back->setFocus();
    QTest::keyClick(back, Qt::Key_Return);
    QCOMPARE(backClicks.count(), 0);
    QVERIFY(dialog.isVisible());
  }

  void aClickOnAMainWindowButtonOrChoiceLeavesTheFocusInTheEdit() {
    QWidget window;
    window.resize(400, 160);
    QLineEdit* edit = widgets::NumberEdit(&window, "Edit", QRect(10, 10, 100, 26));
    QPushButton* tab = widgets::TabButton(&window, "Tab", "blinken", QRect(10, 50, 120, 30));
    QRadioButton* choice = widgets::TabRadio(&window, "Choice", "Anwendungen", QRect(10, 90, 160, 26));
    QPushButton* plain = widgets::Button(&window, "Plain", "weiter", QRect(200, 50, 120, 30));
    QVERIFY(ShowActive(window));
    QSignalSpy tabClicks(tab, &QPushButton::clicked);

    edit->setFocus();
    QTest::mouseClick(tab, Qt::LeftButton);
    QCOMPARE(tabClicks.count(), 1);
    QCOMPARE(QApplication::focusWidget(), edit);
    QTest::mouseClick(choice, Qt::LeftButton);
    QVERIFY(choice->isChecked());
    QCOMPARE(QApplication::focusWidget(), edit);

    // Tab still reaches them; an ordinary button takes the focus from a click.
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), tab);
    QTest::mouseClick(plain, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), plain);
  }

  void everyControlIsFoundByItsName() {
    QWidget window;
    QMenuBar* bar = widgets::Make<QMenuBar>(&window, "MainMenu1", QRect(0, 0, 300, 24));
    QMenu* top = widgets::SubMenu(bar, "LaubholzBestnde1", "Laubbaum-Bestände  ");
    widgets::SubMenu(top, "starkesbaumholz2", "starkes Baumholz");
    widgets::Panel(&window, "Bevel1", QRect(8, 34, 400, 250));
    widgets::Memo(&window, "Memo1", QRect(10, 98, 200, 100))->setPlainText("Ort");
    widgets::Radio(&window, "RadioButton1", "Normalverfahren", QRect(20, 16, 220, 24));

    QMenu* found = window.findChild<QMenu*>("starkesbaumholz2");
    QVERIFY(found != nullptr);
    QCOMPARE(found->title(), QString("starkes Baumholz"));
    QCOMPARE(window.findChild<QMenu*>("LaubholzBestnde1"), top);
    QCOMPARE(window.findChild<QFrame*>("Bevel1")->geometry(), QRect(8, 34, 400, 250));
    // The description is read, never edited.
    QVERIFY(window.findChild<QPlainTextEdit*>("Memo1")->isReadOnly());
    QCOMPARE(window.findChild<QRadioButton*>("RadioButton1")->text(), QString("Normalverfahren"));
    QCOMPARE(widgets::NumberEdit(&window, "Memo4", QRect(0, 0, 80, 28))->alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignRight);
  }
};

QTEST_MAIN(WidgetMakersTest)
#include "widget_makers_test.moc"
