#pragma once
// How the core says that something could not be done: a Problem carries the message and where it
// arose; a step that can fail returns an Outcome, which holds the problem or that it worked. The core
// never shows a problem itself: the window that asked translates the message and shows it.
#include <optional>
#include <string>
#include <utility>

namespace tolvek {

struct LanguageTable;

struct Problem {
  std::string message;  // German, as the language table knows it; translated where it is shown
  std::string where;    // the file (or record of a file) it concerns; empty when none

  bool operator==(const Problem&) const = default;
};

// That a step worked, or its problem. It does not turn into bool: a caller asks ok(), so a problem can
// never be read as success.
class [[nodiscard]] Outcome {
 public:
  Outcome() = default;                                        // it worked
  Outcome(Problem problem) : problem_(std::move(problem)) {}  // NOLINT: a problem is an outcome
  Outcome(std::string message, std::string where) : problem_(Problem{std::move(message), std::move(where)}) {}

  bool ok() const { return !problem_.has_value(); }
  // Only when !ok().
  const Problem& problem() const { return *problem_; }

 private:
  std::optional<Problem> problem_;
};

// The text a window shows: the translated message, then ": " and where it arose when that is known (only
// a blank when the message ends in a colon).
std::string ProblemMessage(const LanguageTable& language, const Problem& problem);

}  // namespace tolvek
