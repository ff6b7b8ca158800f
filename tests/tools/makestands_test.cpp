// The shipped stand collection: make_stands reproduces data/ byte for byte, and what it ships is
// sound for the programs that read it (catalogue, tree files, boundaries, descriptions, expected
// variation, photographs and the overview map).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "common/boundary_file.h"
#include "common/description_file.h"
#include "common/language.h"
#include "common/paths.h"
#include "common/tree_file.h"
#include "simulator/sampling/decision_hints.h"
#include "simulator/stand/catalogue.h"
#include "simulator/stand/expected_vc.h"
#include "simulator/stand/jpeg_photo.h"
#include "simulator/stand/stand_choice.h"
#include "simulator/stand/stand_files.h"
#include "simulator/stand/stand_loader.h"
#include "simulator/state.h"
#include "tests/support/fakes.h"
#include "tools/makestands/collection.h"
#include "tools/makestands/stands.h"

namespace fs = std::filesystem;
using namespace tolvek;

namespace {

std::string DataDir() {
  const char* d = std::getenv("TOLVEK_DATA_DIR");
  return d ? d : "data";
}

class Collection : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    out_ = new std::string((fs::temp_directory_path() / ("makestands_" + std::to_string(::getpid()))).string());
    fs::remove_all(*out_);
    written_ = new std::vector<std::string>();
    std::string error;
    ok_ = makestands::MakeCollection(*out_, *written_, error);
    ASSERT_TRUE(ok_) << error;
    ASSERT_TRUE(ReadStandCatalogue(LanguageTable{}, JoinPath(*out_, "Vorgaben/Tolvek01.txt"), CatalogueStyle::Menu, catalogue_).outcome.ok());
  }
  void SetUp() override {
    ASSERT_TRUE(ok_) << "the collection could not be made";
    ASSERT_EQ(catalogue_.Count(), 52);
  }
  static void TearDownTestSuite() {
    fs::remove_all(*out_);
    delete out_;
    delete written_;
  }
  static std::string Out(const std::string& rel) { return JoinPath(*out_, rel); }
  static std::string Folder(const StandCatalogueEntry& e) {
    const int n = std::stoi(e.number);
    return (n >= 71 && n <= 90) ? "StandsCH/" : "Bestande/";
  }

  static std::string* out_;
  static std::vector<std::string>* written_;
  static bool ok_;
  static StandCatalogue catalogue_;
};

std::string* Collection::out_ = nullptr;
std::vector<std::string>* Collection::written_ = nullptr;
bool Collection::ok_ = false;
StandCatalogue Collection::catalogue_;

TEST_F(Collection, ReproducesTheCommittedDataByteForByte) {
  ASSERT_TRUE(ok_);
  std::set<std::string> made(written_->begin(), written_->end());
  for (const std::string& rel : *written_) {
    std::string fresh, shipped;
    ASSERT_TRUE(ReadWholeFile(Out(rel), fresh)) << rel;
    ASSERT_TRUE(ReadWholeFile(JoinPath(DataDir(), rel), shipped)) << rel << " is not in data/";
    EXPECT_TRUE(fresh == shipped) << rel << " differs from the committed file: rerun make_stands";
  }
  // Nothing stale lies beside the made files in the folders the maker owns.
  for (const char* sub : {"Bestande", "StandsCH", "Fotos", "Bitmap"})
    for (const auto& f : fs::directory_iterator(JoinPath(DataDir(), sub))) {
      const std::string name = f.path().filename().string();
      if (name[0] == '.') continue;  // placeholders that keep empty folders in the repository
      const std::string rel = std::string(sub) + "/" + name;
      // The enterprise choice's pictures and the arrow glyphs are make_enterprise's.
      if (std::string(sub) == "Bitmap" && (name.rfind("Betrieb", 0) == 0 || name.rfind("go", 0) == 0)) continue;
      EXPECT_TRUE(made.count(rel)) << rel << " is shipped but no longer made";
    }
}

