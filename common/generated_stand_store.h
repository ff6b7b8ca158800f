#pragma once
// Storing a generated stand so that the simulator lists and loads it, and removing it again.
//
// Stand level: one of five fixed slots "Bestnd95" … "Bestnd99" in "Bestande/", with its tree file,
// boundary file and description file (no register line). Enterprise level: "StandsGE/wStandNNN.txt"
// and its line in "Vorgaben/TolvekGE.txt". A save either completes or leaves every file as it was:
// the files are replaced atomically one after the other, and a failure puts back what was replaced.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/stand_register.h"
#include "common/tree_file.h"

namespace tolvek {

// One tree as the generator leaves it: removed trees carry x = -1 or -10.
struct TreeToSave {
  int species = 0;
  double dbh = 0.0;
  double x = 0.0;
  double y = 0.0;
};

// A generated stand: its trees in creation order on a rectangle of width x height metres.
struct StandToSave {
  std::vector<TreeToSave> trees;
  double width = 0.0;
  double height = 0.0;
};

// The records of the trees that stand in the stand (dbh >= 0, 0 < x <= width, 0 < y <= height), in
// list order; a tree of a species outside 1..9 is left out, as no reader could take it.
std::vector<TreeFileRecord> StandingTreeRecords(const StandToSave& stand);

// ---- Stand level
inline constexpr int kFirstStandSlot = 95;
inline constexpr int kLastStandSlot = 99;
// "Bestnd95.txt" … "Bestnd99.txt".
std::string SlotFileName(int slot);
// "Simul-Bestand 95" … "Simul-Bestand 99".
std::vector<std::string> SlotListItems();

// The three lines of a generated stand's description: the translated title, an empty line, the
// translated "Fläche:" with the area in ha.
std::vector<std::string> GeneratedDescriptionLines(double width, double height,
                                                   const std::function<std::string(const std::string&)>& translate);

// ---- What a save or delete came to
enum class StoreStatus {
  Saved,
  Deleted,
  SlotMissing,    // the stand folder of the slots is not there
  BadNumber,      // stand number outside 301..999
  BadSize,        // the stand's size does not fit the register's columns
  Unreadable,     // the register exists but cannot be read
  WriteFailed,    // a file could not be written (folder read-only, disk full, …)
};

struct StoreOutcome {
  StoreStatus status = StoreStatus::WriteFailed;
  std::string fileName;   // "Bestnd95.txt", "Stand305.txt"
  std::string path;       // the file at fault, or the missing slot's file
  bool deleting = false;     // the outcome of a delete
  bool fileMissing = false;  // delete: neither of the stand's files was there
  bool ok() const { return status == StoreStatus::Saved || status == StoreStatus::Deleted; }
};

// The message to show for an outcome, its German texts passed through translate: on success the file
// name + ":  " + "Bestand in <…> gespeichert." / "gelöscht."; otherwise what failed, with the file.
std::string StoreMessage(const StoreOutcome& outcome, const std::function<std::string(const std::string&)>& translate);

// Writes tree, boundary and description file of a stand-level slot.
StoreOutcome SaveStandLevel(const std::string& programFolder, int slot, const StandToSave& stand,
                            const std::vector<std::string>& descriptionLines);

// Writes the tree file "StandsGE/w" + file name, then replaces the stand's register line (any line with
// its file name goes; the new line comes last; empty lines go).
StoreOutcome SaveEnterpriseStand(const std::string& programFolder, const GeneratedStandIdentity& identity,
                                 const StandToSave& stand);

// Removes the stand's register lines, then its tree file ("w" + name) and a file of its plain name.
StoreOutcome DeleteEnterpriseStand(const std::string& programFolder, int number);

// ---- The enterprise-level identity window
// The number typed in front of the short name: the first three characters as a whole number.
enum class StandNumberCheck { Ok, NotANumber, OutOfRange };
StandNumberCheck CheckStandNumber(std::string_view comboText, int low, int high, int* number = nullptr);
// The short name of a combo text: characters 5 to 20.
std::string ShortNameOf(std::string_view comboText);
// Whether the register already lists the number (its combo items begin with it).
bool RegisterListsNumber(const std::vector<std::string>& comboItems, int number);

// A click into one of the identity window's two class grids (8 rows, 5 columns of square cells): the
// two codes it sets, or nothing for a click outside the cells. developmentGrid: the grid of forest
// development types with treatment types; else stand types with age classes.
struct GridClassChoice {
  char typeLetter = ' ';
  char classDigit = ' ';
  int row = 0;     // 1..8
  int column = 0;  // 1..5
};
std::optional<GridClassChoice> ClassFromGridClick(bool developmentGrid, int x, int y, int cell);

}  // namespace tolvek
