#include "simulator/enterprise/enterprise_choice.h"

#include <filesystem>

#include "common/paths.h"
#include "simulator/enterprise/structure_file.h"
#include "simulator/enterprise/subdivision.h"

namespace tolvek {

std::string EnterpriseFilePath(const std::string& programFolder, int n) {
  return ResolveIn(programFolder, "Temp/Betrieb" + std::to_string(n) + ".txt");
}

std::string DefaultEnterpriseFilePath(const std::string& programFolder, int n) {
  return ResolveIn(programFolder, "Vorgaben/Betrieb" + std::to_string(n) + "_Default.txt");
}

int ReadStoredMode(const std::string& path) {
  std::vector<std::string> lines;
  if (!ReadTextLines(path, lines) || lines.empty()) return 9;
  // The choice window offers the stored structure in this mode: it must be the mode the file reads in.
  return StructureModeOf(lines[0]).value_or(9);
}

Outcome ResetEnterpriseFile(const std::string& programFolder, int n) {
  const std::string from = DefaultEnterpriseFilePath(programFolder, n);
  std::string bytes;
  if (!ReadWholeFile(from, bytes)) return Problem{kMapFileMissing, from};
  const std::string to = EnterpriseFilePath(programFolder, n);
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(to).parent_path(), ec);
  if (!WriteFileAtomic(to, bytes).ok()) return Problem{kFileNotWritten, to};
  return {};
}

void InstallMissingEnterpriseFiles(const std::string& programFolder) {
  for (int n = 1; n <= kEnterpriseCount; ++n) {
    if (FileExists(EnterpriseFilePath(programFolder, n)) || !FileExists(DefaultEnterpriseFilePath(programFolder, n)))
      continue;
    static_cast<void>(ResetEnterpriseFile(programFolder, n));  // a failure leaves the enterprise without a file
  }
}

void PrepareEnterpriseChoice(EnterpriseSession& s, const std::string& programFolder) {
  s.number = 0;
  s.takeModeFromFile = true;
  InstallMissingEnterpriseFiles(programFolder);
  for (int n = 1; n <= kEnterpriseCount; ++n)
    s.storedMode[static_cast<std::size_t>(n)] = ReadStoredMode(EnterpriseFilePath(programFolder, n));
}

int PreviewPicture(const EnterpriseSession& s, int image, bool forestDevelopmentTypes) {
  const int n = (image - 1) % 3 + 1;
  const bool lower = image > 3;
  const int stored = s.storedMode[static_cast<std::size_t>(n)];
  const bool mode = stored == 9 ? forestDevelopmentTypes : stored == 1;
  return (lower != mode) ? n + 3 : n;
}

std::string PreviewPicturePath(const std::string& programFolder, int picture) {
  return ResolveIn(programFolder, "BitMap/Betrieb" + std::to_string(picture) + ".bmp");
}

namespace {

void ChooseImage(EnterpriseSession& s, int image) {
  s.number = (image - 1) % 3 + 1;
  s.compartmentCount = ModelEnterprise(s.number).compartments;
}

}  // namespace

bool ChoiceClick(EnterpriseSession& s, int image) {
  ChooseImage(s, image);
  s.viewRow = image > 3 ? 1 : 0;
  s.modeCaption = s.viewRow == 1 ? "   WET" : "   Akl";
  return s.storedMode[static_cast<std::size_t>(s.number)] == s.viewRow;
}

bool ChoiceDoubleClick(EnterpriseSession& s, int image) {
  ChooseImage(s, image);
  s.takeModeFromFile = false;
  const bool lower = image > 3;
  // The row chosen is the row whose stored structure is read, whatever was clicked before.
  s.viewRow = lower ? 1 : 0;
  s.modeCaption = lower ? "   WET" : "   Akl";
  return lower;
}

void ChoiceBack(EnterpriseSession& s) { s.number = 0; }

bool StartEnterprise(EnterpriseSession& s, const std::string& presetsFolder, double screenScale, int screenHeight,
                     MapReadProblem& problem) {
  std::vector<Ring> outlines;
  if (!ReadEnterpriseOutlines(presetsFolder, s.number, outlines, problem)) return false;
  const ModelEnterpriseInfo& e = ModelEnterprise(s.number);
  s.standCount = 0;
  s.totalArea = 0.0;
  s.cutSpread = 70;
  s.standLevel = 3;
  s.piecesPerCut = 3;
  s.mapAngle = e.angle;
  s.compartmentCount = e.compartments;
  s.mapScale = EnterpriseMapScale(s.number, screenScale, screenHeight);
  s.outlines = std::move(outlines);
  s.compartments.assign(static_cast<std::size_t>(s.compartmentCount) + 1, Compartment{});
  for (int a = 1; a <= s.compartmentCount; ++a) s.At(a).kind = DefaultKind(a);
  s.firstDrawing = true;
  return true;
}

bool SubdivideEnterprise(EnterpriseSession& s, RandomDraws& random) {
  bool outside = false;
  for (int a = 1; a <= s.compartmentCount; ++a)
    if (SubdivideCompartment(s, a, random).outsideAtThirdLevel) outside = true;
  SumEnterpriseArea(s);
  return outside;
}

}  // namespace tolvek
