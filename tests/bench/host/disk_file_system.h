// A FileSystem on the build machine's own disk for the host benchmarks: drive letter X: is the
// folder <root>/X, so the steps' whole-file reads and writes cost what real ones cost. Names keep
// their case and compare exactly; only full paths ("C:\A\B") are understood.
#pragma once

#include <string>

#include "setup/platform/platform.h"

namespace bench {

class DiskFileSystem : public setup::FileSystem {
 public:
  // Drives C: and D: are created below root, which must exist.
  explicit DiskFileSystem(std::string root);

  // The host path of a full Windows path; empty for anything else.
  std::string HostPath(const std::string& path) const;

  std::vector<setup::FoundEntry> FindEntries(const std::string& pattern) override;
  bool CopyFile(const std::string& from, const std::string& to) override;
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override;
  bool DeleteFile(const std::string& path) override;
  bool CreateDirectory(const std::string& path) override;
  bool RemoveDirectory(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool SetCurrentDirectory(const std::string& path) override;
  setup::DriveType GetDriveType(const std::string& root) override;
  std::optional<std::int64_t> FreeBytes(const std::string& root) override;
  std::optional<std::string> ShortPath(const std::string& path) override;
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  setup::WriteResult WriteWholeFile(const std::string& path, const std::string& bytes) override;
  // One write call per part, as the product's own file system does.
  setup::WriteResult WriteFileInParts(const std::string& path, const setup::PartSource& source) override;
  bool ReplaceFile(const std::string& from, const std::string& to) override;
  bool ReplacesInOneStep() override { return true; }
  bool MoveFile(const std::string& from, const std::string& to) override;
  std::optional<std::string> LastFailureText() override { return std::nullopt; }

 private:
  std::string root_;
};

// Writes bytes with a single write call, as the baseline of the record figures does.
bool WriteWithOneCall(const std::string& hostPath, const std::string& bytes);

}  // namespace bench
