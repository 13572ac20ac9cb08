// The seam between the installer's portable logic and the machine it runs on.
// The core reaches files, registry, shell, system facts and windows only through these
// interfaces; the Win32 layer implements them with the ANSI API, the simulated machine
// implements them in memory for the host tests.
//
// Text conventions: data text (paths, script values, registry values) is 8-bit ANSI in the
// system code page and passed as bytes. Window texts that come from the program's own
// message catalogue are UTF-8 ("Utf8" in the parameter name).
//
// Failures: an action returns bool, true when it was done; a question returns std::optional,
// nothing when the system could not answer; a listing returns a vector, empty when nothing is
// there or the system could not list it. Writing a file is the one action that says how it
// failed (WriteResult), because a file that could not be created is reported and one that could
// not be written is not. Window calls report nothing: no failure of theirs changes what the
// installer does. Buffer sizes and the system's own error codes stay inside the implementations.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setup {

// File attributes, with the values the system uses.
enum FileAttribute : std::uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrVolumeLabel = 0x08,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrNormal = 0x80,
};

enum class DriveType { Unknown = 0, NoRootDir = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

struct FoundEntry {
  std::string name;  // name only, no folder
  std::uint64_t size = 0;
  std::uint32_t attributes = 0;
};

enum class WriteResult { Ok, CannotCreate, WriteFailed };

// Takes a file's bytes part after part.
using PartSink = std::function<void(std::string_view part)>;
// Hands a file's bytes to the sink, in as many parts as it likes.
using PartSource = std::function<void(const PartSink& sink)>;

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Entries matching a folder path followed by a wildcard name ("C:\A\*.*"), in the order the
  // file system returns them; "." and ".." included when the pattern matches them.
  virtual std::vector<FoundEntry> FindEntries(const std::string& pattern) = 0;
  // Copies, replacing an existing file.
  virtual bool CopyFile(const std::string& from, const std::string& to) = 0;
  virtual bool SetAttributes(const std::string& path, std::uint32_t attributes) = 0;
  virtual bool DeleteFile(const std::string& path) = 0;
  // Creates one folder level.
  virtual bool CreateDirectory(const std::string& path) = 0;
  virtual bool RemoveDirectory(const std::string& path) = 0;
  virtual bool DirectoryExists(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool SetCurrentDirectory(const std::string& path) = 0;
  // root is a drive root such as "C:\".
  virtual DriveType GetDriveType(const std::string& root) = 0;
  // Bytes available to the caller on the drive of root.
  virtual std::optional<std::int64_t> FreeBytes(const std::string& root) = 0;
  // The 8.3 form of an existing path; nothing when the system cannot give it.
  virtual std::optional<std::string> ShortPath(const std::string& path) = 0;
  virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;
  // Creates or truncates the file, then writes the bytes.
  virtual WriteResult WriteWholeFile(const std::string& path, const std::string& bytes) = 0;
  // The same for bytes that the source hands over in parts, so that a long text need not be held
  // whole. A system that cannot write the parts as they come joins them and writes them at once.
  virtual WriteResult WriteFileInParts(const std::string& path, const PartSource& source) {
    std::string bytes;
    source([&bytes](std::string_view part) { bytes += part; });
    return WriteWholeFile(path, bytes);
  }
  // Moves a file over another in one step (MoveFileExA); only where ReplacesInOneStep().
  virtual bool ReplaceFile(const std::string& from, const std::string& to) = 0;
  // False on Windows 9x, whose MoveFileExA is a stub that always fails.
  virtual bool ReplacesInOneStep() = 0;
  // Renames a file; fails when something exists under the new name.
  virtual bool MoveFile(const std::string& from, const std::string& to) = 0;
  // The system's own words (UTF-8, one line, in the user's language) for why the last CopyFile or
  // CreateDirectory that failed did fail: "disk full", "device not ready", "data error"; nothing
  // when the system has none.
  virtual std::optional<std::string> LastFailureText() = 0;
};

// Registry keys are handles as the system gives them; the two roots are predefined.
using KeyHandle = std::uintptr_t;
constexpr KeyHandle kHkeyCurrentUser = 0x80000001u;
constexpr KeyHandle kHkeyLocalMachine = 0x80000002u;

// A key as CreateKey opened it, and how many levels at the end of its path this call made (as the
// system reports each level: REG_CREATED_NEW_KEY); 0 when the key was there.
struct CreatedKey {
  KeyHandle handle = 0;
  std::size_t newLevels = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens the key below parent, creating it and missing parents; an empty path opens parent itself.
  // The handle must be closed.
  virtual std::optional<CreatedKey> CreateKey(KeyHandle parent, const std::string& path) = 0;
  // Opens an existing key for reading its values and subkeys, and as the parent of a DeleteKey.
  virtual std::optional<KeyHandle> OpenKey(KeyHandle parent, const std::string& path) = 0;
  virtual bool SetString(KeyHandle key, const std::string& name, const std::string& value) = 0;
  virtual bool SetDword(KeyHandle key, const std::string& name, std::uint32_t value) = 0;
  // The text of a REG_SZ value; nothing when the value is missing or of another type.
  virtual std::optional<std::string> StringValue(KeyHandle key, const std::string& name) = 0;
  // The whole names of a key's direct subkeys, in the system's order.
  virtual std::vector<std::string> SubkeyNames(KeyHandle key) = 0;
  // Deletes a key that has no subkeys.
  virtual bool DeleteKey(KeyHandle parent, const std::string& path) = 0;
  virtual void CloseKey(KeyHandle key) = 0;
};

constexpr int kCsidlPrograms = 2;

struct ShellLinkData {
  std::string linkPath;  // where the .lnk file goes
  std::string workingFolder;
  std::string targetPath;
  std::string description;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // The file-system path of a special folder; nothing when any shell call fails.
  virtual std::optional<std::string> SpecialFolderPath(int csidl) = 0;
  // The same folder as the desktop folder's parsing name gives it (used for link paths).
  virtual std::optional<std::string> SpecialFolderParsingName(int csidl) = 0;
  // The folder picker rooted at My Computer; nothing when cancelled.
  virtual std::optional<std::string> BrowseForFolder(const std::string& titleUtf8) = 0;
  // Starts a program with the verb "open".
  virtual bool OpenFile(const std::string& path) = 0;
  // Creates a shell link through COM; false when it could not be saved (a link or target path of
  // 260 bytes or more is refused rather than cut short).
  virtual bool SaveShellLink(const ShellLinkData& link) = 0;
  virtual void BroadcastSettingChange() = 0;
};

class System {
 public:
  virtual ~System() = default;
  virtual std::string WindowsDirectory() = 0;
  virtual std::string SystemDirectory() = 0;
  virtual std::string ModulePath() = 0;
  // The whole command line, program name included.
  virtual std::string CommandLine() = 0;
  virtual int KeyboardSubtype() = 0;
  // The FileVersion string of the first translation of a file's version resource.
  virtual std::optional<std::string> FileVersionString(const std::string& path) = 0;
  virtual bool IsLeadByte(unsigned char byte) = 0;
  virtual std::string AnsiToUtf8(const std::string& ansi) = 0;
};

enum class BoxKind { Warning, Error, Information, Confirmation };
enum class BoxButtons { Ok, YesNo, AbortRetryIgnore };
enum class Answer { Ok, Yes, No, Closed, Abort, Retry, Ignore };

// The progress window (copy mode for the installation, delete mode for the uninstaller).
class ProgressWindow {
 public:
  virtual ~ProgressWindow() = default;
  // Sets the status label and repaints it at once.
  virtual void SetLabel(const std::string& textUtf8) = 0;
  virtual void SetRange(int maximum) = 0;
  virtual int Position() = 0;
  // Sets the bar's position and repaints it at once.
  virtual void SetPosition(int position) = 0;
  virtual void SetStep(int step) = 0;
  virtual void StepIt() = 0;
  virtual void StopAnimation() = 0;
  virtual void SetDeleteMode() = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
};

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  virtual Answer MessageBox(BoxKind kind, BoxButtons buttons, const std::string& textUtf8) = 0;
  // ShowForm: a modal notice with one OK button.
  virtual void ShowNotice(const std::string& captionUtf8, const std::string& messageUtf8) = 0;
  virtual void Beep() = 0;
  virtual void PumpMessages() = 0;

  // MessageForm, the main dialog.
  virtual void SetMainCaption(const std::string& captionUtf8) = 0;
  virtual void SetMainMessage(const std::string& messageUtf8) = 0;
  virtual void SetFolderText(const std::string& folderAnsi) = 0;
  virtual std::string FolderText() = 0;
  virtual void HideMainDialog() = 0;
  virtual void BringMainDialogToFront() = 0;
  virtual void BringApplicationToFront() = 0;
  // Ends the message loop once the handler in progress has returned.
  virtual void EndProgram() = 0;

  // BackForm, the background.
  virtual void ShowBackground(const std::string& captionUtf8, const std::string& titleUtf8) = 0;

  // CopyForm, created at start-up, and further progress windows for the uninstaller.
  virtual ProgressWindow& MainProgress() = 0;
  virtual void BringProgressToFront() = 0;
  virtual std::unique_ptr<ProgressWindow> CreateProgressWindow() = 0;
};

// The whole machine as the core sees it.
struct Platform {
  FileSystem& files;
  Registry& registry;
  Shell& shell;
  System& system;
  UserInterface& ui;
};

}  // namespace setup
