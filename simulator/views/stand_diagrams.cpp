#include "simulator/views/stand_diagrams.h"

#include <cmath>

#include "common/format.h"
#include "simulator/sampling/true_values_basic.h"
#include "simulator/translate.h"
#include "simulator/views/stand_map.h"

namespace tolvek {

namespace {

constexpr Colour kWholeStandColour = 8421504;  // grey
// The diameter classes the distribution shows: 1 (4 to 12 cm) .. 10 (76 cm and above).
constexpr int kFirstShownClass = 1;

std::size_t At(int i) { return static_cast<std::size_t>(i); }

double PerHa(double value, double areaHa) { return areaHa > 0.0 ? value / areaHa : 0.0; }

// √(4/π · G / N) · 100: the quadratic mean diameter in cm; 0 where there is nothing to divide.
double QuadraticMean(double basalArea, double stems) {
  if (!(stems > 0.0) || !(basalArea > 0.0)) return 0.0;
  return std::sqrt(basalArea * kFourOverPi / stems) * 100.0;
}

bool CountsWithoutDiameters(const StandDiagramInput& in) {
  return in.estimate.method == kMethodAngleCount && in.countingMode == 0;
}

// The shared part of the species diagrams: a label and a count of sample trees for every species the
// stand has, the species colours.
StandDiagram SpeciesDiagram(const StandDiagramInput& in, char code, const LanguageTable& language) {
  StandDiagram d;
  d.data.code = code;
  d.data.colours = SpeciesDiagramColours(in.speciesList);
  for (int s = 0; s < kDiagramCategories; ++s) {
    if (in.sums.count[At(s)] <= 0) continue;
    d.data.labels[At(s)] = Translate(language, SpeciesNameTable::Name(s, in.speciesList));
    d.data.counts[At(s)] = in.estimate.sampleTrees[At(s)];
  }
  return d;
}

}  // namespace

std::array<Colour, kDiagramCategories> SpeciesDiagramColours(SpeciesListSelector list) {
  std::array<Colour, kDiagramCategories> colours{};
  colours[0] = kWholeStandColour;
  for (int s = 1; s < kDiagramCategories; ++s) colours[At(s)] = SpeciesColour(s, list);
  return colours;
}

StandDiagram DiagramBasalArea(const StandDiagramInput& in, const LanguageTable& language) {
  StandDiagram d = SpeciesDiagram(in, 'G', language);
  for (int s = 0; s < kDiagramCategories; ++s) {
    d.data.trueValues[At(s)] = PerHa(in.sums.basalArea[At(s)], in.areaHa);
    d.data.estimates[At(s)] = in.estimate.gPerHa[At(s)];
    d.data.standardErrors[At(s)] = in.estimate.basalArea.se[At(s)];
  }
  return d;
}

StandDiagram DiagramStemNumber(const StandDiagramInput& in, const LanguageTable& language) {
  StandDiagram d = SpeciesDiagram(in, 'Z', language);
  for (int s = 0; s < kDiagramCategories; ++s) {
    d.data.trueValues[At(s)] = PerHa(in.sums.count[At(s)], in.areaHa);
    d.data.estimates[At(s)] = in.estimate.nPerHa[At(s)];
    d.data.standardErrors[At(s)] = in.estimate.stemNumberError[At(s)];
  }
  return d;
}

StandDiagram DiagramDbh(const StandDiagramInput& in, const LanguageTable& language) {
  if (CountsWithoutDiameters(in)) {
    StandDiagram refused;
    refused.refusal = "Keine BHD-Auswertung möglich";
    refused.kindAfterRefusal = DiagramKind::BasalArea;
    return refused;
  }
  StandDiagram d = SpeciesDiagram(in, 'D', language);
  d.data.counts = {};
  d.data.unitText = " ";
  const SampleEstimate& e = in.estimate;
  for (int s = 0; s < kDiagramCategories; ++s) {
    const int trees = in.sums.count[At(s)];
    if (trees <= 0) continue;
    d.data.trueValues[At(s)] = QuadraticMean(in.sums.basalArea[At(s)], trees);
    if (e.nPerHa[At(s)] > 0.0) {
      d.data.estimates[At(s)] = QuadraticMean(e.gPerHa[At(s)], e.nPerHa[At(s)]);
      d.data.standardErrors[At(s)] = e.meanDiameter.se[At(s)];
      d.data.counts[At(s)] = e.sampleTrees[At(s)];
    }
  }
  return d;
}

StandDiagram DiagramDiameterClasses(const StandDiagramInput& in, int graphSpecies,
                                    const std::array<std::uint8_t, kDiagramCategories + 1>& barCategory) {
  StandDiagram d;
  if (CountsWithoutDiameters(in)) {
    d.refusal = "Keine Stärkeklassen-Auswertung möglich";
    d.kindAfterRefusal = DiagramKind::MeanDiameter;
    return d;
  }
  int species = 0;
  if (graphSpecies >= 1 && graphSpecies < kDiagramCategories) species = barCategory[At(graphSpecies + 1)];
  if (species < 0 || species >= kDiagramCategories) species = 0;

  // The whole stand is the sum of the species 1 .. 9, for the true counts and the estimates alike.
  std::array<double, kDiameterClasses> trueCount{}, estimated{};
  for (int c = 0; c < kDiameterClasses; ++c) {
    if (species == 0) {
      for (int s = 1; s <= kHighestSpeciesCode; ++s) {
        trueCount[At(c)] += in.sums.classCounts[At(s)][At(c)];
        estimated[At(c)] += in.estimate.stemsByClass[At(s)][At(c)];
      }
    } else {
      trueCount[At(c)] = in.sums.classCounts[At(species)][At(c)];
      estimated[At(c)] = in.estimate.stemsByClass[At(species)][At(c)];
    }
  }
  // The stems by class are sums over the plots: the plots of the pass make the mean.
  const int plots = in.estimate.plotCount;
  d.data.code = 'V';
  for (int i = 0; i < kDiagramCategories; ++i) {
    const int c = i + kFirstShownClass;
    d.data.trueValues[At(i)] = PerHa(trueCount[At(c)], in.areaHa);
    d.data.estimates[At(i)] = plots > 0 ? estimated[At(c)] / plots : 0.0;
    d.data.labels[At(i)] = FormatInt(8 * c, 3);
  }
  d.data.colours.fill(SpeciesColour(graphSpecies, in.speciesList));
  return d;
}

void RunDiagramLoop(ResultGraphState& graph, DiagramSteps& steps) {
  graph.kind = DiagramKind::BasalArea;
  constexpr DiagramKind kOrder[4] = {DiagramKind::BasalArea, DiagramKind::StemNumber, DiagramKind::MeanDiameter,
                                     DiagramKind::Distribution};
  while (graph.kind != DiagramKind::Exit) {
    for (DiagramKind kind : kOrder) {
      if (graph.kind != kind) continue;
      // A diagram that cannot be shown (during a run of repetitions) would leave the kind standing
      // for ever.
      if (steps.Draw(kind) == DiagramShown::NotShown) return;
    }
  }
}

}  // namespace tolvek
