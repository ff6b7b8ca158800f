#pragma once
// The stand level's road checked for what a user sees on a screen of a given size: on the title screen,
// in the catalogue and its preview, on the stand screen with its description, with the extras and the
// grid group, during a run and at its end, and back on the title screen, no two controls a user needs
// overlap, none is cut, and everything lies on the screen (tests/support/layout_check.h); an enterprise
// run is looked at the same way. The two screen sizes of class rooms' projectors run as two test programs
// (layout_1366_test, layout_1024_test).
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QtTest>
#include <functional>

#include "simulator/forms/form1.h"
#include "simulator/forms/form15.h"
#include "simulator/forms/form23.h"
#include "simulator/forms/form35.h"
#include "simulator/forms/form44.h"
#include "simulator/forms/method_dialogs.h"
#include "simulator/forms/program.h"
#include "tests/simulator/forms/enterprise_program.h"
#include "tests/support/fakes.h"
#include "tests/support/layout_check.h"
#include "tests/support/qt_helpers.h"

namespace tolvek::testing {

struct LayoutRoad : ShippedProgram {
  LayoutRoad() { form1().show(); }
  TForm23& form23() { return *forms().form23; }
  TBtnRightDlg1& d1() { return *forms().btnRightDlg1; }
  // The windows a user has in front of him: the main window and the tool windows beside it.
  std::vector<QWidget*> Windows() {
    return {&form1(), forms().form15, forms().form35, forms().form44};
  }
  QStringList Problems(const char* where, std::vector<QWidget*> windows = {}) {
    QApplication::processEvents();
    if (windows.empty()) windows = Windows();
    QStringList p = LayoutProblems(windows, QApplication::primaryScreen()->geometry());
    for (QString& s : p) s = QString(where) + ": " + s;
    return p;
  }
};

}  // namespace tolvek::testing

class LayoutRoadTest : public QObject {
  Q_OBJECT

 public:
  explicit LayoutRoadTest(QString size) : size_(std::move(size)) {}

 private:
  QString size_;
  QStringList found_;

  QString language_;

  void Look(tolvek::testing::LayoutRoad& r, const char* where, std::vector<QWidget*> windows = {}) {
    found_ << r.Problems(qPrintable(language_ + " " + where), std::move(windows));
    tolvek::testing::Snapshot(&r.form1(), qPrintable("layout_" + size_ + "_" + language_ + "_" + where));
  }

 private Q_SLOTS:
  void theWholeRoadShowsEverythingUncoveredAndUncut_data() {
    QTest::addColumn<int>("language");
    QTest::newRow("de") << 1;
    QTest::newRow("en") << 2;
  }

  void theWholeRoadShowsEverythingUncoveredAndUncut() {
    using namespace tolvek;
    QFETCH(int, language);
    language_ = language == 1 ? "de" : "en";
    found_.clear();
    tolvek::testing::LayoutRoad r;
    TForm1& w = r.form1();
    if (language != 1) w.LanguageButton(language)->click();
    Look(r, "title");

    // The catalogue, a thumbnail clicked (the preview beside it), then one taken by a double click.
    for (const char* stand : {"22", "28", "16"}) {
      WhenModalLook(r, stand);
      w.sBtBestand->isEnabled() ? w.sBtBestand->click() : w.BtStartClick();
      QVERIFY(r.state.currentStand.loaded);
      Look(r, (std::string("stand") + stand).c_str());
      // The stand's boundary lies in the map's picture and the picture in its box.
      QVERIFY(w.ScrollBox1->viewport()->rect().contains(QRect(w.ImgBest->pos(), w.ImgBest->size())));
    }
    if (r.forms().form15) r.forms().form15->hide();  // "weiter" of the description window
    Look(r, "form15", {r.forms().form15});

    w.sBtExtras->click();
    Look(r, "extras");
    w.Button19->click();

    tolvek::testing::WhenModal(&r.d1(), [&] {
      tolvek::testing::WhenModal(r.forms().btnRightDlg5, [&] { r.forms().btnRightDlg5->Button5->click(); });
      r.d1().RdBtnVollkr->click();
      r.d1().OKBtn->click();
    });
    w.sBtVerfahren->click();
    Look(r, "method");
    w.sBtGitter->click();
    Look(r, "grid");
    w.GitterFertig->click();
    Look(r, "pass");

    r.state.run.repeatMode = true;
    bool looked = false;
    r.fs.pump.onPump = [&](int) {
      if (!looked && r.state.evaluation.run.count >= 3) {
        looked = true;
        Look(r, "run");
        w.sBtNeuesVerfahren->click();
      }
    };
    w.sBtAuswertung->click();
    r.fs.pump.onPump = nullptr;
    QVERIFY(looked);
    Look(r, "runend");
    w.sBtZurueck->click();
    Look(r, "titleagain");
    for (const QString& problem : found_) qInfo("%s", qPrintable(problem));
    QVERIFY2(found_.isEmpty(), qPrintable(QString::number(found_.size()) + " problems, listed above"));
  }

