#pragma once
// The simulator's main window: title screen, left tool bar, stand map area and the panels that the
// work of the other windows shows on it.
//
// Conventions for everyone who extends this window:
// - Every control is a public member named as the design names it, and carries that name as its
//   objectName ("Button12", "sBtGitter", ...), so translation and tests find it by name.
// - Controls sit at pixel positions on the central widget `Client` (no layouts), as designed.
// - Each area is built by its own builder function called from the constructor at "// area builders";
//   the builder creates its widgets on `Client` (or inside a container made here) and connects them.
//   The tool-bar buttons made here are connected by whoever owns their handler, in their builder.
// - Handlers that start work first call GuardBusy(): while a pass, a repetition run or an animation is
//   under way (state.run.busy) only the run controls and "Ende" may act.
#include <QMainWindow>
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "simulator/enterprise/enterprise_map.h"
#include "simulator/forms/forms.h"
#include "simulator/screen_fit.h"
#include "simulator/state.h"

class QLabel;
class QPushButton;
class QFrame;
class QGroupBox;
class QScrollArea;
class QPlainTextEdit;
class QLineEdit;
class QWidget;
class QImage;
class QCheckBox;
class QMenu;
class QAction;

namespace tolvek {

// A window whose dynamic property of this name is false shows no hints.
inline constexpr const char* kShowHintProperty = "tolvekShowHint";

class RunMapDrawing;

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  TForm1(SimulatorState& state, Forms& forms, QWidget* parent = nullptr);
  ~TForm1() override;

  // The tool bar: rows of buttons from the top, and below them the row of the rotation and end buttons
  // with the stand's name, area and tree count.
  static constexpr int kToolBarTop = 6, kToolBarButtonHeight = 28, kToolBarPitch = 31;
  static constexpr int kToolBarStandRow = kToolBarTop + 18 * kToolBarPitch + 10;
  // The data column, top to bottom: the method and grid figures, the run's counters, the wait panel
  // while a run goes, then one slot for the grid group, a run's pictures or the extras group, and the
  // species legend at its foot.
  static constexpr int kDataCountersTop = 100, kDataWaitTop = 158, kDataSlotTop = 212;

  SimulatorState& state;
  Forms& forms;

  // The surface every control of the main window sits on.
  QWidget* Client = nullptr;

  // ---- Title screen
  QPushButton* Button12 = nullptr;  // "Bestand"
  QPushButton* Button14 = nullptr;  // "Betrieb"
  QPushButton* Button17 = nullptr;  // "Sonderfunktionen"
  QPushButton* BitBtn15 = nullptr;  // language buttons 1 .. 7 (German .. Turkish)
  QPushButton* BitBtn16 = nullptr;
  QPushButton* BitBtn17 = nullptr;
  QPushButton* BitBtn18 = nullptr;
  QPushButton* BitBtn19 = nullptr;
  QPushButton* BitBtn20 = nullptr;
  QPushButton* BitBtn21 = nullptr;
  QPushButton* BitStop = nullptr;      // "Programm beenden"
  QPushButton* BitHinweise = nullptr;  // "Wichtige Hinweise"
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label9 = nullptr;
  QLabel* Label14 = nullptr;
  QLabel* LblVersion1 = nullptr;
  QLabel* LbLernPrg = nullptr;
  QLabel* LbStudent = nullptr;
  QLabel* LbFortbild = nullptr;
  QLabel* LbEinricht = nullptr;
  QLabel* LblBaumZahl = nullptr;
  QLabel* LbBaumZahlQ = nullptr;
  QLabel* LbAnzStpQ = nullptr;
  QLabel* LbModBestande = nullptr;
  QLabel* LblAnzStp = nullptr;
  QLabel* LbWarten = nullptr;
  QFrame* Panel1 = nullptr;
  QFrame* Panel2 = nullptr;
  QFrame* Bevel3 = nullptr;
  QFrame* PnBegrenzung = nullptr;
  QLabel* Image1 = nullptr;
  QLabel* Image2 = nullptr;
  QLabel* Image3 = nullptr;
  QLabel* ImgLeg = nullptr;
  QPlainTextEdit* MemHilfe = nullptr;

