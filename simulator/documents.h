#pragma once
// The documents the simulator opens with the system's viewers: the manual of each language, the help
// pages (contents and numbered topics) and the theory documents. Every name the program opens is
// made here, so the shipped folder can be checked against exactly these names.
#include <string>
#include <vector>

#include "common/language.h"
#include "common/platform.h"

namespace tolvek {

// The help contents and the numbered topics the windows open.
inline constexpr int kHelpContents = 0;
inline constexpr int kHelpStandList = 115;      // "Verzeichnis der Bestände"
inline constexpr int kHelpDecisionAid = 116;    // "Entscheidungshilfe"
inline constexpr int kHelpDataStructure = 121;  // "Struktur d. Datenbestände"
inline constexpr int kHelpApplications = 122;   // "Anwendungen"
inline constexpr int kHelpTopics[] = {kHelpContents, kHelpStandList, kHelpDecisionAid, kHelpDataStructure,
                                      kHelpApplications};

// The language whose documents are opened: before the first language is chosen the program speaks
// German, and so do its documents.
LanguageNumber DocumentLanguage(LanguageNumber n);

// "AnleitungDE.htm" … "AnleitungTR.htm" for 1 … 7 (0 gives the German one); empty for other numbers.
std::string ManualFileFor(LanguageNumber n);

// A help file ("…/HelpTolvekDE.hlp") is shipped as a folder of pages beside it ("…/HelpTolvekDE/"):
// "contents.htm" and one page per topic ("121.htm"). Empty when the help path names no help file.
std::string HelpTopicPath(const std::string& helpFile, int topic);
// The help file of the language's table, or the German one in the program folder when the table
// names none (before the first language is chosen).
std::string HelpFileOf(const LanguageTable& table, const std::string& programFolder);

struct TheoryDocument {
  const char* control;  // the radio button that opens it
  const char* file;     // in the presets folder
};
inline constexpr TheoryDocument kTheoryDocuments[] = {
    {"RbTeoAllgemein", "TheoAllgemein.PDF"},     {"RbTeoBHD", "TheoBHD.PDF"},
    {"RbTeoGrundflaeche", "TheoGrundflaeche.PDF"}, {"RbTeoVarianz", "TheoVarianz.PDF"},
    {"RbTeoOptimierung", "TheoOptimierung.PDF"}, {"RbTeoBias", "TheoBias.PDF"},
    {"RbTeoNBaum", "TheoNBaum.PDF"},
};
// The file of a theory radio button; empty for any other name.
std::string TheoryDocumentFor(const std::string& control);

// Every document path the program can open from this program folder: the manuals of all languages,
// both help sets with all their topics, and the theory documents.
std::vector<std::string> AllOpenedDocuments(const std::string& programFolder);

// What went wrong when a document was to be opened.
enum class DocumentOpening { kOpened, kMissing, kNoViewer };
// Opens the file with the system's viewer; kMissing when there is no such file (the viewer is not
// asked), kNoViewer when the viewer could not be started.
DocumentOpening OpenDocumentFile(DocumentOpener& opener, const std::string& path);

}  // namespace tolvek
