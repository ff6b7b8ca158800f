// A user's walk through the stand level on the real platform (run under Xvfb with a window manager),
// screenshots of the whole screen at every step. Not a test of the suite: a tool for looking.
// WALK_SHOTS names the folder of the pictures, WALK_LANGUAGE the language button (1 German, 2 English),
// WALK_FULL=0 takes the short road (one stand, one method, a stopped run).
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>

#include "common/qt/qt_services.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/form15.h"
#include "simulator/forms/form18.h"
#include "simulator/forms/form23.h"
#include "simulator/forms/method_dialogs.h"
#include "simulator/forms/program.h"
#include "tests/support/fakes.h"

using namespace tolvek;

namespace {

QString Env(const char* name, const char* fallback) {
  const QByteArray v = qgetenv(name);
  return v.isEmpty() ? QString(fallback) : QString::fromLocal8Bit(v);
}

struct Walk {
  QString shots = Env("WALK_SHOTS", "/tmp/walk17b/shots");
  int language = Env("WALK_LANGUAGE", "1").toInt();
  bool full = Env("WALK_FULL", "1") == "1";
  int step = 0;
  testing::TempDir dir;
  QtServices qt;
  SimulatorState state{qt.services};
  std::unique_ptr<SimulatorProgram> program;
  // Handlers of the next modal windows, in order; each gets the modal window and answers it.
  std::deque<std::pair<QString, std::function<void(QWidget*)>>> handlers;
  std::vector<QPointer<QWidget>> handled;
  QTimer watcher;

  Walk() {
    testing::CopyShippedData(dir);
    state.folders = ProgramFoldersFromFolder(dir.path());
    program = std::make_unique<SimulatorProgram>(state, true);
    QDir().mkpath(shots);
    watcher.setInterval(60);
    QObject::connect(&watcher, &QTimer::timeout, [this] { Watch(); });
    watcher.start();
    w().show();
    QTest::qWait(600);
  }
  TForm1& w() { return *program->forms.form1; }
  Forms& f() { return program->forms; }

  void Shot(const QString& name) {
    QTest::qWait(250);
    const QPixmap p = QGuiApplication::primaryScreen()->grabWindow(0);
    p.save(QString("%1/%2_%3.png").arg(shots).arg(++step, 2, 10, QChar('0')).arg(name));
  }
  static QString TextOf(QWidget* m) {
    if (auto* box = qobject_cast<QMessageBox*>(m)) return box->text();
    QStringList t;
    for (QLabel* l : m->findChildren<QLabel*>())
      if (l->isVisible() && !l->text().isEmpty()) t << l->text();
    return t.join(" | ");
  }
  void Watch() {
    std::erase_if(handled, [](const QPointer<QWidget>& h) { return !h || !h->isVisible(); });
    QWidget* m = QApplication::activeModalWidget();
    if (!m || !m->isVisible() || QApplication::activePopupWidget()) return;
    for (const QPointer<QWidget>& h : handled)
      if (h == m) return;
    handled.push_back(m);
    watcher.stop();
    QTimer::singleShot(200, [this, m] {
      if (handlers.empty()) {
        qWarning("UNEXPECTED modal %s '%s': %s", qPrintable(m->objectName()), qPrintable(m->windowTitle()),
                 qPrintable(TextOf(m)));
        Shot("unexpected");
        if (auto* box = qobject_cast<QMessageBox*>(m)) {
          box->reject();
        } else if (auto* d = qobject_cast<QDialog*>(m)) {
          d->reject();
        }
      } else {
        auto [name, h] = handlers.front();
        handlers.pop_front();
        qInfo("modal %s '%s' for %s: %s", qPrintable(m->objectName()), qPrintable(m->windowTitle()), qPrintable(name),
              qPrintable(TextOf(m).left(200)));
        if (!name.isEmpty()) Shot(name);
        watcher.start();
        h(m);
      }
      watcher.start();
    });
  }
  void Then(const QString& shotName, std::function<void(QWidget*)> h) { handlers.push_back({shotName, std::move(h)}); }
  // Clicks the button of a modal window by its object name or its caption.
  static void Press(QWidget* m, const QString& nameOrText) {
    for (QAbstractButton* b : m->findChildren<QAbstractButton*>()) {
      if (!b->isVisible()) continue;
      if (b->objectName() == nameOrText || b->text().remove('&').trimmed() == nameOrText) {
        b->click();
        return;
      }
    }
    if (auto* box = qobject_cast<QMessageBox*>(m)) {
      qWarning("no button %s in box, pressing the default", qPrintable(nameOrText));
      box->defaultButton() ? box->defaultButton()->click() : box->reject();
      return;
    }
    qWarning("no button %s in %s", qPrintable(nameOrText), qPrintable(m->objectName()));
  }
  static void Answer(QWidget* m, QMessageBox::StandardButton b, const char* own) {
    if (auto* box = qobject_cast<QMessageBox*>(m)) {
      if (QAbstractButton* x = box->button(b)) {
        x->click();
        return;
      }
    }
    Press(m, own);
  }
  void Wait() {
    for (int i = 0; i < 400 && !handlers.empty(); ++i) QTest::qWait(50);
    if (!handlers.empty()) qWarning("handlers left: %s", qPrintable(handlers.front().first));
    handlers.clear();
    QTest::qWait(200);
  }
  void Type(QLineEdit* e, const QString& text) {
    e->selectAll();
    QTest::keyClicks(e, text);
  }

