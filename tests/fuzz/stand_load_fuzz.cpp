// A whole stand as the catalogue loads it: tree file and boundary read together into a stand of their
// own, then everything the program draws of it — map with legend, rotated map, catalogue thumbnail, dbh
// histogram and species table — on recording canvases whose every position must stay within the
// saturated pixel range.
//
// Input: the tree file's bytes, then "##GRENZE##", then the boundary file's text. A checksum of the input
// picks the stand (an ordinary one, 71 with its tree cap, 88 with its shift, a generated one) and the
// lower calliper limit, so that mutations wander through all of them.
#include <cmath>

#include "common/recording_canvas.h"
#include "simulator/stand/stand_info.h"
#include "simulator/stand/stand_loader.h"
#include "simulator/views/stand_map.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tolvek;

namespace {

void CheckPositions(const RecordingCanvas& canvas) {
  constexpr long long kFar = static_cast<long long>(kPixelLimit) + 100000;
  for (const DrawCommand& c : canvas.commands) {
    if (c.kind == DrawCommand::Kind::Pen || c.kind == DrawCommand::Kind::Brush || c.kind == DrawCommand::Kind::Font)
      continue;
    for (int v : c.v) fuzz::Check(v >= -kFar && v <= kFar, "drawn positions stay in the saturated range");
    for (const CanvasPoint& p : c.points)
      fuzz::Check(p.x >= -kFar && p.x <= kFar && p.y >= -kFar && p.y <= kFar, "drawn positions stay in range");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fuzz::ScratchFolder folder;
  static const ProgramFolders folders = ProgramFoldersFromFolder(folder.path());
  const std::string_view input = fuzz::Bytes(data, size);
  const fuzz::TwoFiles in = fuzz::SplitAt(input, "##GRENZE##");
  const unsigned sum = fuzz::Checksum(input);
  struct Stand {
    const char* folder;
    const char* code;
  };
  static const Stand kStands[] = {{"Bestande", "Bestnd07"}, {"StandsCH", "Bestnd71"}, {"StandsCH", "Bestnd88"},
                                  {"Bestande", "Bestnd97"}};
  const Stand& stand = kStands[sum % 4];
  const std::string nn = std::string(stand.code).substr(6, 2);
  folder.Write(std::string(stand.folder) + "/w" + stand.code + ".txt", in.first);
  folder.Write(std::string(stand.folder) + "/Grenze" + nn + ".txt", in.second);

  CalliperLimits calliper;
  calliper.lower = kCalliperThresholds[(sum / 4) % kCalliperThresholds.size()];
  RandomGenerator random(sum);
  const LanguageTable language;
  StandLoadInputs inputs{folders, calliper, false, nullptr, random};
  CurrentStand cs;
  const std::string treePath = folder.path() + stand.folder + "/" + stand.code + ".txt";
  const Outcome r = ReadStandInto(inputs, treePath, cs);
  if (!r.ok()) {
    fuzz::Check(!cs.loaded && StandLoadMessage(language, r.problem(), treePath).find(stand.code) != std::string::npos,
                "a refusal names the stand");
    return 0;
  }
  fuzz::Check(cs.loaded && !cs.trees.empty(), "a loaded stand has trees");
  fuzz::Check(std::isfinite(cs.areaHa) && cs.areaHa > 0.0, "a loaded stand has an area");

  // The main window's map, legend and labels.
  StandMapState map;
  StandMapTransform t;
  t.imageWidth = 600;
  t.imageHeight = 500;
  t.scale = StandScaleForBoundary(cs.boundary, t.imageWidth, t.imageHeight);
  fuzz::Check(std::isfinite(t.scale) && t.scale > 0.0, "the map has a scale");
  RecordingCanvas picture;
  DrawTrees(picture, t, cs.trees, cs.speciesList, cs.boundary, 1.0);
  CheckPositions(picture);
  std::array<int, 11> counts{};
  for (int i = 0; i <= 10; ++i) counts[static_cast<std::size_t>(i)] = cs.sums.count[static_cast<std::size_t>(i)];
  RecordingCanvas legend;
  DrawSpeciesLegend(legend, 140, 300, counts, cs.speciesList, 1.0, [](int) { return std::string("Art"); }, map);
  TreesPerHectareLabel("Bäume:", cs.TreeCount(), cs.areaHa);
  StandAreaLabel("Fläche", cs.areaHa);

  // The rotate button, and the map drawn again.
  t.scale = RotateStand(cs.trees, cs.boundary, t.imageWidth, t.imageHeight);
  RecordingCanvas rotated;
  DrawTrees(rotated, t, cs.trees, cs.speciesList, cs.boundary, 1.0);
  CheckPositions(rotated);

  // The catalogue thumbnail, the histogram and the species table of the preview.
  ThumbnailTransform th;
  th.imageHeight = 75;
  th.scale = 75.0 / 270.0;
  RecordingCanvas thumbnail;
  DrawStandThumbnail(thumbnail, th, cs.trees, cs.speciesList, cs.boundary, 31, "97  Generierter Bestand");
  CheckPositions(thumbnail);
  RecordingCanvas histogram;
  DrawDbhHistogram(histogram, 200, 120, cs.sums.histogram, language, true);
  CheckPositions(histogram);
  BuildStandInfo(StandInfoInputs{cs.sums, cs.areaHa, stand.code, cs.speciesList}, language);
  return 0;
}
