// FileSystem over the kernel32 ANSI file calls.
#pragma once

#include "setup/platform/platform.h"

namespace setup::win32 {

class WinFileSystem final : public FileSystem {
 public:
  std::vector<FoundEntry> FindEntries(const std::string& pattern) override;
  bool CopyFile(const std::string& from, const std::string& to) override;
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
  bool DeleteFile(const std::string& path) override;
  bool CreateDirectory(const std::string& path) override;
  bool RemoveDirectory(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool SetCurrentDirectory(const std::string& path) override;
  DriveType GetDriveType(const std::string& root) override;
  std::optional<std::int64_t> FreeBytes(const std::string& root) override;
  std::optional<std::string> ShortPath(const std::string& path) override;
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  WriteResult WriteWholeFile(const std::string& path, const std::string& bytes) override;
  WriteResult WriteFileInParts(const std::string& path, const PartSource& source) override;
  bool ReplaceFile(const std::string& from, const std::string& to) override;
  bool ReplacesInOneStep() override;
  bool MoveFile(const std::string& from, const std::string& to) override;
  std::optional<std::string> LastFailureText() override;

 private:
  // GetLastError of the last CopyFile or CreateDirectory that failed; later calls overwrite the
  // thread's own value, so it is kept here.
  unsigned long lastFailure_ = 0;
};

}  // namespace setup::win32
