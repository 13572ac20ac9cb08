// Running the checks in order and turning the dry run's outcome into findings.
#include "setupcheck/setup_check.h"

#include "setup/script/text.h"
#include "setupcheck/cd_lint.h"
#include "setupcheck/check_machine.h"
#include "setupcheck/dry_run.h"
#include "setupcheck/movie_lint.h"
#include "setupcheck/plan_report.h"
#include "setupcheck/script_lines.h"
#include "setupcheck/script_lint.h"

namespace setupcheck {

namespace {

constexpr char kScriptName[] = "setup.ini";
// Where the dry run installs when the script's own DIR is refused.
constexpr char kStandInDestination[] = "C:\\SETUPCHECK";

std::string OneLine(std::string text) {
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
    text.replace(at, 2, " / ");
  return text;
}

// Every error the installer showed, and a run that did not reach its end.
void ReportRun(const DryRun& run, const CheckOptions& options, Findings& findings, setup::System& system) {
  bool explained = false;
  for (const setup::ShownBox& box : run.boxes) {
    if (box.kind != setup::BoxKind::Error) continue;
    findings.Fail(0, "", TextId::DryRunShowsError, {system.AnsiToUtf8(run.destination), OneLine(box.text)});
    explained = true;
  }
  if (explained || run.finished) return;
  const Text last = run.boxes.empty() ? Text() : Text(TextId::AfterBox, {OneLine(run.boxes.back().text)});
  findings.Fail(0, "", run.started ? TextId::DryRunStops : TextId::DryRunDoesNotStart,
                {last, options.pc9821 ? Text(TextId::AsPc9821) : Text()});
}

DryRun DryRunWithFallback(const CdFolder& cd, const std::string& scriptBytes, const CheckOptions& options,
                          const ScriptCheck& check) {
  DryRunOptions dryOptions{options.plan ? options.planDestination : std::string(), options.pc9821};
  CheckMachine first(cd, scriptBytes);
  DryRun run = RunInstallation(first, dryOptions);
  if (run.started || !dryOptions.destination.empty()) return run;
  // The script's own DIR was refused: say so, and look at the rest of the run elsewhere.
  const Text reason = run.boxes.empty() ? Text() : Text(TextId::RefusalText, {OneLine(run.boxes.back().text)});
  check.findings.Warn(check.LineOf("DIR"), "DIR", TextId::DefaultFolderRefused,
                      {check.Quote(run.destination), reason, kStandInDestination});
  CheckMachine second(cd, scriptBytes);
  dryOptions.destination = kStandInDestination;
  return RunInstallation(second, dryOptions);
}

bool SameName(const std::string& a, const std::string& b) { return setup::EqualsIgnoringAsciiCase(a, b); }

std::string FolderOf(const std::string& file) {
  const std::size_t slash = file.find_last_of("/\\");
  return slash == std::string::npos ? std::string(".") : file.substr(0, slash == 0 ? 1 : slash);
}

// The script's name under the folder as the user wrote it, with the separator the user used.
std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.back() == '/' || folder.back() == '\\') return folder + name;
  const bool backslashes = folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos;
  return folder + (backslashes ? "\\" : "/") + name;
}

// Entries of the folder the check cannot see as the installer would.
void ReportUnreadEntries(const CdFolder& cd, Findings& findings) {
  for (const std::string& name : cd.untranslatable) {
    findings.Fail(0, "", TextId::NameNotShiftJis, {name});
  }
  for (const std::string& name : cd.links) {
    findings.Warn(0, "", TextId::SymbolicLink, {name});
  }
}

}  // namespace

CheckResult CheckImage(const CdFolder& cd, const std::string& scriptBytes, const std::string& scriptName,
                       const CheckOptions& options) {
  CheckResult result;
  result.scriptName = scriptName;
  const ScriptLines lines = ScriptLines::Scan(scriptBytes);
  CheckMachine machine(cd, scriptBytes);
  setup::SetupScript script;
  setup::LoadSetupScript(setup::RunMode::Install, machine.platform(), script);

  const ScriptCheck check{lines, script, machine.platform(), result.findings};
  CheckEncoding(check);
  CheckStructure(check);
  if (check.Setup() == nullptr) return result;
  const DryRun run = DryRunWithFallback(cd, scriptBytes, options, check);
  ReportRun(run, options, result.findings, machine.platform().system);
  if (options.plan) result.planText = FormatPlan(run, machine.platform().system, options.language);

  // "$" and "~" stand for the folder the dry run installed into, as they do in the installation.
  script.DestDir = run.destination;
  CheckKeys(check);
  CheckListLines(check);
  CheckCdImage(check, machine);
  ReportUnreadEntries(cd, result.findings);
  CheckMovie(cd, result.findings);
  return result;
}

CheckResult RunCheck(const CheckOptions& options) {
  CheckResult failed;
  failed.scriptName = options.target;
  // A mistyped folder must not make the folder around it the image.
  if (!DiskPathExists(options.target)) {
    failed.findings.Fail(0, "", TextId::NoSuchFolder);
    return failed;
  }
  const bool isFolder = IsDiskFolder(options.target);
  const std::string folder = isFolder ? options.target : FolderOf(options.target);
  const std::optional<CdFolder> cd = ReadCdFolder(folder);
  if (!cd) {
    failed.findings.Fail(0, "", TextId::NoSuchCdFolder);
    return failed;
  }
  std::optional<std::string> bytes;
  std::string scriptName = options.target;
  if (isFolder) {
    for (const CdEntry& entry : cd->entries) {
      // Top-level files only; a byte test serves, as a name whose trail byte is 0x5C is never setup.ini.
      if (entry.path.find('\\') != std::string::npos || (entry.attributes & setup::kAttrDirectory) != 0) continue;
      if (!SameName(entry.path, kScriptName)) continue;
      scriptName = JoinPath(options.target, entry.path);
      bytes = ReadDiskFile(entry.diskPath);
    }
    if (!bytes) {
      failed.findings.Fail(0, "", TextId::NoScriptInFolder, {kScriptName});
      return failed;
    }
  } else {
    bytes = ReadDiskFile(DiskPathOfArgument(options.target));
    if (!bytes) {
      failed.findings.Fail(0, "", TextId::CannotReadScript);
      return failed;
    }
  }
  return CheckImage(*cd, *bytes, scriptName, options);
}

}  // namespace setupcheck
