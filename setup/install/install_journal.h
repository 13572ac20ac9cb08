// The installation's journal: what this run made that was not there before (files, folders,
// registry keys), so that an installation that stops can take back exactly that. Whatever was on
// the machine before the run is never in it: a file that was replaced, a key that was opened, the
// record of an earlier installation.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "setup/platform/platform.h"

namespace setup {

class InstallJournal {
 public:
  void FileMade(const std::string& path) { entries_.push_back({Kind::File, 0, path}); }
  void FolderMade(const std::string& path);
  void KeyMade(KeyHandle root, const std::string& path) { entries_.push_back({Kind::Key, root, path}); }

  // Whether this run made the folder under exactly this spelling: nothing in it was there before.
  bool MadeFolder(const std::string& path) const { return folders_.count(path) > 0; }
  bool empty() const { return entries_.empty(); }

  // Removes what was made, newest first, so every folder and key is empty when its turn comes;
  // the progress bar runs back to its start as it goes. What cannot be removed (a folder someone
  // else put a file into meanwhile) stays. The journal is empty afterwards.
  void TakeBack(Platform& platform, ProgressWindow& progress);

 private:
  enum class Kind { File, Folder, Key };
  struct Entry {
    Kind kind;
    KeyHandle root;
    std::string path;
  };
  void Remove(Platform& platform, const Entry& entry);

  std::vector<Entry> entries_;
  std::unordered_set<std::string> folders_;
};

}  // namespace setup
