#include "simulator/stand/stand_files.h"

#include <cctype>

#include "common/format.h"

namespace tolvek {
namespace {

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// The file name part of a path ("/" or "\" separated).
std::size_t NameStart(std::string_view path) {
  std::size_t p = path.find_last_of("/\\");
  return p == std::string_view::npos ? 0 : p + 1;
}

std::string ReplaceInName(const std::string& path, std::string_view from, std::string_view to) {
  // Only the file name is searched: a program folder whose name happens to hold "gr" must not change.
  std::size_t start = NameStart(path);
  std::size_t p = path.find(from, start);
  if (p == std::string::npos) return path;
  std::string out = path;
  out.replace(p, from.size(), to);
  return out;
}

}  // namespace

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

StandFolder StandFolderFor(bool catalogueCode, int number) {
  if (catalogueCode) return (number >= 71 && number <= 90) ? StandFolder::StandsCH : StandFolder::Bestande;
  if (number >= 101 && number <= 199) return StandFolder::StandsWW;
  if (number >= 201 && number <= 299) return StandFolder::StandsEU;
  if (number >= 300 && number <= 999) return StandFolder::StandsGE;
  return StandFolder::ProgramFolder;
}

const char* StandFolderName(StandFolder folder) {
  switch (folder) {
    case StandFolder::Bestande: return "Bestande";
    case StandFolder::StandsCH: return "StandsCH";
    case StandFolder::StandsWW: return "StandsWW";
    case StandFolder::StandsEU: return "StandsEU";
    case StandFolder::StandsGE: return "StandsGE";
    case StandFolder::ProgramFolder: return "";
  }
  return "";
}

Outcome ResolveStandFiles(const ProgramFolders& folders, std::string_view treePath, StandFiles& files) {
  auto fail = [&] { return Problem{"Unbekannter Bestandescode", std::string(treePath)}; };
  if (treePath.size() < 12 || !SameIgnoringCase(treePath.substr(treePath.size() - 4), ".txt")) return fail();
  std::string_view code = treePath.substr(treePath.size() - 12, 8);
  if (code.find_first_of("/\\") != std::string_view::npos) return fail();

  StandFiles f;
  f.code = std::string(code);
  if (SameIgnoringCase(code.substr(0, 6), "Bestnd") && AllDigits(code.substr(6, 2))) {
    f.catalogueCode = true;
    f.numberText = std::string(code.substr(6, 2));
    f.number = static_cast<int>(*ParseInt(f.numberText));
  } else if (AllDigits(code.substr(5, 3))) {
    f.catalogueCode = false;
    f.numberText = "00";
    f.number = static_cast<int>(*ParseInt(code.substr(5, 3)));
  } else {
    return fail();
  }
  f.folderKind = StandFolderFor(f.catalogueCode, f.number);
  f.selectionForest = f.folderKind == StandFolder::StandsCH;
  std::string sub = StandFolderName(f.folderKind);
  f.folder = sub.empty() ? folders.program : JoinPath(folders.program, sub + "/");
  f.catalogueTreeFile = JoinPath(f.folder, f.code + ".txt");
  f.treeFile = JoinPath(f.folder, "w" + f.code + ".txt");
  f.boundaryFile = JoinPath(f.folder, "Grenze" + f.numberText + ".txt");
  f.descriptionFile = JoinPath(f.folder, "Beschr" + f.numberText + ".txt");
  f.photoFile = JoinPath(folders.program, "Fotos/Fotogr" + f.numberText + ".jpg");
  files = std::move(f);
  return {};
}

std::string SecondPhotoPath(const std::string& photoPath) { return ReplaceInName(photoPath, "gr", "gs"); }

std::string ThirdPhotoPath(const std::string& photoPath) {
  return ReplaceInName(SecondPhotoPath(photoPath), "gs", "gt");
}

}  // namespace tolvek