  // An enterprise run puts its own figures into the data column: the run's counters, the wait panel and
  // the pictures must leave them readable, while the run goes and after it.
  void anEnterpriseRunLeavesTheEnterpriseFiguresUncovered() {
    tolvek::testing::EnterpriseProgram f;
    tolvek::TForm1& w = f.f1();
    f.EnterWithStructure();
    w.GitterFertig->click();
    QStringList found;
    auto look = [&](const char* where) {
      QApplication::processEvents();
      for (const QString& p : tolvek::testing::LayoutProblems({&w}, QApplication::primaryScreen()->geometry()))
        found << QString(where) + ": " + p;
      tolvek::testing::Snapshot(&w, qPrintable("layout_" + size_ + "_de_enterprise" + where));
    };
    bool looked = false;
    f.fs.pump.onPump = [&](int) {
      if (looked || f.state.evaluation.run.count < 3) return;
      looked = true;
      // The wait panel shows while the repetitions go.
      QVERIFY(w.Panel15->isVisible());
      look("run");
      w.sBtNeuesVerfahren->click();
    };
    w.F1BtWiederholen->setEnabled(true);
    w.F1BtWiederholen->click();
    f.fs.pump.onPump = nullptr;
    QVERIFY(looked);
    QVERIFY(w.LbBestGroesse->isVisible() && w.Label18->isVisible());
    look("runend");
    for (const QString& problem : found) qInfo("%s", qPrintable(problem));
    QVERIFY2(found.isEmpty(), qPrintable(QString::number(found.size()) + " problems, listed above"));
  }

 private:
  // The catalogue as "Bestände" opens it: looked at, the stand's thumbnail clicked and looked at with its
  // preview, then taken.
  void WhenModalLook(tolvek::testing::LayoutRoad& r, const char* stand) {
    const std::string number = stand;
    tolvek::testing::WhenModal(&r.form23(), [this, &r, number] {
      const int k = r.EntryOf(number);
      QLabel* thumb = r.form23().Image[static_cast<std::size_t>(k)];
      found_ << r.Problems(qPrintable(language_ + " catalogue" + QString::fromStdString(number)), {&r.form23()});
      QTest::mouseClick(thumb, Qt::LeftButton);
      // The preview opens beside the catalogue or, without room there, over its far side (never over the
      // thumbnail clicked): its own controls are checked.
      found_ << r.Problems(qPrintable(language_ + " preview" + QString::fromStdString(number)), {r.forms().form44});
      found_ << r.Problems(qPrintable(language_ + " previewtable" + QString::fromStdString(number)), {r.forms().form35});
      tolvek::testing::Snapshot(&r.form23(), qPrintable("layout_" + size_ + "_" + language_ + "_catalogue"));
      QTest::mouseDClick(thumb, Qt::LeftButton);
    });
  }
};

// The test program on an offscreen screen of width x 768 pixels.
inline int RunLayoutRoad(int argc, char** argv, int width) {
  const QString config =
      QDir::temp().filePath(QString("tolvek_layout_%1_%2.json").arg(width).arg(QCoreApplication::applicationPid()));
  {
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return 2;
    file.write(QString(R"({"screens":[{"name":"qa","x":0,"y":0,"width":%1,"height":768,)"
                       R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})")
                   .arg(width)
                   .toUtf8());
  }
  qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
  int result = 0;
  {
    QApplication app(argc, argv);
    LayoutRoadTest test(QString::number(width));
    result = QTest::qExec(&test, argc, argv);
  }
  QFile::remove(config);
  return result;
}
