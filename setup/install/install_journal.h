// The installation's journal: what this run made that was not there before (files, folders,
// registry keys), so that an installation that stops can take back exactly that. Whatever was on
// the machine before the run is never in it: a file that was replaced, a key that was opened, the
// record of an earlier installation.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "setup/platform/platform.h"
#include "setup/script/setup_script.h"

namespace setup {

class InstallJournal {
 public:
  void FileMade(const std::string& path) { Add(Kind::File, 0, path); }
  // A copied file by its place in the record list (InstalledFiles), so that the many copies of a
  // long script cost the journal no second copy of their paths.
  void RecordedFileMade(std::size_t index) {
    entries_.push_back({Kind::RecordedFile, static_cast<std::uint32_t>(index)});
  }
  void FolderMade(const std::string& path);
  void KeyMade(KeyHandle root, const std::string& path) { Add(Kind::Key, root, path); }

  // Whether this run made the folder under exactly this spelling: nothing in it was there before.
  bool MadeFolder(const std::string& path) const { return folders_.count(path) > 0; }

  // Removes what was made, newest first, so every folder and key is empty when its turn comes;
  // the progress bar runs back to its start as it goes. What cannot be removed (a folder someone
  // else put a file into meanwhile) stays. The journal is empty afterwards.
  void TakeBack(Platform& platform, ProgressWindow& progress, const TextList& recordedFiles);

 private:
  enum class Kind : std::uint8_t { File, RecordedFile, Folder, Key };
  struct Entry {
    Kind kind;
    std::uint32_t index;  // into named_, or into the record list for a RecordedFile
  };
  struct Named {
    KeyHandle root;
    std::string path;
  };
  void Add(Kind kind, KeyHandle root, const std::string& path);
  void Remove(Platform& platform, const Entry& entry, const TextList& recordedFiles);

  std::vector<Entry> entries_;
  std::vector<Named> named_;
  std::unordered_set<std::string> folders_;
};

}  // namespace setup
