#pragma once
// The description file of a stand ("Beschr" + nn + ".txt"): line 1 the title, then the description.
#include <string>
#include <vector>

#include "common/problem.h"

namespace tolvek {

struct DescriptionFile {
  std::string title;
  std::vector<std::string> lines;  // the lines after the title, as read
};

// False when the file cannot be read (a missing description is not an error for the callers).
bool ReadDescriptionFile(const std::string& path, DescriptionFile& description);
Outcome WriteDescriptionFile(const std::string& path, const DescriptionFile& description);

}  // namespace tolvek
