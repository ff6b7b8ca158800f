#pragma once
// Diruvori's one window: the reference row in Edit0 … Edit5, the target language's texts in Edit6 and
// Edit7, the arrows, the row and search buttons and the grid of all rows. It reads its controls, calls
// the editor's core (langedit/editor.h) and shows the result.
#include <QAbstractTableModel>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <string>

#include "common/platform.h"
#include "langedit/arrow_repeat.h"
#include "langedit/editor.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;

namespace tolvek::langedit {

// The form id of the editor's rows in the language tables.
inline constexpr const char* kEditorFormId = "D1";

// The repeat timer on a QTimer.
class QtRepeatTimer : public RepeatTimer {
 public:
  QtRepeatTimer();
  void Start(unsigned intervalMs, std::function<void()> tick) override;
  void Stop() override;

 private:
  QTimer timer_;
  std::function<void()> tick_;
};

// The grid's rows: the row number and fields 1 … 4 of every reference row.
class EditorGridModel : public QAbstractTableModel {
 public:
  explicit EditorGridModel(const EditorState& state, QObject* parent = nullptr) : QAbstractTableModel(parent), state_(state) {}
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void SetCaptions(const QStringList& captions);
  void Refill();               // the rows anew (their count may have changed)
  void RowChanged(int row);    // 1-based

 private:
  const EditorState& state_;
  QStringList captions_;
  int shownRows_ = 0;
};

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  TForm1(EditorState& state, Services& services, RepeatTimer& timer, QWidget* parent = nullptr);
  EditorState& state;
  Services& services;

  QGroupBox* GroupBox1 = nullptr;  // the reference row (no caption)
  QGroupBox* GroupBox2 = nullptr;  // "E": the English texts
  QGroupBox* GroupBox3 = nullptr;  // the target language's texts
  QLabel* lbRowNr = nullptr;       // reference row number
  QLabel* Label1 = nullptr;        // "Sprache"
  QLabel* lbSP = nullptr;          // the target's language code
  QLineEdit* Edit0 = nullptr;      // form id
  QLineEdit* Edit1 = nullptr;      // component name
  QLineEdit* Edit2 = nullptr;      // German caption
  QLineEdit* Edit3 = nullptr;      // German hint or message
  QLineEdit* Edit4 = nullptr;      // English caption (read only)
  QLineEdit* Edit5 = nullptr;      // English hint or message (read only)
  QLineEdit* Edit6 = nullptr;      // target caption (read only)
  QLineEdit* Edit7 = nullptr;      // target hint or message (read only)
  QLineEdit* Edit8 = nullptr;      // search term
  QLineEdit* edRowNr = nullptr;    // row to go to
  QLineEdit* edRowNr3 = nullptr;   // target row number (read only)
  QLineEdit* edSprache = nullptr;  // target language number
  QToolButton* sbUP = nullptr;     // both rows back
  QToolButton* sbDown = nullptr;   // both rows on
  QToolButton* sb3UP = nullptr;    // target row back
  QToolButton* sb3Down = nullptr;  // target row on
  QPushButton* btWrite = nullptr;  // "speichern"
  QPushButton* BtRowAdd = nullptr;  // "Zeile einfügen"
  QPushButton* BzRowDel = nullptr;  // "Zeile löschen"
  QPushButton* Button1 = nullptr;   // "EN übernehmen "
  QPushButton* BtPlus = nullptr;    // "+"
  QPushButton* btEnde = nullptr;    // "Ende"
  QPushButton* Bt1 = nullptr;       // "suchen"
  QTableView* StringGrid1 = nullptr;

  // Start: the reference and the target's table loaded and merged, rows at 10.
  void FormCreate();
  // An arrow went down: its step at once and repeated while it is held.
  void sbDownMouseDown(QToolButton* arrow);
  void sb3DownMouseDown(QToolButton* arrow);
  void ArrowUp();
  void btWriteClick();
  void BtRowAddClick();
  void BzRowDelClick();
  void btEndeClick();
  void Button1Click();
  void edRowNrExit();
  void edSpracheExit();
  void BtPlusClick();
  void StringGrid1SelectCell(int row, int column);
  void StringGrid1Click();
  void Bt1Click();

  void ShowEditorRow();
  void FillEditorGrid();
  // The window's captions and hints from the editor's rows of its language table.
  void TranslateWindow();
  const EditorGridModel& grid() const { return *model_; }

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  std::string T(const std::string& german) const;
  void BuildControls();
  // The edit fields back into the row they show, before anything moves, searches or writes.
  void CommitEdits();
  void SelectGridRow(int row);
  void ShowLanguage();
  void ChangeLanguage();
  void Inform(const std::string& text, PlatformIcon icon);
  bool Ask(const std::string& text);
  // Writes the target's file and says whether it worked; a failure keeps every edit.
  bool WriteFile();
  // Closes the window and ends the program without asking.
  void End();

  ArrowRepeat repeat_;
  EditorGridModel* model_ = nullptr;
  bool ending_ = false;
  bool selecting_ = false;
  bool changingLanguage_ = false;
};

// Creates the window on the program folder and runs the event loop; returns the exit code.
int ProgramStart(int argc, char** argv);

}  // namespace tolvek::langedit
