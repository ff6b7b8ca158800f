#pragma once
// The generator's windows, created once in the start-up order, and the window side of the session.
#include <QWidget>
#include <memory>
#include <vector>

#include "generator/flow.h"
#include "generator/forms/saving_windows.h"
#include "generator/forms/windows.h"
#include "generator/state.h"

namespace tolvek::generator {

// Sets captions and hints of the generator's windows from the table: each control's row of its window's
// form id, the parameter dialog's fixed hints, and the translated words of "weiter", "speichern", "zurück"
// and "löschen" buttons. Windows that do not exist (yet) are passed over.
void TranslateGeneratorForms(const LanguageTable& table, const std::vector<QWidget*>& windows);

class GeneratorProgram : public GeneratorUi {
 public:
  explicit GeneratorProgram(GeneratorState& state);
  ~GeneratorProgram() override;
  GeneratorProgram(const GeneratorProgram&) = delete;
  GeneratorProgram& operator=(const GeneratorProgram&) = delete;

  GeneratorState& state;
  // In the start-up order. The saving windows (the slot list of the stand level and the stand data of
  // the enterprise level) take their places after the parameter dialog and after the level dialog.
  TForm1* form1 = nullptr;
  TForm3* form3 = nullptr;
  TBtnBottomDlg* btnBottomDlg = nullptr;
  TBtnBottomDlg1* btnBottomDlg1 = nullptr;
  TForm6* form6 = nullptr;
  TForm7* form7 = nullptr;
  // "speichern" of the result window: the stand level's slot or the enterprise level's stand data.
  std::unique_ptr<WindowStandSaver> saver;

  // The session, as the start window's timer runs it.
  void Start();

  void ApplyLanguage(const LanguageTable& table) override;
  std::optional<GenerationLevel> AskLevel() override;
  bool EditParameters(GeneratorState& state) override;
  ResultChoice ShowResult(GeneratorState& state, const std::vector<std::string>& memo,
                          const std::function<bool()>& save) override;

 private:
  template <class W>
  W* Add(W* w) {
    owned_.emplace_back(w);
    return w;
  }
  std::vector<std::unique_ptr<QWidget>> owned_;
};

// Creates the windows and runs the event loop until the session ends; returns the exit code.
int ProgramStart(int argc, char** argv);

}  // namespace tolvek::generator
