// CD image checks. The copy step itself decides what a source field matches: each field is run
// through it alone, and the listing and the copies it makes are read back from the file system.
#include "setupcheck/cd_lint.h"

#include <map>
#include <set>

#include "setup/install/copy_files.h"
#include "setup/platform/sim/ansi_path.h"
#include "setup/script/fields.h"
#include "setup/script/paths.h"

namespace setupcheck {

namespace {

// Where the probe copies go; the check's machine is thrown away afterwards.
constexpr char kProbeFolder[] = "C:\\SETUPCHECK.PRB";
constexpr std::uint64_t kMegabyte = 1048576;

struct CopiedFile {
  std::string destination;  // folded
  std::string key;
};

std::string Describe(const ScriptCheck& check, const setup::FoundEntry& entry, const std::string& searchPath) {
  const bool hidden = (entry.attributes & setup::kAttrHidden) != 0;
  const bool system = (entry.attributes & setup::kAttrSystem) != 0;
  const char* kind = hidden && system ? "a hidden system file"
                     : hidden         ? "hidden"
                     : system         ? "a system file"
                                      : "no plain file";
  const std::size_t slash = setup::LastSeparator(searchPath, check.platform.system, false);
  const std::string folder = slash == std::string::npos ? std::string() : searchPath.substr(0, slash + 1);
  return check.Quote(folder + entry.name) + " is " + kind + ": the installer does not copy it";
}

// Reports a field that copies nothing and the files it passes over; returns what it copies.
std::vector<setup::FoundEntry> CheckSourceField(const ScriptCheck& check, CheckMachine& machine, const std::string& key,
                                                int line, const std::string& field, const char* what) {
  const SourceMatch match = MatchSource(machine, check.script, field);
  for (const setup::FoundEntry& entry : match.skipped)
    check.findings.Warn(line, key, Describe(check, entry, match.searchPath));
  if (match.copied.empty()) {
    check.findings.Warn(line, key,
                        std::string(what) + " " + check.Quote(field) + " matches no file" +
                            (match.skipped.empty() ? "" : " that is copied") + " (looked for " +
                            check.Quote(match.searchPath) + ")");
  }
  return match.copied;
}

void CheckTotalSize(const ScriptCheck& check, std::uint64_t total) {
  const std::int32_t size = check.script.RequiredSpace;
  const std::uint64_t asked = size > 0 ? static_cast<std::uint64_t>(size) * kMegabyte : 0;
  if (total <= asked) return;
  const std::uint64_t needed = (total + kMegabyte - 1) / kMegabyte;
  check.findings.Warn(check.LineOf("SIZE"), "SIZE",
                      "the files to copy total " + std::to_string(total) + " bytes (" + std::to_string(needed) +
                          " MB rounded up) but SIZE asks for " + std::to_string(size > 0 ? size : 0) +
                          " MB: the free-space check asks for too little");
}

}  // namespace

SourceMatch MatchSource(CheckMachine& machine, const setup::SetupScript& loaded, const std::string& field) {
  setup::SetupScript probe;
  probe.WindowsDir = loaded.WindowsDir;
  probe.WindowsDrive = loaded.WindowsDrive;
  probe.SourceRoot = loaded.SourceRoot;
  probe.SourceDir = loaded.SourceDir;
  probe.DestDir = loaded.DestDir;
  probe.CopyList = {field + "," + kProbeFolder};
  setup::Flags flags;
  setup::StepContext context{probe, flags, machine.platform(), machine.sim().ui().MainProgress()};

  RecordingFileSystem& recorder = machine.recorder();
  recorder.Forget();
  setup::CopyFiles(context);

  SourceMatch match;
  if (recorder.listings().empty()) return match;
  // The first listing is the sizing pass's, the one every line gets.
  const Listing& listing = recorder.listings().front();
  match.searchPath = listing.pattern;
  std::set<std::string> copiedNames;
  const std::string prefix = std::string(kProbeFolder) + "\\";
  for (const CopyCall& copy : recorder.copies()) {
    if (copy.to.rfind(prefix, 0) == 0) copiedNames.insert(copy.to.substr(prefix.size()));
  }
  for (const setup::FoundEntry& entry : listing.entries) {
    if (copiedNames.count(entry.name) > 0) {
      match.copied.push_back(entry);
    } else if ((entry.attributes & setup::kAttrDirectory) == 0) {
      match.skipped.push_back(entry);
    }
  }
  recorder.Forget();
  return match;
}

void CheckCdImage(const ScriptCheck& check, CheckMachine& machine) {
  for (const std::string& path : machine.unplaced()) {
    check.findings.Warn(0, "",
                        "the image's entry " + check.Quote(path) + " has a name Windows does not allow: not checked");
  }
  const setup::TextList& list = check.script.CopyList;
  std::uint64_t total = 0;
  std::map<std::string, std::string> firstCopyTo;  // folded destination -> key of the line
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string key = "COPY" + std::to_string(i + 1);
    const int line = check.LineOf(key);
    std::size_t position = 1;
    const std::string source = setup::NextField(list[i], ',', position);
    const std::string destination = check.Expand(setup::NextField(list[i], ',', position));
    const std::string pc9821Source = setup::NextField(list[i], ',', position);

    for (const setup::FoundEntry& file : CheckSourceField(check, machine, key, line, source, "source")) {
      total += file.size;
      if (destination.empty()) continue;
      const std::string target = destination + "\\" + file.name;
      const auto [first, inserted] = firstCopyTo.emplace(setup::FoldName(target), key);
      if (!inserted) {
        check.findings.Warn(line, key,
                            check.Quote(target) + " is copied again (first by " + first->second +
                                "): the later copy replaces the earlier one");
      }
    }
    if (!pc9821Source.empty()) CheckSourceField(check, machine, key, line, pc9821Source, "PC-9821 source");
  }
  CheckTotalSize(check, total);
}

}  // namespace setupcheck
