// The uninstaller's folder list: the folders of the deleted files, in order of first
// appearance, each once whatever its letter case.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "setup/platform/platform.h"

namespace setup {

// The folder of a recorded file: up to and including the last separator ("\" or "/") or ":", with
// a final separator dropped unless it follows ":" or another separator ("C:\a" gives "C:\",
// "C:\G\a" gives "C:\G", "\a" gives ""). Separators are whole characters: a double-byte
// character's trail byte never counts.
std::string FolderOfEntry(std::string_view entry, System& system);

class FolderList {
 public:
  FolderList(System& system, const std::vector<std::string>& initial);
  void Add(const std::string& folder);
  const std::vector<std::string>& folders() const { return folders_; }

 private:
  std::string Key(std::string_view folder) const;

  System& system_;
  std::vector<std::string> folders_;
  std::unordered_set<std::string> keys_;
};

}  // namespace setup
