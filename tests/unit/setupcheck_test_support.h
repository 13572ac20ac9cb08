// Helpers for the setupcheck tests: CD images built in memory, a check run on them, and lookups of
// the findings. Every script checked through Check is also read by the installer's own loader, and
// the line scanner's view of [SETUP] must agree with what that loader reads.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "setup/platform/sim/simulated_machine.h"
#include "setup/script/ini_document.h"
#include "setup/script/script_keys.h"
#include "setup/script/setup_script.h"
#include "setupcheck/script_lines.h"
#include "setupcheck/setup_check.h"

namespace setupcheck {

// A text in a failed assertion's message, in English.
inline std::ostream& operator<<(std::ostream& out, const Text& text) { return out << text.In(Language::English); }

}  // namespace setupcheck

namespace setupcheck::testing {

struct ImageFile {
  std::string path;  // below the image root, "\"-separated
  std::uint64_t size = 100;
  std::uint32_t attributes = setup::kAttrReadOnly;
};

// An image with these files, each folder listed before its content.
inline CdFolder Image(std::initializer_list<ImageFile> files) {
  CdFolder cd;
  std::set<std::string> folders;
  for (const ImageFile& file : files) {
    for (std::size_t slash = file.path.find('\\'); slash != std::string::npos;
         slash = file.path.find('\\', slash + 1)) {
      const std::string folder = file.path.substr(0, slash);
      if (folders.insert(folder).second) {
        cd.entries.push_back(CdEntry{folder, "", 0, setup::kAttrDirectory | setup::kAttrReadOnly});
      }
    }
    cd.entries.push_back(CdEntry{file.path, "", file.size, file.attributes});
  }
  return cd;
}

// Lines joined with CR LF, the last one ended too.
inline std::string Crlf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// The scanner's [SETUP] against the reader's: every key it sees with the same value, no key the
// reader cannot find, and the same lists as the loader reads.
inline void ExpectScannerAgreesWithLoader(const std::string& text) {
  SCOPED_TRACE("scanner against loader");
  const setup::IniDocument document = setup::IniDocument::Parse(text);
  const ScriptLines lines = ScriptLines::Scan(text);
  const ScriptSection* visible = lines.Visible("SETUP");
  for (const ScriptLine& line : lines.lines()) {
    if (line.kind != LineKind::Entry) continue;
    const std::optional<std::string_view> read = document.Find("SETUP", line.name);
    const ScriptLine* seen = visible == nullptr ? nullptr : lines.Find(*visible, line.name);
    ASSERT_EQ(read.has_value(), seen != nullptr) << "key " << line.name << " at line " << line.number;
    if (read) {
      EXPECT_EQ(*read, seen->value) << "key " << line.name;
    }
  }
  setup::SimulatedMachine machine;
  setup::SetupScript script;
  setup::LoadSetupScriptText(text, false, machine.platform(), script);
  for (const setup::ListStem& list : setup::kListStems) {
    setup::TextList scanned;
    for (std::uint32_t n = 1; visible != nullptr; ++n) {
      const ScriptLine* line = lines.Find(*visible, list.stem + std::to_string(n));
      if (line == nullptr || line->value.empty()) break;
      scanned.push_back(line->value);
    }
    EXPECT_EQ(scanned, script.*list.list) << "list " << list.stem;
  }
}

inline CheckResult Check(const std::string& script, const CdFolder& cd, CheckOptions options = {}) {
  ExpectScannerAgreesWithLoader(script);
  return CheckImage(cd, script, "setup.ini", options);
}

// "line key severity" for every finding, in report order, for exact comparisons.
inline std::vector<std::string> Where(const CheckResult& result) {
  std::vector<std::string> where;
  for (const Finding& f : result.findings.Sorted()) {
    where.push_back(std::to_string(f.line) + " " + f.key + (f.severity == Severity::Error ? " error" : " warning"));
  }
  return where;
}

// The messages of the findings at a line and key, in English, joined, for substring checks.
inline std::string MessagesAt(const CheckResult& result, int line, const std::string& key) {
  std::string text;
  for (const Finding& f : result.findings.all()) {
    if (f.line == line && f.key == key) text += f.message.In(Language::English) + "\n";
  }
  return text;
}

// Whether text holds part, with both shown when it does not.
inline ::testing::AssertionResult Contains(const std::string& text, const std::string& part) {
  if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\"" << part << "\" is not in:\n" << text;
}
inline ::testing::AssertionResult Contains(const Text& text, const std::string& part) {
  return Contains(text.In(Language::English), part);
}

inline std::string AllMessages(const CheckResult& result) {
  std::string text;
  for (const Finding& f : result.findings.Sorted()) text += FormatFinding("setup.ini", f, Language::English) + "\n";
  return text;
}

}  // namespace setupcheck::testing
