// The main window's language buttons.
#include <QPushButton>
#include <QWidget>

#include "common/wait.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/translate_forms.h"
#include "simulator/translate.h"

namespace tolvek {

void TForm1::BuildLanguageButtons() {
  for (int n = kFirstLanguage; n <= kLastLanguage; ++n) {
    QPushButton* b = LanguageButton(n);
    if (b) connect(b, &QPushButton::clicked, this, [this, n] { BitBtn16Click(n); });
  }
}

void TForm1::BitBtn16Click(int languageNumber) {
  if (GuardBusy()) return;
  if (QPushButton* german = LanguageButton(1)) german->setFocus();
  CloseOperatingHelp();
  SwitchLanguage(state.folders, languageNumber, state.settings, state.language, *state.services.messages);
  TranslateAllForms(state);
  // The title screen's own buttons ("Betrieb generieren") are not in the window lists.
  ApplyTexts(PlanFormTexts(state.language, StartScreenList()));
  if (languageNumber != 1) WaitMs(5000, state.run, state.services);
}

}  // namespace tolvek
