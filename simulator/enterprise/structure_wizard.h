#pragma once
// The enterprise structure wizard: the user chooses up to five types, sets their target area shares,
// how much they mix between compartments, and the target shares of the classes. Types are dealt to
// whole compartments, classes to single stands, each by a randomised quota that steers the areas dealt
// so far towards the targets. The windows drive the StructureWizard step by step ("weiter" and
// "zurück"); it keeps every value between the steps.
#include <array>
#include <vector>

#include "common/rounding.h"
#include "simulator/enterprise/enterprise_model.h"

namespace tolvek {

// Per-cent shares of positions 1..5 (index 0 unused).
using Shares = std::array<double, 6>;
// The areas a quota deals: [0] the area to deal, [1..5] the whole hectares dealt to each position so far.
using QuotaAreas = std::array<double, 11>;

// The quota: each position's need (target minus share dealt so far, whole per cent, never negative) is
// spread over the per cent still open; a draw of 1..100 picks the position whose band it falls into, or
// lastValid when it falls beyond all bands (all targets met, or the rounded bands short of the draw).
// The area is added to the chosen position in whole hectares. With nothing to deal yet (areas[0] ≤ 0)
// the targets alone decide.
int PickClassByQuota(const Shares& targets, QuotaAreas& areas, double area, int lastValid, RandomDraws& random);

// The type choice: the ticked boxes 1..8 in order, at most five; boxes ticked beyond the fifth are
// returned to be cleared.
struct TypeChoice {
  ChosenTypes chosen;
  std::vector<int> cleared;
};
TypeChoice CollectChosenTypes(const std::array<bool, 9>& ticked);

// 100 / count for positions 1..count, 0 for the others.
Shares EvenShares(int count);
// The share of position e (1..count) set to value (at least 1); the next position (e mod count + 1)
// takes up the difference so that the shares, each a whole per cent, sum to 100. A value that would
// leave the next position below 1 is lowered until it does not.
void BalanceShares(Shares& shares, int count, int e, int value);

// Every compartment in order gets a type position by the quota on its area, and all its stands with it.
// The first drawing of the map ends.
void DealTypes(EnterpriseSession& s, const Shares& targets, int count, RandomDraws& random);
// Every stand takes its compartment's type; with a chance of percent in 100 it takes a type drawn by the
// targets instead.
void MixTypes(EnterpriseSession& s, const Shares& targets, int count, int percent, RandomDraws& random);
// The stands of each type position in turn, compartment by compartment, get classes by the quota on
// their areas, aiming at the type's target share of the enterprise.
void DealClasses(EnterpriseSession& s, const Shares& typeTargets, const Shares& classTargets, RandomDraws& random);

// The height in pixels of a share's bar in the share window.
inline int ShareBarHeight(double share) { return RoundInt((share + 1.0) * 1.5); }

// The wizard's windows: the type choice, the share window (for types or classes) and the mixing window.
enum class WizardStep { kTypes, kTypeShares, kMixing, kClassShares, kDone, kLeft };

// What the wizard keeps between its windows (and the mixing per cent between runs). Its steps work on
// the enterprise given.
class StructureWizard {
 public:
  // A new run: the class targets back at 20 each, the type window first.
  void Start();
  WizardStep Step() const { return step_; }

  // "weiter" of the type window: the ticked types become the enterprise's chosen types. Without any
  // the window stays.
  TypeChoice ChooseTypes(EnterpriseSession& s, const std::array<bool, 9>& ticked);

  // The share window's table and how many positions it shows (the chosen types, or the five classes).
  const Shares& ShareTable() const { return shares_; }
  int ShareCount(const EnterpriseSession& s) const;
  // A spin edit changed.
  void ChangeShare(const EnterpriseSession& s, int e, int value);
  // "weiter" of the share window: the types dealt (then the mixing), or the classes dealt (done).
  void SharesNext(EnterpriseSession& s, RandomDraws& random);

  // Whether there is an area to mix types on ("Bitte erst Bestandestypen auswählen" when not).
  static bool CanMix(const EnterpriseSession& s) { return s.totalArea > 0.0; }
  // "weiter" of the mixing window with the slider's per cent; without an area the mixing is left out.
  void MixNext(EnterpriseSession& s, int percent, RandomDraws& random);

  // "zurück" of the window in hand: one window back (from the type window out of the wizard).
  void Back(EnterpriseSession& s);

  const Shares& TypeTargets() const { return typeTargets_; }
  const Shares& ClassTargets() const { return classTargets_; }
  // The mixing slider opens where it was left.
  int MixPercent() const { return mixPercent_; }

 private:
  WizardStep step_ = WizardStep::kTypes;
  Shares shares_{};
  Shares typeTargets_{};
  Shares classTargets_{};
  int mixPercent_ = 15;
};

}  // namespace tolvek
