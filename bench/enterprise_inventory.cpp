// The enterprise inventory without windows: the largest model enterprise (3, 80 compartments, 2851 ha)
// cut into stands with a fixed seed, a structure dealt by rule (five types by compartment, the classes
// by stand), model stands drawn for every stand, and then the run of repetitions on its 200 × 100 m grid
// (about 1400 plots a pass) with the graphics off: pass, evaluation by strata and run statistics.
// Model stands are read once and kept with their tree index; every case first runs side by side with
// the route that reads every model stand afresh at each change of model stand, and the two must agree
// bit for bit in every plot list, estimate and statistic. Then the kept route is timed alone.
//
//   bench_enterprise_inventory           2000 repetitions per method; target: under 5 s each
//   bench_enterprise_inventory --smoke   a few repetitions; checks identical results only (CI)
// Options: --data DIR, --reps N, --check-reps N, --method NAME (fixed, angle, concentric, ntree).
// Exit status 1 when the two routes differ, 2 when a case cannot be set up.
#include <sys/resource.h>
#include <time.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/paths.h"
#include "common/platform.h"
#include "simulator/enterprise/enterprise_choice.h"
#include "simulator/enterprise/enterprise_inventory.h"
#include "simulator/enterprise/model_stand_assignment.h"
#include "simulator/enterprise/model_stand_loading.h"
#include "simulator/sampling/repetitions.h"
#include "simulator/state.h"

#include "bench/headless.h"
#include "bench/timing.h"

#ifndef TOLVEK_BENCH_DATA_DIR
#define TOLVEK_BENCH_DATA_DIR "data"
#endif

namespace tolvek {
namespace {

using bench::HeadlessPlatform;
using bench::PeakMemoryMb;

using bench::ThreadCpuSeconds;

struct MethodCase {
  const char* name;
  MethodCode code;
};
constexpr MethodCase kMethods[] = {{"fixed", kMethodFixedCircle},
                                   {"angle", kMethodAngleCount},
                                   {"concentric", kMethodConcentric},
                                   {"ntree", kMethodNTree}};

void SetMethod(MethodSettings& m, const LanguageTable& lang, MethodCode code) {
  switch (code) {
    case kMethodFixedCircle:
      BeginFixedCircle(m, lang);
      static_cast<void>(ConfirmFixedCircle(m, lang, 500.0));
      break;
    case kMethodAngleCount:
      BeginAngleCount(m, lang);
      static_cast<void>(ConfirmAngleCount(m, lang, 2, 1));
      break;
    case kMethodConcentric:
      BeginConcentric(m, lang);
      static_cast<void>(ConfirmConcentric(m, lang, PresetTexts(*FindConcentricPreset("AV"))));
      break;
    default:
      BeginNTree(m, lang);
      ConfirmNTree(m, lang, 6, 1, 0.0, 0.0);
      break;
  }
}

// A program in enterprise 3 with its structure, ready for the first pass.
struct Program {
  Program(const std::string& data, MethodCode method, bool fresh) : state(platform.services) {
    state.folders = ProgramFoldersFromFolder(data);
    state.random.SetSeed(20251209);
    ReloadModelStands(state);
    EnterpriseSession& e = state.enterprise;
    ChoiceDoubleClick(e, 3);
    MapReadProblem problem;
    if (!StartEnterprise(e, state.folders.presets, 1.0, 1024, problem)) {
      std::fprintf(stderr, "the map of enterprise 3 cannot be read from %s\n", data.c_str());
      std::exit(2);
    }
    GeneratorDraws draws(state.random);
    SubdivideEnterprise(e, draws);
    e.chosen.count = 5;
    e.chosen.codes = {0, 1, 2, 3, 4, 5};
    for (int a = 1; a <= e.compartmentCount; ++a) {
      int j = 0;
      for (EnterpriseStand& st : e.At(a).stands) {
        st.typePosition = 1 + a % 5;
        st.cls = 1 + (a + j++) % 5;
      }
    }
    AssignModelStands(e, state.modelStands, 0, draws);
    state.run.enterpriseMode = true;
    state.run.graphics = false;
    SetMethod(state.sampling.method, state.language, method);
    PresetGridCommand(state.sampling.grid, true);
    state.inventory.freshReads = fresh;
    int entry = 0;
    if (const Outcome prepared = fresh ? Outcome() : PrepareModelStands(state, entry); !prepared.ok()) {
      std::fprintf(stderr, "%s\n", ModelStandLoadMessage(state, entry, prepared.problem()).c_str());
      std::exit(2);
    }
  }
  HeadlessPlatform platform{true};
  SimulatorState state;
  EnterpriseRoute route{state};
  PassObserver observer;
};

// Everything a repetition leaves: the plot list, the estimates of every stratum, the run statistics.
std::uint64_t Fingerprint(const SimulatorState& s) {
  std::uint64_t h = 1469598103934665603ull;
  auto mix = [&h](const void* p, std::size_t n) {
    const auto* b = static_cast<const unsigned char*>(p);
    for (std::size_t i = 0; i < n; ++i) {
      h ^= b[i];
      h *= 1099511628211ull;
    }
  };
  for (const PlotRecord& p : s.sampling.plots.plots) {
    for (const double v : {p.plotArea, p.secondArea, p.insideShare}) mix(&v, sizeof v);
    for (const int v : {int(p.standType), int(p.ageClass), p.firstTree, p.treeCount, p.gridIndex}) mix(&v, sizeof v);
  }
  for (const SampleTreeRecord& t : s.sampling.plots.trees) mix(&t, sizeof t);
  for (const auto& byClass : s.inventory.estimates.cells)
    for (const auto& bySpecies : byClass)
      for (const StratumSample& c : bySpecies) mix(&c, sizeof c);
  const RunStatistics& r = s.evaluation.run;
  for (double v : {r.g.bias, r.g.sd, r.n.bias, r.n.sd, r.d.bias, r.d.sd}) mix(&v, sizeof v);
  mix(r.histogram.data(), sizeof r.histogram);
  return h;
}

struct Run {
  std::unique_ptr<Program> program;
  std::unique_ptr<EnterpriseRunSteps> steps;
  int repetitions = 0;
};

Run Start(const std::string& data, MethodCode method, bool fresh) {
  Run r;
  r.program = std::make_unique<Program>(data, method, fresh);
  Program& p = *r.program;
  if (RunEnterprisePass(p.state, p.route, p.observer, false) != PassOutcome::Done) {
    std::fprintf(stderr, "the first pass found no plot\n");
    std::exit(2);
  }
  StartRunStatistics(p.state.evaluation.run);
  p.state.inventory.histograms.Clear();
  p.state.run.showReport = false;
  r.steps = std::make_unique<EnterpriseRunSteps>(p.state, p.route, p.observer);
  return r;
}

// Repetitions as the run's loop makes them, one at a time, so that two runs can be compared after each.
bool Repeat(Run& r) {
  SimulatorState& s = r.program->state;
  RepetitionEstimate e;
  if (!r.steps->Evaluate(r.repetitions + 1, e)) return false;
  AddRepetition(s.evaluation.run, r.steps->TrueValues(), e);
  ++r.repetitions;
  r.steps->ShiftGridAndPass();
  return !s.run.repetitionStop;
}

}  // namespace
}  // namespace tolvek