TEST_F(Collection, CatalogueHoldsEveryMenuAndTheSpecialStandsAtTheirPlaces) {
  ASSERT_EQ(catalogue_.Count(), 52);
  std::set<std::pair<char, char>> cells;
  for (int k = 1; k <= 29; ++k) {
    const StandCatalogueEntry& e = *catalogue_.Entry(k);
    EXPECT_TRUE(e.kind == 'N' || e.kind == 'L') << k;
    EXPECT_TRUE(e.mixture == 'R' || e.mixture == 'M') << k;
    cells.insert({e.kind, e.timberSize});
    EXPECT_EQ(Folder(e), "Bestande/");
  }
  EXPECT_EQ(cells.size(), 6u) << "every kind and timber size has stands";
  EXPECT_EQ(catalogue_.Entry(9)->fileName, "Bestnd09.txt");  // the choice of the menu mode
  for (int k = 30; k <= 34; ++k) {
    const StandCatalogueEntry& e = *catalogue_.Entry(k);
    EXPECT_EQ(e.number, std::to_string(95 + k - 30));
    EXPECT_EQ(e.kind, 'S');
    EXPECT_EQ(e.mixture, 'G');
  }
  for (int k = 35; k <= 52; ++k) {
    const StandCatalogueEntry& e = *catalogue_.Entry(k);
    EXPECT_EQ(e.number, std::to_string(71 + k - 35));
    EXPECT_EQ(e.kind, 'P');
    EXPECT_EQ(e.mixture, 'P');
  }
  // Every line carries hints for all four methods as the method dialog reads them: two-digit codes
  // whose first digit is that of the method (N 1x, V 2x, W 3x, K 4x).
  const std::pair<const char*, char> letters[] = {{"N", '1'}, {"V", '2'}, {"W", '3'}, {"K", '4'}};
  for (const auto& e : catalogue_.entries)
    for (const auto& [letter, digit] : letters) {
      bool found = false;
      const std::vector<std::string> codes = tolvek::HintCodes(e.line, letter, found);
      EXPECT_TRUE(found) << e.line;
      ASSERT_FALSE(codes.empty()) << e.line << " " << letter;
      for (const std::string& c : codes) {
        EXPECT_EQ(c.size(), 2u) << e.line;
        EXPECT_EQ(c[0], digit) << e.line;
      }
    }
}

