#include "common/problem.h"

#include "common/translate.h"

namespace tolvek {

std::string ProblemMessage(const LanguageTable& language, const Problem& problem) {
  std::string text = Translate(language, problem.message);
  if (!problem.where.empty()) text += ": " + problem.where;
  return text;
}

}  // namespace tolvek
