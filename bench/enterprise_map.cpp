// Entering the largest model enterprise: its 80 compartments cut into stands and the whole map drawn into
// the main window's picture (968 × 968 pixels, scale of a screen 1024 pixels high), as "Betrieb" does it.
// It prints the median time of the cut, of the drawing and of both together; the whole must stay under
// 0.2 s.
//
//   bench_enterprise_map            median of 21 entries (--runs N)
//   bench_enterprise_map --smoke    three entries, no timing: the road works (exit status 1 when the
//                                   stands do not cover the enterprise)
// Without --smoke the exit status is 1 also when the whole takes the limit or more.
// Options: --runs N, --data DIR (a program folder; TOLVEK_DATA_DIR works too), --seed S.
#include <QGuiApplication>
#include <QImage>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/timing.h"
#include "common/paths.h"
#include "common/qt/qt_canvas.h"
#include "simulator/enterprise/enterprise_choice.h"
#include "simulator/enterprise/enterprise_map.h"

#ifndef TOLVEK_BENCH_DATA_DIR
#define TOLVEK_BENCH_DATA_DIR "data"
#endif

namespace {

constexpr double kLimitSeconds = 0.2;
constexpr int kPicture = 968;

using tolvek::bench::Median;
double CpuSeconds() { return tolvek::bench::ProcessCpuSeconds(); }

}  // namespace

int main(int argc, char** argv) {
  using namespace tolvek;
  int runs = 21;
  bool smoke = false;
  std::uint32_t seed = 4711;
  std::string data = std::getenv("TOLVEK_DATA_DIR") ? std::getenv("TOLVEK_DATA_DIR") : TOLVEK_BENCH_DATA_DIR;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--smoke") smoke = true, runs = 3;
    else if (a == "--runs" && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
    else if (a == "--data" && i + 1 < argc) data = argv[++i];
    else if (a == "--seed" && i + 1 < argc) seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    else {
      std::fprintf(stderr, "usage: bench_enterprise_map [--smoke] [--runs N] [--data DIR] [--seed S]\n");
      return 2;
    }
  }
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);

  std::vector<double> cut, draw, whole;
  int stands = 0;
  double area = 0.0;
  RandomGenerator generator(seed);
  for (int r = 0; r < runs; ++r) {
    EnterpriseSession s;
    s.number = 3;
    MapReadProblem problem;
    if (!StartEnterprise(s, JoinPath(data, "Vorgaben/"), 1.0, 1024, problem)) {
      std::fprintf(stderr, "%s line %d: %s\n", problem.file.c_str(), problem.line, problem.reason.c_str());
      return 1;
    }
    QImage picture(kPicture, kPicture, QImage::Format_RGB32);
    const double t0 = CpuSeconds();
    GeneratorDraws random(generator);
    SubdivideEnterprise(s, random);
    const double t1 = CpuSeconds();
    {
      QtCanvas canvas(picture);
      DrawEnterpriseMap(canvas, s, {s.mapAngle, s.mapScale, kPicture}, kPicture, kPicture);
    }
    const double t2 = CpuSeconds();
    cut.push_back(t1 - t0);
    draw.push_back(t2 - t1);
    whole.push_back(t2 - t0);
    stands = s.standCount;
    area = s.totalArea;
  }
  const double median = Median(whole);
  std::printf("enterprise 3: %d compartments, %d stands, %.1f ha\n", 80, stands, area);
  std::printf("cut %.1f ms, drawing %.1f ms, together %.1f ms (median of %d; limit %.0f ms)\n", Median(cut) * 1e3,
              Median(draw) * 1e3, median * 1e3, runs, kLimitSeconds * 1e3);
  const bool covered = std::fabs(area - 2851.0) <= 0.01 * 2851.0;
  if (!covered) std::printf("the stands do not cover the enterprise\n");
  // A smoke run (also under the sanitizers, many times slower) checks the road, not the time.
  const bool inTime = smoke || median <= kLimitSeconds;
  if (!inTime) std::printf("over the limit\n");
  return covered && inTime ? 0 : 1;
}
