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

constexpr char kUsage[] =
    "usage: setupcheck [--plan DIR] [--pc9821] CD_FOLDER\n"
    "       setupcheck [--plan DIR] [--pc9821] SCRIPT_FILE\n"
    "       setupcheck --to-sjis UTF8_FILE SETUP_INI\n"
    "  CD_FOLDER    the CD-ROM image folder that holds setup.ini\n"
    "  SCRIPT_FILE  a script checked as the setup.ini of the folder it lies in\n"
    "  --plan DIR   print the installation into DIR (an empty DIR takes the script's DIR)\n"
    "  --pc9821     install as a PC-9821 machine whose user says yes when asked\n"
    "  --to-sjis    convert a UTF-8 script to Shift-JIS with CR LF line ends; stops at a\n"
    "               character Shift-JIS lacks, naming it, and writes nothing\n"
    "  --help       print this text\n"
    "  --version    print the version of setupcheck and of the installer it checks for\n"
    "Exit status: 0 nothing found, 1 warnings, 2 errors.\n";

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

std::string Summary(const setupcheck::CheckResult& result) {
  using setupcheck::Severity;
  const int warnings = result.findings.Count(Severity::Warning);
  const int errors = result.findings.Count(Severity::Error);
  if (warnings + errors == 0) return result.scriptName + ": no findings\n";
  return result.scriptName + ": " + std::to_string(warnings) + (warnings == 1 ? " warning, " : " warnings, ") +
         std::to_string(errors) + (errors == 1 ? " error\n" : " errors\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    setupcheck::WriteOutput(kUsage);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    setupcheck::WriteOutput("setupcheck " CDSETUP_VERSION "\n");
    return 0;
  }
  if (argc == 4 && std::strcmp(argv[1], "--to-sjis") == 0) {
    std::string report;
    const int status = setupcheck::RunScriptConversion(argv[2], argv[3], report);
    setupcheck::WriteOutput(report);
    return status;
  }
  setupcheck::CheckOptions options;
  if (!ParseArguments(argc, argv, &options)) {
    setupcheck::WriteOutput(kUsage);
    return 2;
  }
  if (options.plan && !options.planDestination.empty() && !IsWindowsFolder(options.planDestination)) {
    setupcheck::WriteOutput(
        "setupcheck: --plan takes the Windows folder the installation would go to, such as "
        "C:\\Games\\Hoshi, not \"" +
        options.planDestination + "\" (or \"\" for the script's DIR)\n");
    return 2;
  }
  const setupcheck::CheckResult result = setupcheck::RunCheck(options);
  std::string report = result.planText;
  if (!report.empty()) report += "\n";
  for (const setupcheck::Finding& finding : result.findings.Sorted()) {
    report += setupcheck::FormatFinding(result.scriptName, finding) + "\n";
  }
  report += Summary(result);
  setupcheck::WriteOutput(report);
  return result.findings.ExitStatus();
}