  // ---- Left tool bar
  QFrame* PnWerkzeug = nullptr;  // the bar itself
  QPushButton* sBtBestand = nullptr;
  QPushButton* sBtVerfahren = nullptr;
  QPushButton* sBtGitter = nullptr;
  QPushButton* sBtAuswertung = nullptr;
  QPushButton* sBtDiagramm = nullptr;
  QPushButton* sBtProbeBaeume = nullptr;
  QPushButton* sBtExtras = nullptr;
  QPushButton* sBtAnweisung = nullptr;
  QPushButton* sBtAnmerk = nullptr;
  QPushButton* sBtZurueck = nullptr;
  QPushButton* BtEnde = nullptr;
  QPushButton* sBtNeuesVerfahren = nullptr;
  QPushButton* sBtMultiSim = nullptr;
  QPushButton* sBtPausePlus = nullptr;
  QPushButton* sBtFin = nullptr;
  QPushButton* F1BtWiederholen = nullptr;
  QPushButton* F1BnStatus = nullptr;
  QPushButton* sBStatModBst = nullptr;
  QPushButton* sBtDrehen = nullptr;

  // ---- Extras group
  QGroupBox* GrpExtras = nullptr;
  QPushButton* BtVarianz = nullptr;  // "E-Wert der Varianz"
  QPushButton* BtOptom = nullptr;    // "Optimierung"
  QPushButton* BtKluppschwelle = nullptr;
  QPushButton* Button4 = nullptr;  // "Betrieb generieren"
  QLineEdit* EdEcken = nullptr;    // hidden: corners per circle stay 36
  QLabel* Label5 = nullptr;
  QPushButton* Button19 = nullptr;  // " schliessen "

  // ---- Grid group (container; its contents are built by the grid's builder)
  QGroupBox* GroupBox1 = nullptr;
  QPushButton* BitBtn13 = nullptr;  // "Gitter nach links drehen"
  QPushButton* BitBtn14 = nullptr;  // "Gitter nach rechts drehen"

  // ---- Panels shown over the work area
  QFrame* Panel3 = nullptr;  // species legend
  QFrame* Panel5 = nullptr;  // enterprise structure panel
  QFrame* Panel6 = nullptr;
  QFrame* Panel7 = nullptr;         // model-stand panel of "Sonderfunktionen"
  QPushButton* Button18 = nullptr;  // "zurück" of Panel7
  QPushButton* Button21 = nullptr;  // "weiter" of Panel7
  QFrame* Panel8 = nullptr;
  QFrame* Panel10 = nullptr;
  QFrame* Panel12 = nullptr;
  QFrame* PnDaten = nullptr;  // data labels of the stand
  QLabel* LbEinhBest = nullptr;
  QLabel* ImgText = nullptr;  // photograph of the stand mode
  QFrame* Panel15 = nullptr;  // "Bitte warten ..." (a click ends the program)
  QLabel* Panel15Text = nullptr;
  QFrame* Panel14 = nullptr;  // "Interrupt" of the plan view

  // ---- Stand map and remarks
  QScrollArea* ScrollBox1 = nullptr;
  QLabel* ImgBest = nullptr;        // the stand map; painted from a QImage by the map's owner
  QPlainTextEdit* Memo1 = nullptr;  // remarks

  // Returns true (and does nothing else) while a long computation runs: the calling handler must then
  // return at once. Run controls and "Ende" do not call it.
  bool GuardBusy() const;

  // Title screen off / back on (everything a mode showed on the client area hidden).
  void HideTitleScreen();
  void ShowTitleScreen();
  // "Auswertung", "Diagramm", "Probebäume" and "Simulation wiederholen" off after a new stand, method or grid.
  void DisableResultButtons();
  // The figures of the last run (repetition count, the "i.M." means) and, with withGrid, of the grid:
  // they belong to the stand and method they were made with.
  void ClearRunLabels(bool withGrid);
  // The seven language buttons in language order (BitBtn15 = German ... BitBtn21 = Turkish).
  QPushButton* LanguageButton(int languageNumber) const;
  // 1 .. 7 for a language button, else 0.
  int LanguageNumberOf(const QObject* o) const;