  // Catalogue: shot, the thumbnail of the stand clicked (preview), then taken.
  void TakeStand(const QString& number, bool fromTitle, const QString& tag) {
    Then(tag + "_catalogue", [this, number, tag](QWidget*) {
      TForm23& c = *f().form23;
      int k = 0;
      for (int i = 1; i <= state.standCatalogue.Count(); ++i)
        if (QString::fromStdString(state.standCatalogue.entries[static_cast<std::size_t>(i - 1)].number) == number) k = i;
      if (k == 0) {
        qWarning("no stand %s", qPrintable(number));
        c.Button1->click();
        return;
      }
      if (auto* area = c.findChild<QScrollArea*>()) area->ensureWidgetVisible(c.Image[static_cast<std::size_t>(k)]);
      QTest::mouseClick(c.Image[static_cast<std::size_t>(k)], Qt::LeftButton);
      QTimer::singleShot(300, [this, &c, k, tag] {
        Shot(tag + "_preview");
        QTest::mouseDClick(c.Image[static_cast<std::size_t>(k)], Qt::LeftButton);
      });
    });
    QTimer::singleShot(0, [this, fromTitle] { fromTitle ? w().Button12->click() : w().sBtBestand->click(); });
    Wait();
    Shot(tag + "_stand");
    if (f().form15 && f().form15->isVisible()) {
      f().form15->BtnWeiter->click();
      Shot(tag + "_described");
    }
  }
  // "Verfahren", a method chosen by its radio button with its own dialog answered by `inner`, then
  // "weiter" in the method window. Everything happens inside the method window's own event loop: a loop
  // of the walk's waiting for it would lie below that window's and never come round again.
  void Method(const QString& tag, QRadioButton* TBtnRightDlg1::*radio, std::function<void(QWidget*)> inner,
              std::function<void(QWidget*)> before = {}) {
    Then(tag + "_method", [this, radio, before, tag](QWidget* d) {
      if (before) before(d);
      (f().btnRightDlg1->*radio)->click();  // the method's own dialog comes and goes in here
      Shot(tag + "_chosen_in_window");
      f().btnRightDlg1->OKBtn->click();
    });
    Then(tag + "_dialog", inner);
    QTimer::singleShot(0, [this] { w().sBtVerfahren->click(); });
    Wait();
    Shot(tag + "_chosen");
  }
  void GridPassReport(const QString& tag) {
    w().sBtGitter->click();
    Shot(tag + "_grid");
    w().GitterFertig->click();
    QTest::qWait(500);
    Shot(tag + "_pass");
    Then(tag + "_report", [this](QWidget* m) { f().form18->BtnSchliessen->click(); (void)m; });
    QTimer::singleShot(0, [this] { w().sBtAuswertung->click(); });
    Wait();
  }
};

}  // namespace

class WalkTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void walk() {
    Walk k;
    TForm1& w = k.w();
    if (k.language != 1) {
      w.LanguageButton(k.language)->click();
      QTest::qWait(300);
    }
    k.Shot("title");
    if (k.full) {
      // Wide stands first: their maps.
      k.TakeStand("28", true, "s28");
      k.TakeStand("16", false, "s16");
    }
    k.TakeStand("22", !k.full, "s22");

    // Fixed circles: too large a radius, then the 500 m² preset.
    k.Method("circles", &TBtnRightDlg1::RdBtnVollkr, [&k](QWidget* d) {
      auto* d5 = qobject_cast<TBtnRightDlg5*>(d);
      k.Type(d5->Memo1, "99999");
      k.Then("circles_toolarge", [](QWidget* m) { Walk::Answer(m, QMessageBox::Ok, "btnOK"); });
      QTimer::singleShot(0, [d5] { d5->Button5->click(); });
      QTimer::singleShot(1500, [&k, d5] {
        k.Shot("circles_dialog_after_message");
        d5->Button3->click();
        k.Shot("circles_dialog_500");
        d5->Button5->click();
      });
    });
    k.GridPassReport("circles");

