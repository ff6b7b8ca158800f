// The text viewer of the work files: shown with its indent, printed page by page to PDF, saved as a
// copy of what it shows; a file that is not there is named and nothing else happens.
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QtTest>

#include "common/paths.h"
#include "simulator/forms/text_viewer.h"
#include "tests/support/pdf_check.h"
#include "tests/support/qt_helpers.h"

using namespace tolvek;
using tolvek::testing::CheckPdfFile;
using tolvek::testing::TempDir;

namespace {

struct Fixture : tolvek::testing::ShippedProgram {
  TBtnRightDlg3& viewer() { return *forms().btnRightDlg3; }
  bool PrintToPdf(const std::string& file, const std::string& pdf) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    return viewer().PrintTextFileOn(file, printer);
  }
};

std::vector<std::string> Numbered(int n) {
  std::vector<std::string> lines;
  for (int i = 1; i <= n; ++i) lines.push_back("Zeile " + std::to_string(i) + "  Fichte  32.5");
  return lines;
}

}  // namespace

class TextViewerTest : public QObject {
  Q_OBJECT

 private slots:
  void showsEveryLineIndentedBelowOneBlankLine() {
    Fixture f;
    f.dir.Write("Temp/StatModBst.Txt", "abc\r\nde\r\n");
    QVERIFY(f.viewer().ShowTextFile(2, f.dir.File("Temp/StatModBst.Txt")));
    QCOMPARE(f.viewer().Memo1->toPlainText(), QString(" \n     abc\n     de"));
    f.dir.Write("Temp/ProbeBa.txt", "");
    QVERIFY(f.viewer().ShowTextFile(1, f.dir.File("Temp/ProbeBa.txt")));
    QCOMPARE(f.viewer().Memo1->toPlainText(), QString(" "));
    tolvek::testing::Snapshot(&f.viewer(), "text_viewer");
    // a file that is not there: named, and the viewer keeps what it showed
    QVERIFY(!f.viewer().ShowTextFile(1, f.dir.File("Temp/nothing.txt")));
    QVERIFY(f.fs.messages.Saw("nothing.txt"));
    QCOMPARE(f.viewer().ShownFile(), f.dir.File("Temp/ProbeBa.txt"));
    f.viewer().hide();
  }

  void printsAKnownTextPageByPage() {
    Fixture f;
    TempDir out;
    QVERIFY(WriteTextLines(f.dir.File("Temp/ProbeBa.txt"), Numbered(79)).ok());
    QVERIFY(f.PrintToPdf(f.dir.File("Temp/ProbeBa.txt"), out.File("79.pdf")));
    auto facts = CheckPdfFile(out.File("79.pdf"));
    QVERIFY2(facts.valid, facts.problem.c_str());
    QCOMPARE(facts.pages, 2);  // 78 lines, then one
    // a fixed-pitch face keeps the table's columns
    bool mono = false;
    for (const std::string& font : facts.fonts) mono = mono || font.find("Mono") != std::string::npos ||
                                                         font.find("Courier") != std::string::npos;
    QVERIFY(mono);
    QVERIFY(WriteTextLines(f.dir.File("Temp/ProbeBa.txt"), Numbered(157)).ok());
    QVERIFY(f.PrintToPdf(f.dir.File("Temp/ProbeBa.txt"), out.File("157.pdf")));
    QCOMPARE(CheckPdfFile(out.File("157.pdf")).pages, 2);  // 78 + 79
    if (const char* d = std::getenv("TOLVEK_SCREENSHOT_DIR"))
      QFile::copy(QString::fromStdString(out.File("79.pdf")), QString(d) + "/text_viewer_print.pdf");
  }

  void printingAMissingFilePrintsNothingAndSaysSo() {
    Fixture f;
    TempDir out;
    QVERIFY(!f.PrintToPdf(f.dir.File("Temp/nothing.txt"), out.File("none.pdf")));
    QVERIFY(!QFileInfo::exists(QString::fromStdString(out.File("none.pdf"))));
    QVERIFY(f.fs.messages.Saw("Datei nicht gefunden!"));
    QVERIFY(f.fs.messages.Saw("nothing.txt"));
    QCOMPARE(f.fs.exit.quits, 0);
  }

  void savesACopyOfTheFileItShows() {
    Fixture f;
    const std::string table = "Nr  BHD\r\n 1  32.5\r\n";
    const std::string statistics = "Modellbestand 101\r\nPunkte 12\r\n";
    f.dir.Write("Temp/ProbeBa.txt", table);
    f.dir.Write("Temp/StatModBst.Txt", statistics);
    QVERIFY(f.viewer().ShowTextFile(2, f.dir.File("Temp/StatModBst.Txt")));
    QVERIFY(f.viewer().SaveShownFileTo(f.dir.File("kopie.txt")));
    std::string saved;
    QVERIFY(ReadWholeFile(f.dir.File("kopie.txt"), saved));
    QCOMPARE(saved, statistics);
    QVERIFY(f.fs.messages.Saw("Tabelle gespeichert als <" + f.dir.File("kopie.txt") + ">"));
    // a target that cannot be written (a file stands where its folder would be) is reported
    f.dir.Write("blocker", "x");
    QVERIFY(!f.viewer().SaveShownFileTo(f.dir.File("blocker/x.txt")));
    QVERIFY(f.fs.messages.Saw("Datei konnte nicht gespeichert werden:"));
    f.viewer().hide();
  }
};

QTEST_MAIN(TextViewerTest)
#include "text_viewer_test.moc"
