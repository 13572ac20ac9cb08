// Folder rules of the uninstaller's file step.
#include "setup/uninstall/folder_list.h"

#include "setup/script/paths.h"

namespace setup {

std::string FolderOfEntry(std::string_view entry, System& system) {
  const std::size_t separator = LastSeparator(entry, system, true);
  if (separator == std::string_view::npos) return std::string();
  const std::string_view folder = entry.substr(0, separator + 1);
  if (folder[separator] == ':') return std::string(folder);
  // The separator stays when the character before it is itself a separator or the drive's colon.
  const std::size_t before = LastSeparator(folder.substr(0, separator), system, true);
  const bool keep = separator > 0 && before == separator - 1;
  return std::string(keep ? folder : folder.substr(0, separator));
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
