// The run of repetitions in the real main window on the offscreen platform: the largest shipped stand,
// a method, the stand's grid (and a denser one laid with the grid group's buttons), then "Auswertung"
// in repeat mode once with the graphics off and once on. It prints the run's time each way, the time
// the histogram redraws took, and how long "Neues Verfahren / Druck" takes to stop a run when it is
// clicked at a random moment.
//
//   bench_window_run            N repetitions per run (--reps, default 200), median of 3 runs
//   bench_window_run --smoke    a few repetitions, no timing: the road works and the graphics leave
//                               the results alone (exit status 1 when they do not)
// Options: --reps N, --runs N, --trials N (stop clicks per case), --stand NN, --data DIR (a program
//          folder; it is copied, the run writes its tables), --shots DIR (pictures of the window and
//          the histogram after each run with the graphics on), --case N (one line of the table),
//          --graphics on|off (only that half of each pair, to profile it).
// Exit status 1 when a run with the graphics on ends with other statistics than with them off.
#include <time.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/timing.h"
#include "common/paths.h"
#include "common/qt/qt_services.h"
#include "simulator/forms/form1.h"
#include "simulator/forms/program.h"
#include "simulator/sampling/method.h"
#include "simulator/stand/stand_loader.h"

#ifndef TOLVEK_BENCH_PROGRAM_DIR
#define TOLVEK_BENCH_PROGRAM_DIR "data"
#endif

namespace tolvek {
namespace {

// Every question of the run answered without a window: plot-centred weighting, no print.
class QuietMessages : public MessageService {
 public:
  int ShowMessageBox(const std::string& text, MessageKind, MessageButtons) override { return Note(text, kResultOk); }
  int AskYesNoAt(const std::string& text, MessageKind, int, int) override { return Note(text, kResultNo); }
  int PlatformBox(const std::string& text, const std::string&, PlatformButtons, PlatformIcon) override {
    return Note(text, kResultOk);
  }
  std::vector<std::string> seen;