  // Handlers of this window's frame.
  void BtStartClick();
  void Button17Click();
  void Button18Click();
  void BitStopClick();
  // "Programm wird beendet" asked; true when answered "ja" (the program then ends). Every click or
  // answer that ends the program goes through here, so none ends it unasked.
  bool sBtEndeClick();
  void sBtProbeBaeumeClick();
  void sBStatModBstClick();
  void sBtExtrasClick();
  void Button19Click();
  void sBtAnmerkClick();
  void sBtZurueckClick();
  void BitBtn13Click();
  void BitBtn14Click();
  void F1BnStatusClick();
  void Panel15Click();

  // ---- Stand choice and stand map
  QLabel* LblBestand = nullptr;   // type text and number of the loaded stand
  QLabel* LblFlaeche = nullptr;   // stand area
  QLabel* ImgFoto = nullptr;      // the stand photographs of the slide show (400 x 300)
  QPushButton* BitBa[10] = {};    // legend buttons BitBa1 .. BitBa9 (index 1 .. 9)
  QImage* mapImage = nullptr;     // the picture ImgBest shows
  QImage* legendImage = nullptr;  // the picture ImgLeg shows
  void BuildStandArea();
  void sBtBestandClick();
  void sBtDrehenClick();
  void BtKluppschwelleClick();
  void BitBa1Click(int button);
  // Steps after a stand was picked: the chosen stand is read as a whole and drawn; a stand that cannot
  // be read leaves the loaded one as it was and "Gitter" disabled.
  bool LoadChosenStand();
  // Draws the loaded stand afresh: scale from its boundary, legend, frame, trees and boundary.
  void DrawStand();
  // Redraws trees, frame and boundary at the current scale (after a pass or a rotation).
  void DrawTrees();
  // The world-to-pixel mapping of the stand map as it stands now.
  StandMapTransform MapTransform() const;
  // Lets other work draw on the stand map in world coordinates; the map is shown afterwards.
  void PaintOnMap(const std::function<void(Canvas&, const StandMapTransform&)>& paint);
  // Shows the map picture in ImgBest (after drawing on it).
  void ShowMap();
  // The tree-count label after the trees were read again; prefix is the German "Bäume:".
  void ShowTreesPerHectare(const std::string& prefix);

  // ---- Model stands ("Sonderfunktionen" panel Panel7) and the stand generator
  QCheckBox* CheckBox2 = nullptr;   // "Reale Bestände o. PW": "Tolvek03.txt"
  QCheckBox* CheckBox3 = nullptr;   // "Generierte Bestände": "TolvekGE.txt"
  QPushButton* Button22 = nullptr;  // the overview of the model stands
  QPushButton* Button1 = nullptr;   // "Bestand zeichnen": the list with the classification
  QPushButton* Button15 = nullptr;  // "Einh. Bestand wählen": one model stand for the whole enterprise
  QPushButton* Button16 = nullptr;  // "Bestand generieren": starts the stand generator
  void BuildModelStandPanel();
  // The table from the registers the check boxes choose; the list of the model-stand window follows,
  // the chosen stand stays chosen where the list still holds it.
  void LoadModelStandTable();
  // The check boxes (and the model-stand flags) set from outside, e.g. by TForm43; LbModBestande follows.
  void SetModelStandChoice(bool realStands, bool generatedStands);
  // The chosen model stand read and shown: map, legend and the stand information with its class.
  void LoadSelectedStand();
  // LbEinhBest: "Bestand: " + the single model stand's code.
  void ShowSingleModelStand();
  // Button1 (classification) and Button15 (single model stand) open the model-stand list.
  void Button15Click(QObject* sender);
  void Button22Click(QObject* sender);
  void BtnVorlintClick();
  bool modelStandShown = false;

