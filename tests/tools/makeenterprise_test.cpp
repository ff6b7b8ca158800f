// The model enterprises' shipped data: make_enterprise reproduces data/ byte for byte, and what it ships
// is what the simulator's readers and the subdivision need.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/paths.h"
#include "simulator/enterprise/compartment_map.h"
#include "simulator/enterprise/enterprise_choice.h"
#include "simulator/enterprise/enterprise_map.h"
#include "simulator/enterprise/structure_file.h"
#include "tests/support/fakes.h"
#include "tools/makeenterprise/enterprise_data.h"

namespace fs = std::filesystem;
using namespace tolvek;

namespace {

std::string DataDir() { return tolvek::testing::SourceDataDir(); }

// The data made once into a fresh folder for all tests of the file.
class EnterpriseData : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    out_ = new tolvek::testing::TempDir();
    written_ = new std::vector<std::string>();
    std::string error;
    ok_ = makeenterprise::MakeEnterpriseData(out_->path(), *written_, error);
    ASSERT_TRUE(ok_) << error;
  }
  static void TearDownTestSuite() {
    delete out_;
    delete written_;
  }
  static tolvek::testing::TempDir* out_;
  static std::vector<std::string>* written_;
  static bool ok_;
};

tolvek::testing::TempDir* EnterpriseData::out_ = nullptr;
std::vector<std::string>* EnterpriseData::written_ = nullptr;
bool EnterpriseData::ok_ = false;

}  // namespace

TEST_F(EnterpriseData, ReproducesTheCommittedDataByteForByte) {
  ASSERT_TRUE(ok_);
  EXPECT_EQ(written_->size(), 18u);  // five map inputs, three default structures, six pictures, four glyphs
  for (const std::string& rel : *written_) {
    std::string made, shipped;
    ASSERT_TRUE(ReadWholeFile(out_->File(rel), made)) << rel;
    ASSERT_TRUE(ReadWholeFile(JoinPath(DataDir(), rel), shipped)) << rel << " is not in data/: run make_enterprise";
    EXPECT_TRUE(made == shipped) << rel << " differs from data/: rerun make_enterprise data";
  }
  // No picture of this maker's kinds lies in data/ that it no longer makes.
  for (const auto& f : fs::directory_iterator(JoinPath(DataDir(), "Bitmap"))) {
    const std::string name = f.path().filename().string();
    if (name.rfind("Betrieb", 0) != 0 && name.rfind("go", 0) != 0) continue;
    EXPECT_NE(std::find(written_->begin(), written_->end(), "Bitmap/" + name), written_->end()) << name;
  }
}

TEST_F(EnterpriseData, ShippedMapsFitTheCutsTheCaptionsAndThePicture) {
  for (int n = 1; n <= 3; ++n) {
    std::vector<Ring> outlines;
    MapReadProblem problem;
    ASSERT_TRUE(ReadEnterpriseOutlines(JoinPath(DataDir(), "Vorgaben/"), n, outlines, problem))
        << problem.file << " " << problem.line << " " << problem.reason;
    std::string reason;
    EXPECT_TRUE(makeenterprise::CheckShippedOutlines(n, outlines, reason)) << reason;
    for (std::size_t a = 1; a < outlines.size(); ++a) {
      EXPECT_LE(outlines[a].size(), 10u);  // at most nine corners and the closing one
      EXPECT_LE(CutReach(outlines[a]), kCutArmLength);
    }
    // The whole map within the picture of a screen 1024 pixels high (832 × 968 beside the data column).
    const double scale = EnterpriseMapScale(n, 1.0, 1024);
    const MapReach reach = EnterpriseMapReach(outlines, ModelEnterprise(n).angle, scale);
    EXPECT_LE(reach.columns, 828) << "enterprise " << n;
    EXPECT_LE(reach.rows, 964) << "enterprise " << n;
  }
}

TEST_F(EnterpriseData, NeighboursShareTheirCornersExactly) {
  // Enterprise 2 keeps no corner table: shared corners must come out of its file equal.
  std::vector<Ring> outlines;
  MapReadProblem problem;
  ASSERT_TRUE(ReadEnterpriseOutlines(JoinPath(DataDir(), "Vorgaben/"), 2, outlines, problem));
  double total = 0.0;
  for (std::size_t a = 1; a < outlines.size(); ++a) total += RingArea(outlines[a]);
  // Every edge met twice in opposite directions or lying on the outline: the pieces neither overlap nor
  // leave gaps, so the union's area is the sum.
  int shared = 0;
  for (std::size_t a = 1; a < outlines.size(); ++a)
    for (std::size_t i = 0; i + 1 < outlines[a].size(); ++i)
      for (std::size_t b = 1; b < outlines.size(); ++b)
        for (std::size_t j = 0; j + 1 < outlines[b].size(); ++j)
          if (outlines[a][i].x == outlines[b][j + 1].x && outlines[a][i].y == outlines[b][j + 1].y &&
              outlines[a][i + 1].x == outlines[b][j].x && outlines[a][i + 1].y == outlines[b][j].y)
            ++shared;
  EXPECT_EQ(shared, 2 * 31);  // a 4 × 5 grid has 31 inner edges
  EXPECT_NEAR(total * 1e-4, 558.0, 5.58);
}

// The defaults the reset window copies: each reads back, in its classification, with its types dealt
// near their targets over the whole enterprise.
TEST_F(EnterpriseData, DefaultStructuresReadBackWithTheirTypes) {
  for (int n = 1; n <= 3; ++n) {
    const makeenterprise::DefaultStructureDesign& design = makeenterprise::DefaultStructureOf(n);
    EnterpriseStructure s;
    const Outcome read =
        ReadEnterpriseStructure(DefaultEnterpriseFilePath(DataDir(), n), ModelEnterprise(n).compartments, s);
    ASSERT_TRUE(read.ok()) << n << " line " << read.problem().where << ": " << read.problem().message;
    EXPECT_EQ(s.mode, design.mode);
    EXPECT_EQ(s.registers, (ModelStandRegisters{true, false}));
    ASSERT_EQ(s.chosen.count, static_cast<int>(design.types.size()));
    std::array<double, 6> byType{};
    double total = 0.0;
    for (std::size_t a = 1; a < s.compartments.size(); ++a)
      for (const EnterpriseStand& st : s.compartments[a].stands) {
        EXPECT_LE(st.typePosition, s.chosen.count);
        byType[static_cast<std::size_t>(st.typePosition)] += st.area;
        total += st.area;
      }
    const double caption = std::stod(ModelEnterprise(n).sizeCaption);
    EXPECT_NEAR(total, caption, 0.01 * caption) << n;
    for (std::size_t p = 1; p <= design.types.size(); ++p) {
      EXPECT_EQ(s.chosen.codes[p], design.types[p - 1].first);
      EXPECT_NEAR(100.0 * byType[p] / total, design.types[p - 1].second, 8.0) << n << " type " << p;
    }
  }
}

TEST_F(EnterpriseData, GlyphsAndPicturesAre24BitBitmaps) {
  for (const char* rel : {"Bitmap/gonext.bmp", "Bitmap/goprev.bmp", "Bitmap/goup.bmp", "Bitmap/godown.bmp",
                          "Bitmap/Betrieb1.bmp", "Bitmap/Betrieb6.bmp"}) {
    std::string b;
    ASSERT_TRUE(ReadWholeFile(JoinPath(DataDir(), rel), b)) << rel;
    ASSERT_GT(b.size(), 54u);
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(b[28]), 24u) << rel;
  }
}
