// The simulated machine's file system: drives and folders held in memory with Windows rules
// (case-insensitive names that keep the case they were created with, attributes, read-only
// refusals, a current folder for relative paths), fault injection by path and call counters.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "setup/platform/platform.h"
#include "setup/platform/sim/ansi_path.h"

namespace setup {

// Every call of the FileSystem interface; used to count calls and to name the call a fault hits.
enum class FileCall {
  FindEntries,
  CopyFile,
  SetAttributes,
  DeleteFile,
  CreateDirectory,
  RemoveDirectory,
  DirectoryExists,
  FileExists,
  SetCurrentDirectory,
  GetDriveType,
  FreeBytes,
  ShortPath,
  ReadWholeFile,
  WriteWholeFile,
  ReplaceFile,
  MoveFile,
};
constexpr std::size_t kFileCallCount = static_cast<std::size_t>(FileCall::MoveFile) + 1;

// One file as a test sees it; a file made with a size only has no content.
struct FileState {
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
  std::optional<std::string> content;
  bool operator==(const FileState& other) const;
  bool operator!=(const FileState& other) const { return !(*this == other); }
};

// Every file and folder of the machine, keyed by full path as created ("C:\Game\GAME.EXE");
// folders carry kAttrDirectory. Compare two snapshots to prove that nothing else changed.
using FileSnapshot = std::map<std::string, FileState>;

class SimFileSystem : public FileSystem {
 public:
  // An empty machine: no drives, current folder "C:\" (which does not exist until C: is added).
  SimFileSystem();
  ~SimFileSystem() override;