  // ---- Help and documents
  QGroupBox* GrpDtEng = nullptr;             // " Bedienung "
  class QRadioButton* RdDtsch = nullptr;     // "Bedienungsanleitung": the manual of the language
  class QRadioButton* RdBenutzer = nullptr;  // "Benutzerhandbuch": help contents
  class QRadioButton* RdNeue = nullptr;      // "Struktur d. Datenbestände": help topic 121
  class QRadioButton* RdAnwend = nullptr;    // "Anwendungen": help topic 122
  class QRadioButton* RdSuche = nullptr;     // "Theoretische Grundlagen": the theory group
  QPushButton* BtWarten = nullptr;           // shown while the browser is started
  QGroupBox* GbNbaum = nullptr;              // the theory documents
  class QRadioButton* RbTeo[7] = {};         // RbTeoAllgemein … RbTeoNBaum, as kTheoryDocuments
  QPushButton* ButtonX = nullptr;            // "x"
  void BuildHelpArea();
  void sBtAnweisungClick();
  void RdDtschClick(QObject* sender);
  void RbTeoAllgemeinClick(QObject* sender);
  void ButtonXClick();
  void BitHinweiseClick();
  void MemHilfeClick();
  // Closes the operating-help group when it is open.
  void CloseOperatingHelp();

  // ---- Language
  // Connects the seven language buttons to BitBtn16Click.
  void BuildLanguageButtons();
  // A language button: 1 German … 7 Turkish; settings written, table loaded, all windows translated.
  void BitBtn16Click(int languageNumber);

  // ---- Methods, grid and inventory pass
  QLabel* LblVerfahren = nullptr;  // name of the chosen method
  QLabel* LblRadius = nullptr;     // its parameter line
  QLabel* LblGitterAnf = nullptr;  // grid spacing
  // Grid group "  Gitter bearbeiten ": spacing BitBtn9 +5, BitBtn10 +1, BitBtn11 -5, BitBtn12 -1; shift
  // BitBtn1 +5 x, BitBtn2 +1 x, BitBtn3 -5 x, BitBtn4 -1 x, BitBtn5 .. BitBtn8 the same in y.
  QPushButton* GridButton[13] = {};     // BitBtn1 .. BitBtn12 (index 1 .. 12)
  QLabel* LbAbstand = nullptr;          // "Abstand"
  QLabel* LbVerschieben = nullptr;      // "verschieben"
  QPushButton* Button6 = nullptr;       // "blinken"
  QPushButton* Button7 = nullptr;       // "speichern"
  QPushButton* Button8 = nullptr;       // "lesen"
  QPushButton* GitterFertig = nullptr;  // "weiter": the inventory pass
  QMenu* PopupMenu1 = nullptr;          // coordinates of a click on the stand map
  QAction* Punkt1 = nullptr;
  QAction* Punkt2 = nullptr;
  void BuildMethodArea();
  void BuildGridArea();
  void sBtVerfahrenClick();
  void sBtGitterClick();
  // Both method labels from the method settings.
  void ShowMethodLabels();
  // A label of the stand's data panel: the text on one line, its font made smaller where it is too wide.
  void SetDataLabel(QLabel* label, const std::string& text);
  // After a method was confirmed: its decision hints and "Anmerkungen".
  void MethodLetterChosen(int methodCode);
  void ShowDecisionHints(const std::string& letter);
  // The grid's flags as they stand in the run controls.
  GridContext MakeGridContext() const;
  // Crosses of the grid on the stand map (blinking five times); marks inside points first.
  void DrawGrid(bool blink);
  // Black crosses over the current points before the grid is laid anew.
  void EraseGridCrosses();
  void ShowGridLabels();
  void BitBtn9Click(int step);
  void BitBtn1Click(int stepX, int stepY);
  void RotateGridClick();
  void Button6Click();
  void Button7Click();
  void Button8Click();
  // "weiter": the pass over the grid with the sample trees drawn on the map; enables "Auswertung".
  void GitterFertigClick();
  // The pass itself; wait100: the short pause of "weiter" (a repetition goes without it).
  PassOutcome RunPass(bool wait100, bool repetition);
  // Mouse on the stand map, in image pixels.
  void ImgBestMouseDown(int px, int py, bool rightButton);
  void ImgBestMouseMove(int px, int py);
  void ImgBestMouseUp(int px, int py);
  // The enterprise's areas for the grid's inside test (the enterprise inventory's route).
  EnterpriseGridAreas* enterpriseGridAreas = nullptr;

