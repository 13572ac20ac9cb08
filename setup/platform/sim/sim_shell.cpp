// The simulated shell: special folders, the folder picker, started programs and shell links
// written into the simulated file system.
#include "setup/platform/sim/sim_shell.h"

namespace setup {

SimShell::SimShell(SimFileSystem& files, Transcript& transcript) : files_(files), transcript_(transcript) {}

SimShell::~SimShell() = default;

std::optional<std::string> SimShell::SpecialFolderPath(int csidl) {
  if (folderFaults_.count(csidl) > 0) return std::nullopt;
  const auto found = folders_.find(csidl);
  if (found == folders_.end()) return std::nullopt;
  return found->second;
}

std::optional<std::string> SimShell::SpecialFolderParsingName(int csidl) {
  if (folderFaults_.count(csidl) > 0) return std::nullopt;
  const auto found = parsingNames_.find(csidl);
  return found == parsingNames_.end() ? SpecialFolderPath(csidl) : found->second;
}

std::optional<std::string> SimShell::BrowseForFolder(const std::string& titleUtf8) {
  pickerTitles_.push_back(titleUtf8);
  transcript_.push_back("folder picker: " + titleUtf8);
  if (folderAnswers_.empty()) return std::nullopt;
  std::optional<std::string> answer = folderAnswers_.front();
  folderAnswers_.pop_front();
  return answer;
}

bool SimShell::OpenFile(const std::string& path) {
  openedFiles_.push_back(path);
  transcript_.push_back("open: " + path);
  return true;
}

std::string SimShell::LinkFileContent(const ShellLinkData& link) {
  return "[link]\r\ntarget=" + link.targetPath + "\r\nfolder=" + link.workingFolder +
         "\r\ndescription=" + link.description + "\r\n";
}

namespace {
// The longest link and target path the shell's link interfaces take, in bytes, and one more.
constexpr std::size_t kMaxLinkPath = 260;
}  // namespace

bool SimShell::SaveShellLink(const ShellLinkData& link) {
  const std::string key = files_.PathKey(link.linkPath);
  if (failAllLinks_ || key.empty() || linkFaults_.count(key) > 0) return false;
  if (link.linkPath.size() >= kMaxLinkPath || link.targetPath.size() >= kMaxLinkPath) return false;
  const std::optional<SplitPathResult> split = SplitLastComponent(link.linkPath);
  if (!split || !IsValidEntryName(split->name)) return false;
  const std::string folder = split->folder.empty() ? files_.CurrentDirectory() : split->folder;
  if (!files_.IsFolder(folder) || files_.IsFolder(link.linkPath)) return false;
  const std::optional<std::uint32_t> attributes = files_.Attributes(link.linkPath);
  if (attributes && (*attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem)) != 0) return false;
  if (!files_.AddFile(link.linkPath, LinkFileContent(link), kAttrArchive)) return false;
  savedLinks_.push_back(link);
  transcript_.push_back("link: " + link.linkPath + " -> " + link.targetPath);
  return true;
}

void SimShell::BroadcastSettingChange() {
  ++broadcasts_;
  transcript_.push_back("settings broadcast");
}

void SimShell::SetSpecialFolder(int csidl, const std::string& path) { folders_[csidl] = path; }

void SimShell::SetSpecialFolderParsingName(int csidl, const std::string& path) { parsingNames_[csidl] = path; }

void SimShell::QueueFolderAnswer(std::optional<std::string> folder) { folderAnswers_.push_back(std::move(folder)); }

void SimShell::InjectSpecialFolderFault(int csidl) { folderFaults_.insert(csidl); }

void SimShell::InjectLinkFault(const std::string& linkPath) { linkFaults_.insert(files_.PathKey(linkPath)); }

std::optional<ShellLinkData> SimShell::LinkAt(const std::string& linkPath) const {
  if (files_.IsFolder(linkPath) || !files_.Exists(linkPath)) return std::nullopt;
  const std::string key = files_.PathKey(linkPath);
  for (auto link = savedLinks_.rbegin(); link != savedLinks_.rend(); ++link) {
    if (files_.PathKey(link->linkPath) == key) return *link;
  }
  return std::nullopt;
}

}  // namespace setup
