// The simulated system facts: configurable folders and program identity, file versions held per
// path, and code page 932 conversion through iconv.
#include "setup/platform/sim/sim_system.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

#include "setup/platform/sim/ansi_path.h"

namespace setup {

namespace {

// Converts CP932 bytes to UTF-8; nothing when iconv lacks the code page or the bytes are invalid.
std::optional<std::string> ConvertCp932(const std::string& ansi) {
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string input = ansi;
  std::vector<char> output(ansi.size() * 4 + 4);
  char* in = input.data();
  char* out = output.data();
  std::size_t inLeft = input.size();
  std::size_t outLeft = output.size();
  const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (result == static_cast<std::size_t>(-1)) return std::nullopt;
  return std::string(output.data(), output.size() - outLeft);
}

}  // namespace

SimSystem::SimSystem(SimFileSystem& files) : files_(files) {}

SimSystem::~SimSystem() = default;

std::optional<std::string> SimSystem::FileVersionString(const std::string& path) {
  const auto found = versions_.find(files_.PathKey(path));
  if (found == versions_.end() || files_.IsFolder(path) || !files_.Exists(path)) return std::nullopt;
  return found->second;
}

bool SimSystem::IsLeadByte(unsigned char byte) { return IsCp932LeadByte(byte); }

std::string SimSystem::AnsiToUtf8(const std::string& ansi) { return ConvertCp932(ansi).value_or(ansi); }

void SimSystem::SetFileVersion(const std::string& path, const std::string& version) {
  if (!files_.Exists(path)) files_.AddFile(path, "MZ");
  versions_[files_.PathKey(path)] = version;
}

}  // namespace setup