int main(int argc, char** argv) {
  using namespace tolvek;
  std::string data = std::getenv("TOLVEK_DATA_DIR") ? std::getenv("TOLVEK_DATA_DIR") : TOLVEK_BENCH_DATA_DIR;
  int reps = 2000, checkReps = 40;
  std::string only;
  bool smoke = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--smoke") {
      smoke = true;
      reps = 5;
      checkReps = 5;
    } else if (a == "--data" && i + 1 < argc) {
      data = argv[++i];
    } else if (a == "--reps" && i + 1 < argc) {
      reps = std::atoi(argv[++i]);
    } else if (a == "--check-reps" && i + 1 < argc) {
      checkReps = std::atoi(argv[++i]);
    } else if (a == "--method" && i + 1 < argc) {
      only = argv[++i];
    }
  }
  if (!data.empty() && data.back() != '/') data += '/';
  bool same = true;
  std::printf("%-11s %6s %8s %10s %10s %10s %9s %9s  %s\n", "method", "plots", "reps", "ms/rep", "total (s)",
              "target", "peak MB", "grow MB", "kept vs afresh");
  for (const auto& m : kMethods) {
    if (!only.empty() && only != m.name) continue;
    // Side by side: kept model stands against model stands read afresh.
    bool agree = true;
    int readsKept = 0, readsFresh = 0;
    if (checkReps > 0) {
      Run kept = Start(data, m.code, false), fresh = Start(data, m.code, true);
      agree = Fingerprint(kept.program->state) == Fingerprint(fresh.program->state);
      for (int r = 0; r < checkReps && agree; ++r) {
        Repeat(kept);
        Repeat(fresh);
        agree = Fingerprint(kept.program->state) == Fingerprint(fresh.program->state);
      }
      readsKept = kept.program->state.inventory.store.reads;
      readsFresh = fresh.program->route.freshReads;
      same = same && agree;
    }

    // Timed: the kept route alone, from its first pass.
    Run timed = Start(data, m.code, false);
    const int plots = timed.program->state.sampling.pass.plotCount;
    double memoryAfterTenth = 0.0;
    const double t0 = ThreadCpuSeconds();
    for (int r = 0; r < reps; ++r) {
      if (!Repeat(timed)) {
        const Outcome& stopped = timed.steps->stopped;
        std::fprintf(stderr, "run stopped: %s\n", stopped.ok() ? "" : stopped.problem().message.c_str());
        return 2;
      }
      if (r + 1 == std::max(1, reps / 10)) memoryAfterTenth = PeakMemoryMb();
    }
    const double seconds = ThreadCpuSeconds() - t0;
    const double peak = PeakMemoryMb();
    std::printf("%-11s %6d %8d %10.3f %10.2f %10s %9.1f %9.1f  %s (%d reads against %d)\n", m.name, plots, reps,
                seconds * 1e3 / reps, seconds, smoke ? "-" : (seconds * 2000.0 / reps < 5.0 ? "met" : "MISSED"), peak,
                peak - memoryAfterTenth, checkReps == 0 ? "not compared" : agree ? "identical" : "DIFFER", readsKept,
                readsFresh);
  }
  return same ? 0 : 1;
}
