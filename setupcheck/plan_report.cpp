// Writing the dry run's outcome as indented text. Scripts read the English headings (under
// LC_ALL=C); the lines they look for (copies, keys, file lines) are the same in every language.
#include "setupcheck/plan_report.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace setupcheck {

namespace {

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return text;
}

// What every part of the plan needs: the machine that converts the script's Shift-JIS text, and
// the language of the headings.
struct PlanWriter {
  setup::System& system;
  Language language;

  std::string Utf8(const std::string& ansi) const { return system.AnsiToUtf8(ansi); }
  std::string operator()(TextId id, std::vector<Text> args = {}) const {
    return Text(id, std::move(args)).In(language);
  }
};

std::string ValueText(const setup::RegistryValue& value, const PlanWriter& plan) {
  const std::string name = value.name.empty() ? plan(TextId::PlanDefaultValue) : plan.Utf8(value.name);
  if (value.type == setup::RegistryValueType::Dword) {
    return name + " = " + std::to_string(static_cast<std::int32_t>(value.number)) + " (REG_DWORD " + Hex(value.number) +
           ")";
  }
  return name + " = \"" + plan.Utf8(value.text) + "\" (REG_SZ)";
}

// A written file line by line; lines that end without CR LF are marked, as the installer ends each
// line of its files with CR LF.
std::string FileText(TextId title, const WrittenFile& file, const PlanWriter& plan) {
  const std::string path = plan.Utf8(file.path);
  if (!file.bytes) return plan(TextId::PlanFileNotWritten, {plan(title), path}) + "\n";
  std::string text = plan(TextId::PlanFileBytes, {plan(title), path, std::to_string(file.bytes->size())}) + "\n";
  std::size_t start = 0;
  while (start < file.bytes->size()) {
    const std::size_t end = file.bytes->find("\r\n", start);
    const bool open = end == std::string::npos;
    const std::string line = file.bytes->substr(start, open ? std::string::npos : end - start);
    text += "  | " + plan.Utf8(line) + (open ? plan(TextId::PlanNoCrLf) : "") + "\n";
    start = open ? file.bytes->size() : end + 2;
  }
  return text;
}

std::string CopiesText(const DryRun& run, const PlanWriter& plan) {
  std::string text = plan(TextId::PlanFilesCopied, {std::to_string(run.copies.size())}) + "\n";
  for (const CopyCall& copy : run.copies) {
    text += "  " + plan.Utf8(copy.from) + " -> " + plan.Utf8(copy.to) + "\n";
  }
  return text;
}

std::string RegistryText(const DryRun& run, const PlanWriter& plan) {
  std::string text = plan(TextId::PlanRegistry) + "\n";
  for (const RegistryKeyState& key : run.registry) {
    text += "  " + key.root + "\\" + plan.Utf8(key.path) + "\n";
    for (const setup::RegistryValue& value : key.values) text += "    " + ValueText(value, plan) + "\n";
  }
  return text;
}

std::string LinksText(const DryRun& run, const PlanWriter& plan) {
  std::string text = plan(TextId::PlanShortcuts, {std::to_string(run.links.size())}) + "\n";
  for (const setup::ShellLinkData& link : run.links) {
    text += "  " + plan.Utf8(link.linkPath) + "\n";
    text += "    " +
            plan(TextId::PlanShortcut,
                 {plan.Utf8(link.targetPath), plan.Utf8(link.workingFolder), plan.Utf8(link.description)}) +
            "\n";
  }
  return text;
}

}  // namespace

std::string FormatPlan(const DryRun& run, setup::System& system, Language language) {
  const PlanWriter plan{system, language};
  std::string text = plan(TextId::PlanInstallation, {plan.Utf8(run.destination)});
  if (!run.started) return text + plan(TextId::PlanRefused) + "\n";
  text += (run.finished ? "" : plan(TextId::PlanStopped)) + "\n";
  text += CopiesText(run, plan);
  text += RegistryText(run, plan);
  if (run.configFile) {
    text += FileText(TextId::PlanConfigFile, *run.configFile, plan);
  } else {
    text += plan(TextId::PlanNoConfigFile) + "\n";
  }
  text += LinksText(run, plan);
  if (run.record) text += FileText(TextId::PlanUninstallRecord, *run.record, plan);
  return text;
}

}  // namespace setupcheck