TEST_F(Collection, EveryStandLoadsAndIsRealistic) {
  int counterClockwise = 0;
  for (const auto& e : catalogue_.entries) {
    const std::string dir = Folder(e);
    SCOPED_TRACE(e.fileName);
    std::vector<TreeFileRecord> trees;
    ASSERT_TRUE(ReadTreeFile(Out(dir + "wBestnd" + e.number + ".txt"), trees).ok());
    std::vector<BoundaryPoint> ring;
    ASSERT_TRUE(ReadBoundaryFile(Out(dir + "Grenze" + e.number + ".txt"), ring).ok());
    DescriptionFile description;
    ASSERT_TRUE(ReadDescriptionFile(Out(dir + "Beschr" + e.number + ".txt"), description));
    EXPECT_GE(description.lines.size(), 5u);
    EXPECT_LE(description.lines.size() + 1, 18u) << "the preview shows 18 lines";

    EXPECT_LE(ring.size(), static_cast<std::size_t>(kMaxBoundaryPoints));
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    for (const auto& p : ring) minX = std::min(minX, p.x), minY = std::min(minY, p.y), maxX = std::max(maxX, p.x), maxY = std::max(maxY, p.y);
    EXPECT_EQ(minX, 0.0);
    EXPECT_EQ(minY, 0.0);
    EXPECT_LE(maxX, 500.0) << "thumbnails and the stand frame show 500 m";
    EXPECT_LE(maxY, 500.0);
    // A simple ring: no two edges cross (the clip and the inside test rely on it).
    auto cross = [](const BoundaryPoint& o, const BoundaryPoint& a, const BoundaryPoint& b) {
      return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
    };
    const std::size_t edges = ring.size() - 1;
    for (std::size_t i = 0; i < edges; ++i)
      for (std::size_t j = i + 2; j < edges; ++j) {
        if (i == 0 && j == edges - 1) continue;  // neighbours through the closing point
        const auto &a = ring[i], &b = ring[i + 1], &c = ring[j], &d = ring[j + 1];
        const bool crosses = cross(a, b, c) * cross(a, b, d) < 0 && cross(c, d, a) * cross(c, d, b) < 0;
        EXPECT_FALSE(crosses) << "edges " << i << " and " << j;
      }
    const double area = makestands::RingArea(ring);
    if (area < 0) ++counterClockwise;
    const double ha = std::fabs(area) * 1e-4;
    EXPECT_GE(ha, 1.0);
    EXPECT_LE(ha, 15.0);

    // The reader moves the trees of stand 88 by (30, 20); every kept tree lies inside the boundary.
    const double dx = e.number == "88" ? 30.0 : 0.0, dy = e.number == "88" ? 20.0 : 0.0;
    if (e.number == "71") {
      EXPECT_EQ(trees.size(), 1121u) << "the reader stops after 1121 trees of stand 71";
    }
    EXPECT_GE(trees.size(), 300u);
    EXPECT_LE(trees.size(), 5000u);
    std::set<int> species;
    for (const auto& t : trees) {
      species.insert(t.species);
      ASSERT_GE(t.species, 1);
      ASSERT_LE(t.species, 9);
      ASSERT_GE(t.dbh, 7.0f);
      ASSERT_LE(t.dbh, 150.0f);
      ASSERT_GT(t.x, 0.0f);
      ASSERT_GT(t.y, 0.0f);
      ASSERT_TRUE(makestands::InsideRing(ring, t.x + dx, t.y + dy)) << t.x << " " << t.y;
    }
    if (e.mixture == 'M') {
      EXPECT_GE(species.size(), 2u) << "a mixed stand";
    }
    if (e.mixture == 'R') {
      EXPECT_EQ(species.size(), 1u) << "a pure stand";
    }
  }
  EXPECT_EQ(counterClockwise, 1) << "one boundary is stored counter-clockwise";
}

TEST_F(Collection, TheSimulatorLoadsEveryStandWhole) {
  tolvek::testing::FakeServices fake;
  SimulatorState state(fake.services);
  state.folders = ProgramFoldersFromFolder(*out_);
  state.random.SetSeed(3);
  for (const auto& e : catalogue_.entries) {
    SCOPED_TRACE(e.fileName);
    std::string trees;
    ASSERT_TRUE(ReadWholeFile(Out(Folder(e) + "wBestnd" + e.number + ".txt"), trees));
    const Outcome r = LoadStand(state, Out(Folder(e) + "Bestnd" + e.number + ".txt"));
    ASSERT_TRUE(r.ok()) << r.problem().message;
    const CurrentStand& s = state.currentStand;
    EXPECT_EQ(s.TreeCount(), static_cast<int>(trees.size() / 16)) << "every tree is above the calliper threshold";
    EXPECT_EQ(s.files.selectionForest, e.kind == 'P');
    EXPECT_GT(s.boundary.signedArea * (e.number == "13" ? -1 : 1), 0.0);
    EXPECT_GT(s.areaHa, 1.0);
    // After the reader's shift of stand 88 all trees stand inside the loaded boundary.
    std::vector<BoundaryPoint> ring;
    for (int i = 1; i <= s.boundary.n; ++i) ring.push_back({s.boundary.x[i], s.boundary.y[i]});
    int outside = 0;
    for (const TreeRecord& t : s.trees) outside += makestands::InsideRing(ring, t.x, t.y) ? 0 : 1;
    EXPECT_EQ(outside, 0);
  }
}

