#include "common/generated_stand_store.h"

#include <filesystem>
#include <system_error>

#include "common/boundary_file.h"
#include "common/description_file.h"
#include "common/format.h"
#include "common/paths.h"

namespace tolvek {
namespace {

namespace fs = std::filesystem;

// The files a save replaces, with what they held before, so that a failure later in the save puts
// every one of them back.
class FileRollback {
 public:
  void Remember(const std::string& path) {
    Saved s{path, FileExists(path), {}};
    if (s.existed && !ReadWholeFile(path, s.bytes)) s.existed = false;
    saved_.push_back(std::move(s));
  }
  void Restore() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      std::error_code ec;
      // Putting back is all that is left to try; a file that cannot be put back stays as the save left it.
      if (it->existed)
        static_cast<void>(WriteFileAtomic(it->path, it->bytes));
      else
        fs::remove(ResolvePath(it->path), ec);
    }
    saved_.clear();
  }

 private:
  struct Saved {
    std::string path;
    bool existed = false;
    std::string bytes;
  };
  std::vector<Saved> saved_;
};

StoreOutcome Stored(StoreStatus status, std::string fileName, std::string path = {}, bool deleting = false) {
  StoreOutcome o;
  o.status = status;
  o.fileName = std::move(fileName);
  o.path = std::move(path);
  o.deleting = deleting;
  return o;
}

// A write that failed, named by the file it could not write.
StoreOutcome NotWritten(std::string fileName, const Problem& problem, bool deleting = false) {
  return Stored(StoreStatus::WriteFailed, std::move(fileName), problem.where, deleting);
}

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(ResolvePath(path), ec);
}

bool MakeFolder(const std::string& path) {
  if (IsFolder(path)) return true;
  std::error_code ec;
  fs::create_directories(ResolvePath(path), ec);
  return !ec;
}

std::string GeneratedFolder(const std::string& programFolder) { return ResolveIn(programFolder, "StandsGE/"); }
std::string GeneratedRegisterPath(const std::string& programFolder) {
  return ResolveIn(programFolder, std::string("Vorgaben/") + kGeneratedRegisterName);
}

}  // namespace

std::vector<TreeFileRecord> StandingTreeRecords(const StandToSave& stand) {
  std::vector<TreeFileRecord> records;
  records.reserve(stand.trees.size());
  for (const TreeToSave& t : stand.trees) {
    if (!(t.dbh >= 0.0) || !(t.x > 0.0 && t.x <= stand.width) || !(t.y > 0.0 && t.y <= stand.height)) continue;
    if (t.species < 1 || t.species > kHighestSpeciesCode) continue;
    records.push_back({static_cast<SpeciesCode>(t.species), static_cast<float>(t.dbh), static_cast<float>(t.x),
                       static_cast<float>(t.y)});
  }
  return records;
}

std::string SlotFileName(int slot) { return "Bestnd" + std::to_string(slot) + ".txt"; }

std::vector<std::string> SlotListItems() {
  std::vector<std::string> items;
  for (int s = kFirstStandSlot; s <= kLastStandSlot; ++s) items.push_back("Simul-Bestand " + std::to_string(s));
  return items;
}

std::vector<std::string> GeneratedDescriptionLines(double width, double height,
                                                   const std::function<std::string(const std::string&)>& translate) {
  return {translate("Künstlich erzeugter Bestand"), "",
          translate("Fläche:") + FormatFixed(10, 2, width * height * 0.0001) + " ha"};
}

std::string StoreMessage(const StoreOutcome& o, const std::function<std::string(const std::string&)>& translate) {
  const std::string notDone = translate(o.deleting ? "Bestand nicht gelöscht" : "Bestand nicht gespeichert");
  switch (o.status) {
    case StoreStatus::Saved: {
      const bool slot = o.fileName.rfind("Bestnd", 0) == 0;
      return o.fileName + ":  " + translate(slot ? "Bestand in <Bestande> gespeichert." : "Bestand in <StandsGE> gespeichert.");
    }
    case StoreStatus::Deleted:
      return o.fileName + ":  " + translate("Bestand in <StandsGE> gelöscht.");
    case StoreStatus::SlotMissing:
      return translate("Datei nicht gefunden!") + "#" + o.path;
    case StoreStatus::BadNumber:
      return translate("Gültigkeitsbereich") + " 301-999 " + translate("nicht eingehalten");
    case StoreStatus::BadSize:
      return translate("Bestandesgröße passt nicht in das Register") + ": " + o.fileName;
    case StoreStatus::Unreadable:
      return translate("Datei kann nicht gelesen werden") + ": " + o.path + "#" + notDone;
    case StoreStatus::WriteFailed:
      return translate("Datei konnte nicht geschrieben werden:") + " " + o.path + "#" + notDone;
  }
  return {};
}

