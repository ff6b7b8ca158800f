#pragma once
// Storing a generated stand for the simulator: the slot list of the stand level ("5 Bestand"), the stand
// data of the enterprise level ("7 Bestand": number, short name and class, or deleting a stand) and
// the save step the result window's "speichern" runs.
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <array>

#include "common/generated_stand_store.h"
#include "generator/state.h"

class QFrame;

namespace tolvek::generator {

// "5 Bestand": the five stand codes of the stand level.
class TBtnBottomDlg1 : public QDialog {
 public:
  TBtnBottomDlg1();
  QLabel* Label1 = nullptr;  // "Auswahl der Bestandeskennung"
  QListWidget* ListBox1 = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  int slot = kFirstStandSlot;  // the stand code chosen: Bestnd95 … Bestnd99

  // "Simul-Bestand 95" … "Simul-Bestand 99", the first chosen.
  void FillSimulStandList();
  void ListBox1Click();
  void OKBtnClick();
};

// "7 Bestand": the enterprise level's stand number, short name and class. "speichern" closes it with
// result 1 once the data are complete; any other way out gives 4. "Löschen" removes a stand at once.
class TForm7 : public QDialog {
 public:
  explicit TForm7(GeneratorState& state);
  GeneratorState& state;
  QLabel* Label1 = nullptr;        // "Bestandesdaten eingeben"
  QComboBox* ComboBox1 = nullptr;  // "NNN short name"; the register's stands
  QFrame* Panel1 = nullptr;        // the class grids
  QLabel* ImgBtAk = nullptr;       // stand types (rows) by age classes (columns)
  QLabel* ImgWET = nullptr;        // forest development types by treatment types
  QLabel* LbAk = nullptr;          // the age classes over ImgBtAk
  QLabel* LbBht = nullptr;         // the treatment types over ImgWET
  std::array<QLabel*, 9> LbBt{};   // LbBt1 … LbBt8
  std::array<QLabel*, 9> LbWET{};  // LbWET1 … LbWET8
  QPushButton* Button1 = nullptr;     // "speichern"
  QPushButton* BtLoeschen = nullptr;  // "Löschen"
  QPushButton* Button2 = nullptr;     // "zurück"

  GeneratedStandIdentity identity;
  int cell = 0;
  bool deleteMode = false;
  int deletions = 0;

  // The window for the next stand: the register's stands in the list, the classes cleared, the grids
  // drawn, the size by the forest-development-type setting.
  void Prepare();
  // A click into a grid at (x, y) of its image.
  void GridMouseDown(bool developmentGrid, int x, int y);
  void ComboBox1Select();
  void Button1Click();
  void BtLoeschenClick();
  void Button2Click();
  void done(int r) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void FillCombo();
  void DrawGrid(bool developmentGrid, int row, int column);
  bool CheckNumber(int& number);
  std::vector<std::string> items_;
  QImage gridImages_[2];
};

// The save step of the result window: asks by the level's window, writes, tells the user.
class WindowStandSaver : public StandSaver {
 public:
  WindowStandSaver(GeneratorState& state, TBtnBottomDlg1& slotList, TForm7& identity)
      : state_(state), slots_(slotList), identity_(identity) {}
  bool Save(const GeneratedStand& stand) override;
  int saved = 0;  // stands saved or deleted

 private:
  GeneratorState& state_;
  TBtnBottomDlg1& slots_;
  TForm7& identity_;
};

}  // namespace tolvek::generator
