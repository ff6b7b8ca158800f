#include "common/description_file.h"

#include "common/paths.h"

namespace tolvek {

bool ReadDescriptionFile(const std::string& path, DescriptionFile& description) {
  std::vector<std::string> lines;
  if (!ReadTextLines(path, lines)) return false;
  DescriptionFile d;
  if (!lines.empty()) {
    d.title = lines.front();
    d.lines.assign(lines.begin() + 1, lines.end());
  }
  description = std::move(d);
  return true;
}

Outcome WriteDescriptionFile(const std::string& path, const DescriptionFile& description) {
  std::vector<std::string> lines;
  lines.reserve(description.lines.size() + 1);
  lines.push_back(description.title);
  lines.insert(lines.end(), description.lines.begin(), description.lines.end());
  return WriteTextLines(path, lines);
}

}  // namespace tolvek
