// Taking an installation back.
#include "setup/install/install_journal.h"

#include <algorithm>
#include <cstdint>

#include "setup/script/messages.h"

namespace setup {

namespace {
constexpr std::size_t kBarMaximum = 65535;
}  // namespace

void InstallJournal::FolderMade(const std::string& path) {
  entries_.push_back({Kind::Folder, 0, path});
  folders_.insert(path);
}

void InstallJournal::Remove(Platform& platform, const Entry& entry) {
  switch (entry.kind) {
    case Kind::File:
      // A copy that came read-only from an earlier line's source is made deletable first.
      if (!platform.files.DeleteFile(entry.path) && platform.files.SetAttributes(entry.path, kAttrNormal)) {
        platform.files.DeleteFile(entry.path);
      }
      break;
    case Kind::Folder:
      platform.files.RemoveDirectory(entry.path);
      break;
    case Kind::Key:
      platform.registry.DeleteKey(entry.root, entry.path);
      break;
  }
}

void InstallJournal::TakeBack(Platform& platform, ProgressWindow& progress) {
  const std::size_t count = entries_.size();
  const std::size_t maximum = std::min(count, kBarMaximum);
  progress.SetLabel(text::kTakingBack);
  progress.SetRange(static_cast<int>(maximum));
  int shown = -1;
  for (std::size_t remaining = count; remaining > 0; --remaining) {
    const int position = static_cast<int>(static_cast<std::uint64_t>(remaining) * maximum / count);
    if (position != shown) progress.SetPosition(shown = position);
    Remove(platform, entries_[remaining - 1]);
    platform.ui.PumpMessages();
  }
  progress.SetPosition(0);
  entries_.clear();
  folders_.clear();
}

}  // namespace setup