  // ---- Result diagrams
  void BuildDiagramArea();
  // "Diagramm": the diagram loop of the last evaluation in the result window.
  void sBtDiagrammClick();
  // The loop itself; the stand report's "Diagramm" runs it too, also over a run's intermediate results.
  void ShowStandDiagrams();
  // Empties the stand, method and grid captions of the data column.
  void ClearInfoLabels();
  // ---- Enterprise mode: the choice of a model enterprise, its map and figures
  QLabel* LblBaeume = nullptr;          // "Bestände:" and the stand count of the enterprise
  QLabel* LbBestGroesse = nullptr;      // "Mittl. Fläche:" and the mean stand area
  QLabel* LbBetriebStruktur = nullptr;  // "Betriebstruktur", the heading of Panel8
  QPushButton* Button23 = nullptr;      // "Struktur ändern" (Panel8)
  QPushButton* Button24 = nullptr;      // "Betrieb einlesen" (Panel8)
  QPushButton* Button25 = nullptr;      // "Struktur beibehalten" (Panel8)
  void BuildEnterpriseArea();
  // A button of a structure panel (Panel8, Panel5): across the panel, top pixels down.
  QPushButton* StructurePanelButton(QFrame* panel, const char* name, const char* caption, int top);
  // "Betrieb": the choice window, then the chosen enterprise cut into stands and drawn.
  void BtBetriebClick();
  // Shows the choice window; the chosen enterprise's number (0: "zurück").
  int ChooseEnterprise();
  // "Betrieb generieren": the reset window.
  void Button4Click();
  // The whole enterprise map in the class colours (the first drawing ends).
  void DrawEnterpriseMap();
  // The figures of the enterprise in the data labels; numberWidth of the enterprise number.
  void ShowEnterpriseFigures(int numberWidth);
  // A click into the enterprise map: the left button cuts the compartment anew with its next kind, the
  // right one marks it.
  void EnterpriseMapMouseDown(int px, int py, bool rightButton);
  // From metres of the enterprise map to pixels of the picture.
  EnterpriseMapTransform EnterpriseTransform() const;
  // The stand map's picture, labels and grid buttons as stand mode has them.
  void LeaveEnterpriseView();

  // ---- Enterprise structure: the structure panel Panel5, the wizard, the structure file, the balance
  QLabel* LbBetriebStruktur2 = nullptr;  // "Betriebstruktur", the heading of Panel5
  QPushButton* Button10 = nullptr;       // "Speichern" (Panel5)
  QPushButton* Button11 = nullptr;       // "Lesen" (Panel5)
  QPushButton* Button26 = nullptr;       // "Flächenbilanz" (Panel5)
  QPushButton* Button3 = nullptr;        // "weiter" (Panel5): model stands, then the method
  void BuildStructureArea();
  // "Struktur ändern": the map light green again, then the wizard.
  void Button23Click();
  // "Struktur beibehalten": the structure panel.
  void Button25Click();
  // "weiter" of the structure panel: the wizard when there are no types yet, the model stands dealt,
  // the method chosen.
  void Button3Click();
  // "Speichern": the structure file of the chosen enterprise, written whole or not at all.
  void Button10Click();
  // "Lesen" and "Betrieb einlesen": the stored structure and the enterprise's figures.
  void Button11Click();
  // "Flächenbilanz": the balance as a table, on request as the colour matrix.
  void Button26Click();
  // The wizard through its windows; true when it ended with the classes dealt.
  bool BtBtWetClick();
  // Reads the chosen enterprise's structure file into the map. A missing or damaged file is reported,
  // the enterprise stays as it was and the reset window is offered; false then.
  bool ReadEnterpriseFile();
  // The balance of an enterprise's stored structure beside the choice window.
  void ShowStoredStructure(int enterprise);
  // Whether a click on the map acts (the map is shown as it is either way).
  void SetMapClicks(bool on);
  bool MapTakesClicks() const;
  // Every compartment drawn anew on black in mode 0 (class colours) or 1 (type colours).
  void DrawCompartments(int mode);
  // The check boxes of the type choice: the type names with their model-stand counts.
  void ShowTypeChoiceCaptions();

