// The copy step: a sizing pass over every line, then the copy pass with progress and pumping.
#include "setup/install/copy_files.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "setup/install/folders.h"
#include "setup/script/list_lines.h"
#include "setup/script/macros.h"
#include "setup/script/messages.h"
#include "setup/script/paths.h"
#include "setup/script/text.h"

namespace setup {

namespace {

constexpr std::int64_t kBarUnits = 65536;

bool IsCopyable(const FoundEntry& entry) {
  return (entry.attributes & (kAttrDirectory | kAttrHidden | kAttrSystem | kAttrVolumeLabel)) == 0;
}

// The source folder of a field: the freshly expanded SourceDir, plus the field's folder part.
// The test for a folder part looks at single bytes (a deliberate rule of the COPY format: "/" is
// never a trail byte, "\" may be one); the split itself steps over double-byte characters, so a
// name like "ソ" (trail byte 0x5C) gives an empty folder part.
CopySource LocateSource(const SetupScript& script, Platform& platform, const std::string& field) {
  CopySource source;
  source.folder = ExpandMacros(script, platform, script.SourceDir);
  std::string name = field;
  if (field.find_first_of("\\/") != std::string::npos) {
    const std::size_t separator = LastSeparator(field, platform.system, false);
    const std::string folderPart = separator == std::string::npos ? std::string() : field.substr(0, separator);
    if (separator != std::string::npos) name = field.substr(separator + 1);
    source.folder = JoinPath(source.folder, folderPart);
  }
  source.searchPath = JoinPath(source.folder, name);
  return source;
}

void ListSource(Platform& platform, CopySource& source) {
  for (FoundEntry& entry : platform.files.FindEntries(source.searchPath)) {
    if (IsCopyable(entry)) {
      source.files.push_back(std::move(entry));
    } else if ((entry.attributes & kAttrDirectory) == 0) {
      source.passedOver.push_back(std::move(entry));
    }
  }
}

std::int64_t TotalSize(StepContext& context) {
  std::int64_t total = 0;
  for (const std::string& line : context.script.CopyList) {
    const CopySource source = MatchCopySource(context.script, context.platform, ParseCopyLine(line).source);
    for (const FoundEntry& entry : source.files) total += static_cast<std::int64_t>(entry.size);
  }
  return total;
}

// How file sizes become bar positions: the divisor, and the bar's maximum, which the position
// never passes, not even for a PC-9821 file larger than the one the sizing pass counted.
struct BarScale {
  std::int64_t divisor;
  std::int64_t maximum;
};

void AdvanceBar(ProgressWindow& progress, const BarScale& bar, std::uint64_t fileSize) {
  const std::int64_t units = static_cast<std::int64_t>(fileSize / static_cast<std::uint64_t>(bar.divisor));
  const std::int64_t position = std::min<std::int64_t>(progress.Position(), bar.maximum);
  progress.SetPosition(static_cast<int>(std::min(position + std::min(units, bar.maximum), bar.maximum)));
}

void CopyLineFiles(StepContext& context, const std::string& line, const BarScale& bar) {
  Platform& platform = context.platform;
  const CopyLine copy = ParseCopyLine(line);
  const bool pc9821Source = context.flags.IsPC9821 && !copy.pc9821Source.empty();
  CopySource source = LocateSource(context.script, platform, pc9821Source ? copy.pc9821Source : copy.source);
  const std::string destination = ExpandMacros(context.script, platform, copy.destination);
  platform.ui.PumpMessages();
  // A line without a destination would copy into the root of the current drive: skip it.
  if (destination.empty()) return;
  const bool newFolder = !platform.files.DirectoryExists(destination);
  if (newFolder) CreateFolderWithParents(platform, destination);

  ListSource(platform, source);
  for (const FoundEntry& file : source.files) {
    if (context.flags.AbortRequested) break;
    context.progress.SetLabel(text::kCopyingPrefix + platform.system.AnsiToUtf8(file.name));
    platform.ui.PumpMessages();
    CopyOneFile(platform, file, source.folder, destination, newFolder);
    AdvanceBar(context.progress, bar, file.size);
    platform.ui.PumpMessages();
    context.script.InstalledFiles.push_back(destination + "\\" + file.name);
  }
}

}  // namespace

CopySource MatchCopySource(const SetupScript& script, Platform& platform, const std::string& field) {
  CopySource source = LocateSource(script, platform, field);
  ListSource(platform, source);
  return source;
}

std::int64_t ProgressScale(std::int64_t totalBytes) { return totalBytes > 65535 ? totalBytes / kBarUnits + 1 : 1; }

void CopyOneFile(Platform& platform, const FoundEntry& file, const std::string& sourceFolder,
                 const std::string& destinationFolder, bool intoNewFolder) {
  const std::string target = destinationFolder + "\\" + file.name;
  const bool copied = platform.files.CopyFile(sourceFolder + "\\" + file.name, target);
  // A copy onto no file takes its source's attributes, so an archive-only source copied into a
  // folder this line created needs no change (the call is a large share of a copy under Wine,
  // see docs/performance.md). A file that was in the way always gets the call: Windows refuses
  // to copy onto a read-only or hidden file, and Wine run by root copies onto it but keeps its
  // old attributes.
  if (copied && intoNewFolder && file.attributes == kAttrArchive) return;
  platform.files.SetAttributes(target, kAttrArchive);
}

void CopyFiles(StepContext& context) {
  const std::int64_t total = TotalSize(context);
  const BarScale bar{ProgressScale(total), total > 65535 ? 65535 : total};
  context.progress.SetRange(static_cast<int>(bar.maximum));

  const std::size_t lineCount = context.script.CopyList.size();
  // Most lines name one file: room for that many paths saves regrowing a long list.
  context.script.InstalledFiles.reserve(context.script.InstalledFiles.size() + lineCount);
  for (std::size_t i = 0; i < lineCount; ++i) {
    CopyLineFiles(context, context.script.CopyList[i], bar);
    if (context.flags.AbortRequested) break;
  }
  context.progress.SetLabel("");
}

}  // namespace setup
