#pragma once
// The method choice and its parameter dialogs. The method window's radio buttons open the dialog of
// their method; each dialog checks its input on "weiter" and stays open with a message while it is
// refused, and its "zurück" brings back the last confirmed choice, so the settings never hold a method
// without the parameters it needs. What the values mean and how they are checked is the sampling core's
// (simulator/sampling/method.h); these windows read controls, call it and show the result.
#include <QDialog>
#include <array>
#include <string>

#include "simulator/forms/forms.h"
#include "simulator/sampling/method.h"
#include "simulator/state.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;

namespace tolvek {

// Results the parameter dialogs close with.
inline constexpr int kDialogNext = 1;  // "weiter"
inline constexpr int kDialogBack = 2;  // "zurück"

// Shows a German message (translated) in the program's own box, information icon, OK.
void ShowDialogProblem(SimulatorState& state, const Problem& problem);

// n-tree sample: tree number and estimator variant.
class TBtnRightDlg6 : public QDialog {
  Q_OBJECT
 public:
  TBtnRightDlg6(SimulatorState& state, Forms& forms, QWidget* parent = nullptr);
  SimulatorState& state;
  Forms& forms;
  QLabel* Label1 = nullptr;        // "Schätzvariante"
  QLabel* Label2 = nullptr;        // "Baumzahl"
  QListWidget* ListBox1 = nullptr; // "2" .. "7"
  std::array<QRadioButton*, kNTreeVariants + 1> RadioButton{};  // variants 1..8 (index 0 unused)
  QPushButton* Button1 = nullptr;  // "zurück"
  QPushButton* Button2 = nullptr;  // "weiter"

  // Filled on "weiter": what the user chose.
  int treeNumber = 6;
  int variant = 1;
  double understoreyDbh = 0.0;
  double understoreyRadius = 0.0;

  void Prepare(bool extraVariants);  // list filled, "6" selected; variants 5..8 only with Ctrl
  int Variant() const;               // the last checked variant button, else 1
  void Button1Click();
  void Button2Click();
  void ListBox1DblClick();

 protected:
  void reject() override;
};

// The understorey limits of variant 4.
class TBtnRightDlg40 : public QDialog {
  Q_OBJECT
 public:
  explicit TBtnRightDlg40(SimulatorState& state, QWidget* parent = nullptr);
  SimulatorState& state;
  QLabel* Label1 = nullptr;        // "BHD (cm)"
  QLabel* Label2 = nullptr;        // "Grenzwerte für den Unterstand"
  QLabel* Label3 = nullptr;        // "Radius (m)"
  QListWidget* ListBox1 = nullptr; // dbh limits
  QListWidget* ListBox2 = nullptr; // radii
  QPushButton* Button1 = nullptr;  // "weiter"
  void Prepare();
  void Button1Click();
  double SelectedDbh() const;
  double SelectedRadius() const;
};

// Fixed-area circles: the plot size.
class TBtnRightDlg5 : public QDialog {
  Q_OBJECT
 public:
  TBtnRightDlg5(SimulatorState& state, QWidget* parent = nullptr);
  SimulatorState& state;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;        // "Radius (m):"
  QPushButton* Button1 = nullptr;  // 25 m²
  QPushButton* Button2 = nullptr;  // 100 m²
  QPushButton* Button3 = nullptr;  // 500 m²
  QPushButton* Button4 = nullptr;  // the area of the typed radius
  QLineEdit* Memo1 = nullptr;      // radius
  QPushButton* Button5 = nullptr;  // "weiter"
  QPushButton* CancelBtn = nullptr;  // " zurück"
  QLabel* LbFlaeche = nullptr;     // the area that "weiter" takes

  double area = 500.0;  // m², the size the dialog holds

  // The opening: 500 m² (as the size handler with any other sender).
  void Prepare();
  // The size buttons; any other sender sets 500 m². A size set here shows its radius in the field.
  void Button1Click(QObject* sender);
  void Memo1Change();
  void Button5Click();
  void CancelBtnClick();

 protected:
  void reject() override;

 private:
  void ShowArea();
  void ShowRadiusOfArea();
};

// Angle-count sampling: counting factor and mode.
class TBtnRightDlg7 : public QDialog {
  Q_OBJECT
 public:
  TBtnRightDlg7(SimulatorState& state, QWidget* parent = nullptr);
  SimulatorState& state;
  QLabel* Label1 = nullptr;           // "Zählbreite"
  QFrame* Bevel1 = nullptr;
  QRadioButton* RadioButton1 = nullptr;  // "Normalverfahren"
  QRadioButton* RadioButton2 = nullptr;  // "Zählverfahren"
  QListWidget* ListBox1 = nullptr;    // "1", "2", "4"
  QPushButton* BitBtn1 = nullptr;     // "weiter"
  QPushButton* CancelBtn = nullptr;   // "zurück"