  // FileSystem.
  //
  // FindEntries lists the folder named before the last "\" (relative to the current folder when
  // not full) with the pattern after it, sorted by upper-cased name as NTFS returns them, "." and
  // ".." first for a folder that is not a drive root. Hidden and system entries are listed: the
  // caller filters. A missing folder or an empty pattern gives nothing.
  std::vector<FoundEntry> FindEntries(const std::string& pattern) override;
  // Fails when the source is not a file, the destination's folder is missing, the destination is
  // a folder, or an existing destination is read-only or hidden; the copy keeps the source's
  // attributes, content and size.
  bool CopyFile(const std::string& from, const std::string& to) override;
  // kAttrNormal alone clears every attribute; kAttrDirectory is ignored. Works on folders too.
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
  // Refuses folders, read-only files and missing files.
  bool DeleteFile(const std::string& path) override;
  // One level: the parent must exist and the name must be free.
  bool CreateDirectory(const std::string& path) override;
  // Refuses files, folders that hold anything, read-only folders, drive roots and the current
  // folder (the process holds it open, as Windows does).
  bool RemoveDirectory(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  // True for files only, not for folders.
  bool FileExists(const std::string& path) override;
  bool SetCurrentDirectory(const std::string& path) override;
  // root is "X:\" or "X:" (either case) or a UNC root; anything else, or an unknown drive,
  // gives NoRootDir.
  DriveType GetDriveType(const std::string& root) override;
  // Nothing for an unknown drive or one whose free space is set as unknown (-1).
  std::optional<std::int64_t> FreeBytes(const std::string& root) override;
  // Each component in its 8.3 form: a name that already fits 8.3 stays as stored, a longer one
  // gets the short name given to it at creation (first six letters, "~" and a number unique in
  // its folder, the first three letters of the extension, upper case) or set by SetShortName.
  // A relative path comes back as its full form; a trailing "\" is kept. Nothing for a path that
  // does not exist.
  std::optional<std::string> ShortPath(const std::string& path) override;
  // Nothing for a folder or a missing file. A file made with a size only reads as that many zero
  // bytes up to 64 MiB and fails beyond.
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  // CannotCreate when the folder is missing, the path is a folder, or an existing file is
  // read-only, hidden or system; a written file has the archive attribute alone.
  WriteResult WriteWholeFile(const std::string& path, const std::string& bytes) override;
  // Moves a file over another; fails when the source is not a file, the destination's folder is
  // missing or an existing destination is read-only or a folder. The file keeps its attributes.
  bool ReplaceFile(const std::string& from, const std::string& to) override;
  // True unless SetReplacesInOneStep(false) makes the machine a Windows 9x one.
  bool ReplacesInOneStep() override { return replacesInOneStep_; }
  void SetReplacesInOneStep(bool replaces) { replacesInOneStep_ = replaces; }
  // Renames a file; fails as ReplaceFile does and also when the new name exists.
  bool MoveFile(const std::string& from, const std::string& to) override;
  // The text set by SetFailureText ("アクセスが拒否されました。" at first), whatever failed.
  std::optional<std::string> LastFailureText() override { return failureText_; }
  void SetFailureText(const std::string& textUtf8) { failureText_ = textUtf8; }

  // Drives. A drive must exist before anything is made on it. root as for GetDriveType ("C:",
  // "C:\" or "\\server\share"); free bytes -1 stands for "unknown".
  void AddDrive(const std::string& root, DriveType type, std::int64_t freeBytes);
  void SetDriveType(const std::string& root, DriveType type);
  void SetFreeBytes(const std::string& root, std::int64_t freeBytes);

  // Test helpers: none of them counts as a call or meets an injected fault. Paths are full or
  // relative to the current folder; missing parent folders are created (attribute 0). Each
  // returns false when the drive is unknown, a name is invalid or a file/folder is in the way.
  bool AddFile(const std::string& path, const std::string& bytes, std::uint32_t attributes = kAttrArchive);
  // A file whose size is set without content, so that large files cost no memory.
  bool AddFileOfSize(const std::string& path, std::uint64_t size, std::uint32_t attributes = kAttrArchive);
  bool AddFolder(const std::string& path, std::uint32_t attributes = 0);
  // Gives an existing entry the short name that ShortPath reports for it.
  bool SetShortName(const std::string& path, const std::string& shortName);
  // Content of a file; nothing for a folder, a missing file or a file made with a size only.
  std::optional<std::string> ReadFile(const std::string& path) const;
  bool Exists(const std::string& path) const;
  bool IsFolder(const std::string& path) const;
  // The attributes as stored (folders include kAttrDirectory); nothing when missing.
  std::optional<std::uint32_t> Attributes(const std::string& path) const;
  std::optional<std::uint64_t> Size(const std::string& path) const;
  // Full paths as created, in listing order (depth first, each folder before its content).
  std::vector<std::string> AllFiles() const;
  std::vector<std::string> AllFolders() const;
  FileSnapshot Snapshot() const;
  // The current folder as a full path ("C:\WINDOWS").
  std::string CurrentDirectory() const;
  // The form under which two paths name the same entry: resolved against the current folder and
  // upper-cased; empty for a malformed path.
  std::string PathKey(const std::string& path) const;

  // Fault injection: the call fails for that path (full or relative now; compared without
  // regard to case after resolution). A fault on CopyFile or ReplaceFile hits when either path
  // matches. A fault on WriteWholeFile gives CannotCreate; InjectWriteFailure makes the write
  // fail after the file was created (it is left empty). Faults stay until ClearFaults.
  void InjectFault(FileCall call, const std::string& path);
  void InjectWriteFailure(const std::string& path);
  // The n-th call from now that would change the machine (copy, attributes, delete, create,
  // remove, write, replace, move) fails, once, whatever its path.
  void FailChangeNumber(int n);
  void ClearFaults();

  // Calls of the FileSystem interface made so far, per kind and in all.
  int CallCount(FileCall call) const;
  int TotalCalls() const;
  void ResetCallCounts();

 private:
  struct Node;
  struct Drive;

  Drive* FindDrive(const std::string& rootKey) const;
  std::optional<ResolvedPath> Resolve(const std::string& path) const;
  void UseLongNames(ResolvedPath& path) const;
  Node* Lookup(const ResolvedPath& path) const;
  Node* LookupPath(const std::string& path) const;
  Node* ParentOf(const ResolvedPath& path) const;
  bool Faulted(FileCall call, const std::string& path) const;
  void Count(FileCall call);
  Node* MakeFolders(const ResolvedPath& path);
  // Moves a file over whatever file is under the new name, unless that one is read-only.
  bool Move(const std::string& from, const std::string& to);
  Node* PlaceFile(const std::string& path);
  std::string DisplayPath(const ResolvedPath& path) const;
  std::string KeyOf(const ResolvedPath& path) const;
  bool IsCurrentOrAbove(const ResolvedPath& path) const;
  std::string NewShortName(const Node& folder, const std::string& longName) const;
  std::optional<std::string> RootKeyOf(const std::string& root) const;

  std::map<std::string, std::unique_ptr<Drive>> drives_;  // by folded root
  ResolvedPath current_;
  bool replacesInOneStep_ = true;
  std::map<FileCall, std::set<std::string>> faults_;  // folded full paths
  std::set<std::string> writeFailures_;
  std::array<int, kFileCallCount> calls_{};
  int changesBeforeFault_ = 0;
  bool countedFaultDue_ = false;
  std::string failureText_ = "アクセスが拒否されました。";
};

}  // namespace setup
