// Folder creation level by level, from the first missing one down.
#include "setup/install/folders.h"

#include <vector>

#include "setup/script/paths.h"

namespace setup {

bool CreateFolderWithParents(Platform& platform, const std::string& path, InstallJournal& journal) {
  const std::vector<std::size_t> ends = FolderLevelEnds(path, platform.system);
  // Find the deepest existing level first, so a deep tree that mostly exists costs few calls.
  std::size_t missing = ends.size();
  while (missing > 0 && !platform.files.DirectoryExists(path.substr(0, ends[missing - 1]))) --missing;
  bool made = true;
  for (std::size_t level = missing; level < ends.size(); ++level) {
    const std::string folder = path.substr(0, ends[level]);
    made = platform.files.CreateDirectory(folder);
    if (made) journal.FolderMade(folder);
  }
  return made;
}

}  // namespace setup
