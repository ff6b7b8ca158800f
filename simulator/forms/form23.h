#pragma once
// "23 Tolvek": the stand catalogue with a thumbnail per stand. A single click previews a stand, a
// double click or the preview's "OK" takes it, "zurück" leaves everything as it was.
#include <QDialog>
#include <QImage>
#include <array>

#include "simulator/forms/forms.h"
#include "simulator/stand/stand_choice.h"
#include "simulator/state.h"

class QLabel;
class QPushButton;

namespace tolvek {

class TForm23 : public QDialog {
  Q_OBJECT
 public:
  TForm23(SimulatorState& state, Forms& forms, QWidget* parent = nullptr);
  SimulatorState& state;
  Forms& forms;

  QLabel* ImgBestande = nullptr;
  std::array<QLabel*, kMaxCatalogueEntries + 1> Image{};  // Image1 .. Image52
  std::array<QLabel*, 13> Label{};                          // Label1 .. Label12 (headings)
  QPushButton* Button1 = nullptr;                            // "zurück"
  QPushButton* BtnVerzeichnis = nullptr;                     // "Verzeichnis der Bestände"

  // Reads the catalogue, draws the thumbnails and shows the window modally: 1 a stand was taken (it is
  // in state.standChoice.choice), 2 "zurück".
  int OpenCatalogue();
  void Image1Click(int k);
  void Mini_1Click(int k);
  void Button1Click();
  void BtnVerzeichnisClick();
  // The preview's "OK": the window closes with the stand taken.
  void TakeChoice();

  // Catalogue set-up without showing the window (the modal part is left to OpenCatalogue).
  void PrepareCatalogue();

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void DrawThumbnail(int k);
  void ApplyLayout();
  CatalogueLayout layout_;
  std::array<QImage, kMaxCatalogueEntries + 1> thumbnails_;
  std::array<bool, kMaxCatalogueEntries + 1> drawn_{};
  int result_ = 2;
};

}  // namespace tolvek
