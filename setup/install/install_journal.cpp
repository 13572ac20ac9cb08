// Taking an installation back.
#include "setup/install/install_journal.h"

#include <algorithm>

#include "setup/script/messages.h"

namespace setup {

namespace {

constexpr std::size_t kBarMaximum = 65535;

void RemoveFile(FileSystem& files, const std::string& path) {
  // A copy that came read-only from the CD-ROM is made deletable first.
  if (!files.DeleteFile(path) && files.SetAttributes(path, kAttrNormal)) files.DeleteFile(path);
}

}  // namespace

void InstallJournal::Add(Kind kind, KeyHandle root, const std::string& path) {
  entries_.push_back({kind, static_cast<std::uint32_t>(named_.size())});
  named_.push_back({root, path});
}

void InstallJournal::FolderMade(const std::string& path) {
  Add(Kind::Folder, 0, path);
  folders_.insert(path);
}

void InstallJournal::Remove(Platform& platform, const Entry& entry, const TextList& recordedFiles) {
  if (entry.kind == Kind::RecordedFile) {
    if (entry.index < recordedFiles.size()) RemoveFile(platform.files, recordedFiles[entry.index]);
    return;
  }
  const Named& named = named_[entry.index];
  switch (entry.kind) {
    case Kind::File:
      RemoveFile(platform.files, named.path);
      break;
    case Kind::Folder:
      platform.files.RemoveDirectory(named.path);
      break;
    case Kind::Key:
      platform.registry.DeleteKey(named.root, named.path);
      break;
    case Kind::RecordedFile:
      break;
  }
}

void InstallJournal::TakeBack(Platform& platform, ProgressWindow& progress, const TextList& recordedFiles) {
  const std::size_t count = entries_.size();
  const std::size_t maximum = std::min(count, kBarMaximum);
  progress.SetLabel(text::kTakingBack);
  progress.SetRange(static_cast<int>(maximum));
  int shown = -1;
  for (std::size_t remaining = count; remaining > 0; --remaining) {
    const int position = static_cast<int>(static_cast<std::uint64_t>(remaining) * maximum / count);
    if (position != shown) progress.SetPosition(shown = position);
    Remove(platform, entries_[remaining - 1], recordedFiles);
    platform.ui.PumpMessages();
  }
  progress.SetPosition(0);
  entries_.clear();
  named_.clear();
  folders_.clear();
}

}  // namespace setup
