// Writing the dry run's outcome as indented text.
#include "setupcheck/plan_report.h"

#include <cstdio>

namespace setupcheck {

namespace {

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

std::string ValueText(const setup::RegistryValue& value, setup::System& system) {
  const std::string name = value.name.empty() ? "(default)" : system.AnsiToUtf8(value.name);
  if (value.type == setup::RegistryValueType::Dword) {
    return name + " = " + std::to_string(static_cast<std::int32_t>(value.number)) + " (REG_DWORD " + Hex(value.number) +
           ")";
  }
  return name + " = \"" + system.AnsiToUtf8(value.text) + "\" (REG_SZ)";
}

// A written file line by line; lines that end without CR LF are marked, as the installer ends each
// line of its files with CR LF.
std::string FileText(const char* title, const WrittenFile& file, setup::System& system) {
  std::string text = std::string(title) + " " + system.AnsiToUtf8(file.path);
  if (!file.bytes) return text + ": not written\n";
  text += " (" + std::to_string(file.bytes->size()) + " bytes):\n";
  std::size_t start = 0;
  while (start < file.bytes->size()) {
    const std::size_t end = file.bytes->find("\r\n", start);
    const bool open = end == std::string::npos;
    const std::string line = file.bytes->substr(start, open ? std::string::npos : end - start);
    text += "  | " + system.AnsiToUtf8(line) + (open ? "  (no CR LF at the end)" : "") + "\n";
    start = open ? file.bytes->size() : end + 2;
  }
  return text;
}

std::string CopiesText(const DryRun& run, setup::System& system) {
  std::string text = "Files copied (" + std::to_string(run.copies.size()) + "):\n";
  for (const CopyCall& copy : run.copies) {
    text += "  " + system.AnsiToUtf8(copy.from) + " -> " + system.AnsiToUtf8(copy.to) + "\n";
  }
  return text;
}

std::string RegistryText(const DryRun& run, setup::System& system) {
  std::string text = "Registry:\n";
  for (const RegistryKeyState& key : run.registry) {
    text += "  " + key.root + "\\" + system.AnsiToUtf8(key.path) + "\n";
    for (const setup::RegistryValue& value : key.values) text += "    " + ValueText(value, system) + "\n";
  }
  return text;
}

std::string LinksText(const DryRun& run, setup::System& system) {
  std::string text = "Shortcuts (" + std::to_string(run.links.size()) + "):\n";
  for (const setup::ShellLinkData& link : run.links) {
    text += "  " + system.AnsiToUtf8(link.linkPath) + "\n";
    text += "    target " + system.AnsiToUtf8(link.targetPath) + ", working folder " +
            system.AnsiToUtf8(link.workingFolder) + ", description \"" + system.AnsiToUtf8(link.description) + "\"\n";
  }
  return text;
}

}  // namespace

std::string FormatPlan(const DryRun& run, setup::System& system) {
  std::string text = "Installation into " + system.AnsiToUtf8(run.destination);
  if (!run.started) return text + ": refused, nothing is installed\n";
  text += run.finished ? "\n" : " (stopped before the end)\n";
  text += CopiesText(run, system);
  text += RegistryText(run, system);
  if (run.configFile) {
    text += FileText("Configuration file", *run.configFile, system);
  } else {
    text += "Configuration file: none (no CFGNAME)\n";
  }
  text += LinksText(run, system);
  if (run.record) text += FileText("Uninstall record", *run.record, system);
  return text;
}

}  // namespace setupcheck