  // ---- Evaluation, repetitions and report
  QLabel* Label18 = nullptr;  // repetitions counted in the current run
  void BuildEvaluationArea();
  void sBtAuswertungClick();
  void F1BtWiederholenClick();
  void sBtMultiSimClick();
  void sBtPausePlusClick();
  void sBtFinClick();
  void sBtNeuesVerfahrenClick();
  // One evaluation of the last pass on the stand route; with the show-report flag set it writes the
  // sample-tree table and shows the stand report modally. runTruth: the stand's true values as a run
  // took them at its start (the stand cannot change while it runs); null: taken now.
  bool EvaluateStandRun(const TrueStandValues* runTruth = nullptr);
  // Before the first repetition of a run: tree- or plot-centred weighting.
  void WeightingQuestion();
  // The main window's captions the sample-tree table opens with.
  SampleTableHeader SampleTableCaptions() const;
  // Writes the table of the last evaluation to "Temp\ProbeBa.txt"; false (with the message) on failure.
  bool WriteSampleTreeTableNow();
  // New random origin within one grid cell of the base origin, new grid, next pass: what a run does
  // between its repetitions.
  void RandomGridShift();
  // A run's drawing on the stand map is held back until the map is looked at; this puts it on the map
  // (the map's label, the run's loops before they hand over to events, and the run's end call it).
  void SettleMap();
  // Watches a run of repetitions from outside (tests, the window benchmark); the window only tells it.
  class RunWatcher {
   public:
    virtual ~RunWatcher() = default;
    // After each repetition's new grid and pass.
    virtual void GridShifted() {}
    // Around the drawing of each repetition's statistics.
    virtual void ShowingStatistics() {}
    virtual void StatisticsShown() {}
  };
  RunWatcher* runWatcher = nullptr;
  // The run's picture: the histogram of the deviations with basal area (ImgRepeat), stem number
  // (ImgRepeatN) and mean diameter (ImgRepeatD), each painted from a picture of its own; Panel11
  // carries the plot plan of a pass.
  QLabel* ImgRepeat = nullptr;
  QLabel* ImgRepeatN = nullptr;
  QLabel* ImgRepeatD = nullptr;
  QFrame* Panel11 = nullptr;
  std::unique_ptr<QImage> repeatImages[3];  // ImgRepeat, ImgRepeatN, ImgRepeatD
  void BuildRunDisplayArea();
  // After a repetition's statistics: the scales fitted and, while the graphics are on, the pictures shown
  // (drawn when they are looked at).
  void ShowRunStatistics();
  // Draws what a run held back of the map and of its three pictures.
  void SettleRunPictures();
  // "ja" to the print question: printer, print position, page.
  void PrintRunResult();
  // The page on a printer already chosen; false (with the message) when the job cannot start.
  bool PrintRunResultOn(class QPrinter& printer);
  // In place of the print dialog (PrintDialog1) where set: true when the user chose to print. Tests put
  // a PDF printer here.
  std::function<bool(class QPrinter&)> choosePrinter;

  // ---- True values ("E-Wert der Varianz") and the sample-plan optimisation ("Optimierung")
  QFrame* PnAuswahl = nullptr;  // side panel "Auswahlflächen der Bäume"
  QLabel* LbAuswahlTitel = nullptr;
  QLabel* LbAuswahl = nullptr;  // the text of the selection area in hand
  QLabel* ImgKR = nullptr;      // the plan view on Panel11 (250 x 250)
  std::unique_ptr<QImage> planImage;  // the picture ImgKR shows
  void BuildTrueValueArea();
  // Ctrl with the left button on "E-Wert der Varianz" switches the step display on, any other press off.
  void BtVarianzMouseDown(bool ctrlAndLeft);
  void BtVarianzClick();
  void BtOptomClick();
  // The whole computation for the chosen method; ask 1 asks first and shows the result box, 2 (the
  // optimisation) neither asks nor shows the step display. Empty when it was declined or cannot run.
  std::optional<DesignValues> ComputeTrueValuesNow(int ask);
  // "Abbrechen" of the display options: the computation goes on without its step display.
  void EndSelectionAreaDisplay();
  // The species legend back after the optimisation window closed.
  void ShowLegendAgain();

