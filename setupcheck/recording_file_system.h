// A file system that passes every call to another and notes the listings and copies the installer
// asked for, so setupcheck can tell what the installer's own rules matched and copied.
#pragma once

#include <string>
#include <vector>

#include "setup/platform/sim/forwarding_file_system.h"

namespace setupcheck {

struct Listing {
  std::string pattern;
  std::vector<setup::FoundEntry> entries;
};

struct CopyCall {
  std::string from;
  std::string to;
};

class RecordingFileSystem : public setup::ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;

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

 private:
  std::vector<Listing> listings_;
  std::vector<CopyCall> copies_;
};

}  // namespace setupcheck
