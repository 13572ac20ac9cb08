// A file system that passes every call to another and notes the copies the installer made, in
// order, for the plan of an installation.
#pragma once

#include <string>
#include <vector>

#include "setup/platform/sim/forwarding_file_system.h"

namespace setupcheck {

struct CopyCall {
  std::string from;
  std::string to;
};

class RecordingFileSystem : public setup::ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;

  const std::vector<CopyCall>& copies() const { return copies_; }
  void Forget() { copies_.clear(); }

  bool CopyFile(const std::string& from, const std::string& to) override {
    copies_.push_back(CopyCall{from, to});
    return inner_.CopyFile(from, to);
  }

 private:
  std::vector<CopyCall> copies_;
};

}  // namespace setupcheck