  // ---- Enterprise inventory: the pass's route over the enterprise, the plot plan, the evaluation by
  // strata with its report and views
  void BuildInventoryArea();
  // Before an enterprise pass: every model stand the structure uses read (once per run of the program
  // while the registers stay). False, with the message shown, when one cannot be read.
  bool PrepareEnterprisePass();
  // The route a pass takes over the enterprise, begun for this pass (outside a run the plot plan is
  // cleared and shown); null in stand mode.
  EnterprisePassRoute* BeginEnterprisePass(bool repetition);
  // After an enterprise pass: what could not be saved at its end (the grid the user asked to save, the
  // model-stand statistics) is shown, once.
  void ShowEnterprisePassEnd();
  // The true values of the whole enterprise a run compares its estimates with.
  RunTrueValues EnterpriseTrueValues() const;
  // The plan of a recorded plot of an enterprise pass outside a run, and its question whether to go on.
  void ShowPlotPlan(int gridIndex, const PlotRecord& plot);
  // The evaluation of an enterprise pass; with the show-report flag set, its report and the views.
  // False (with the message shown) when it had to be abandoned.
  bool EvaluateEnterpriseRun(RepetitionEstimate& estimate);
  // "temp\temp.txt" from the last evaluation (empty with fewer than 2 sample points); false with a message.
  bool WriteEnterpriseReport();
  // The choice window and the views until the user leaves them.
  void RunEnterpriseViewLoop();
  // The window on the screen as FitToTheScreen fitted it, its frame as the window system draws it
  // (known once the window is up; until then none, and placed again when it comes).
  void PlaceOnScreen();

 protected:
  void closeEvent(class QCloseEvent* e) override;
  bool eventFilter(QObject* watched, class QEvent* e) override;

 private:
  std::unique_ptr<class EnterpriseRoute> enterpriseRoute_;
  void BuildTitleScreen();
  void BuildToolBar();
  void BuildExtrasGroup();
  void BuildPanels();
  void LoadTitlePictures();
  void FitToTheScreen(int screenHeight);
  ScreenFit fit_;
  QMargins placedMargins_;
  int mapSide_ = 0;  // the map picture's side as fitted
  // What stepped aside for the extras group while it is open.
  std::vector<QPointer<QWidget>> besideExtras_;
  void ScaleTitleScreen();
  std::string T(const std::string& german) const;
  void UncheckMethodButtons();
  void FinishNeuesVerfahren();
  // The labels of the stand map and of the run's three pictures; a run of repetitions shows them paced.
  class PacedPicture* mapPicture_ = nullptr;
  class PacedPicture* repeatPictures_[3] = {};
  void PaceRunPictures(bool paced);
  // The statistics the run's pictures are to show, and whether they are still to be drawn.
  RunStatistics drawnStatistics_;
  bool statisticsToDraw_ = false;
  void DrawHeldRunStatistics();
  // What a run keeps of the map between its repetitions, and whether the buttons a repetition disables
  // wait for its end.
  std::unique_ptr<RunMapDrawing> runMap_;
  std::shared_ptr<bool> shiftEnablePending_ = std::make_shared<bool>(false);
  bool stopPending_ = false;  // "Neues Verfahren / Druck" pressed during a run: its rest follows the run
  bool quitting_ = false;
  // Inside a run the sample-tree table of an evaluation is made only when it is written: making it for
  // every repetition took longer than the repetition. What it is made from is kept (storage reused).
  PlotList tablePlots_;
  // The labels the table's captions are read from, found by name when first asked for: searching the
  // whole window for them at every repetition of a run took longer than the evaluation itself.
  mutable std::array<QPointer<QLabel>, 9> captionLabels_;
  MethodCode tableMethod_ = kMethodNone;
  SampleTableHeader tableCaptions_;
  bool tablePending_ = false;
};

}  // namespace tolvek
