#pragma once
// "44": the stand preview beside the catalogue: three photographs, the description, the diameter
// histogram, "Baumarten-Anteile" and "OK". The previewed stand is read into a stand of its own; the
// loaded stand stays as it is until the user takes the new one.
#include <QDialog>
#include <QImage>

#include "common/problem.h"
#include "simulator/forms/forms.h"
#include "simulator/stand/current_stand.h"
#include "simulator/stand/stand_choice.h"
#include "simulator/state.h"

class QLabel;
class QPushButton;
class QPlainTextEdit;

namespace tolvek {

// A stand photograph decoded by the program's own JPEG reader. `photo` is set only when it could be read;
// otherwise the decoder's problem says why.
Outcome LoadStandPhoto(const std::string& path, QImage& photo);

class TForm44 : public QDialog {
  Q_OBJECT
 public:
  TForm44(SimulatorState& state, Forms& forms, QWidget* parent = nullptr);
  SimulatorState& state;
  Forms& forms;

  QLabel* FotoImgR = nullptr;
  QLabel* FotoImgS = nullptr;
  QLabel* FotoImgT = nullptr;
  QLabel* LbKeinFoto = nullptr;       // "Sorry, kein Foto vorhanden"
  QLabel* LbKeinFotoText = nullptr;
  QPlainTextEdit* Memo1 = nullptr;    // description
  QLabel* LbBestBez = nullptr;
  QLabel* ImgDuVertlg = nullptr;
  QPushButton* BtBaAnteile = nullptr; // "Baumarten-Anteile"
  QPushButton* BtAuswahl = nullptr;   // "OK"

  // Single click on thumbnail k of the catalogue: reads the stand into the preview and shows it.
  // False (with a message shown) when the stand cannot be read.
  bool Preview(int k);
  // The catalogue opens anew: the next click reads its stand's description again.
  void Reset();
  void ClearHistogram();
  void BtBaAnteileClick();
  void BtAuswahlClick();

  // The stand read for the preview, when it is the one chosen and was read at this opening of the
  // catalogue with the calliper limits still in force: it becomes `into` without a second read.
  bool TakePreviewedStand(const StandChoice& choice, CurrentStand& into);

  const CurrentStand& previewStand() const { return stand_; }
  const StandChoice& previewChoice() const { return choice_; }

 private:
  void DrawHistogram();
  CurrentStand stand_;
  StandChoice choice_;
  int shownDescription_ = 0;
  bool previewFresh_ = false;
  CalliperLimits readWith_;
  QImage histogram_;
};

}  // namespace tolvek
