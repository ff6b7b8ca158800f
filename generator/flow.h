#pragma once
// The generator's course: settings and language, the level dialog, then passes of parameter dialog,
// generation and result window until the user leaves. The windows are reached only through
// GeneratorUi, so a test can play a whole session without a screen.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "generator/state.h"

namespace tolvek::generator {

enum class ResultChoice {
  kNext,          // "weiter" (or the window closed, or the stand saved): the next pass
  kBackToTolvek,  // "zurück zu TOLVEK": the program ends
};

class GeneratorUi {
 public:
  virtual ~GeneratorUi() = default;
  // Captions and hints of every window from the loaded table (once, after it is read).
  virtual void ApplyLanguage(const LanguageTable& table) = 0;
  // The level dialog; nothing when it was closed without "weiter".
  virtual std::optional<GenerationLevel> AskLevel() = 0;
  // The parameter dialog on state.parameters, modal. true for "Bestand zeichnen" with the edited values
  // in state.parameters; false for "Abbruch" or a closed window.
  virtual bool EditParameters(GeneratorState& state) = 0;
  // The result window with state.stand and its table. save is empty when no save step is installed;
  // when it returns true the stand was stored and the window closes with kNext.
  virtual ResultChoice ShowResult(GeneratorState& state, const std::vector<std::string>& memo,
                                  const std::function<bool()>& save) = 0;
};

// "EinStell.Txt": language (characters 9–10 of line 1) and the forest-development-type flag (line 2
// characters 5–6 "ja", only for German). A missing or unreadable file or a bad number: a message, German.
void ReadGeneratorSettings(GeneratorState& state);
// The table of the settings' language, every line a row. Unreadable or empty: a message and the
// built-in German texts (selector 0).
bool LoadGeneratorLanguage(GeneratorState& state);

// "Vorgaben lesen": the parameter file into state.parameters, through the field rules of the level. A
// missing file: a message and the defaults; a damaged one: a message and what could be read.
void LoadParameters(GeneratorState& state);
// "Vorgaben speichern": a failure is reported. The parameters are validated first.
bool SaveParameters(GeneratorState& state);

// The level chosen: side lengths and stand folder.
void SetLevel(GeneratorState& state, GenerationLevel level);

class GeneratorFlow {
 public:
  GeneratorFlow(GeneratorState& state, GeneratorUi& ui) : state_(state), ui_(ui) {}
  // The whole run from the settings to the end; the exit service is told to quit at the end.
  void Run();
  // One pass from reading the parameter file to the result window; false when the program is to end.
  bool Pass();
  // Generates from state.parameters (validated again first); a refusal is shown and nothing is drawn.
  bool Generate();

 private:
  void Say(const std::string& text);
  GeneratorState& state_;
  GeneratorUi& ui_;
};

}  // namespace tolvek::generator
