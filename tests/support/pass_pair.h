#pragma once
// Inventory passes run side by side on two programs: one takes its trees from the tree index (and
// keeps what its centres found), the other walks the whole list. Every plot list must agree bit for bit.
#include <cstdint>
#include <functional>
#include <string>

#include "common/language.h"
#include "common/random.h"
#include "simulator/sampling/geometry.h"
#include "simulator/sampling/pass.h"
#include "simulator/stand/boundary.h"
#include "tests/support/fakes.h"

namespace tolvek::testing {

TreeRecord TreeAt(double dbh, double x, double y, std::uint8_t species = 1);

// Trees on a 0.1 m raster (as the tree files give them) over w × h metres, dbh 7..60 cm, with some
// trees standing exactly on others' spots, so that equal distances occur.
TreeList RandomStand(std::uint32_t seed, int count, double w, double h);

// An irregular boundary over about 150 × 110 m, so that plots and trees near it take edge-corrected
// weights.
BoundaryPolygon Irregular();

// A method with circles of 300 m², counting factor 2 and three concentric circles of 3, 6 and 12 m.
MethodSettings Method(MethodCode code, bool treeCentred);

// Every plot and sample tree the same, the real numbers bit for bit.
void ExpectSamePlots(const PlotList& a, const PlotList& b, const std::string& where);

class PassPair {
 public:
  struct Side {
    GeometryContext geometry;
    SamplingState sampling;
    TreeList trees;
    BoundaryPolygon boundary;
    PassObserver observer;
    RunControl run;
  };

  // Both sides in a run of repetitions on a grid of this spacing, random shifts from one seed.
  PassPair(const TreeList& trees, const BoundaryPolygon& boundary, const MethodSettings& method, int spacing);

  // The first pass on the unshifted grid, then one shifted pass each time; false once the test has a
  // failure (the plot lists differ, the indexed side found no plot), so that a loop can stop.
  bool FirstPass(const std::string& where);
  bool ShiftedPass(const std::string& where);
  // Changes both sides alike.
  void Change(const std::function<void(Side&)>& change);

  Side& Indexed() { return sides_[0]; }
  Side& Plain() { return sides_[1]; }

 private:
  bool Compare(const std::string& where);

  FakeServices fakes_;
  LanguageTable language_;
  AllTreesSource plainSource_;
  Side sides_[2];
  PassEnvironment envs_[2];
  RandomGenerator random_[2];
};

}  // namespace tolvek::testing
