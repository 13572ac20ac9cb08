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

std::size_t NextMacro(std::string_view value, std::size_t from, System& system) {
  for (std::size_t i = from; i < value.size(); ++i) {
    switch (value[i]) {
      case '#':
      case '@':
      case '$':
      case '^':
      case '~':
        return i;
      default:
        if (system.IsLeadByte(static_cast<unsigned char>(value[i])) && i + 1 < value.size()) ++i;
        break;
    }
  }
  return std::string_view::npos;
}

std::string ExpandMacros(const SetupScript& script, Platform& platform, std::string_view value) {
  std::string result;
  result.reserve(value.size() + 16);
  for (std::size_t at = 0;;) {
    const std::size_t macro = NextMacro(value, at, platform.system);
    result.append(value.substr(at, macro == std::string_view::npos ? std::string_view::npos : macro - at));
    if (macro == std::string_view::npos) return result;
    at = macro + 1;
    switch (value[macro]) {
      case '#':
        result += script.WindowsDrive;
        break;
      case '@':
        result += script.SourceRoot;
        if (!script.SourceRoot.empty() && script.SourceRoot[0] == '\\' && at < value.size() && value[at] == ':') ++at;
        break;
      case '$':
        result += script.DestDir;
        break;
      case '^':
        result += script.WindowsDir;
        break;
      default:  // '~'
        result += ShortDestination(script, platform);
        break;
    }
  }
}

}  // namespace setup
