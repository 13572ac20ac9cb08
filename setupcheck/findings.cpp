// Collecting, ordering and printing findings.
#include "setupcheck/findings.h"

#include <algorithm>
#include <limits>

namespace setupcheck {

void Findings::Warn(int line, const std::string& key, const std::string& message) {
  findings_.push_back(Finding{line, key, Severity::Warning, message});
}

void Findings::Fail(int line, const std::string& key, const std::string& message) {
  findings_.push_back(Finding{line, key, Severity::Error, message});
}

std::vector<Finding> Findings::Sorted() const {
  std::vector<Finding> sorted = findings_;
  // Line 0 means "no line": it sorts after every numbered line.
  const auto order = [](const Finding& f) { return f.line == 0 ? std::numeric_limits<int>::max() : f.line; };
  std::stable_sort(sorted.begin(), sorted.end(),
                   [&](const Finding& a, const Finding& b) { return order(a) < order(b); });
  return sorted;
}

int Findings::Count(Severity severity) const {
  return static_cast<int>(
      std::count_if(findings_.begin(), findings_.end(), [&](const Finding& f) { return f.severity == severity; }));
}

int Findings::ExitStatus() const {
  if (Count(Severity::Error) > 0) return 2;
  return findings_.empty() ? 0 : 1;
}

std::string FormatFinding(const std::string& scriptName, const Finding& finding) {
  std::string text = scriptName;
  if (finding.line > 0) text += ":" + std::to_string(finding.line);
  text += ": ";
  if (!finding.key.empty()) text += finding.key + ": ";
  text += finding.severity == Severity::Error ? "error: " : "warning: ";
  return text + finding.message;
}

}  // namespace setupcheck
