// setupcheck: checks a CD-ROM image folder and its setup.ini the way the installer reads them, and
// with --plan prints the installation a destination folder would get; with --to-sjis writes a
// script kept in UTF-8 as the Shift-JIS file the installer reads.
//
// Exit status: 0 nothing found, 1 warnings only, 2 errors (or a wrong command line).
#include <cstring>
#include <string>

#include "cdsetup_version.h"
#include "setupcheck/console_output.h"
#include "setupcheck/script_conversion.h"
#include "setupcheck/setup_check.h"

namespace {

// The plan's folder is one on the user's Windows machine, never a folder of the machine that runs
// the check: "C:\Games\Hoshi", not "/tmp/hoshi".
bool IsWindowsFolder(const std::string& folder) {
  const bool letter =
      !folder.empty() && ((folder[0] >= 'A' && folder[0] <= 'Z') || (folder[0] >= 'a' && folder[0] <= 'z'));
  return letter && folder.size() >= 2 && folder[1] == ':';
}

bool ParseArguments(int argc, char** argv, setupcheck::CheckOptions* options) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--plan") == 0 && i + 1 < argc) {
      options->plan = true;
      options->planDestination = argv[++i];
    } else if (std::strcmp(argv[i], "--pc9821") == 0) {
      options->pc9821 = true;
    } else if (argv[i][0] != '-' && options->target.empty()) {
      options->target = argv[i];
    } else {
      return false;
    }
  }
  return !options->target.empty();
}

}  // namespace

int main(int argc, char** argv) {
  using setupcheck::Text;
  using setupcheck::TextId;
  const setupcheck::Language language = setupcheck::UserLanguage();
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    setupcheck::WriteOutput(Text(TextId::Usage).In(language));
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    setupcheck::WriteOutput("setupcheck " CDSETUP_VERSION "\n");
    return 0;
  }
  if (argc == 4 && std::strcmp(argv[1], "--to-sjis") == 0) {
    Text report;
    const int status = setupcheck::RunScriptConversion(argv[2], argv[3], report);
    const std::string text = report.In(language);
    if (!text.empty()) setupcheck::WriteOutput(text + "\n");
    return status;
  }
  setupcheck::CheckOptions options;
  options.language = language;
  if (!ParseArguments(argc, argv, &options)) {
    setupcheck::WriteOutput(Text(TextId::Usage).In(language));
    return 2;
  }
  if (options.plan && !options.planDestination.empty() && !IsWindowsFolder(options.planDestination)) {
    setupcheck::WriteOutput(Text(TextId::PlanNeedsWindowsFolder, {options.planDestination}).In(language) + "\n");
    return 2;
  }
  const setupcheck::CheckResult result = setupcheck::RunCheck(options);
  std::string report = result.planText;
  if (!report.empty()) report += "\n";
  for (const setupcheck::Finding& finding : result.findings.Sorted()) {
    report += setupcheck::FormatFinding(result.scriptName, finding, language) + "\n";
  }
  report += setupcheck::FormatSummary(result.scriptName, result.findings, language);
  setupcheck::WriteOutput(report);
  return result.findings.ExitStatus();
}
