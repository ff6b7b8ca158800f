#include "generator/flow.h"

#include "common/translate.h"
#include "generator/result.h"

namespace tolvek::generator {

namespace {

void Show(GeneratorState& state, const std::string& text, PlatformIcon icon = PlatformIcon::Information) {
  state.services.messages->PlatformBox(text, "Vorlint", PlatformButtons::Ok, icon);
}

std::string T(const GeneratorState& state, std::string_view german) { return Translate(state.language, german); }

}  // namespace

void ReadGeneratorSettings(GeneratorState& state) {
  const std::string path = SettingsPath(state.folders.program);
  Settings s;
  switch (ReadSettingsFile(state.folders.program, s)) {
    case SettingsRead::kOk:
      break;
    case SettingsRead::kMissing:
      Show(state, path + ": " + T(state, "Fremdsprache kann nicht gelesen werden"));
      s = Settings{};
      s.language = 1;
      break;
    case SettingsRead::kBadLanguage:
      Show(state, path + ": " + T(state, "Sprachnummer ungültig, Deutsch gewählt"));
      s.language = 1;
      break;
  }
  if (s.language != 1) s.forestDevelopmentTypes = false;
  state.settings = s;
}

bool LoadGeneratorLanguage(GeneratorState& state) {
  const LanguageFiles files = LanguageFilesFor(state.settings.language);
  LanguageTable table;
  table.tableFile = ResolveIn(state.folders.program, files.table);
  table.helpFile = state.folders.program + files.help;
  std::vector<LanguageRow> rows;
  if (ReadLanguageRows(table.tableFile, rows) && !rows.empty()) {
    table.rows = std::move(rows);
    table.selector = SelectorFor(state.settings.language);
    state.language = std::move(table);
    return true;
  }
  // The program's own German texts stand in.
  state.language = std::move(table);
  state.language.selector = 0;
  Show(state, state.language.tableFile + ": " + T(state, "Datei kann nicht gelesen werden"), PlatformIcon::Warning);
  return false;
}

void LoadParameters(GeneratorState& state) {
  const std::string path = ParameterFilePath(state.folders.program);
  GenerationParameters p = state.parameters;
  switch (ReadParameterFile(state.folders.program, p)) {
    case ParameterFileRead::kOk:
      break;
    case ParameterFileRead::kMissing:
      Show(state, path + ": " + T(state, "Vorgabendatei nicht gefunden, Standardwerte eingesetzt"));
      p = DefaultParameters();
      p.plenterForest = state.parameters.plenterForest;
      break;
    case ParameterFileRead::kBad:
      Show(state, path + ": " + T(state, "Vorgabendatei fehlerhaft, fehlende Werte sind 0"), PlatformIcon::Warning);
      break;
  }
  // Values from a file pass the same rules as typed ones: a stand-level file on the enterprise level
  // would otherwise give a gap larger than the stand.
  ValidateAll(p, state.level);
  state.parameters = p;
}

bool SaveParameters(GeneratorState& state) {
  ValidateAll(state.parameters, state.level);
  if (WriteParameterFile(state.folders.program, state.parameters).ok()) return true;
  Show(state, ParameterFilePath(state.folders.program) + ": " + T(state, "Datei kann nicht erzeugt werden"),
       PlatformIcon::Warning);
  return false;
}

void SetLevel(GeneratorState& state, GenerationLevel level) {
  state.level = level;
  state.width = state.height = StandSide(level);
  state.standFolder =
      ResolveIn(state.folders.program, level == GenerationLevel::kStand ? "Bestande/" : "StandsGE/");
}

void GeneratorFlow::Say(const std::string& text) { Show(state_, text); }

void GeneratorFlow::Run() {
  ReadGeneratorSettings(state_);
  LoadGeneratorLanguage(state_);
  ui_.ApplyLanguage(state_.language);
  state_.passCounter = 0;
  if (std::optional<GenerationLevel> level = ui_.AskLevel()) {
    SetLevel(state_, *level);
    while (Pass()) {
    }
  }
  state_.services.exit->Quit(0);
}

bool GeneratorFlow::Generate() {
  ValidateAll(state_.parameters, state_.level);
  if (const Outcome drawable = CheckDrawable(state_.parameters); !drawable.ok()) {
    Say(ProblemMessage(state_.language, drawable.problem()));
    return false;
  }
  GenerationResult r = GenerateStand(state_.parameters, state_.level, state_.passCounter, state_.random);
  if (!r.stand) {
    Say(r.outcome.ok() ? std::string() : ProblemMessage(state_.language, r.outcome.problem()));
    return false;
  }
  state_.stand = std::move(r.stand);
  return true;
}

bool GeneratorFlow::Pass() {
  SetLevel(state_, state_.level);
  LoadParameters(state_);
  ++state_.passCounter;
  // A refused "Bestand zeichnen" opens the dialog again: no pass is counted and no number drawn.
  do {
    if (!ui_.EditParameters(state_)) return false;
  } while (!Generate());
  const std::vector<std::string> memo = ResultMemoLines(*state_.stand, state_.language);
  std::function<bool()> save;
  if (state_.saver) save = [this] { return state_.saver->Save(*state_.stand); };
  return ui_.ShowResult(state_, memo, save) == ResultChoice::kNext;
}

}  // namespace tolvek::generator