TEST_F(Collection, ExpectedVariationFollowsTheCatalogue) {
  ExpectedVcTable table;
  const Outcome read = ReadExpectedVcTable(Out("Vorgaben/Tolvek02.txt"), table);
  ASSERT_TRUE(read.ok()) << read.problem().message;
  ASSERT_EQ(table.rows.size(), 52u);
  for (std::size_t i = 0; i < 52; ++i) {
    EXPECT_EQ(table.rows[i].standNumber, std::stoi(catalogue_.entries[i].number));
    for (float v : table.rows[i].vc) {
      EXPECT_GT(v, 3.0f);
      EXPECT_LT(v, 150.0f);
    }
    // Small circles vary more than large ones.
    EXPECT_GT(table.rows[i].vc[1], table.rows[i].vc[0]) << catalogue_.entries[i].number;
  }
}

TEST_F(Collection, PhotographsDecodeAndOneIsProgressive) {
  int progressive = 0, count = 0;
  auto check = [&](const std::string& rel) {
    RgbImage image;
    const JpegDecodeResult r = LoadJpegFile(Out(rel), image);
    ASSERT_TRUE(r.outcome.ok()) << rel;
    EXPECT_EQ(image.width, 400);
    EXPECT_EQ(image.height, 300);
    progressive += r.progressive ? 1 : 0;
    ++count;
  };
  for (int k = 11; k <= 48; ++k) check("Fotos/Foto" + std::to_string(k) + ".jpg");
  for (const auto& e : catalogue_.entries) {
    if (e.mixture == 'G') continue;  // generated stands have no photographs
    check("Fotos/Fotogr" + e.number + ".jpg");
    check(e.number == "20" ? "Fotos/FotogS20.jpg" : "Fotos/Fotogs" + e.number + ".jpg");
    if (e.mixture != 'P') check("Fotos/Fotogt" + e.number + ".jpg");
  }
  EXPECT_EQ(progressive, 1);
  EXPECT_EQ(count, 38 + 29 * 3 + 18 * 2);
  // Each photograph is a picture of its own, not a copy of another.
  std::set<std::string> distinct;
  for (const std::string& rel : *written_)
    if (rel.rfind("Fotos/", 0) == 0) {
      std::string bytes;
      ReadWholeFile(Out(rel), bytes);
      distinct.insert(bytes);
    }
  EXPECT_EQ(static_cast<int>(distinct.size()), count);
}

TEST_F(Collection, OverviewBitmapFitsTheCatalogueWindow) {
  std::string bmp;
  ASSERT_TRUE(ReadWholeFile(Out("Bitmap/Bestande.bmp"), bmp));
  ASSERT_GT(bmp.size(), 54u);
  auto u32 = [&](std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 3])) << 24;
  };
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(u32(2), bmp.size());
  EXPECT_EQ(u32(10), 54u);
  const CatalogueLayout layout = LayOutCatalogue(catalogue_);
  const std::uint32_t w = u32(18), h = u32(22);
  EXPECT_EQ(static_cast<int>(w), layout.width);
  EXPECT_EQ(static_cast<int>(h), layout.height) << "positive height: rows stored bottom-up";
  EXPECT_EQ(static_cast<unsigned char>(bmp[28]), 24);
  EXPECT_EQ(bmp.size(), 54u + static_cast<std::size_t>((w * 3 + 3) / 4 * 4) * h);
  // The thumbnail of entry 1 lies on a black field at its place (its top-left pixel).
  const LayoutRect& r = layout.thumbnails[0];
  const std::size_t row = h - 1 - static_cast<std::size_t>(r.top + r.height - 1);
  const std::size_t at = 54 + row * ((w * 3 + 3) / 4 * 4) + static_cast<std::size_t>(r.left + r.width - 1) * 3;
  EXPECT_EQ(bmp.substr(at, 3), std::string(3, '\0'));
}

}  // namespace
