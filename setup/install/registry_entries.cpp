// The registry step. Any key that cannot be opened, value that cannot be written, value line
// with no key open, or "long" number that does not parse stops the installation.
#include "setup/install/registry_entries.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "setup/script/installed_places.h"
#include "setup/script/list_lines.h"
#include "setup/script/macros.h"
#include "setup/script/messages.h"
#include "setup/script/numbers.h"
#include "setup/script/paths.h"
#include "setup/script/text.h"

namespace setup {

namespace {

// Opens root\path, creating what is missing, and tells the journal each level this run made.
std::optional<KeyHandle> CreateKeyNoting(StepContext& context, KeyHandle root, const std::string& path) {
  const std::optional<CreatedKey> key = context.platform.registry.CreateKey(root, path);
  if (!key) return std::nullopt;
  const std::vector<std::string_view> levels = PathParts(path, context.platform.system, PathKind::RegistryKey);
  for (std::size_t level = levels.size() - std::min(key->newLevels, levels.size()); level < levels.size(); ++level) {
    context.journal.KeyMade(root, path.substr(0, levels[level].data() + levels[level].size() - path.data()));
  }
  return key->handle;
}

// One registry connection: a root and the key opened last.
class RegistryConnection {
 public:
  explicit RegistryConnection(StepContext& context) : context_(context), registry_(context.platform.registry) {}
  ~RegistryConnection() { Close(); }

  bool Open(KeyHandle root, const std::string& path) {
    Close();
    const std::optional<KeyHandle> key = CreateKeyNoting(context_, root, path);
    open_ = key.has_value();
    key_ = key.value_or(0);
    return open_;
  }
  bool WriteString(const std::string& name, const std::string& value) {
    return open_ && registry_.SetString(key_, name, value);
  }
  bool WriteDword(const std::string& name, std::uint32_t value) {
    return open_ && registry_.SetDword(key_, name, value);
  }
  void Close() {
    if (open_) registry_.CloseKey(key_);
    open_ = false;
  }

 private:
  StepContext& context_;
  Registry& registry_;
  KeyHandle key_ = 0;
  bool open_ = false;
};

// Carries out one REG line; false when the installation must stop.
bool RunRegLine(StepContext& context, RegistryConnection& connection, const std::string& line) {
  const RegLine reg = ParseRegLine(line);
  switch (reg.keyword) {
    case RegKeyword::Open: {
      const KeyHandle root = GetRootKey(reg.root);
      if (!connection.Open(root, reg.keyPath)) return false;
      // The record names the root that was opened, not the line's text: a name that GetRootKey
      // reads as HKEY_CURRENT_USER (" HKEY_LOCAL_MACHINE", "HKLM") would otherwise send the
      // uninstaller, which trims blanks, to the same path under the other root. An empty entry
      // would end the record's REG list early and hide the keys after it.
      if (line.size() > 5) context.script.InstalledRegKeys.push_back(JoinPath(RootKeyName(root), reg.keyPath));
      return true;
    }
    case RegKeyword::String:
      return connection.WriteString(reg.name, ExpandMacros(context.script, context.platform, reg.value));
    case RegKeyword::Long: {
      const std::optional<std::int32_t> number = ParseInteger(reg.value);
      return number && connection.WriteDword(reg.name, static_cast<std::uint32_t>(*number));
    }
    case RegKeyword::Unknown:
      break;
  }
  return true;
}

// The installed-programs entry. Besides the name and the command line, the list of Windows 2000
// and later shows the uninstaller's icon and the size in KiB, and offers neither Change nor
// Repair, which this uninstaller cannot do; the uninstaller deletes the whole key.
bool WriteUninstallEntry(StepContext& context) {
  const SetupScript& script = context.script;
  RegistryConnection connection(context);
  const std::string uninstaller = UninstallerPath(context.platform);
  const std::string command = uninstaller + " \"" + JoinPath(script.DestDir, script.UninstallFile) + "\"";
  const std::uint64_t kibibytes =
      std::min<std::uint64_t>((context.copiedBytes + 1023) / 1024, std::numeric_limits<std::uint32_t>::max());
  return connection.Open(kHkeyLocalMachine, kUninstallKeyPrefix + script.Title) &&
         connection.WriteString("DisplayName", script.Title) && connection.WriteString("UninstallString", command) &&
         connection.WriteString("DisplayIcon", uninstaller) &&
         connection.WriteDword("EstimatedSize", static_cast<std::uint32_t>(kibibytes)) &&
         connection.WriteDword("NoModify", 1) && connection.WriteDword("NoRepair", 1);
}

void ReportRegistryFailure(StepContext& context) {
  context.platform.ui.MessageBox(BoxKind::Error, BoxButtons::Ok, text::kRegistryFailed);
  AbortInstallation(context);
}

}  // namespace

std::string UninstallerPath(Platform& platform) {
  return JoinPath(platform.system.WindowsDirectory(), kUninstallerName);
}

void MakeRegistryData(StepContext& context) {
  context.progress.SetLabel(text::kRegistryStep);
  {
    RegistryConnection connection(context);
    for (const std::string& line : context.script.RegList) {
      if (!RunRegLine(context, connection, line)) {
        connection.Close();
        ReportRegistryFailure(context);
        return;
      }
    }
  }
  if (!WriteUninstallEntry(context)) ReportRegistryFailure(context);
}

}  // namespace setup
