// The uninstaller's folder list: the folders of the deleted files, in order of first
// appearance, each once whatever its letter case.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "setup/platform/platform.h"

namespace setup {

// The folder of a recorded file: up to and including the last "\" or ":", with a final "\"
// dropped unless it follows ":" or another "\" ("C:\a" gives "C:\", "C:\G\a" gives "C:\G").
// Separators are whole characters: a double-byte character's trail byte never counts.
std::string FolderOfEntry(std::string_view entry, System& system);

// True for a drive path ("C:\...") or a UNC path ("\\server\..."): the only entries the
// uninstaller deletes, so a record cannot aim at files relative to the working folder.
bool IsFullPath(std::string_view path);

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
