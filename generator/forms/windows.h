#pragma once
// The generator's windows. Every control carries its design name as objectName, so the language table
// and the tests find it.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "generator/flow.h"
#include "generator/result.h"
#include "generator/state.h"

namespace tolvek::generator {

// The hidden start window: its one-shot timer starts the session exactly once.
class TForm1 : public QWidget {
 public:
  explicit TForm1(std::function<void()> start);
  QPushButton* BtnStart = nullptr;
  QTimer* Timer1 = nullptr;
  void Timer1Timer();
  void BtnStartClick();

 private:
  std::function<void()> start_;
};

// "6 Bestand": stand level (300 × 300 m) or enterprise level (100 × 100 m).
class TForm6 : public QDialog {
 public:
  TForm6();
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QRadioButton* RadioButton1 = nullptr;  // "auf Bestandesebene"
  QRadioButton* RadioButton2 = nullptr;  // "auf Betriebsebene", chosen at start
  QPushButton* Button1 = nullptr;        // "weiter"
  GenerationLevel level = GenerationLevel::kEnterprise;
  void Button1Click();
};

// "F4 Bestand": the stand parameters. The edits work on state.parameters directly; each field obeys its
// rule when it is left (the species codes and the numbers of stem distribution and groups as they are typed).
class TBtnBottomDlg : public QDialog {
 public:
  explicit TBtnBottomDlg(GeneratorState& state);
  // Edit1 … Edit34 (Edit5, Edit10, … Edit25 do not exist); index = the number in the name.
  std::array<QLineEdit*, 35> Edit{};
  std::array<QLabel*, 6> RowName{};  // Label1 … Label5
  std::array<QLabel*, 6> RowG{};     // Label15 … Label19
  QLabel* Label20 = nullptr;         // total basal area
  QLabel* LblBaumzahl = nullptr;     // total stems per ha
  QLabel* Label23 = nullptr;
  QLabel* Label31 = nullptr;
  std::array<QLabel*, 10> LbBa{};    // the species legend, 1 … 9
  QCheckBox* BxPW = nullptr;         // "Plenterwald"
  QPushButton* BtnZeichne = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPushButton* BtnSpeichern = nullptr;
  QPushButton* BtnLesen = nullptr;

  // Writes the parameters into the edits.
  void ShowParameters();
  void UpdateBasalAreas();
  // Every field's rule on its current text (before a button acts: Return reaches a button unfocused).
  void TakeAllFields();

  void GibBaName(int editNumber);          // a species-code edit changed or left
  void VC_Feld(int editNumber);            // a mean, variation or stem-number edit left
  void NineChanged(int index, bool left);  // Edit26 … Edit34
  void BtnZeichneClick();
  void CancelBtnClick();
  void BtnSpeichernClick();
  void BtnLesenClick();

 private:
  QLineEdit* AddEdit(int number, int maxLength, int width);
  GeneratorState& state_;
  bool showing_ = false;
};

// "F3  Bestand": the stand picture, the table of results and the way on.
class TForm3 : public QDialog {
 public:
  TForm3();
  QLabel* ImgBest = nullptr;
  QLabel* Label1 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QLabel* Label2 = nullptr;
  QPushButton* BtnOK = nullptr;    // "weiter"
  QPushButton* Button1 = nullptr;  // "speichern"
  QPushButton* Button2 = nullptr;  // "zurück zu TOLVEK"

  // Size and layout from the screen (and what of it is available to windows).
  void FitToScreen(int screenWidth, int screenHeight, int availableWidth, int availableHeight);
  // Draws the stand, fills the table; save empty: "speichern" disabled.
  void ShowStand(const GeneratedStand& stand, const std::vector<std::string>& memo, const LanguageTable& table,
                 std::function<bool()> save);
  const QImage& Picture() const { return picture_; }
  ResultChoice choice = ResultChoice::kNext;
  int imageSize() const { return geometry_.imageSize; }

  void BtnOKClick();
  void Button1Click();
  void Button2Click();

 private:
  ResultWindowGeometry geometry_;
  QImage picture_;
  std::function<bool()> save_;
};

}  // namespace tolvek::generator
