#pragma once
// Entering enterprise mode: the choice of one of the three model enterprises in one of the two
// classifications, the stored modes of their structure files, the reset of a structure file from its
// shipped default, and the new subdivision of the chosen enterprise.
#include <string>

#include "common/problem.h"
#include "simulator/enterprise/compartment_map.h"
#include "simulator/enterprise/enterprise_model.h"

namespace tolvek {

// "Temp/Betrieb<n>.txt" and its shipped default "Vorgaben/Betrieb<n>_Default.txt" below the program folder.
std::string EnterpriseFilePath(const std::string& programFolder, int n);
std::string DefaultEnterpriseFilePath(const std::string& programFolder, int n);

// The mode stored in the first line of a structure file: 0 stand types, 1 forest development types,
// 9 when the file is missing or its first line is neither.
int ReadStoredMode(const std::string& path);

inline constexpr const char* kFileNotWritten = "Datei kann nicht geschrieben werden";

// Copies the default of enterprise n over its structure file. The problem (a German reason and the file
// it concerns) when the default cannot be read or the file cannot be written; the file is then as it was.
Outcome ResetEnterpriseFile(const std::string& programFolder, int n);
// The structure files not there yet are made from their defaults (where those are there); a fresh
// program folder then offers every enterprise's stored structure.
void InstallMissingEnterpriseFiles(const std::string& programFolder);

// The choice window about to open: no enterprise chosen, the stored modes of the three files.
void PrepareEnterpriseChoice(EnterpriseSession& s, const std::string& programFolder);
// The picture image (1..6; 1..3 the upper row, 4..6 the lower one) shows, by the classification mode of
// its enterprise's file (its stored mode when read, else the mode in force): with mode 0 image n shows
// picture n and image n + 3 picture n + 3, with mode 1 the two are swapped.
int PreviewPicture(const EnterpriseSession& s, int image, bool forestDevelopmentTypes);
std::string PreviewPicturePath(const std::string& programFolder, int picture);

// A click on image 1..6: that enterprise and row; true when its stored structure is in that row's mode
// (its area balance is then shown).
bool ChoiceClick(EnterpriseSession& s, int image);
// A double click on image 1..6: that enterprise chosen in that row's classification (returned: true for
// forest development types).
bool ChoiceDoubleClick(EnterpriseSession& s, int image);
// "zurück": no enterprise.
void ChoiceBack(EnterpriseSession& s);

// The chosen enterprise's outlines read and the session made ready for its subdivision: counts, map
// angle and scale, the cut settings, every compartment without stands and with its default kind. False
// with the problem (the session then unchanged) when the map cannot be read.
bool StartEnterprise(EnterpriseSession& s, const std::string& presetsFolder, double screenScale, int screenHeight,
                     MapReadProblem& problem);
// Every compartment cut anew and the figures summed; true when a third-level cut failed ("Außerhalb").
bool SubdivideEnterprise(EnterpriseSession& s, RandomDraws& random);

}  // namespace tolvek
