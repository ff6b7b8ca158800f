#include "simulator/form_ids.h"

#include "simulator/translate.h"

namespace tolvek {

namespace {

using K = ControlKind;

FormEntry Row(std::string name, K kind) {
  FormEntry e;
  e.component = std::move(name);
  e.kind = kind;
  return e;
}
FormEntry Next(std::string name) {
  FormEntry e = Row(std::move(name), K::kButton);
  e.source = EntrySource::kNext;
  return e;
}
FormEntry Back(std::string name) {
  FormEntry e = Row(std::move(name), K::kButton);
  e.source = EntrySource::kBack;
  return e;
}
FormEntry Fixed(std::string name, K kind, TextProperty p, std::vector<std::string> german, std::string window = {}) {
  FormEntry e = Row(std::move(name), kind);
  e.source = EntrySource::kFixed;
  e.property = p;
  e.german = std::move(german);
  e.window = std::move(window);
  return e;
}
FormEntry Hint(std::string name, K kind, std::string german, std::string window = {}) {
  return Fixed(std::move(name), kind, TextProperty::kHint, {std::move(german)}, std::move(window));
}
FormEntry Caption(std::string name, K kind, std::string german) {
  return Fixed(std::move(name), kind, TextProperty::kCaption, {std::move(german)});
}
// The window's title: every window's title is translated, none stays German in another language.
FormEntry Title(std::string german) { return Caption("", K::kWindow, std::move(german)); }

// Adds name + first … name + last of one kind ("Label1" … "Label12").
void Numbered(std::vector<FormEntry>& v, const std::string& name, int first, int last, K kind) {
  for (int i = first; i <= last; ++i) v.push_back(Row(name + std::to_string(i), kind));
}
void Each(std::vector<FormEntry>& v, std::initializer_list<const char*> names, K kind) {
  for (const char* n : names) v.push_back(Row(n, kind));
}

FormList MainWindowList() {
  FormList l{"F1", kMainWindow, {}};
  auto& v = l.entries;
  Numbered(v, "BitBtn", 1, 16, K::kBitmapButton);
  Each(v, {"BitHinweise", "BtEnde", "Button1", "Button6", "Button7", "Button8", "Button10", "Button11", "Button12",
           "Button14", "Button15", "Button16", "Button17", "Button19", "Button22", "Button23", "Button24",
           "Button25", "Button26", "BtWarten", "BtVarianz", "BtOptom", "F1BtWiederholen"},
       K::kButton);
  v.push_back(Next("Button3"));
  v.push_back(Next("Button21"));
  v.push_back(Next("GitterFertig"));
  v.push_back(Row("GitterFertig", K::kBitmapButton));
  v.push_back(Back("Button18"));
  Each(v, {"sBtBestand", "sBtVerfahren", "sBtGitter", "sBtAuswertung", "sBtDiagramm", "sBtProbeBaeume", "sBtExtras",
           "sBtAnweisung", "sBtAnmerk", "sBtZurueck", "sBtPausePlus", "sBtFin", "sBStatModBst", "sBtMultiSim",
           "sBtNeuesVerfahren"},
       K::kSpeedButton);
  Each(v, {"Label1", "Label2", "Label3", "Label5", "Label10", "Label11", "Label12", "Label13", "Label14", "LbLernPrg",
           "LbStudent", "LbFortbild", "LbEinricht"},
       K::kLabel);
  Each(v, {"RdDtsch", "RdAnwend", "RdBenutzer", "RdSuche", "RdNeue"}, K::kRadioButton);
  Each(v, {"GrpDtEng", "GroupBox1"}, K::kGroupBox);
  // The theory group is translated with the help radio buttons.
  Each(v, {"RbTeoAllgemein", "RbTeoBHD", "RbTeoGrundflaeche", "RbTeoVarianz", "RbTeoOptimierung", "RbTeoBias",
           "RbTeoNBaum"},
       K::kRadioButton);
  v.push_back(Row("GbNbaum", K::kGroupBox));
  Each(v, {"LbAbstand", "LbVerschieben", "LbBetriebStruktur", "LbBetriebStruktur2"}, K::kLabel);
  Each(v, {"CheckBox2", "CheckBox3"}, K::kCheckBox);
  v.push_back(Hint("Bevel1", K::kWidget, "Vorgaben können verändert werden", "BtnRightDlg4"));
  v.push_back(Hint("", K::kWindow, "Verfahren auswählen ", "BtnRightDlg4"));
  v.push_back(Hint("Panel3", K::kWidget, "Blinken: Baumartenknopf anklicken"));
  v.push_back(Hint("ImgLeg", K::kImage, "Blinken: Baumartenknopf anklicken"));
  v.push_back(Hint("Panel7", K::kWidget, "Der gesamte Betrieb wird mit einem Modellbestand belegt"));
  v.push_back(Caption("F1BnStatus", K::kSpeedButton, "Grafik aus"));
  // The wait panel's text is a message of the table, not a control row.
  v.push_back(Caption("Panel15Text", K::kLabel, "Bitte warten ..."));
  v.push_back(Title("TOLVEK"));
  v.push_back(Caption("LblVersion1", K::kLabel, "Datum: 24.02.2014"));
  return l;
}

std::vector<FormList> MakeAllLists() {
  std::vector<FormList> all;
  all.push_back(MainWindowList());
  {
    FormList l{"F2", "Form2", {}};
    Each(l.entries, {"BtListe", "BtFlaeche", "BtGrundfl", "Button14", "Button1", "BtSpeich", "Button13", "BtBaumZahl",
                     "BtGesamt"},
         K::kButton);
    l.entries.push_back(Hint("", K::kWindow, "BHD-Verteilung: Bitte Baumarten-Schalter anklicken"));
    l.entries.push_back(Caption("", K::kWindow, "2  Grafik"));
    all.push_back(std::move(l));
  }
  {
    FormList l{"G7", "BtnRightDlg7", {}};
    l.entries.push_back(Row("Label1", K::kLabel));
    l.entries.push_back(Back("CancelBtn"));
    l.entries.push_back(Next("BitBtn1"));
    l.entries.push_back(Hint("Bevel1", K::kWidget, "Verfahrensvariante und Zählbreite wählen"));
    Each(l.entries, {"RadioButton1", "RadioButton2"}, K::kRadioButton);
    l.entries.push_back(Title("Winkelzählprobe WZP"));
    all.push_back(std::move(l));
  }
  // Label1 carries the dialog's question; it is translated with its unit label.
  all.push_back({"G8", "BtnRightDlg8", {Row("Label1", K::kLabel), Row("Label2", K::kLabel), Title("Dialog")}});
  all.push_back({"F8", "BtnRightDlg1", {Row("Button2", K::kButton), Row("RdBtn6Baum", K::kRadioButton)}});
  {
    FormList l{"G4", "BtnRightDlg4", {}};
    l.entries.push_back(Back("CancelBtn"));
    l.entries.push_back(Row("Button1", K::kButton));
    l.entries.push_back(Next("OKBtn"));
    Numbered(l.entries, "Label", 1, 6, K::kLabel);
    for (const char* m : {"Memo1", "Memo2", "Memo3", "Memo7", "Memo8"})
      l.entries.push_back(Hint(m, K::kWidget, "BHD kann verändert werden"));
    for (const char* m : {"Memo4", "Memo5", "Memo6", "Memo9", "Memo10"})
      l.entries.push_back(Hint(m, K::kWidget, "Radius kann verändert werden"));
    l.entries.push_back(Title("Konzentrische Probekreise"));
    all.push_back(std::move(l));
  }
  {
    FormList l{"G5", "BtnRightDlg5", {}};
    l.entries.push_back(Row("Label1", K::kLabel));
    l.entries.push_back(Row("Label2", K::kLabel));
    l.entries.push_back(Back("CancelBtn"));
    l.entries.push_back(Next("Button5"));
    l.entries.push_back(Hint("Button1", K::kButton, "Probekreis-Radius 2,82 Meter"));
    l.entries.push_back(Hint("Button2", K::kButton, "Probekreis-Radius 5,64 Meter"));
    l.entries.push_back(Hint("Button3", K::kButton, "Probekreis-Radius 12,62 Meter"));
    l.entries.push_back(Hint("Memo1", K::kWidget, "Radius eingeben und Schaltfläche drücken"));
    l.entries.push_back(Title("Vollkreise"));
    all.push_back(std::move(l));
  }
  {
    FormList l{"G6", "BtnRightDlg6", {Back("Button1"), Row("Label2", K::kLabel), Next("Button2"), Row("Label1", K::kLabel)}};
    // The estimator variants: their captions name the method in each language.
    Numbered(l.entries, "RadioButton", 1, 8, K::kRadioButton);
    l.entries.push_back(Title("N-Baum Stichprobe"));
    all.push_back(std::move(l));
  }
  all.push_back({"G40", "BtnRightDlg40",
                 {Row("Label1", K::kLabel), Row("Label3", K::kLabel), Next("Button1"), Title("Unterstand")}});
  {
    FormList l{"F23", "Form23", {}};
    Numbered(l.entries, "Label", 1, 12, K::kLabel);
    l.entries.push_back(Back("Button1"));
    l.entries.push_back(Row("BtnVerzeichnis", K::kButton));
    l.entries.push_back(Title("23 Tolvek"));
    all.push_back(std::move(l));
  }
  {
    FormList l{"F24", "Form24", {}};
    Numbered(l.entries, "Label", 1, 10, K::kLabel);
    Each(l.entries, {"Lb_BestFl", "Lb_AnzB", "Lb_sigF", "Lb_SigB", "Pb_tFM", "Lb_tB0", "LbtFBkm", "Lb_tBMkm"},
         K::kLabel);
    l.entries.push_back(Row("Button1", K::kButton));
    l.entries.push_back(Row("GrpVorgaben", K::kGroupBox));
    l.entries.push_back(Caption("", K::kWindow, "Optimierung des Stichprobenplans"));
    all.push_back(std::move(l));
  }
  all.push_back({"F25",
                 "Form25",
                 {Back("Btzurueck"), Next("Btweiter"), Row("ImgProz", K::kImage),
                  Caption("", K::kWindow, "Anteile der Betriebsstruktur")}});
  all.push_back({"F26", "Form26", {Back("Button1"), Next("Bt26weiter"), Caption("", K::kWindow, "Mischung der Typen")}});
  {
    FormList l{"F27", "Form27", {}};
    Each(l.entries, {"Label2", "Label3", "Label9"}, K::kLabel);
    l.entries.push_back(Caption("BtMultiSim27", K::kButton, "schliessen"));
    // The window's other buttons: without them they stay German.
    l.entries.push_back(Next("Button2"));
    l.entries.push_back(Row("Button3", K::kButton));
    l.entries.push_back(Hint("ImgBTAk", K::kImage, "Gewünschte BT/AK - Kombination anklicken"));
    all.push_back(std::move(l));
  }
  all.push_back({"F29",
                 "Form29",
                 {Row("Label2", K::kLabel), Back("Button1"), Next("Button2"),
                  Caption("", K::kWindow, "Typen der Betriebsstruktur")}});
  all.push_back({"F30",
                 "Form30",
                 {Row("Label1", K::kLabel), Row("Button1", K::kButton), Row("F30BtnZurueck", K::kButton),
                  Hint("ListBox1", K::kWidget, "Bestand mit Doppelklick wählen"),
                  // The list's other buttons: without them the choice and the classification stay German.
                  Row("BtF30Ja", K::kButton), Row("BtChAKL", K::kButton), Row("BtChWET", K::kButton),
                  Row("SpeedButton1", K::kSpeedButton)}});
  all.push_back({"F31",
                 "Form31",
                 {Row("Button1", K::kButton), Row("Button2", K::kButton),
                  Fixed("Memo1", K::kWidget, TextProperty::kHint,
                        {"G - Grundfläche je Hektar", "N - Baumzahl je Hektar", "D - mittlerer BHD",
                         "S - Ergebnis aus Probefläche", "E - Erwartungswert (wahrer Wert)"}),
                  // The red line's hint: without it the line stays German.
                  Row("Panel1", K::kWidget)}});
  all.push_back({"F16", "Form16", {Row("BtnStop", K::kButton)}});
  // The matrix's texts are set when it is drawn; its title joins the lists so it follows the language.
  all.push_back({"F33", "Form33", {Caption("", K::kWindow, "Flächenbilanz")}});
  // The classification matrix has no list of its own in the table; its buttons join here.
  all.push_back({"F36", "Form36", {Row("Button1", K::kButton), Back("Button2")}});
  {
    FormList l{"F37", "Form37", {}};
    Numbered(l.entries, "Label", 1, 3, K::kLabel);
    l.entries.push_back(Row("Image1", K::kImage));
    l.entries.push_back(Row("BtZurueck", K::kButton));
    l.entries.push_back(Caption("", K::kWindow, "Modellbetrieb auswählen"));
    all.push_back(std::move(l));
  }
  {
    FormList l{"F41", "Form41", {}};
    Numbered(l.entries, "RbBetrieb", 1, 3, K::kRadioButton);
    l.entries.push_back(Caption("", K::kWindow, "Betrieb neu erzeugen"));
    all.push_back(std::move(l));
  }
  all.push_back(MessageBoxList());
  {
    FormList l{"G1", "BtnRightDlg1", {}};
    l.entries.push_back(Row("Button1", K::kButton));
    l.entries.push_back(Back("CancelBtn"));
    l.entries.push_back(Next("OKBtn"));
    l.entries.push_back(Row("RadioGroup1", K::kRadioGroup));
    Each(l.entries, {"RdBtnVollkr", "RdBtnKonzKr", "RdBtnWZP"}, K::kRadioButton);
    l.entries.push_back(Title("Stichproben-Verfahren"));
    all.push_back(std::move(l));
  }
  {
    FormList l{"F15", "Form15", {}};
    l.entries.push_back(Row("BtnEntschHilfe", K::kButton));
    FormEntry calliper = Row("BtnKluppschw", K::kButton);
    calliper.copyToMain = "BtKluppschwelle";
    l.entries.push_back(calliper);
    l.entries.push_back(Row("BtnFoto", K::kButton));
    l.entries.push_back(Next("BtnWeiter"));
    l.entries.push_back(Title("Bestand wählen"));
    Each(l.entries, {"NadelholzBestnde1", "LaubholzBestnde1", "GenerierteBestnde1", "schwachesBaumholz1",
                     "schwachesBaumholz2", "mittelstarkesBaumholz1", "mittelstarkesBaumholz2", "starkesBaumholz1",
                     "starkesbaumholz2"},
         K::kMenuItem);
    // The window's other captions: without them its buttons and the selection-forest menu stay German.
    Each(l.entries, {"Button1", "ButonDrehen", "BtnVerzeichnis", "BtnAbbruch"}, K::kButton);
    l.entries.push_back(Row("Plenterwald1", K::kMenuItem));
    all.push_back(std::move(l));
  }
  all.push_back({"F18", "Form18",
                 {Row("BtnSchliessen", K::kButton), Row("Button1", K::kButton), Row("Button2", K::kButton),
                  Title("Bestandesinventur")}});
  {
    FormList l{"F22", "Form22", {}};
    l.entries.push_back(Next("Button1"));
    l.entries.push_back(Row("Button2", K::kButton));
    l.entries.push_back(Row("Label1", K::kLabel));
    Each(l.entries, {"chkAnzeigeEinz", "chkAnzeigeImBe", "chkAnzeigeUber"}, K::kCheckBox);
    l.entries.push_back(Caption("", K::kWindow, "Auswahlfläche anzeigen"));
    all.push_back(std::move(l));
  }
  all.push_back({"F43", "Form43",
                 {Row("Label1", K::kLabel), Row("ChkBox2", K::kCheckBox), Row("ChkBox3", K::kCheckBox),
                  Next("BtWeiter43")}});
  all.push_back({"F44", "Form44", {Row("BtBaAnteile", K::kButton), Row("LbKeinFoto", K::kLabel), Title("Bestandesvorschau")}});
  // Windows with no captions of their own to translate but their titles.
  all.push_back({"F35", "Form35", {Title(" Form35")}});
  all.push_back({"F38", "Form38", {Title("Druckposition")}});
  all.push_back({"G3", "BtnRightDlg3", {Title("Tolvek")}});
  return all;
}

FormList MakeStartScreenList() {
  FormList l{"F1", kMainWindow, {}};
  auto& v = l.entries;
  Each(v, {"Button12", "Button14", "Button17", "Button4"}, K::kButton);
  Each(v, {"Label1", "Label2", "Label3", "Label14", "LbLernPrg", "LbStudent", "LbFortbild", "LbEinricht"}, K::kLabel);
  // The captions under the mode buttons and above them are text here, not pictures: they are translated too.
  Each(v, {"Label4", "Label6", "Label7", "Label9"}, K::kLabel);
  v.push_back(Row("BitHinweise", K::kButton));
  v.push_back(Caption("LblVersion1", K::kLabel, "Datum: 24.02.2014"));
  v.push_back(Row("GrpDtEng", K::kGroupBox));
  Each(v, {"RdDtsch", "RdAnwend", "RdBenutzer", "RdSuche", "RdNeue"}, K::kRadioButton);
  Each(v, {"sBtAnmerk", "sBtExtras", "sBtAnweisung", "sBtAuswertung", "sBtBestand", "sBtVerfahren", "sBtDiagramm",
           "sBtProbeBaeume", "sBtGitter", "sBtZurueck", "BtEnde", "sBtPausePlus"},
       K::kSpeedButton);
  return l;
}

std::string JoinedTranslations(const LanguageTable& table, const std::vector<std::string>& german) {
  std::string text;
  for (std::size_t i = 0; i < german.size(); ++i) {
    if (i) text += '\n';
    text += Translate(table, german[i]);
  }
  return text;
}

}  // namespace

const std::vector<FormList>& AllFormLists() {
  static const std::vector<FormList> lists = MakeAllLists();
  return lists;
}

const FormList& StartScreenList() {
  static const FormList list = MakeStartScreenList();
  return list;
}

const FormList& MessageBoxList() {
  static const FormList list{"F42", "Form42",
                             {Row("btnYES", K::kButton), Row("btnNO", K::kButton), Row("btnOK", K::kButton),
                              Title("Message")}};
  return list;
}

bool TakesCaption(ControlKind k) {
  return k != K::kBitmapButton && k != K::kImage && k != K::kWidget && k != K::kWindow;
}

bool TakesHint(ControlKind k) { return k != K::kMenuItem && k != K::kWindow; }

std::vector<TextAssignment> PlanFormTexts(const LanguageTable& table, const FormList& list) {
  std::vector<TextAssignment> out;
  for (const FormEntry& e : list.entries) {
    const std::string window = e.window.empty() ? list.window : e.window;
    auto add = [&](TextProperty p, std::optional<std::string> text) {
      out.push_back({window, e.component, e.kind, p, text});
      if (!e.copyToMain.empty()) out.push_back({kMainWindow, e.copyToMain, e.kind, p, std::move(text)});
    };
    switch (e.source) {
      case EntrySource::kNext:
        add(TextProperty::kCaption, Translate(table, "weiter"));
        break;
      case EntrySource::kBack:
        add(TextProperty::kCaption, Translate(table, "zurück"));
        break;
      case EntrySource::kFixed:
        add(e.property, JoinedTranslations(table, e.german));
        break;
      case EntrySource::kRow: {
        ComponentTexts t = LookupComponentTexts(table, list.formId, e.component);
        if (TakesCaption(e.kind)) add(TextProperty::kCaption, t.caption);
        if (TakesHint(e.kind)) add(TextProperty::kHint, t.hint);
        break;
      }
    }
  }
  return out;
}

}  // namespace tolvek
