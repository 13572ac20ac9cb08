// Folder rules of the uninstaller's file step.
#include "setup/uninstall/folder_list.h"

#include "setup/script/text.h"

namespace setup {

std::string FolderOfEntry(std::string_view entry, System& system) {
  const std::size_t separator = LastSeparator(entry, system, true);
  if (separator == std::string_view::npos) return std::string();
  std::string folder(entry.substr(0, separator + 1));
  if (folder.back() == '\\' && folder.size() >= 2) {
    const char before = folder[folder.size() - 2];
    // The byte before may be the trail byte of a double-byte character: then it is no separator.
    const bool beforeIsSeparator =
        (before == ':' || before == '\\') &&
        LastSeparator(folder.substr(0, folder.size() - 1), system, true) == folder.size() - 2;
    if (!beforeIsSeparator) folder.pop_back();
  } else if (folder == "\\") {
    folder.clear();
  }
  return folder;
}

bool IsFullPath(std::string_view path) {
  const bool drive = path.size() >= 3 && path[1] == ':' && path[2] == '\\' &&
                     ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  const bool unc = path.size() >= 3 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
  return drive || unc;
}

FolderList::FolderList(System& system, const std::vector<std::string>& initial) : system_(system) {
  for (const std::string& folder : initial) Add(folder);
}

void FolderList::Add(const std::string& folder) {
  if (keys_.insert(Key(folder)).second) folders_.push_back(folder);
}

// Upper-cases ASCII letters only outside double-byte characters, whose trail bytes may have
// the codes of small letters.
std::string FolderList::Key(std::string_view folder) const {
  std::string key(folder);
  for (std::size_t i = 0; i < key.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(key[i]);
    if (system_.IsLeadByte(c) && i + 1 < key.size()) {
      ++i;
    } else if (c >= 'a' && c <= 'z') {
      key[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
  return key;
}

}  // namespace setup
