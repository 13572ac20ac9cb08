// A file system that passes every call to another and notes the listings and copies the installer
// asked for, so setupcheck can tell what the installer's own rules matched and copied.
#pragma once

#include <string>
#include <vector>

#include "setup/platform/platform.h"

namespace setupcheck {

struct Listing {
  std::string pattern;
  std::vector<setup::FoundEntry> entries;
};

struct CopyCall {
  std::string from;
  std::string to;
};

class RecordingFileSystem : public setup::FileSystem {
 public:
  explicit RecordingFileSystem(setup::FileSystem& inner) : inner_(inner) {}

  const std::vector<Listing>& listings() const { return listings_; }
  const std::vector<CopyCall>& copies() const { return copies_; }
  void Forget() {
    listings_.clear();
    copies_.clear();
  }

  std::vector<setup::FoundEntry> FindEntries(const std::string& pattern) override {
    listings_.push_back(Listing{pattern, inner_.FindEntries(pattern)});
    return listings_.back().entries;
  }
  bool CopyFile(const std::string& from, const std::string& to) override {
    copies_.push_back(CopyCall{from, to});
    return inner_.CopyFile(from, to);
  }
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override {
    return inner_.SetAttributes(path, attributes);
  }
  bool DeleteFile(const std::string& path) override { return inner_.DeleteFile(path); }
  bool CreateDirectory(const std::string& path) override { return inner_.CreateDirectory(path); }
  bool RemoveDirectory(const std::string& path) override { return inner_.RemoveDirectory(path); }
  bool DirectoryExists(const std::string& path) override { return inner_.DirectoryExists(path); }
  bool FileExists(const std::string& path) override { return inner_.FileExists(path); }
  bool SetCurrentDirectory(const std::string& path) override { return inner_.SetCurrentDirectory(path); }
  setup::DriveType GetDriveType(const std::string& root) override { return inner_.GetDriveType(root); }
  std::int64_t FreeBytes(const std::string& root) override { return inner_.FreeBytes(root); }
  std::optional<std::string> ShortPath(const std::string& path) override { return inner_.ShortPath(path); }
  std::optional<std::string> ReadWholeFile(const std::string& path) override { return inner_.ReadWholeFile(path); }
  setup::WriteResult WriteWholeFile(const std::string& path, const std::string& bytes) override {
    return inner_.WriteWholeFile(path, bytes);
  }
  bool ReplaceFile(const std::string& from, const std::string& to) override { return inner_.ReplaceFile(from, to); }
  bool ReplacesInOneStep() override { return inner_.ReplacesInOneStep(); }
  bool MoveFile(const std::string& from, const std::string& to) override { return inner_.MoveFile(from, to); }

 private:
  setup::FileSystem& inner_;
  std::vector<Listing> listings_;
  std::vector<CopyCall> copies_;
};

}  // namespace setupcheck
