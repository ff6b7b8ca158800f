#include "simulator/documents.h"

#include "common/paths.h"

namespace tolvek {

namespace {
constexpr const char* kHelpExtension = ".hlp";
}

LanguageNumber DocumentLanguage(LanguageNumber n) { return n == 0 ? kFirstLanguage : n; }

std::string ManualFileFor(LanguageNumber n) {
  const std::string code = LanguageCode(DocumentLanguage(n));
  return code.empty() ? std::string() : "Anleitung" + code + ".htm";
}

std::string HelpTopicPath(const std::string& helpFile, int topic) {
  const std::string ext = kHelpExtension;
  if (helpFile.size() <= ext.size()) return {};
  std::string stem = helpFile.substr(0, helpFile.size() - ext.size());
  std::string tail = helpFile.substr(stem.size());
  for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (tail != ext || stem.back() == '/' || stem.back() == '\\') return {};
  const std::string page = topic == kHelpContents ? "contents.htm" : std::to_string(topic) + ".htm";
  return ResolvePath(NormalizeSeparators(stem + "/" + page));
}

std::string HelpFileOf(const LanguageTable& table, const std::string& programFolder) {
  if (!HelpTopicPath(table.helpFile, kHelpContents).empty()) return table.helpFile;
  return JoinPath(programFolder, LanguageFilesFor(kFirstLanguage).help);
}

std::string TheoryDocumentFor(const std::string& control) {
  for (const TheoryDocument& d : kTheoryDocuments)
    if (control == d.control) return d.file;
  return {};
}

std::vector<std::string> AllOpenedDocuments(const std::string& programFolder) {
  std::vector<std::string> paths;
  for (LanguageNumber n = 0; n <= kLastLanguage; ++n) {
    paths.push_back(ResolveIn(programFolder, ManualFileFor(n)));
    const std::string help = JoinPath(programFolder, LanguageFilesFor(DocumentLanguage(n)).help);
    for (int topic : kHelpTopics) paths.push_back(HelpTopicPath(help, topic));
  }
  for (const TheoryDocument& d : kTheoryDocuments)
    paths.push_back(ResolveIn(JoinPath(programFolder, "Vorgaben/"), d.file));
  return paths;
}

DocumentOpening OpenDocumentFile(DocumentOpener& opener, const std::string& path) {
  if (path.empty() || !FileExists(path)) return DocumentOpening::kMissing;
  return opener.Open(ResolvePath(path)) ? DocumentOpening::kOpened : DocumentOpening::kNoViewer;
}

}  // namespace tolvek
