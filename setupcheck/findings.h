// What setupcheck reports: findings with the script line and key they are about, printed one per
// line in the form compilers use, and the exit status they add up to. A finding keeps its text
// and arguments, not a sentence, so that it is written in the reader's language when printed.
#pragma once

#include <string>
#include <vector>

#include "setupcheck/texts.h"

namespace setupcheck {

enum class Severity { Warning, Error };

struct Finding {
  int line = 0;     // 1-based; 0 when the finding is about no single line
  std::string key;  // the script key as written ("COPY3"), "[SETUP]" for a section, or empty
  Severity severity = Severity::Warning;
  Text message;
};

class Findings {
 public:
  void Warn(int line, const std::string& key, TextId text, std::vector<Text> args = {});
  void Fail(int line, const std::string& key, TextId text, std::vector<Text> args = {});

  // In line order; findings without a line come last, each group in the order reported.
  std::vector<Finding> Sorted() const;
  const std::vector<Finding>& all() const { return findings_; }
  int Count(Severity severity) const;
  // 0 when there is nothing to report, 1 for warnings only, 2 when there is an error.
  int ExitStatus() const;

 private:
  std::vector<Finding> findings_;
};

// "setup.ini:12: COPY3: warning: message" (no line number and no key when they are missing).
std::string FormatFinding(const std::string& scriptName, const Finding& finding, Language language);
// "setup.ini: 2 warnings, 1 error" or "setup.ini: no findings", with its line end.
std::string FormatSummary(const std::string& scriptName, const Findings& findings, Language language);

}  // namespace setupcheck
