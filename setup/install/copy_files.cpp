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

// Makes a line's destination folder, asking again while the user says Retry. False when the
// user chose Abort.
bool MakeDestinationFolder(StepContext& context, const std::string& destination) {
  while (!CreateFolderWithParents(context.platform, destination, context.journal)) {
    const Answer answer =
        AskAboutCopyFailure(context, text::kCannotMakeFolderBefore, destination, text::kCannotMakeFolderAfter);
    if (answer != Answer::Retry) return answer != Answer::Abort;
  }
  return true;
}

// Copies one file, asking again while the user says Retry. False when the user chose Abort; after
// Ignore the file counts as copied for the record, but not in the bytes copied.
bool CopyWithRetry(StepContext& context, const FoundEntry& file, const std::string& sourceFolder,
                   const std::string& destination, bool intoNewFolder) {
  while (!CopyOneFile(context.platform, file, sourceFolder, destination, intoNewFolder)) {
    const Answer answer =
        AskAboutCopyFailure(context, text::kCannotCopyBefore, JoinPath(destination, file.name), text::kCannotCopyAfter);
    if (answer != Answer::Retry) return answer != Answer::Abort;
  }
  context.copiedBytes += file.size;
  return true;
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
  if (newFolder && !MakeDestinationFolder(context, destination)) return;
  // In a folder this run made, no file was there before; elsewhere each file is asked about, so
  // that only what the run adds is taken back.
  const bool runsOwnFolder = newFolder || context.journal.MadeFolder(destination);

  ListSource(platform, source);
  for (const FoundEntry& file : source.files) {
    if (context.flags.AbortRequested) break;
    context.progress.SetLabel(text::kCopyingPrefix + platform.system.AnsiToUtf8(file.name));
    platform.ui.PumpMessages();
    TextList& recorded = context.script.InstalledFiles;
    recorded.push_back(JoinPath(destination, file.name));
    // Noted before the copy, so that a copy cut short is taken back too.
    if (runsOwnFolder || !platform.files.FileExists(recorded.back())) {
      context.journal.RecordedFileMade(recorded.size() - 1);
    }
    if (!CopyWithRetry(context, file, source.folder, destination, newFolder)) return;
    AdvanceBar(context.progress, bar, file.size);
    platform.ui.PumpMessages();
  }
}

}  // namespace

CopySource MatchCopySource(const SetupScript& script, Platform& platform, const std::string& field) {
  CopySource source = LocateSource(script, platform, field);
  ListSource(platform, source);
  return source;
}

std::int64_t ProgressScale(std::int64_t totalBytes) { return totalBytes > 65535 ? totalBytes / kBarUnits + 1 : 1; }

bool CopyOneFile(Platform& platform, const FoundEntry& file, const std::string& sourceFolder,
                 const std::string& destinationFolder, bool intoNewFolder) {
  const std::string target = JoinPath(destinationFolder, file.name);
  const std::string from = JoinPath(sourceFolder, file.name);
  bool copied = platform.files.CopyFile(from, target);
  // A copy onto no file takes its source's attributes, so an archive-only source copied into a
  // folder this line created needs no change (the call is a large share of a copy under Wine,
  // see docs/performance.md). A file that was in the way always gets the call: Windows refuses
  // to copy onto a read-only or hidden file, and Wine run by root copies onto it but keeps its
  // old attributes.
  if (copied && intoNewFolder && file.attributes == kAttrArchive) return true;
  const bool madeWritable = platform.files.SetAttributes(target, kAttrArchive);
  // The refused file was in the way and is writable now: replace it as asked.
  if (!copied && madeWritable) {
    copied = platform.files.CopyFile(from, target);
    if (copied) platform.files.SetAttributes(target, kAttrArchive);
  }
  return copied;
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
