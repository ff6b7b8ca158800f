#include "simulator/enterprise/structure_wizard.h"

#include "common/rounding.h"

namespace tolvek {

int PickClassByQuota(const Shares& targets, QuotaAreas& areas, double area, int lastValid, RandomDraws& random) {
  std::array<double, 6> dealt{};
  double sum = 0.0;
  for (int i = 1; i <= 5; ++i) {
    dealt[static_cast<std::size_t>(i)] = areas[0] > 0.0 ? 100.0 * areas[static_cast<std::size_t>(i)] / areas[0] : 0.0;
    sum += dealt[static_cast<std::size_t>(i)];
  }
  std::array<int, 6> band{};
  for (int i = 1; i <= 5; ++i) {
    int need = RoundInt(targets[static_cast<std::size_t>(i)] - dealt[static_cast<std::size_t>(i)]);
    if (need < 0) need = 0;
    band[static_cast<std::size_t>(i)] =
        band[static_cast<std::size_t>(i - 1)] + (sum >= 100.0 ? 0 : RoundInt(need * 100.0 / (100.0 - sum)));
  }
  const double r = random.Next(100) + 0.0001;
  int k = lastValid;
  for (int i = 1; i <= 5; ++i)
    if (r <= band[static_cast<std::size_t>(i)]) {
      k = i;
      break;
    }
  areas[static_cast<std::size_t>(k)] += RoundInt(area);
  return k;
}

TypeChoice CollectChosenTypes(const std::array<bool, 9>& ticked) {
  TypeChoice c;
  for (int n = 1; n <= 8; ++n) {
    if (!ticked[static_cast<std::size_t>(n)]) continue;
    if (c.chosen.count < 5)
      c.chosen.codes[static_cast<std::size_t>(++c.chosen.count)] = n;
    else
      c.cleared.push_back(n);
  }
  return c;
}

Shares EvenShares(int count) {
  Shares s{};
  for (int p = 1; p <= count && p <= 5; ++p) s[static_cast<std::size_t>(p)] = 100.0 / count;
  return s;
}

void BalanceShares(Shares& shares, int count, int e, int value) {
  if (count < 1 || count > 5 || e < 1 || e > count) return;
  const int next = e % count + 1;
  // Once edited, every share is a whole per cent.
  for (int p = 1; p <= 5; ++p) shares[static_cast<std::size_t>(p)] = RoundInt(shares[static_cast<std::size_t>(p)]);
  for (int v = value < 1 ? 1 : value;; --v) {
    shares[static_cast<std::size_t>(e)] = v;
    double total = 0.0;
    for (int p = 1; p <= 5; ++p) total += shares[static_cast<std::size_t>(p)];
    shares[static_cast<std::size_t>(next)] += 100.0 - total;
    // The next share below 1: the value is lowered by one and tried again (at 1 the others leave room).
    if (shares[static_cast<std::size_t>(next)] >= 1.0 || v <= 1) return;
  }
}

void DealTypes(EnterpriseSession& s, const Shares& targets, int count, RandomDraws& random) {
  s.firstDrawing = false;
  QuotaAreas areas{};
  areas[0] = s.totalArea;
  for (int a = 1; a <= s.compartmentCount; ++a) {
    Compartment& c = s.At(a);
    c.typePosition = PickClassByQuota(targets, areas, c.area, count, random);
    for (EnterpriseStand& st : c.stands) st.typePosition = c.typePosition;
  }
}

void MixTypes(EnterpriseSession& s, const Shares& targets, int count, int percent, RandomDraws& random) {
  Shares cumulative{};
  for (int j = 1; j <= count && j <= 5; ++j)
    cumulative[static_cast<std::size_t>(j)] = cumulative[static_cast<std::size_t>(j - 1)] + targets[static_cast<std::size_t>(j)];
  for (int a = 1; a <= s.compartmentCount; ++a)
    for (EnterpriseStand& st : s.At(a).stands) {
      st.typePosition = s.At(a).typePosition;
      if (random.Next(100) >= percent) continue;
      const int b = random.Next(100);
      for (int j = 1; j <= count && j <= 5; ++j)
        if (cumulative[static_cast<std::size_t>(j - 1)] < b && b <= cumulative[static_cast<std::size_t>(j)]) {
          st.typePosition = j;
          break;
        }
    }
}

void DealClasses(EnterpriseSession& s, const Shares& typeTargets, const Shares& classTargets, RandomDraws& random) {
  for (int p = 1; p <= 5; ++p) {
    QuotaAreas areas{};
    areas[0] = s.totalArea * 0.01 * typeTargets[static_cast<std::size_t>(p)];
    for (int a = 1; a <= s.compartmentCount; ++a)
      for (EnterpriseStand& st : s.At(a).stands)
        if (st.typePosition == p) st.cls = PickClassByQuota(classTargets, areas, st.area, 5, random);
  }
}

void StructureWizard::Start() {
  classTargets_ = EvenShares(5);
  step_ = WizardStep::kTypes;
}

TypeChoice StructureWizard::ChooseTypes(EnterpriseSession& s, const std::array<bool, 9>& ticked) {
  TypeChoice c = CollectChosenTypes(ticked);
  if (c.chosen.Empty()) return c;
  s.chosen = c.chosen;
  shares_ = EvenShares(s.chosen.count);
  step_ = WizardStep::kTypeShares;
  return c;
}

int StructureWizard::ShareCount(const EnterpriseSession& s) const {
  return step_ == WizardStep::kClassShares ? 5 : s.chosen.count;
}

void StructureWizard::ChangeShare(const EnterpriseSession& s, int e, int value) {
  BalanceShares(shares_, ShareCount(s), e, value);
}

void StructureWizard::SharesNext(EnterpriseSession& s, RandomDraws& random) {
  if (step_ == WizardStep::kTypeShares) {
    typeTargets_ = shares_;
    DealTypes(s, typeTargets_, s.chosen.count, random);
    step_ = WizardStep::kMixing;
  } else if (step_ == WizardStep::kClassShares) {
    classTargets_ = shares_;
    DealClasses(s, typeTargets_, classTargets_, random);
    step_ = WizardStep::kDone;
  }
}

void StructureWizard::MixNext(EnterpriseSession& s, int percent, RandomDraws& random) {
  if (step_ != WizardStep::kMixing) return;
  if (CanMix(s)) {
    mixPercent_ = percent;
    MixTypes(s, typeTargets_, s.chosen.count, percent, random);
  }
  shares_ = classTargets_;
  step_ = WizardStep::kClassShares;
}

void StructureWizard::Back(EnterpriseSession& s) {
  switch (step_) {
    case WizardStep::kTypes:
      step_ = WizardStep::kLeft;
      break;
    case WizardStep::kTypeShares:
      step_ = WizardStep::kTypes;
      break;
    case WizardStep::kMixing:
      // The types are dealt again: the map shows them undecided meanwhile.
      s.firstDrawing = true;
      shares_ = EvenShares(s.chosen.count);
      step_ = WizardStep::kTypeShares;
      break;
    case WizardStep::kClassShares:
      classTargets_ = shares_;
      step_ = WizardStep::kMixing;
      break;
    default:
      break;
  }
}

}  // namespace tolvek
