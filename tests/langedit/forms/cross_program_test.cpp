// A table edited with the editor's core is the table the simulator reads: its look-up finds the edited
// texts and its title screen shows them.
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "common/paths.h"
#include "common/qt/qt_services.h"
#include "common/settings.h"
#include "langedit/editor.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/program.h"
#include "simulator/translate.h"
#include "tests/support/fakes.h"

using namespace tolvek;
using tolvek::testing::FakeServices;
using tolvek::testing::TempDir;

namespace {

// The row (1-based) of the first reference row with these form id and component.
int RowOf(langedit::EditorState& s, const std::string& formId, const std::string& component) {
  for (int r = 0; r < langedit::RowCount(s); ++r)
    if (s.rows[static_cast<std::size_t>(r)].field[kFieldFormId] == formId &&
        s.rows[static_cast<std::size_t>(r)].field[kFieldComponent] == component)
      return r + 1;
  return 0;
}

}  // namespace

class CrossProgramTest : public QObject {
  Q_OBJECT

 private slots:
  void theSimulatorShowsWhatTheEditorWrote() {
    TempDir dir;
    testing::CopyShippedData(dir);

    // The editor: Turkish, with the English texts copied into the title screen's "Bestand" button and
    // into a message.
    langedit::EditorState editor;
    editor.folder = dir.path();
    QCOMPARE(langedit::LoadReference(editor).result, langedit::LoadResult::kOk);
    QCOMPARE(langedit::LoadTarget(editor, 7).result, langedit::LoadResult::kOk);
    const int button = RowOf(editor, "F1", "Button12");
    QVERIFY(button > 0);
    langedit::GoToRow(editor, button);
    langedit::CopyEnglish(editor);
    int message = 0;
    for (int r = 1; r <= langedit::RowCount(editor) && !message; ++r)
      if (editor.rows[static_cast<std::size_t>(r - 1)].field[kFieldGermanHint] == "Bitte Bestand auswählen") message = r;
    QVERIFY(message > 0);
    langedit::GoToRow(editor, message);
    langedit::CopyEnglish(editor);
    const std::string english = editor.rows[static_cast<std::size_t>(message - 1)].field[kFieldForeignHint];
    const Outcome written = langedit::WriteTargetFile(editor);
    QVERIFY2(written.ok(), written.ok() ? "" : written.problem().message.c_str());

    // The simulator's core reads it: every row, the edited texts.
    FakeServices fs;
    Settings settings;
    LanguageTable table;
    QVERIFY(LoadLanguageTable(ProgramFoldersFromFolder(dir.path()), 7, table, settings, fs.messages));
    QCOMPARE(table.rows.size(), static_cast<std::size_t>(langedit::RowCount(editor)));
    QCOMPARE(Translate(table, "Bitte Bestand auswählen"), english);
    QCOMPARE(LookupComponentTexts(table, "F1", "Button12").caption.value_or(""), std::string("Stand"));
    QCOMPARE(LookupComponentTexts(table, "F1", "Button14").caption.value_or(""), std::string("İşletme"));

    // The simulator's window in Turkish.
    QVERIFY(WriteSettingsFile(dir.path(), Settings{7, false}).ok());
    SimulatorState state(fs.services);
    state.folders = ProgramFoldersFromFolder(dir.path());
    auto program = std::make_unique<SimulatorProgram>(state, false);
    QCOMPARE(program->forms.form1->Button12->text(), QString("Stand"));
    QCOMPARE(program->forms.form1->Button14->text(), QString("İşletme"));
    QVERIFY(fs.messages.shown.empty());
  }
};

QTEST_MAIN(CrossProgramTest)
#include "cross_program_test.moc"
