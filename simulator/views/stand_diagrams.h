#pragma once
// The stand's result diagrams after an evaluation: basal area, stem number and mean diameter per
// species, and the diameter distribution of one species, true values against the estimates. Here the
// values per category are gathered for the result diagram, and the diagram loop of "Diagramm" follows
// the commands the result window's buttons leave behind.
#include <array>
#include <cstdint>
#include <string>

#include "common/language.h"
#include "simulator/sampling/evaluation.h"
#include "simulator/stand/tree_list.h"
#include "simulator/views/result_diagram.h"

namespace tolvek {

// Which diagram the loop draws next.
enum class DiagramKind { BasalArea, StemNumber, MeanDiameter, Distribution, Exit };

// Program-wide state of the result window: the kind to draw next, the command the window's buttons leave
// for the enterprise views ('E' close, 'D' mean diameter, 'F' area, 'G' basal area, 'Z' stem number,
// 'T' table, 'V' species chosen), the category button pressed last, the all-simulations view and the
// enterprise views' exit flag. Kept after the loop ends.
struct ResultGraphState {
  DiagramKind kind = DiagramKind::BasalArea;
  char command = 'E';
  int graphSpecies = 0;
  bool allSimulations = false;
  bool enterpriseExit = false;
  // Of the last drawn diagram: bar position 1 .. 10 -> category.
  std::array<std::uint8_t, kDiagramCategories + 1> barCategory{0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  // The header of the enterprise views (set by the enterprise level).
  EnterpriseDiagramHeader enterprise;
};

// What the stand diagrams are made from.
struct StandDiagramInput {
  const SpeciesSums& sums;          // the loaded stand's true sums by species and diameter class
  double areaHa = 0.0;
  SpeciesListSelector speciesList = kConiferList;
  const SampleEstimate& estimate;   // the last evaluation
  int countingMode = 1;             // of the angle count: 0 counts trees without measuring them
};

// A diagram to draw, or the reason there is none and the kind the loop goes on with.
struct StandDiagram {
  ResultDiagramData data;
  std::string refusal;  // German message; empty when there is a diagram
  DiagramKind kindAfterRefusal = DiagramKind::BasalArea;
};

// Grey for the whole stand, the species colours for species 1 .. 9.
std::array<Colour, kDiagramCategories> SpeciesDiagramColours(SpeciesListSelector list);

StandDiagram DiagramBasalArea(const StandDiagramInput& in, const LanguageTable& language);
StandDiagram DiagramStemNumber(const StandDiagramInput& in, const LanguageTable& language);
// Refused where angle-count sampling counted trees without measuring their diameters.
StandDiagram DiagramDbh(const StandDiagramInput& in, const LanguageTable& language);
// The distribution of the species on bar position graphSpecies + 1 of the last diagram (the whole stand
// for 0) over the diameter classes 1 .. 10, in stems per ha; estimated from the plots of the pass.
StandDiagram DiagramDiameterClasses(const StandDiagramInput& in, int graphSpecies,
                                    const std::array<std::uint8_t, kDiagramCategories + 1>& barCategory);

// How drawing one diagram went.
enum class DiagramShown { Shown, Refused, NotShown };

// The diagram loop of "Diagramm": starts with basal area; in each pass the four kinds are tested in
// their order (basal area, stem number, mean diameter, distribution) and the one standing is drawn, so
// a kind a refusal leaves behind is drawn in the same pass when its test comes later, else in the next.
// Ends when a window's button leaves Exit, or when a diagram could not be shown at all.
class DiagramSteps {
 public:
  virtual ~DiagramSteps() = default;
  virtual DiagramShown Draw(DiagramKind kind) = 0;
};
void RunDiagramLoop(ResultGraphState& graph, DiagramSteps& steps);

}  // namespace tolvek
