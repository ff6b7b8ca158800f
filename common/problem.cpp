#include "common/problem.h"

#include "common/translate.h"

namespace tolvek {

std::string ProblemMessage(const LanguageTable& language, const Problem& problem) {
  std::string text = Translate(language, problem.message);
  // A message that ends in a colon already leads to what follows it.
  if (!problem.where.empty()) text += (!text.empty() && text.back() == ':' ? " " : ": ") + problem.where;
  return text;
}

}  // namespace tolvek