 private:
  int Note(const std::string& text, int answer) {
    seen.push_back(text);
    return answer;
  }
};

struct BenchServices {
  QtClock clock;
  QtEventPump pump;
  QuietMessages messages;
  QtExit exit;
  QtBeeper beeper;
  QtDocuments documents;
  QtLauncher launcher;
  Services services{&clock, &pump, &messages, &exit, &beeper, &documents, &launcher};
};

struct Case {
  const char* name;
  MethodCode method;
  int spacing;  // m; 50 is the stand's own grid
};

constexpr Case kCases[] = {
    {"fixed circle 500 m2, 50 m", kMethodFixedCircle, 50},
    {"fixed circle 500 m2, 21 m", kMethodFixedCircle, 21},
    {"angle count k=1,     50 m", kMethodAngleCount, 50},
    {"angle count k=1,     21 m", kMethodAngleCount, 21},
};

struct Options {
  bool smoke = false;
  int reps = 200;
  int runs = 3;
  int trials = 5;
  int onlyCase = -1;
  std::string stand = "02";
  std::string data = TOLVEK_BENCH_PROGRAM_DIR;
  std::string shots;
  int graphicsOnly = -1;  // --graphics on|off: only that half of each pair (to profile it)
};

double Seconds(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) * 1e-9; }

using tolvek::bench::Median;
double CpuSeconds() { return tolvek::bench::ThreadCpuSeconds(); }

// What one run left behind and what it cost.
struct RunResult {
  bool ok = false;
  int count = 0;
  double seconds = 0.0;                  // the whole "Auswertung" click
  double histogramSeconds = 0.0;         // inside the window's histogram redraws
  double cpu = 0.0, histogramCpu = 0.0;  // the same in processor time
  double biasG = 0.0, sdG = 0.0, biasN = 0.0, sdN = 0.0;
  double stopSeconds = -1.0;  // from the moment the stop was due to the click's return
};

// One program with the stand drawn, the method chosen, the grid laid by the grid group's buttons and
// its first pass by "weiter": the state in which a user clicks "Simulation wiederholen".
class Session {
 public:
  Session(BenchServices& bs, const std::string& folder, const Options& o, const Case& c) : state_(bs.services) {
    state_.folders = ProgramFoldersFromFolder(folder);
    program_ = std::make_unique<SimulatorProgram>(state_, false);
    // What is timed is the drawing, not the pace that lets a person watch a run.
    state_.run.repetitionShownMs = 0;
    TForm1& w = W();
    w.resize(1366, 742);
    w.show();
    QApplication::processEvents();
    ready_ = TryLoadStand(state_, folder + "Bestande/Bestnd" + o.stand + ".txt").ok();
    if (!ready_) return;
    w.HideTitleScreen();
    w.DrawStand();
    w.PnDaten->show();
    MethodSettings& m = state_.sampling.method;
    if (c.method == kMethodFixedCircle) {
      BeginFixedCircle(m, state_.language);
      ready_ = ConfirmFixedCircle(m, state_.language, 500.0).ok();
    } else {
      BeginAngleCount(m, state_.language);
      ready_ = ConfirmAngleCount(m, state_.language, 1, 1).ok();
    }
    w.ShowMethodLabels();
    state_.run.graphics = true;  // as a method choice leaves it
    w.sBtGitter->setEnabled(true);
    w.sBtGitter->click();
    // "−5" and "−1" of the grid group down to the spacing asked for; the buttons go down only from
    // above 25 m, so 21 m is the closest they reach (by 26 − 5).
    while (ready_ && state_.sampling.grid.dx > c.spacing) {
      const int before = state_.sampling.grid.dx;
      const bool five = before - 5 >= c.spacing && (before - 5 > 25 || before - 5 == c.spacing);
      w.GridButton[five ? 11 : 12]->click();
      if (state_.sampling.grid.dx == before) ready_ = false;
    }
    w.GitterFertig->click();
    ready_ = ready_ && state_.sampling.grid.exists && !state_.sampling.plots.Empty();
    QApplication::processEvents();
  }

  bool ready() const { return ready_; }
  TForm1& W() { return *program_->forms.form1; }
  const SimulatorState& state() const { return state_; }

  // "Auswertung" in repeat mode over `reps` repetitions; with stopAfterMs >= 0 "Neues Verfahren /
  // Druck" is clicked that long after the start.
  RunResult Run(bool graphics, int reps, double stopAfterMs) {
    TForm1& w = W();
    RunResult r;
    if (state_.run.graphics != graphics) w.F1BnStatus->click();
    state_.random.SetSeed(815);
    int left = reps;
    // The histogram's share is timed around its drawing; past the wanted count the run is ended the way
    // a user ends it.
    struct Watch : TForm1::RunWatcher {
      RunResult& r;
      TForm1& w;
      int& left;
      double stopAfterMs;
      QElapsedTimer t;
      double c0 = 0.0;
      Watch(RunResult& result, TForm1& window, int& remaining, double stopAfter)
          : r(result), w(window), left(remaining), stopAfterMs(stopAfter) {}
      void ShowingStatistics() override {
        t.start();
        c0 = CpuSeconds();
      }
      void StatisticsShown() override {
        r.histogramCpu += CpuSeconds() - c0;
        r.histogramSeconds += Seconds(t);
        if (--left == 0 && stopAfterMs < 0) w.sBtNeuesVerfahren->click();
      }
    } watch(r, w, left, stopAfterMs);
    w.runWatcher = &watch;
    QElapsedTimer clock;
    qint64 stopDueNs = -1;
    if (stopAfterMs >= 0) {
      QTimer::singleShot(static_cast<int>(stopAfterMs), &w, [&] { w.sBtNeuesVerfahren->click(); });
      stopDueNs = static_cast<qint64>(stopAfterMs * 1e6);
    }
    state_.run.repeatMode = true;
    w.sBtAuswertung->setEnabled(true);
    clock.start();
    const double cpu0 = CpuSeconds();
    w.sBtAuswertung->click();
    const qint64 endNs = clock.nsecsElapsed();
    r.cpu = CpuSeconds() - cpu0;
    w.runWatcher = nullptr;
    r.seconds = static_cast<double>(endNs) * 1e-9;
    if (stopDueNs >= 0) r.stopSeconds = static_cast<double>(endNs - stopDueNs) * 1e-9;
    const RunStatistics& s = state_.evaluation.run;
    r.count = s.count;
    r.biasG = s.g.bias;
    r.sdG = s.g.sd;
    r.biasN = s.n.bias;
    r.sdN = s.n.sd;
    r.ok = s.count > 0;
    QApplication::processEvents();
    return r;
  }

