// The simulated system facts: configurable folders and program identity, file versions held per
// path, and code page 932 conversion.
#include "setup/platform/sim/sim_system.h"

#include "setup/platform/sim/ansi_path.h"
#include "setup/platform/sim/cp932_text.h"

namespace setup {

SimSystem::SimSystem(SimFileSystem& files) : files_(files) {}

SimSystem::~SimSystem() = default;

std::optional<std::string> SimSystem::FileVersionString(const std::string& path) {
  const auto found = versions_.find(files_.PathKey(path));
  if (found == versions_.end() || files_.IsFolder(path) || !files_.Exists(path)) return std::nullopt;
  return found->second;
}

bool SimSystem::IsLeadByte(unsigned char byte) { return IsCp932LeadByte(byte); }

std::string SimSystem::AnsiToUtf8(const std::string& ansi) { return Cp932ToUtf8(ansi).value_or(ansi); }

void SimSystem::SetFileVersion(const std::string& path, const std::string& version) {
  if (!files_.Exists(path)) files_.AddFile(path, "MZ");
  versions_[files_.PathKey(path)] = version;
}

}  // namespace setup
