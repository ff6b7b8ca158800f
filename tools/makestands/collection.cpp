// The whole collection: stands, catalogue, expected variation, descriptions, photographs, overview map.
#include "tools/makestands/collection.h"

#include <filesystem>

#include "common/boundary_file.h"
#include "common/description_file.h"
#include "common/paths.h"
#include "common/tree_file.h"
#include "tools/makestands/pictures.h"
#include "tools/makestands/stands.h"

namespace tolvek::makestands {

namespace {

constexpr int kJpegQuality = 88;

std::string TwoDigits(int n) {
  return std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10);
}

}  // namespace

bool NoteWritten(bool ok, const std::string& rel, std::vector<std::string>& written, std::string& error) {
  if (ok)
    written.push_back(rel);
  else if (error.empty())
    error = "cannot write " + rel;
  return ok;
}

bool MakeCollection(const std::string& programFolder, std::vector<std::string>& written, std::string& error) {
  namespace fs = std::filesystem;
  for (const char* sub : {"Bestande", "StandsCH", "Vorgaben", "Fotos", "Bitmap"}) {
    std::error_code ec;
    fs::create_directories(fs::path(programFolder) / sub, ec);
    if (ec) {
      error = "cannot create " + std::string(sub) + ": " + ec.message();
      return false;
    }
  }
  auto full = [&](const std::string& rel) { return JoinPath(programFolder, rel); };
  auto note = [&](const Outcome& o, const std::string& rel) { return NoteWritten(o.ok(), rel, written, error); };

  std::vector<MadeStand> stands;
  std::vector<std::string> catalogue, expected;
  for (const StandPlan& plan : CollectionPlans()) {
    MadeStand stand = MakeStand(plan);
    const StandFigures figures = ComputeFigures(stand);
    const std::string nn = TwoDigits(plan.number);
    const std::string dir = plan.folder + "/";
    if (!note(WriteTreeFile(full(dir + "wBestnd" + nn + ".txt"), TreeRecords(stand)), dir + "wBestnd" + nn + ".txt"))
      return false;
    if (!note(WriteBoundaryFile(full(dir + "Grenze" + nn + ".txt"), stand.boundary), dir + "Grenze" + nn + ".txt"))
      return false;
    const std::vector<std::string> text = DescriptionLines(stand, figures);
    DescriptionFile description;
    description.title = text.front();
    description.lines.assign(text.begin() + 1, text.end());
    if (!note(WriteDescriptionFile(full(dir + "Beschr" + nn + ".txt"), description), dir + "Beschr" + nn + ".txt"))
      return false;
    catalogue.push_back(CatalogueLine(stand.plan));
    expected.push_back(ExpectedVcLine(stand.plan, figures));
    stands.push_back(std::move(stand));
  }
  if (!note(WriteTextLines(full("Vorgaben/Tolvek01.txt"), catalogue), "Vorgaben/Tolvek01.txt")) return false;
  if (!note(WriteTextLines(full("Vorgaben/Tolvek02.txt"), expected), "Vorgaben/Tolvek02.txt")) return false;

  // Photographs of the stands: "gr" from the edge, "gs" from the middle, "gt" from a corner. The
  // second view of stand 20 is the title picture and keeps the name the title screen asks for; the
  // first view of the standard stand 09 is written progressive.
  for (const MadeStand& stand : stands) {
    const std::string nn = TwoDigits(stand.plan.number);
    const char* letters[3] = {"gr", "gs", "gt"};
    for (int v = 0; v < stand.plan.photoViews; ++v) {
      PhotoView view;
      view.kind = v;
      view.season = 0;
      view.seed = 9000u + 131u * stand.plan.number + v;
      view.turn = v == 2 ? 0.35 : 0.0;
      std::string name = std::string("Fotos/Foto") + letters[v] + nn + ".jpg";
      if (stand.plan.number == 20 && v == 1) name = "Fotos/FotogS20.jpg";
      const bool progressive = stand.plan.number == 9 && v == 0;
      const std::string jpeg = EncodeJpeg(RenderPhoto(stand, view), kJpegQuality, progressive);
      if (!note(WriteFileAtomic(full(name), jpeg), name)) return false;
    }
  }
  // Stock photographs 11..48, shown when a stand has no photograph of its own: views of the mapped
  // stands and selection forests in summer, autumn and early spring.
  std::vector<const MadeStand*> sources;
  for (const MadeStand& s : stands)
    if (s.plan.mixture != 'G') sources.push_back(&s);
  for (int k = 11; k <= 48; ++k) {
    const MadeStand& stand = *sources[static_cast<std::size_t>((k - 11) * 5) % sources.size()];
    PhotoView view;
    view.kind = k % 3;
    view.season = (k / 3) % 3;
    view.seed = 20000u + 17u * k;
    view.turn = 0.25 * ((k % 5) - 2);
    const std::string name = "Fotos/Foto" + std::to_string(k) + ".jpg";
    if (!note(WriteFileAtomic(full(name), EncodeJpeg(RenderPhoto(stand, view), kJpegQuality, false)), name)) return false;
  }
  if (!note(WriteFileAtomic(full("Bitmap/Bestande.bmp"), EncodeBmp(RenderOverview(stands))), "Bitmap/Bestande.bmp"))
    return false;
  return true;
}

}  // namespace tolvek::makestands
