// Macro expansion of script values against the current SetupScript.
#include "setup/script/macros.h"

namespace setup {

namespace {

// The short form of the destination folder; the long form when the system cannot give one
// (for instance while the folder does not exist yet).
std::string ShortDestination(const SetupScript& script, Platform& platform) {
  if (script.DestDir.empty()) return std::string();
  return platform.files.ShortPath(script.DestDir).value_or(script.DestDir);
}

}  // namespace

std::string ExpandMacros(const SetupScript& script, Platform& platform, std::string_view value) {
  std::string result;
  result.reserve(value.size() + 16);
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    switch (c) {
      case '#':
        result += script.WindowsDrive;
        break;
      case '@':
        result += script.SourceRoot;
        if (!script.SourceRoot.empty() && script.SourceRoot[0] == '\\' && i + 1 < value.size() && value[i + 1] == ':') {
          ++i;
        }
        break;
      case '$':
        result += script.DestDir;
        break;
      case '^':
        result += script.WindowsDir;
        break;
      case '~':
        result += ShortDestination(script, platform);
        break;
      default:
        result += c;
        if (platform.system.IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < value.size()) {
          result += value[++i];
        }
        break;
    }
  }
  return result;
}

}  // namespace setup