  int countingMode = 1;  // 1 normal, 0 counting
  int factor = 4;

  void Prepare();
  void RadioButton1Click();
  void RadioButton2Click();
  void BitBtn1Click();
  void CancelBtnClick();

 protected:
  void reject() override;
};

// Concentric circles: dbh limits and radii of 3 to 5 circles, with presets.
class TBtnRightDlg4 : public QDialog {
  Q_OBJECT
 public:
  TBtnRightDlg4(SimulatorState& state, QWidget* parent = nullptr);
  SimulatorState& state;
  QLabel* Label1 = nullptr;  // title
  QLabel* Label2 = nullptr;  // "BHD"
  QLabel* Label3 = nullptr;  // "Radius"
  QLabel* Label4 = nullptr;  // "(1) kleiner Kreis"
  QLabel* Label5 = nullptr;  // "(2) mittllerer Kreis"
  QLabel* Label6 = nullptr;  // "(3) großer Kreis"
  QLabel* Label7 = nullptr;  // "(4)"
  QLabel* Label8 = nullptr;  // "(5)"
  QFrame* Bevel1 = nullptr;
  // dbh fields of circles 1..5 and radius fields of circles 1..5
  QLineEdit* Memo1 = nullptr;
  QLineEdit* Memo2 = nullptr;
  QLineEdit* Memo3 = nullptr;
  QLineEdit* Memo7 = nullptr;
  QLineEdit* Memo8 = nullptr;
  QLineEdit* Memo4 = nullptr;
  QLineEdit* Memo5 = nullptr;
  QLineEdit* Memo6 = nullptr;
  QLineEdit* Memo9 = nullptr;
  QLineEdit* Memo10 = nullptr;
  QPushButton* Button1 = nullptr;  // "freie Wahl"
  QPushButton* Button2 = nullptr;  // "Arvenland"
  QPushButton* Button3 = nullptr;  // "Velmark"
  QPushButton* Button4 = nullptr;  // "Torvenhald"
  QPushButton* Button5 = nullptr;  // "Ruskaria"
  QPushButton* OKBtn = nullptr;    // "weiter"
  QPushButton* CancelBtn = nullptr;  // "zurück"

  // Fills the fields of a preset (by region code); a 3-circle preset leaves the hidden fields of
  // circles 4 and 5 as they are.
  void ApplyPreset(const std::string& region);
  // The texts as they stand, with the count and region of the last preset.
  ConcentricTexts Texts() const;
  void OKBtnClick();
  void CancelBtnClick();

 protected:
  void reject() override;

 private:
  std::array<QLineEdit*, 5> DbhFields() const { return {Memo1, Memo2, Memo3, Memo7, Memo8}; }
  std::array<QLineEdit*, 5> RadiusFields() const { return {Memo4, Memo5, Memo6, Memo9, Memo10}; }
  int count_ = 3;
  std::string region_ = "AV";
};

// "Stichproben-Verfahren": the method choice.
class TBtnRightDlg1 : public QDialog {
  Q_OBJECT
 public:
  TBtnRightDlg1(SimulatorState& state, Forms& forms, QWidget* parent = nullptr);
  SimulatorState& state;
  Forms& forms;
  QGroupBox* RadioGroup1 = nullptr;  // "Stichproben-Verfahren"
  QRadioButton* RdBtn6Baum = nullptr;
  QRadioButton* RdBtnVollkr = nullptr;
  QRadioButton* RdBtnWZP = nullptr;
  QRadioButton* RdBtnKonzKr = nullptr;
  QPushButton* OKBtn = nullptr;      // "weiter"
  QPushButton* CancelBtn = nullptr;  // "zurück"
  QPushButton* Button1 = nullptr;    // "Entscheidungshilfe"
  QPushButton* Button2 = nullptr;    // "Kluppschwelle"
  // 0 after "weiter", 1 after "zurück": the main window asks again only after "weiter" without method.
  int Tag = 0;

  // ctrl: the Ctrl key was held (the extra n-tree variants are offered).
  void RdBtn6BaumClick(bool ctrl);
  void RdBtnVollkrClick();
  void RdBtnWZPClick();
  void RdBtnKonzKrClick();
  void OKBtnClick();
  void CancelBtnClick();
  void Button1Click();
  void Button2Click();
  // Radio buttons as the current method stands (none for no method).
  void ShowMethodInRadios();

 protected:
  void reject() override;

 private:
  // Steps shared by the four radio handlers.
  void StartMethod();
  void Accepted(bool showOk);
  void BackInParameterDialog();
  int OpenBeside(QDialog* dialog);
  bool placedNTree_ = false, placedCircle_ = false, placedAngle_ = false, placedConcentric_ = false;
};

}  // namespace tolvek
