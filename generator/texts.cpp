#include "generator/texts.h"

#include "generator/parameters.h"

namespace tolvek::generator {

ComponentTexts GeneratorControlTexts(const LanguageTable& table, std::string_view formId, std::string_view name,
                                     ControlKind kind) {
  const bool fromMessages = kind == ControlKind::kLabel || kind == ControlKind::kCheckBox;
  return LookupComponentTexts(table, formId, name, fromMessages ? MessageSectionStart(table.rows) : 0);
}

std::vector<FixedText> ParameterDialogTexts(const LanguageTable& table) {
  const std::string dlg = "BtnBottomDlg";
  auto T = [&](std::string_view g) { return Translate(table, g); };
  std::vector<FixedText> v;
  auto hint = [&](const std::string& name, std::string text) { v.push_back({dlg, name, true, std::move(text)}); };
  const std::string maximum = T("Maximum 150m (Bestand) bzw 50m (Betrieb)");
  hint("", T("Eingabefelder mit Doppelklick ansteuern"));
  hint("Edit26", T("0: strenger Verband bis 8: unregelmäßiger Verband # 9: Zufallsverteilung"));
  hint("Edit27", T("Ausdehnung Ost-West") + ". " + maximum);
  hint("Edit28", T("Ausdehnumg Nord-Süd") + ". " + maximum);
  hint("Edit29", T("Bestockung der Auflichtung in % # der Bestockung des Bestandes"));
  hint("Edit34", T("Anteil der zu entnehmenden Bäume  in %"));
  for (int row = 1; row <= kRowCount; ++row) {
    const int first = 5 * row - 4;
    hint("Edit" + std::to_string(first), T("Zuläßig: 1-9, andere Zeichen löschen die Baumart"));
    hint("Edit" + std::to_string(first + 1), T("mittl. BHD der Baumart in cm"));
    hint("Edit" + std::to_string(first + 2), T("Variationskoeffizient des BHD in %"));
    hint("Edit" + std::to_string(first + 3), T("Stammzahl / ha der Baumart"));
    hint("Label" + std::to_string(14 + row), T("Grundfläche / ha der Baumart"));
  }
  hint("Edit30", T("Nur 0, 1 oder 2 zulässig"));
  hint("Edit31", maximum);
  hint("Edit32", T("Anteil der 2. Baumart im inneren Kreis"));
  hint("Edit33", T("Anteil der 2. Baumart im äußeren Kreis"));
  v.push_back({dlg, "Label23", false, T("Diese Vorgaben werden im generierten Bestand nur erreicht, wenn")});
  v.push_back({dlg, "Label31", false, T("keine Blöße, Hiebsentnahme und gruppenweise Mischung vorkommt.")});
  for (int code = 1; code <= 9; ++code)
    v.push_back({dlg, "LbBa" + std::to_string(code), false, std::to_string(code) + " " + SpeciesNameOf(code, table)});
  return v;
}

}  // namespace tolvek::generator