 private:
  SimulatorState state_;
  std::unique_ptr<SimulatorProgram> program_;
  bool ready_ = false;
};

bool SameStatistics(const RunResult& a, const RunResult& b) {
  return a.count == b.count && a.biasG == b.biasG && a.sdG == b.sdG && a.biasN == b.biasN && a.sdN == b.sdN;
}

void SaveShots(Session& s, const std::string& dir, int caseIndex) {
  if (dir.empty()) return;
  // The buttons a run gives back come within 50 ms of its end.
  QElapsedTimer settle;
  settle.start();
  while (settle.elapsed() < 120) QApplication::processEvents(QEventLoop::AllEvents, 20);
  const QString base = QString::fromStdString(dir) + QString("/case%1_").arg(caseIndex);
  s.W().grab().save(base + "window.png");
  s.W().ImgRepeat->pixmap().save(base + "histogram.png");
  s.W().ImgBest->pixmap().save(base + "map.png");
}

int Main(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
    if (a == "--smoke")
      o.smoke = true;
    else if (a == "--reps")
      o.reps = std::max(1, std::atoi(next().c_str()));
    else if (a == "--runs")
      o.runs = std::max(1, std::atoi(next().c_str()));
    else if (a == "--trials")
      o.trials = std::max(0, std::atoi(next().c_str()));
    else if (a == "--case")
      o.onlyCase = std::atoi(next().c_str());
    else if (a == "--stand")
      o.stand = next();
    else if (a == "--data")
      o.data = next();
    else if (a == "--shots")
      o.shots = next();
    else if (a == "--graphics")
      o.graphicsOnly = next() == "on" ? 1 : 0;
    else {
      std::fprintf(stderr, "unknown option %s\n", a.c_str());
      return 2;
    }
  }
  if (const char* d = std::getenv("TOLVEK_DATA_DIR")) o.data = d;
  if (o.smoke) {
    o.reps = 5;
    o.runs = 1;
    o.trials = 1;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");

  // The run writes its sample-tree table into the program folder: it gets a copy of its own.
  QTemporaryDir tmp;
  std::error_code ec;
  std::filesystem::copy(o.data, tmp.path().toStdString(), std::filesystem::copy_options::recursive, ec);
  if (ec || !tmp.isValid()) {
    std::fprintf(stderr, "cannot copy the program folder %s: %s\n", o.data.c_str(), ec.message().c_str());
    return 2;
  }
  const std::string folder = tmp.path().toStdString() + "/";
  if (!o.shots.empty()) QDir().mkpath(QString::fromStdString(o.shots));

  BenchServices bs;
  std::printf("window run, stand %s, %d repetitions a run, median of %d%s (QPA %s)\n", o.stand.c_str(), o.reps, o.runs,
              o.smoke ? ", --smoke" : "", qgetenv("QT_QPA_PLATFORM").constData());
  std::printf("%-26s %6s %8s %8s %8s %8s %7s %7s %9s %9s\n", "case", "points", "off (s)", "on (s)", "hist (s)",
              "other(s)", "on/off", "target", "stop med", "stop max");
  bool identical = true;
  std::mt19937 random(4711);
  for (int ci = 0; ci < static_cast<int>(std::size(kCases)); ++ci) {
    if (o.onlyCase >= 0 && o.onlyCase != ci) continue;
    const Case& c = kCases[ci];
    // Every run starts from the same program state, so the runs with and without the graphics lay the
    // same grids and must end with the same statistics.
    int points = 0;
    auto run = [&](bool graphics, int reps, double stopAfterMs, bool shots) {
      Session s(bs, folder, o, c);
      if (!s.ready()) {
        for (const std::string& m : bs.messages.seen) std::fprintf(stderr, "set-up message: %s\n", m.c_str());
        std::fprintf(stderr, "set-up stopped at spacing %d m\n", s.state().sampling.grid.dx);
        return RunResult{};
      }
      points = s.state().sampling.grid.insideCount;
      RunResult r = s.Run(graphics, reps, stopAfterMs);
      if (shots) SaveShots(s, o.shots, ci);
      return r;
    };
    std::vector<double> off, on, hist, offCpu, onCpu, histCpu;
    bool same = true;
    for (int k = 0; k < o.runs; ++k) {
      const RunResult a = o.graphicsOnly == 1 ? RunResult{} : run(false, o.reps, -1, false);
      const RunResult b = o.graphicsOnly == 0 ? RunResult{} : run(true, o.reps, -1, k == 0);
      if (o.graphicsOnly < 0 && (!a.ok || !SameStatistics(a, b) || b.count != o.reps)) same = false;
      off.push_back(a.seconds);
      on.push_back(b.seconds);
      hist.push_back(b.histogramSeconds);
      offCpu.push_back(a.cpu);
      onCpu.push_back(b.cpu);
      histCpu.push_back(b.histogramCpu);
    }
    if (!same) identical = false;
    // The stop: clicked somewhere in the first two thirds of a run that would otherwise go on.
    std::vector<double> stops;
    const double span = std::max(50.0, Median(on) * 1000.0 * 0.66);
    for (int t = 0; t < o.trials; ++t) {
      const double at = std::uniform_real_distribution<double>(20.0, span)(random);
      const RunResult r = run(true, 2000, at, false);
      if (r.stopSeconds >= 0) stops.push_back(r.stopSeconds);
    }
    const double mOff = Median(off), mOn = Median(on), mHist = Median(hist);
    const double ratio = mOff > 0 ? mOn / mOff : 0.0;
    // Graphics on may cost the histogram plus as much again as the run without them.
    const double target = mOff > 0 ? (mOn - mHist) / mOff : 0.0;
    const double cOff = Median(offCpu), cOn = Median(onCpu), cHist = Median(histCpu);
    std::printf("%-26s %6d %8.3f %8.3f %8.3f %8.3f %7.2f %7.2f %9.3f %9.3f%s\n", c.name, points, mOff, mOn, mHist,
                mOn - mHist, ratio, target, Median(stops),
                stops.empty() ? 0.0 : *std::max_element(stops.begin(), stops.end()), same ? "" : "  results differ");
    std::printf("%-26s %6s %8.3f %8.3f %8.3f %8.3f %7.2f %7.2f\n", "  processor time", "", cOff, cOn, cHist,
                cOn - cHist, cOff > 0 ? cOn / cOff : 0.0, cOff > 0 ? (cOn - cHist) / cOff : 0.0);
    std::fflush(stdout);
  }
  std::printf("%s\n", identical ? "graphics on and off: identical run statistics"
                                : "graphics on and off: DIFFERENT run statistics or a failed case");
  return identical ? 0 : 1;
}

}  // namespace
}  // namespace tolvek

int main(int argc, char** argv) { return tolvek::Main(argc, argv); }
