#pragma once
// The result graphic window "2  Grafik": a bar chart of true values against the estimates per
// category, its value axis, the table under it, the category buttons and the command buttons. Each
// diagram is shown modally; the buttons leave their command in the program state and close, and the
// caller's loop draws what they ask for. The window prints and saves its picture.
#include <QDialog>
#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "simulator/forms/forms.h"
#include "simulator/state.h"
#include "simulator/views/result_diagram.h"

class QFrame;
class QLabel;
class QPainter;
class QPrinter;
class QPushButton;
class QTableWidget;

namespace tolvek {

// A picture of fixed size painted as it is (the chart and its axis).
class DiagramPictureBox : public QWidget {
  Q_OBJECT
 public:
  DiagramPictureBox(const char* name, QRect geometry, QWidget* parent);
  QImage image;

 protected:
  void paintEvent(class QPaintEvent* e) override;
};

class TForm2 : public QDialog {
  Q_OBJECT
 public:
  TForm2(SimulatorState& state, Forms& forms, QWidget* parent = nullptr);

  SimulatorState& state;
  Forms& forms;

  QLabel* Label3 = nullptr;        // "Bestandesinventur:  Letzte Simulation"
  QLabel* LblBestand = nullptr;
  QLabel* LblFlaeche = nullptr;
  QLabel* LblBaeume = nullptr;
  QLabel* LbBestGroesse = nullptr;
  QLabel* LblGitter = nullptr;
  QLabel* LblGitterAnf = nullptr;
  QLabel* LblAuswEinh = nullptr;
  QLabel* LblBTAK = nullptr;
  QLabel* LblBTAk2 = nullptr;
  QLabel* LblMerkmal = nullptr;    // the quantity over the chart
  QLabel* LblAnzStp = nullptr;
  QLabel* LblBaumZahl = nullptr;
  QLabel* Label2 = nullptr;        // over the table's headings: "D-Stufe:" or "Baumart"
  DiagramPictureBox* Graf = nullptr;   // the chart
  DiagramPictureBox* Graf1 = nullptr;  // the value axis
  QTableWidget* Tabelle = nullptr;
  QFrame* GroupBox1 = nullptr;     // the category buttons, over the table's first row
  QFrame* PnLabel = nullptr;
  std::array<QPushButton*, kDiagramCategories> CategoryButton{};  // Button2 .. Button11
  QPushButton* BtGesamt = nullptr;    // "Alle Simulationen"
  QPushButton* BtListe = nullptr;     // "Tabelle"
  QPushButton* BtFlaeche = nullptr;   // "Fläche"
  QPushButton* BtGrundfl = nullptr;   // "Grundfläche"
  QPushButton* BtBaumZahl = nullptr;  // "Baumzahl"
  QPushButton* Button14 = nullptr;    // "BHD"
  QPushButton* Button1 = nullptr;     // "drucken"
  QPushButton* BtSpeich = nullptr;    // "speichern"
  QPushButton* Button13 = nullptr;    // "schliessen"

  // Lays out the diagram of the data, fills the window and shows it modally; closed by the window's
  // close box it counts as "schliessen". During a run of repetitions (unless the stand report of its
  // intermediate results is open) it shows nothing: NotShown.
  DiagramShown DrawResultDiagram(const ResultDiagramData& data);
  // The window filled with a diagram, without showing it.
  void Fill(const ResultDiagramData& data);
  // What the drawing reads of the program besides the data.
  ResultDiagramSetting MakeSetting(char code) const;

  void Button13Click();   // "schliessen"
  void Button14Click();   // "BHD"
  void BtGrundflClick();  // "Grundfläche"
  void BtBaumZahlClick(); // "Baumzahl"
  void BtFlaecheClick();  // "Fläche"
  void BtListeClick();    // "Tabelle"
  void BtnZuruckClick();  // back to basal area (no button of its own)
  void ButtonBaClick(int category);  // a category button: that species' diameter distribution
  void BtGesamtClick();   // "Alle Simulationen" / "Letzte Simulation"
  void Button1Click();    // "drucken"
  void BtSpeichClick();   // "speichern"

  // The drawing alone, without the command buttons: what is printed and saved. scale > 1 gives a
  // sharper picture of the same layout (for the printer).
  QImage Picture(int scale = 1);
  // The printed page: the picture across the page's width, at its top.
  void PaintPage(QPainter& painter, const QRect& page);
  // Prints on a printer already chosen; false (with the message) when the job cannot start.
  bool PrintOn(QPrinter& printer);
  // Saves the picture as BMP or PNG (by the name's suffix, else format); false with a message when it
  // could not be written.
  bool SavePictureTo(const std::string& path, const char* format = "BMP");

  // The print dialog (PrintDialog1); true when the user chose to print. Tests put a PDF printer here.
  std::function<bool(QPrinter&)> choosePrinter;
  // The picture save dialog: the chosen file and its format ("BMP" or "PNG"); an empty name cancels.
  std::function<std::pair<std::string, std::string>()> chooseSaveFile;

 private:
  std::string T(const char* german) const;
  void Leave();
  void SetHints(bool on);
  // The command buttons go while the picture is taken and come back as they were.
  std::array<QPushButton*, 9> CommandButtons() const;
  std::array<bool, 9> HideCommandButtons();
  void RestoreCommandButtons(const std::array<bool, 9>& visible);
};

}  // namespace tolvek
