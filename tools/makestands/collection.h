#pragma once
// Writes the whole shipped stand collection into a program folder.
#include <string>
#include <vector>

namespace tolvek::makestands {

// Writes every file of the collection below programFolder (creating the folders) and returns the
// paths written, relative to programFolder with "/" separators, in writing order. Stops and returns
// false with a reason when a file cannot be written.
// What a data tool wrote: a file that was written joins `written`; the first that was not sets `error`.
// Gives whether it was written.
bool NoteWritten(bool ok, const std::string& rel, std::vector<std::string>& written, std::string& error);

bool MakeCollection(const std::string& programFolder, std::vector<std::string>& written, std::string& error);

}  // namespace tolvek::makestands