StoreOutcome SaveStandLevel(const std::string& programFolder, int slot, const StandToSave& stand,
                            const std::vector<std::string>& descriptionLines) {
  const std::string name = SlotFileName(slot);
  const std::string folder = ResolveIn(programFolder, "Bestande/");
  if (slot < kFirstStandSlot || slot > kLastStandSlot || !IsFolder(folder))
    return Stored(StoreStatus::SlotMissing, name, JoinPath(folder, name));

  const std::string number = std::to_string(slot);
  const std::string treePath = ResolveIn(folder, "w" + name);
  const std::string boundaryPath = ResolveIn(folder, "Grenze" + number + ".txt");
  const std::string descriptionPath = ResolveIn(folder, "Beschr" + number + ".txt");
  FileRollback rollback;
  for (const std::string& p : {treePath, boundaryPath, descriptionPath}) rollback.Remember(p);

  DescriptionFile description;
  if (!descriptionLines.empty()) {
    description.title = descriptionLines.front();
    description.lines.assign(descriptionLines.begin() + 1, descriptionLines.end());
  }
  Outcome written = WriteTreeFile(treePath, StandingTreeRecords(stand));
  if (written.ok()) written = WriteBoundaryFile(boundaryPath, RectangleBoundary(stand.width, stand.height));
  if (written.ok()) written = WriteDescriptionFile(descriptionPath, description);
  if (!written.ok()) {
    rollback.Restore();
    return NotWritten(name, written.problem());
  }
  return Stored(StoreStatus::Saved, name);
}

StoreOutcome SaveEnterpriseStand(const std::string& programFolder, const GeneratedStandIdentity& identity,
                                 const StandToSave& stand) {
  const std::string name = GeneratedStandFileName(identity.number);
  if (identity.number < 301 || identity.number > 999) return Stored(StoreStatus::BadNumber, name, {});
  const std::optional<std::string> line = GeneratedRegisterLine(identity, stand.width, stand.height);
  if (!line) return Stored(StoreStatus::BadSize, name, {});

  const std::string registerPath = GeneratedRegisterPath(programFolder);
  RegisterFile reg;
  // A register not there yet is an empty one; one that is there but cannot be read is never replaced.
  if (ReadRegisterFile(registerPath, reg) == RegisterFileProblem::Unreadable)
    return Stored(StoreStatus::Unreadable, name, registerPath);

  const std::string folder = GeneratedFolder(programFolder);
  if (!MakeFolder(folder)) return Stored(StoreStatus::WriteFailed, name, folder);
  const std::string treePath = ResolveIn(folder, "w" + name);
  FileRollback rollback;
  rollback.Remember(treePath);
  if (const Outcome written = WriteTreeFile(treePath, StandingTreeRecords(stand)); !written.ok())
    return NotWritten(name, written.problem());

  ReplaceRegisterEntry(reg, name, &*line);
  if (const Outcome written = WriteRegisterFile(registerPath, reg); !written.ok()) {
    // The register still names the old stand (or none): the old tree file goes back with it.
    rollback.Restore();
    return NotWritten(name, written.problem());
  }
  return Stored(StoreStatus::Saved, name);
}

StoreOutcome DeleteEnterpriseStand(const std::string& programFolder, int number) {
  const std::string name = GeneratedStandFileName(number);
  if (number < 301 || number > 999) return Stored(StoreStatus::BadNumber, name, {}, true);
  const std::string registerPath = GeneratedRegisterPath(programFolder);
  RegisterFile reg;
  const RegisterFileProblem read = ReadRegisterFile(registerPath, reg);
  if (read == RegisterFileProblem::Unreadable) return Stored(StoreStatus::Unreadable, name, registerPath, true);
  if (read == RegisterFileProblem::None) {
    ReplaceRegisterEntry(reg, name, nullptr);
    // The line goes first: should the files then stay, no register line points at a missing stand.
    if (const Outcome written = WriteRegisterFile(registerPath, reg); !written.ok())
      return NotWritten(name, written.problem(), true);
  }
  const std::string folder = GeneratedFolder(programFolder);
  bool removedAny = false;
  for (const std::string& file : {"w" + name, name}) {
    const std::string path = ResolveIn(folder, file);
    if (!FileExists(path)) continue;
    std::error_code ec;
    if (fs::remove(path, ec)) removedAny = true;
  }
  StoreOutcome o = Stored(StoreStatus::Deleted, name, {}, true);
  o.fileMissing = !removedAny;
  return o;
}

StandNumberCheck CheckStandNumber(std::string_view comboText, int low, int high, int* number) {
  std::optional<long long> n = ParseInt(Utf8Left(comboText, 3));
  if (!n) return StandNumberCheck::NotANumber;
  if (*n < low || *n > high) return StandNumberCheck::OutOfRange;
  if (number) *number = static_cast<int>(*n);
  return StandNumberCheck::Ok;
}

std::string ShortNameOf(std::string_view comboText) { return Utf8Mid(comboText, 4, 16); }

bool RegisterListsNumber(const std::vector<std::string>& comboItems, int number) {
  for (const std::string& item : comboItems) {
    std::optional<long long> n = ParseInt(TrimSpaces(Utf8Left(item, 3)));
    if (n && *n == number) return true;
  }
  return false;
}

std::optional<GridClassChoice> ClassFromGridClick(bool developmentGrid, int x, int y, int cell) {
  if (cell <= 0 || x < 0 || y < 0) return std::nullopt;
  GridClassChoice c;
  c.row = y / cell + 1;
  c.column = x / cell + 1;
  if (c.row > kTypeCount || c.column > kClassCount) return std::nullopt;
  const ClassificationMode mode = developmentGrid ? ClassificationMode::DevelopmentTypes : ClassificationMode::StandTypes;
  c.typeLetter = TypeLetter(mode, c.row);
  c.classDigit = ClassDigit(mode, c.column);
  return c;
}

}  // namespace tolvek
