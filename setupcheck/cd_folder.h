// Reading a CD-ROM image folder from the disk of the machine setupcheck runs on: every file and
// folder below it with its size and attributes, names in Shift-JIS as the installer sees them;
// and the other disk and code-page calls setupcheck makes there.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace setupcheck {

struct CdEntry {
  std::string path;      // below the image's root, "\"-separated, Shift-JIS ("DATA\SOUND\SE01.DAT")
  std::string diskPath;  // where it lies on this machine, as ReadDiskFile takes it
  std::uint64_t size = 0;
  std::uint32_t attributes = 0;  // setup::FileAttribute bits; kAttrDirectory for folders
};

struct CdFolder {
  std::vector<CdEntry> entries;  // each folder before its content
  // Names that could not be taken over as Shift-JIS (shown in the system's own encoding).
  std::vector<std::string> untranslatable;
  // Symbolic links and junctions, never followed: a pressed CD holds no links, and one that leads
  // out of the image would make the check read whatever lies there.
  std::vector<std::string> links;
};

// Nothing when root is not a readable folder. On systems without file attributes, files are
// read-only as on a pressed CD-ROM.
std::optional<CdFolder> ReadCdFolder(const std::string& root);

// The form ReadDiskFile takes of a path given on the command line.
std::string DiskPathOfArgument(const std::string& argument);

// The content of a file, whole or its first `limit` bytes; nothing when it cannot be read.
std::optional<std::string> ReadDiskFile(const std::string& diskPath,
                                        std::size_t limit = std::numeric_limits<std::size_t>::max());

// Whether a path names a folder on this machine.
bool IsDiskFolder(const std::string& path);

// Whether anything (file, folder or link) lies at a path on this machine.
bool DiskPathExists(const std::string& path);

// Writes (replaces) a file; false when it cannot be written whole.
bool WriteDiskFile(const std::string& diskPath, const std::string& bytes);
// Removes a file if it is there.
void RemoveDiskFile(const std::string& diskPath);

// UTF-8 text in Shift-JIS (code page 932); nothing when any character has no form there. No
// character is replaced by a look-alike.
std::optional<std::string> Utf8ToShiftJis(const std::string& utf8);

}  // namespace setupcheck
