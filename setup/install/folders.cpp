// Folder creation level by level, from the first missing one down.
#include "setup/install/folders.h"

#include <vector>

namespace setup {

namespace {

// Where the levels of path end: after the drive ("C:\") or the UNC share ("\\srv\share\"),
// every backslash that follows a name, and the end. Double-byte characters are stepped over.
std::vector<std::size_t> LevelEnds(const std::string& path, System& system) {
  std::size_t start = 0;
  if (path.size() >= 2 && path[1] == ':') {
    start = 2;
  } else if (path.rfind("\\\\", 0) == 0) {
    int separators = 0;
    for (start = 2; start < path.size() && separators < 2; ++start) {
      if (path[start] == '\\') ++separators;
    }
  }
  std::vector<std::size_t> ends;
  for (std::size_t i = start; i < path.size(); ++i) {
    const char c = path[i];
    if (c == '\\') {
      if (i > start && path[i - 1] != '\\') ends.push_back(i);
    } else if (system.IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < path.size()) {
      ++i;
    }
  }
  if (!path.empty() && path.back() != '\\') ends.push_back(path.size());
  return ends;
}

}  // namespace

void CreateFolderWithParents(Platform& platform, const std::string& path) {
  const std::vector<std::size_t> ends = LevelEnds(path, platform.system);
  // Find the deepest existing level first, so a deep tree that mostly exists costs few calls.
  std::size_t missing = ends.size();
  while (missing > 0 && !platform.files.DirectoryExists(path.substr(0, ends[missing - 1]))) --missing;
  for (std::size_t level = missing; level < ends.size(); ++level) {
    platform.files.CreateDirectory(path.substr(0, ends[level]));
  }
}

}  // namespace setup
