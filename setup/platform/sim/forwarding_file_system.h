// A file system that hands every call to another one. Derived classes change or watch a few
// calls: setupcheck notes the listings and copies, tests make one step fail or behave as another
// system does.
#pragma once

#include "setup/platform/platform.h"

namespace setup {

class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& inner) : inner_(inner) {}
  std::vector<FoundEntry> FindEntries(const std::string& pattern) override { return inner_.FindEntries(pattern); }
  bool CopyFile(const std::string& from, const std::string& to) override { return inner_.CopyFile(from, to); }
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override {
    return inner_.SetAttributes(path, attributes);
  }
  bool DeleteFile(const std::string& path) override { return inner_.DeleteFile(path); }
  bool CreateDirectory(const std::string& path) override { return inner_.CreateDirectory(path); }
  bool RemoveDirectory(const std::string& path) override { return inner_.RemoveDirectory(path); }
  bool DirectoryExists(const std::string& path) override { return inner_.DirectoryExists(path); }
  bool FileExists(const std::string& path) override { return inner_.FileExists(path); }
  bool SetCurrentDirectory(const std::string& path) override { return inner_.SetCurrentDirectory(path); }
  DriveType GetDriveType(const std::string& root) override { return inner_.GetDriveType(root); }
  std::optional<std::int64_t> FreeBytes(const std::string& root) override { return inner_.FreeBytes(root); }
  std::optional<std::string> ShortPath(const std::string& path) override { return inner_.ShortPath(path); }
  std::optional<std::string> ReadWholeFile(const std::string& path) override { return inner_.ReadWholeFile(path); }
  WriteResult WriteWholeFile(const std::string& path, const std::string& bytes) override {
    return inner_.WriteWholeFile(path, bytes);
  }
  WriteResult WriteFileInParts(const std::string& path, const PartSource& source) override {
    return inner_.WriteFileInParts(path, source);
  }
  bool ReplaceFile(const std::string& from, const std::string& to) override { return inner_.ReplaceFile(from, to); }
  bool ReplacesInOneStep() override { return inner_.ReplacesInOneStep(); }
  bool MoveFile(const std::string& from, const std::string& to) override { return inner_.MoveFile(from, to); }
  std::optional<std::string> LastFailureText() override { return inner_.LastFailureText(); }

 protected:
  FileSystem& inner_;
};

}  // namespace setup
