#pragma once
// The file set of one stand and the rule that picks its folder from the stand code.
#include <string>
#include <string_view>

#include "common/paths.h"
#include "common/problem.h"

namespace tolvek {

// The folder a stand's files lie in, below the program folder.
enum class StandFolder { Bestande, StandsCH, StandsWW, StandsEU, StandsGE, ProgramFolder };

// Catalogue codes ("Bestnd" + two digits): 71..90 "StandsCH", every other number "Bestande".
// Other codes (five characters + three digits): 101..199 "StandsWW", 201..299 "StandsEU",
// 300..999 "StandsGE", any other number the program folder itself.
StandFolder StandFolderFor(bool catalogueCode, int number);
// "Bestande", "StandsCH", ... ; "" for the program folder.
const char* StandFolderName(StandFolder folder);

struct StandFiles {
  std::string code;               // eight characters, the tree-file name without "w" and ".txt"
  bool catalogueCode = false;     // "Bestnd" + nn
  int number = 0;                 // 1..99 for catalogue codes, the three-digit number otherwise
  std::string numberText;         // two characters; "00" for three-digit codes
  StandFolder folderKind = StandFolder::Bestande;
  std::string folder;             // program folder + stand folder, ending in "/"
  bool selectionForest = false;   // catalogue stands 71..90 (plenter forests)
  std::string catalogueTreeFile;  // folder + code + ".txt": the name callers pass around
  std::string treeFile;           // folder + "w" + code + ".txt": the file actually read
  std::string boundaryFile;       // folder + "Grenze" + nn + ".txt"
  std::string descriptionFile;    // folder + "Beschr" + nn + ".txt"
  std::string photoFile;          // program folder + "Fotos/Fotogr" + nn + ".jpg"
};

// From a tree path that ends in code + ".txt" (without the "w"). The problem when the path does not
// end in a stand code this program knows (files is then left untouched).
Outcome ResolveStandFiles(const ProgramFolders& folders, std::string_view treePath, StandFiles& files);

// Stand codes and file names compare without regard to case, as the platform's file names do.
bool SameIgnoringCase(std::string_view a, std::string_view b);

// The two further photographs of a stand: the first "gr" of the photo path becomes "gs", then "gt".
std::string SecondPhotoPath(const std::string& photoPath);
std::string ThirdPhotoPath(const std::string& photoPath);

}  // namespace tolvek
