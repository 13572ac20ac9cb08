// The simulated machine's shell: special folders that can be set or made to fail, a folder picker
// answered from a queue, started programs recorded, and shell links that are both recorded and
// written as small files, so that whoever deletes the .lnk file deletes the shortcut.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "setup/platform/platform.h"
#include "setup/platform/sim/sim_file_system.h"
#include "setup/platform/sim/sim_user_interface.h"

namespace setup {

class SimShell : public Shell {
 public:
  SimShell(SimFileSystem& files, Transcript& transcript);
  ~SimShell() override;

  // Shell.
  //
  // The path set for csidl; empty when none is set or its fault is injected.
  std::optional<std::string> SpecialFolderPath(int csidl) override;
  // The parsing name set for csidl, or else its path; empty under the same conditions.
  std::optional<std::string> SpecialFolderParsingName(int csidl) override;
  // The next queued answer; nothing (cancelled) when the queue is empty.
  std::optional<std::string> BrowseForFolder(const std::string& titleUtf8) override;
  bool OpenFile(const std::string& path) override;
  // Fails when the link's folder does not exist, the link path is a folder or a read-only, hidden or
  // system file, the link or target path has 260 bytes or more, or a link fault hits it; otherwise
  // writes the link file (replacing one) and records it.
  bool SaveShellLink(const ShellLinkData& link) override;
  void BroadcastSettingChange() override;

  // Configuration. An empty path means the shell cannot give that folder.
  void SetSpecialFolder(int csidl, const std::string& path);
  void SetSpecialFolderParsingName(int csidl, const std::string& path);
  void QueueFolderAnswer(std::optional<std::string> folder);

  // Faults: both special-folder calls give the empty text for csidl; saving a link fails for
  // that link path (case-insensitive) or for every link.
  void InjectSpecialFolderFault(int csidl);
  void InjectLinkFault(const std::string& linkPath);
  void FailAllLinks(bool fail) { failAllLinks_ = fail; }

  // What happened.
  // Links saved so far, by link path, the last save of each path; also those deleted since.
  const std::vector<ShellLinkData>& savedLinks() const { return savedLinks_; }
  // The link whose file is still at linkPath, as last saved there.
  std::optional<ShellLinkData> LinkAt(const std::string& linkPath) const;
  const std::vector<std::string>& openedFiles() const { return openedFiles_; }
  const std::vector<std::string>& pickerTitles() const { return pickerTitles_; }
  int broadcasts() const { return broadcasts_; }

  // The content written into a link file; tests may check a file against it.
  static std::string LinkFileContent(const ShellLinkData& link);

 private:
  SimFileSystem& files_;
  Transcript& transcript_;
  std::map<int, std::string> folders_;
  std::map<int, std::string> parsingNames_;
  std::set<int> folderFaults_;
  std::deque<std::optional<std::string>> folderAnswers_;
  std::set<std::string> linkFaults_;  // folded
  bool failAllLinks_ = false;
  std::vector<ShellLinkData> savedLinks_;
  std::vector<std::string> openedFiles_;
  std::vector<std::string> pickerTitles_;
  int broadcasts_ = 0;
};

}  // namespace setup
