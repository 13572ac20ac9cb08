// The uninstall sequence.
#include "setup/uninstall/run_uninstall.h"

#include <memory>

#include "setup/script/installed_places.h"
#include "setup/script/list_lines.h"
#include "setup/script/paths.h"
#include "setup/uninstall/folder_list.h"
#include "setup/uninstall/registry_deletion.h"

namespace setup {

namespace {

// A file the uninstaller counts in a folder: not a folder, a system file or a volume label.
bool IsCountedFile(const FoundEntry& entry) {
  return (entry.attributes & (kAttrDirectory | kAttrSystem | kAttrVolumeLabel)) == 0;
}

// An entry that makes a folder count as in use: anything but a system file or a volume label.
bool IsCountedEntry(const FoundEntry& entry) { return (entry.attributes & (kAttrSystem | kAttrVolumeLabel)) == 0; }

bool HoldsFiles(Platform& platform, const std::string& folder) {
  for (const FoundEntry& entry : platform.files.FindEntries(JoinPath(folder, "*.*"))) {
    if (IsCountedFile(entry)) return true;
  }
  return false;
}

// Only "." and ".." (or nothing at all) count as empty.
bool GroupFolderCountsAsEmpty(Platform& platform, const std::string& group) {
  for (const FoundEntry& entry : platform.files.FindEntries(JoinPath(group, "*.*"))) {
    if (!IsCountedEntry(entry)) continue;
    if ((entry.attributes & kAttrDirectory) == 0 || entry.name.empty() || entry.name[0] != '.') return false;
  }
  return true;
}

// A folder name below the Programs folder that stays below it: no drive, no root, no "." or "..".
bool StaysBelow(const std::string& name, System& system) {
  // ":" is never the second byte of a double-byte character, so a byte search finds drives.
  if (name.find(':') != std::string::npos || (!name.empty() && IsSeparatorByte(name[0], PathKind::File))) return false;
  for (std::string_view part : PathParts(name, system, PathKind::File)) {
    if (part == "." || part == "..") return false;
  }
  return true;
}

// Steps 1 to 3: the product's Start-menu folder, its shortcut files, and the group folder when
// it has become empty. Skipped without a title or without the Programs folder, and for names that
// climb out of it ("..", a drive): the folder would then be the group folder, the Programs folder
// or another folder entirely, whose files belong to others. Files are deleted by full path, so a failed change of
// folder cannot turn the names against another folder.
void RemoveStartMenuFolder(const SetupScript& script, Platform& platform) {
  if (script.Title.empty() || !StaysBelow(script.Title, platform.system) ||
      !StaysBelow(script.GroupName, platform.system)) {
    return;
  }
  FileSystem& files = platform.files;

  std::optional<std::string> programs = GetSpecialFolderPath(platform, kCsidlPrograms);
  if (!programs) return;
  const std::string product = JoinPath(*programs, script.GroupName, script.Title);
  std::vector<std::string> names;
  for (const FoundEntry& entry : files.FindEntries(JoinPath(product, "*.*"))) {
    if (IsCountedFile(entry)) names.push_back(entry.name);
  }
  files.SetCurrentDirectory(product);
  for (const std::string& name : names) files.DeleteFile(JoinPath(product, name));

  programs = GetSpecialFolderPath(platform, kCsidlPrograms);
  if (!programs) return;
  const std::string group = JoinPath(*programs, script.GroupName);
  files.SetCurrentDirectory(group);
  files.RemoveDirectory(JoinPath(group, script.Title));

  programs = GetSpecialFolderPath(platform, kCsidlPrograms);
  if (!programs) return;
  const std::string groupAgain = JoinPath(*programs, script.GroupName);
  if (!script.GroupName.empty() && GroupFolderCountsAsEmpty(platform, groupAgain)) {
    files.SetCurrentDirectory(*programs);
    files.RemoveDirectory(groupAgain);
  }
}

std::unique_ptr<ProgressWindow> ShowDeleteProgress(const SetupScript& script, Platform& platform) {
  std::unique_ptr<ProgressWindow> progress = platform.ui.CreateProgressWindow();
  progress->SetDeleteMode();
  progress->SetRange(static_cast<int>(script.CopyList.size()));
  progress->SetStep(1);
  progress->Show();
  return progress;
}

void DeleteRecordedFiles(const SetupScript& script, Platform& platform, ProgressWindow& progress, FolderList& folders) {
  for (const std::string& entry : script.CopyList) {
    // A record entry that is not a full path would be taken relative to the working folder.
    if (IsFullPath(entry)) {
      folders.Add(FolderOfEntry(entry, platform.system));
      platform.files.DeleteFile(entry);
    }
    progress.StepIt();
    platform.ui.PumpMessages();
  }
}

// Every key goes through the same guard, the uninstall entry too: a title such as "\" would
// otherwise name the shared Uninstall key itself.
void DeleteRecordedKeys(const SetupScript& script, Platform& platform) {
  const auto deleteUnlessProtected = [&platform](KeyHandle root, const std::string& keyPath) {
    if (!IsProtectedKeyPath(keyPath, platform.system)) DeleteKeyTree(platform.registry, root, keyPath);
  };
  if (!script.Title.empty()) deleteUnlessProtected(kHkeyLocalMachine, kUninstallKeyPrefix + script.Title);
  for (const std::string& entry : script.RegList) {
    const RecordedKey key = ParseRecordedKey(entry);
    deleteUnlessProtected(GetRootKey(key.root), key.keyPath);
  }
}

void RemoveEmptiedFolders(const FolderList& folders, Platform& platform) {
  for (const std::string& folder : folders.folders()) {
    if (!HoldsFiles(platform, folder)) platform.files.RemoveDirectory(folder);
  }
}

}  // namespace

void RunUnInstall(SetupScript& script, Platform& platform, const std::string& recordPath) {
  RemoveStartMenuFolder(script, platform);
  std::unique_ptr<ProgressWindow> progress = ShowDeleteProgress(script, platform);
  FolderList folders(platform.system, script.RemoveList);
  DeleteRecordedFiles(script, platform, *progress, folders);
  // The record goes before the folders, so the destination folder that holds it can empty.
  platform.files.DeleteFile(recordPath);
  DeleteRecordedKeys(script, platform);
  RemoveEmptiedFolders(folders, platform);
  progress->Hide();
}

}  // namespace setup