    if (k.full) {
      k.Method("ntree", &TBtnRightDlg1::RdBtn6Baum, [](QWidget* d) { Walk::Press(d, "Button2"); });
      k.GridPassReport("ntree");
      k.Method("anglecount", &TBtnRightDlg1::RdBtnWZP, [](QWidget* d) { Walk::Press(d, "BitBtn1"); });
      k.GridPassReport("anglecount");
      // Concentric circles, with a look at the calliper threshold and the decision help first.
      k.Then("concentric_method", [&k](QWidget*) {
        TBtnRightDlg1& d1 = *k.f().btnRightDlg1;
        k.Then("calliper", [](QWidget* d) { d->close(); });
        d1.Button2->click();  // the calliper threshold's window comes and goes in here
        k.Shot("after_calliper");
        d1.Button1->click();  // decision help
        QTest::qWait(800);
        k.Shot("decision_help");
        k.Then("concentric_dialog", [](QWidget* d) {
          Walk::Press(d, "Button2");
          QTest::qWait(200);
          Walk::Press(d, "OKBtn");
        });
        d1.RdBtnKonzKr->click();
        k.Shot("concentric_chosen_in_window");
        d1.OKBtn->click();
      });
      QTimer::singleShot(0, [&k] { k.w().sBtVerfahren->click(); });
      k.Wait();
      k.Shot("concentric_chosen");
      k.GridPassReport("concentric");
      // Fixed circles again for the run.
      k.Method("circles2", &TBtnRightDlg1::RdBtnVollkr, [](QWidget* d) { Walk::Press(d, "Button5"); });
      k.GridPassReport("circles2");
    }

    // Repetitions: 2000 with the graphics on (200 on the short walk, stopped).
    k.Then("weighting", [](QWidget* m) { Walk::Press(m, "BtLinks"); });
    QTimer::singleShot(3000, [&k] { k.Shot("run_after3s"); });
    if (!k.full) {
      QTimer::singleShot(4500, [&k] { k.w().sBtNeuesVerfahren->click(); });
      k.Then("printquestion", [](QWidget* m) { Walk::Answer(m, QMessageBox::No, "btnNO"); });
    }
    QElapsedTimer t;
    t.start();
    QTimer::singleShot(0, [&w] { w.F1BtWiederholen->click(); });
    QTest::qWait(500);
    while (k.state.run.busy) QTest::qWait(100);
    qInfo("run of %d repetitions took %lld ms", k.state.evaluation.run.count, t.elapsed());
    k.Wait();
    k.Shot("runend");
    if (k.full) {
      // The print question, then the print dialog to a PDF and the print position.
      w.choosePrinter = [&k](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(k.shots + "/run.pdf");
        QPrintDialog dialog(&printer, &k.w());
        QTimer::singleShot(800, [&k, &dialog] {
          k.Shot("printdialog");
          dialog.accept();
        });
        return dialog.exec() == QDialog::Accepted;
      };
      k.Then("printquestion2", [](QWidget* m) { Walk::Answer(m, QMessageBox::Yes, "btnYES"); });
      k.Then("", [](QWidget*) {});  // the print dialog answers itself
      k.Then("printposition", [](QWidget* m) { Walk::Press(m, "BtOben"); });
      QTimer::singleShot(0, [&w] { w.sBtNeuesVerfahren->click(); });
      k.Wait();
      k.Shot("after_print");
    }
    w.sBtZurueck->click();
    k.Shot("title_after_run");
    w.LanguageButton(k.language == 1 ? 2 : 1)->click();
    k.Shot("title_other_language");
    if (k.full) {
      w.LanguageButton(k.language)->click();
      k.Then("catalogue_again", [](QWidget* m) { Walk::Press(m, "Button1"); });
      QTimer::singleShot(0, [&w] { w.Button12->click(); });
      k.Wait();
      k.Shot("back_in_stand");
      w.sBtZurueck->click();
      w.Button17->click();
      k.Shot("special");
      w.Button18->click();
      k.Shot("special_back");
      k.Then("endquestion", [](QWidget* m) { Walk::Answer(m, QMessageBox::No, "btnNO"); });
      QTimer::singleShot(0, [&w] { w.BtEnde->click(); });
      k.Wait();
      k.Shot("after_end_no");
    }
  }
};

QTEST_MAIN(WalkTest)
#include "walk.moc"
