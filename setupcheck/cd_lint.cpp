// CD image checks. The copy step's own matching decides what a source field names.
#include "setupcheck/cd_lint.h"

#include <map>
#include <set>
#include <utility>

#include "setup/install/copy_files.h"
#include "setup/platform/sim/ansi_path.h"
#include "setup/script/list_lines.h"
#include "setup/script/paths.h"
#include "setup/script/script_keys.h"

namespace setupcheck {

namespace {

constexpr std::uint64_t kMegabyte = 1048576;

struct CopiedFile {
  std::string destination;  // folded
  std::string key;
};

void WarnPassedOver(const ScriptCheck& check, const std::string& key, int line, const setup::FoundEntry& entry,
                    const std::string& searchPath) {
  const bool hidden = (entry.attributes & setup::kAttrHidden) != 0;
  const bool system = (entry.attributes & setup::kAttrSystem) != 0;
  const TextId kind = hidden && system ? TextId::KindHiddenSystem
                      : hidden         ? TextId::KindHidden
                      : system         ? TextId::KindSystem
                                       : TextId::KindNotPlain;
  const std::size_t slash = setup::LastSeparator(searchPath, check.platform.system, false);
  const std::string folder = slash == std::string::npos ? std::string() : searchPath.substr(0, slash + 1);
  check.findings.Warn(line, key, TextId::NotCopied, {check.Quote(folder + entry.name), Text(kind)});
}

// Reports a field that copies nothing and the files it passes over; returns what it copies.
std::vector<setup::FoundEntry> CheckSourceField(const ScriptCheck& check, const std::string& key, int line,
                                                const std::string& field, TextId what) {
  const setup::CopySource match = setup::MatchCopySource(check.script, check.platform, field);
  for (const setup::FoundEntry& entry : match.passedOver) WarnPassedOver(check, key, line, entry, match.searchPath);
  if (match.files.empty()) {
    check.findings.Warn(line, key, TextId::MatchesNoFile,
                        {Text(what), check.Quote(field), match.passedOver.empty() ? Text() : Text(TextId::ThatIsCopied),
                         check.Quote(match.searchPath)});
  }
  return match.files;
}

void CheckTotalSize(const ScriptCheck& check, std::uint64_t total) {
  const std::int32_t size = check.script.RequiredSpace;
  const std::uint64_t asked = size > 0 ? static_cast<std::uint64_t>(size) * kMegabyte : 0;
  if (total <= asked) return;
  const std::uint64_t needed = (total + kMegabyte - 1) / kMegabyte;
  check.findings.Warn(check.LineOf("SIZE"), "SIZE", TextId::SizeTooSmall,
                      {std::to_string(total), std::to_string(needed), std::to_string(size > 0 ? size : 0)});
}

// A missing SRC reads as "\\", and every search path then begins with two backslashes: a
// network path that names no share, so no source is ever found.
void CheckSourceFolder(const ScriptCheck& check) {
  if (check.script.SourceDir != "\\" || check.script.CopyList.empty()) return;
  const int line = check.LineOf(setup::keys::kSrc);
  check.findings.Warn(line, setup::keys::kSrc, line == 0 ? TextId::SrcNotSet : TextId::SrcIsBackslash);
}

// A path compared as Windows compares it: letter case folded, "/" read as "\\" (never a trail
// byte, so replacing it bytewise is safe).
std::string ComparablePath(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return setup::FoldName(path);
}

// A shortcut whose target no COPY line installs (nor the configuration file) points at nothing.
void CheckStartTargets(const ScriptCheck& check, std::set<std::string> installed) {
  if (!check.script.ConfigFileName.empty()) installed.insert(ComparablePath(check.Expand(check.script.ConfigFileName)));
  const setup::TextList& list = check.script.StartList;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string target = setup::ParseStartLine(list[i]).target;
    if (target.empty()) continue;
    const std::string full = check.script.DestDir + "\\" + target;
    if (installed.count(ComparablePath(full)) > 0) continue;
    const std::string key = setup::keys::kStart + std::to_string(i + 1);
    check.findings.Warn(check.LineOf(key), key, TextId::ShortcutTargetNotInstalled, {check.Quote(full)});
  }
}

}  // namespace

void CheckCdImage(const ScriptCheck& check, CheckMachine& machine) {
  for (const std::string& path : machine.unplaced()) {
    check.findings.Warn(0, "", TextId::BadImageName, {check.Quote(path)});
  }
  const setup::TextList& list = check.script.CopyList;
  std::uint64_t total = 0;
  bool copiesAnything = false;
  CheckSourceFolder(check);
  std::map<std::string, std::string> firstCopyTo;  // folded destination -> key of the line
  std::set<std::string> installed;                 // comparable destinations
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string key = "COPY" + std::to_string(i + 1);
    const int line = check.LineOf(key);
    const setup::CopyLine copy = setup::ParseCopyLine(list[i]);
    const std::string destination = check.Expand(copy.destination);

    for (const setup::FoundEntry& file : CheckSourceField(check, key, line, copy.source, TextId::Source)) {
      copiesAnything = true;
      total += file.size;
      if (destination.empty()) continue;
      const std::string target = destination + "\\" + file.name;
      installed.insert(ComparablePath(target));
      const auto [first, inserted] = firstCopyTo.emplace(setup::FoldName(target), key);
      if (!inserted) {
        check.findings.Warn(line, key, TextId::CopiedAgain, {check.Quote(target), first->second});
      }
    }
    if (!copy.pc9821Source.empty()) CheckSourceField(check, key, line, copy.pc9821Source, TextId::Pc9821Source);
  }
  if (!copiesAnything) {
    check.findings.Fail(0, "", TextId::NothingCopied,
                        {Text(list.empty() ? TextId::NoCopyLine : TextId::NoSourceNamesFile)});
  }
  CheckTotalSize(check, total);
  CheckStartTargets(check, std::move(installed));
}

}  // namespace setupcheck
