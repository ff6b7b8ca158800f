#pragma once
// The shipped stand collection: what each stand is (its plan) and how its trees, boundary and texts
// are made from a fixed seed. Everything here is deterministic: the same plan gives the same bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "common/boundary_file.h"
#include "common/random.h"
#include "common/tree_file.h"

namespace tolvek::makestands {

// Diameter distribution of one component of a stand (dbh in cm, always cut at the calliper
// threshold of 7 cm).
enum class DbhModel {
  Weibull,   // even-aged: p1 mean, p2 standard deviation, p3 shape
  Normal,    // p1 mean, p2 standard deviation
  ReverseJ,  // uneven-aged: p1 q-factor per 5-cm class, p2 largest dbh
};

// Where the trees of one component are proposed before the inhibition between neighbours acts.
enum class Pattern {
  Poisson,  // complete spatial randomness
  Cluster,  // Thomas process: p1 parents per ha, p2 spread (m)
  Lattice,  // planted rows: p1 row distance, p2 distance in the row (m), p3 row angle (degrees)
  Groups,   // few large groups (mixture by groups): p1 groups per ha, p2 group radius (m)
};

struct Component {
  std::uint8_t species = 1;
  double share = 1.0;  // share of the stem number
  DbhModel dbh = DbhModel::Weibull;
  double d1 = 30.0, d2 = 6.0, d3 = 3.0;
  Pattern pattern = Pattern::Poisson;
  double s1 = 0.0, s2 = 0.0, s3 = 0.0;
  double inhibition = 1.0;  // weight in the hard-core distance (understorey trees: small)
  double clusterBelow = 0.0;  // selection forest: trees thinner than this come up in clusters
};

struct StandPlan {
  int entry = 0;        // position in the catalogue, 1..52
  int number = 0;       // stand number nn
  std::string folder;   // "Bestande" or "StandsCH"
  char mixture = 'R';   // R pure, M mixed, G generated, P selection forest
  char kind = 'N';      // N conifer, L broadleaf, P selection forest, S generated
  char size = 'M';      // W weak, M medium, S strong timber
  std::string shortText;  // catalogue description, at most 16 characters
  std::string hints;      // decision-hint codes of the catalogue line
  // Boundary: the corners of the base outline (any orientation), roughened along its edges.
  std::vector<BoundaryPoint> outline;
  double roughSegment = 0.0;  // insert a point every so many metres (0: keep the outline)
  double roughAmplitude = 0.0;
  bool counterClockwise = false;  // store the ring counter-clockwise (the reader turns it)
  double stemsPerHa = 400.0;
  std::vector<Component> components;
  double hardCore = 4.0;  // hard-core distance = hardCore * (d_i + d_j) / 100 m
  int gaps = 0;           // number of canopy gaps
  double gapRadiusMin = 0.0, gapRadiusMax = 0.0;
  // Patchiness: the local density follows a smooth field between 1 - h and 1 + h (about 40-m patches).
  double heterogeneity = 0.35;
  int exactTrees = 0;     // when > 0 the stand gets exactly this many trees
  double offsetX = 0.0, offsetY = 0.0;  // file coordinates = true coordinates - offset
  std::uint32_t seed = 1;
  // Texts of the description.
  std::string title;
  std::string location;
  std::string site;
  std::string age;
  std::string structure;
  std::string treatment;
  std::string note;
  int photoViews = 0;  // 0 none, 2 "gr" and "gs", 3 "gr", "gs", "gt"
};

struct Tree {
  std::uint8_t species = 1;
  double dbh = 0.0;
  double x = 0.0;
  double y = 0.0;  // true stand coordinates (before any file offset)
};

struct MadeStand {
  StandPlan plan;
  std::vector<BoundaryPoint> boundary;  // closed ring as written (first point repeated)
  std::vector<Tree> trees;
  double areaHa = 0.0;
  double width = 0.0, height = 0.0;
};

// The 52 stands in catalogue order.
std::vector<StandPlan> CollectionPlans();

// Boundary and trees of one stand.
MadeStand MakeStand(const StandPlan& plan);

// Signed trapezoid area (positive for clockwise rings in the x-right, y-up frame) of a closed ring.
double RingArea(const std::vector<BoundaryPoint>& ring);
bool InsideRing(const std::vector<BoundaryPoint>& ring, double x, double y);

// Per-hectare values and the expected coefficients of variation of the "Tolvek02.txt" line.
struct StandFigures {
  double areaHa = 0.0;
  double stemsPerHa = 0.0;
  double basalAreaPerHa = 0.0;
  double quadraticMeanDbh = 0.0;
  double speciesShare[10] = {};  // share of the stem number by species code
  double speciesBasalShare[10] = {};
  double meanDbh = 0.0, minDbh = 0.0, maxDbh = 0.0;
  // 15 values: area, N/ha, G/ha, dg, then for each of the five methods the coefficient of variation
  // of the basal area per ha between plots (per cent) and the mean number of trees per plot, and the
  // number of test points.
  double vcLine[15] = {};
};
StandFigures ComputeFigures(const MadeStand& stand);

// Texts and records for the files of a stand.
std::vector<TreeFileRecord> TreeRecords(const MadeStand& stand);
std::vector<std::string> DescriptionLines(const MadeStand& stand, const StandFigures& figures);
std::string CatalogueLine(const StandPlan& plan);
// Decision-hint codes of the catalogue line, from what the stand is like.
std::string HintCodes(const StandPlan& plan, const std::vector<BoundaryPoint>& ring);
std::string ExpectedVcLine(const StandPlan& plan, const StandFigures& figures);

// Draws from the program's generator.
double Uniform(RandomGenerator& random);            // (0, 1)
double StandardNormal(RandomGenerator& random);     // Box-Muller
double DrawDbh(RandomGenerator& random, const Component& component);

}  // namespace tolvek::makestands
