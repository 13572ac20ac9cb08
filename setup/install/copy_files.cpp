// The copy step: a sizing pass over every line, then the copy pass with progress and pumping.
#include "setup/install/copy_files.h"

#include <algorithm>
#include <vector>

#include "setup/install/folders.h"
#include "setup/script/fields.h"
#include "setup/script/macros.h"
#include "setup/script/messages.h"
#include "setup/script/paths.h"
#include "setup/script/text.h"

namespace setup {

namespace {

constexpr std::int64_t kBarUnits = 65536;

struct SourceSpec {
  std::string folder;
  std::string searchPath;
};

// The source folder of a field: the freshly expanded SourceDir, plus the field's folder part.
// The test for a folder part looks at single bytes (a deliberate rule of the COPY format: "/" is
// never a trail byte, "\" may be one); the split itself steps over double-byte characters, so a
// name like "ソ" (trail byte 0x5C) gives an empty folder part.
SourceSpec SourceOf(StepContext& context, const std::string& field) {
  SourceSpec source{ExpandMacros(context.script, context.platform, context.script.SourceDir), {}};
  std::string name = field;
  if (field.find_first_of("\\/") != std::string::npos) {
    const std::size_t separator = LastSeparator(field, context.platform.system, false);
    const std::string folderPart = separator == std::string::npos ? std::string() : field.substr(0, separator);
    if (separator != std::string::npos) name = field.substr(separator + 1);
    source.folder = JoinPath(source.folder, folderPart);
  }
  source.searchPath = JoinPath(source.folder, name);
  return source;
}

bool IsCopyable(const FoundEntry& entry) {
  return (entry.attributes & (kAttrDirectory | kAttrHidden | kAttrSystem | kAttrVolumeLabel)) == 0;
}

std::vector<FoundEntry> MatchingFiles(Platform& platform, const std::string& searchPath) {
  std::vector<FoundEntry> files = platform.files.FindEntries(searchPath);
  files.erase(std::remove_if(files.begin(), files.end(), [](const FoundEntry& entry) { return !IsCopyable(entry); }),
              files.end());
  return files;
}

std::int64_t TotalSize(StepContext& context) {
  std::int64_t total = 0;
  for (const std::string& line : context.script.CopyList) {
    std::size_t position = 1;
    const SourceSpec source = SourceOf(context, NextField(line, ',', position));
    for (const FoundEntry& entry : MatchingFiles(context.platform, source.searchPath)) {
      total += static_cast<std::int64_t>(entry.size);
    }
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

void CopyLine(StepContext& context, const std::string& line, const BarScale& bar) {
  Platform& platform = context.platform;
  std::size_t position = 1;
  SourceSpec source = SourceOf(context, NextField(line, ',', position));
  const std::string destination = ExpandMacros(context.script, platform, NextField(line, ',', position));
  if (context.flags.IsPC9821) {
    const std::string pc9821Field = NextField(line, ',', position);
    if (!pc9821Field.empty()) source = SourceOf(context, pc9821Field);
  }
  platform.ui.PumpMessages();
  // A line without a destination would copy into the root of the current drive: skip it.
  if (destination.empty()) return;
  const bool newFolder = !platform.files.DirectoryExists(destination);
  if (newFolder) CreateFolderWithParents(platform, destination);

  for (const FoundEntry& file : MatchingFiles(platform, source.searchPath)) {
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
    CopyLine(context, context.script.CopyList[i], bar);
    if (context.flags.AbortRequested) break;
  }
  context.progress.SetLabel("");
}

}  // namespace setup
