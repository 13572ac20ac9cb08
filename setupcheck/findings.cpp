// Collecting, ordering and printing findings.
#include "setupcheck/findings.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace setupcheck {

void Findings::Warn(int line, const std::string& key, TextId text, std::vector<Text> args) {
  findings_.push_back(Finding{line, key, Severity::Warning, Text(text, std::move(args))});
}

void Findings::Fail(int line, const std::string& key, TextId text, std::vector<Text> args) {
  findings_.push_back(Finding{line, key, Severity::Error, Text(text, std::move(args))});
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

std::string FormatFinding(const std::string& scriptName, const Finding& finding, Language language) {
  std::string text = scriptName;
  if (finding.line > 0) text += ":" + std::to_string(finding.line);
  text += ": ";
  if (!finding.key.empty()) text += finding.key + ": ";
  text += Text(finding.severity == Severity::Error ? TextId::Error : TextId::Warning).In(language) + ": ";
  return text + finding.message.In(language);
}

std::string FormatSummary(const std::string& scriptName, const Findings& findings, Language language) {
  const int warnings = findings.Count(Severity::Warning);
  const int errors = findings.Count(Severity::Error);
  if (warnings + errors == 0) return scriptName + ": " + Text(TextId::NoFindings).In(language) + "\n";
  const Text counts(TextId::WarningsAndErrors,
                    {warnings == 1 ? Text(TextId::OneWarning) : Text(TextId::Warnings, {std::to_string(warnings)}),
                     errors == 1 ? Text(TextId::OneError) : Text(TextId::Errors, {std::to_string(errors)})});
  return scriptName + ": " + counts.In(language) + "\n";
}

}  // namespace setupcheck
