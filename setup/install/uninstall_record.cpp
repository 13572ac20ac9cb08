// The uninstall-record step. The record is written beside itself first and moved into place,
// so a crash leaves the old record or the new one, never a torn one.
#include "setup/install/uninstall_record.h"

#include <optional>
#include <utility>

#include "setup/install/registry_entries.h"
#include "setup/script/ini_update.h"
#include "setup/script/macros.h"
#include "setup/script/messages.h"
#include "setup/script/paths.h"
#include "setup/script/script_keys.h"

namespace setup {

namespace {

// Every installation shares the one uninstaller copy: only a copy this run made is its own.
void CopyUninstaller(Platform& platform, InstallJournal& journal) {
  const std::string uninstaller = UninstallerPath(platform);
  if (!platform.files.FileExists(uninstaller)) journal.FileMade(uninstaller);
  platform.files.CopyFile(platform.system.ModulePath(), uninstaller);
  platform.files.SetAttributes(uninstaller, kAttrArchive);
}

// The new record is written under the record's name with this last character, and where the
// system cannot replace a file in one step, the old record waits under the other one while the
// new one moves in. Both names are as long as the record's own, so a record path that fits the
// system's path limit never fails for its companions.
constexpr char kWrittenMark = '~';
constexpr char kAsideMark = '$';

// The record as it stands; on a system that replaces in two steps (Windows 9x), a record left
// aside by a replacement that was cut short is put back first.
std::string ExistingRecord(Platform& platform, const std::string& path) {
  FileSystem& files = platform.files;
  const std::string aside = SameLengthSibling(path, kAsideMark, platform.system);
  if (!files.ReplacesInOneStep() && !files.FileExists(path) && files.FileExists(aside)) files.MoveFile(aside, path);
  if (!files.FileExists(path)) return std::string();
  std::optional<std::string> text = platform.files.ReadWholeFile(path);
  return text ? std::move(*text) : std::string();
}

// Moves the written record over the old one. Without a one-step replacement the old record goes
// aside first, so at every moment a whole record lies under its name or under the aside name,
// from where the next installation takes it back; when the new one cannot move in, the old one
// moves back at once.
bool MoveIntoPlace(Platform& platform, const std::string& written, const std::string& path) {
  FileSystem& files = platform.files;
  if (files.ReplacesInOneStep()) return files.ReplaceFile(written, path);
  const std::string aside = SameLengthSibling(path, kAsideMark, platform.system);
  files.DeleteFile(aside);
  const bool hadRecord = files.FileExists(path);
  if (hadRecord && !files.MoveFile(path, aside)) return false;
  if (files.MoveFile(written, path)) {
    if (hadRecord) files.DeleteFile(aside);
    return true;
  }
  if (hadRecord) files.MoveFile(aside, path);
  return false;
}

bool WriteReplacing(Platform& platform, const std::string& path, const PartSource& source) {
  const std::string temporary = SameLengthSibling(path, kWrittenMark, platform.system);
  if (platform.files.WriteFileInParts(temporary, source) != WriteResult::Ok ||
      !MoveIntoPlace(platform, temporary, path)) {
    platform.files.DeleteFile(temporary);
    return false;
  }
  return true;
}

// The keys the record sets, in their order; the update refers to the script's values. The
// uninstaller loads the record as a script: what was installed comes back as its COPY and REG
// lists.
IniSectionUpdate RecordUpdate(const SetupScript& script) {
  IniSectionUpdate update(kSetupSection);
  update.Set(keys::kTitle, script.Title);
  update.Set(keys::kGroup, script.GroupName);
  update.SetList(keys::kCopy, script.InstalledFiles);
  update.SetList(keys::kReg, script.InstalledRegKeys);
  update.Set(keys::kShortcut, script.ShortcutSetting);
  return update;
}

}  // namespace

std::string UninstallRecordText(const SetupScript& script, std::string_view old) {
  return RecordUpdate(script).WriteOver(old);
}

bool WriteUninstallRecord(const SetupScript& script, Platform& platform, const std::string& path) {
  const std::string old = ExistingRecord(platform, path);
  const IniSectionUpdate update = RecordUpdate(script);
  return WriteReplacing(platform, path, [&](const PartSink& sink) { update.WriteOver(old, sink); });
}

void MakeUnInstallData(StepContext& context) {
  Platform& platform = context.platform;
  SetupScript& script = context.script;
  context.progress.SetLabel(text::kUninstallDataStep);
  CopyUninstaller(platform, context.journal);

  const std::string recordPath = JoinPath(script.DestDir, script.UninstallFile);
  for (const std::string& line : script.RemoveList)
    script.InstalledFiles.push_back(ExpandMacros(script, platform, line));
  // Without a record name the path names the folder itself, and no record can be written.
  if (script.UninstallFile.empty()) {
    ReportCannotCreate(context, recordPath);
    return;
  }

  if (!WriteUninstallRecord(script, platform, recordPath)) ReportCannotCreate(context, recordPath);
}

}  // namespace setup
