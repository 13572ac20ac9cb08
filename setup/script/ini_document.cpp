// The INI reader behind the setup script and the uninstall record, and the writer the one-pass
// record writer is checked against.
#include "setup/script/ini_document.h"

#include "setup/script/ini_lines.h"
#include "setup/script/numbers.h"
#include "setup/script/script_keys.h"
#include "setup/script/text.h"

namespace setup {

namespace {

constexpr std::size_t kNoLine = 0xFFFFFFFFu;

std::size_t Later(std::size_t a, std::size_t b) {
  if (a == kNoLine) return b;
  if (b == kNoLine) return a;
  return a > b ? a : b;
}

}  // namespace

std::size_t IniDocument::KeyIndex::Find(std::string_view key) const {
  const std::string upper = ToUpperAscii(key);
  const auto found = named.find(upper);
  std::size_t line = found == named.end() ? kNone : found->second;
  NumberedKey numberedKey;
  if (SplitNumberedKey(upper, &numberedKey)) {
    const auto lines = numbered.find(std::string(numberedKey.stem));
    if (lines != numbered.end() && numberedKey.number < lines->second.size())
      line = Later(line, lines->second[numberedKey.number]);
  }
  return line;
}

std::vector<std::uint32_t>& IniDocument::KeyIndex::LinesOfStem(std::string_view stem) {
  if (lastStemLines != nullptr && EqualsIgnoringAsciiCase(stem, lastStem)) return *lastStemLines;
  const auto entry = numbered.try_emplace(ToUpperAscii(stem)).first;
  lastStem = entry->first;
  lastStemLines = &entry->second;
  return entry->second;
}

void IniDocument::KeyIndex::Put(std::string_view key, std::size_t line, std::size_t lineCount) {
  NumberedKey numberedKey;
  // A number beyond the section's size could only be reached through a gap, which ends a list:
  // hashing it keeps the arrays as small as the section.
  if (SplitNumberedKey(key, &numberedKey) && numberedKey.number <= lineCount + 1) {
    std::vector<std::uint32_t>& lines = LinesOfStem(numberedKey.stem);
    if (lines.size() <= numberedKey.number) lines.resize(numberedKey.number + 1, kNone);
    lines[numberedKey.number] = static_cast<std::uint32_t>(line);
    return;
  }
  named[ToUpperAscii(key)] = line;
}

IniDocument IniDocument::Parse(std::string text) {
  IniDocument document;
  document.text_ = std::make_unique<const std::string>(std::move(text));
  const std::string_view source = *document.text_;

  // Lines are counted first, so that each section's lines take exactly their room: growing a
  // list of a hundred thousand lines by doubling would hold it twice for a moment.
  std::vector<std::uint32_t> linesPerSection;
  ForEachKeptLine(source, [&](std::string_view line) {
    if (IsSectionLine(line)) {
      linesPerSection.push_back(0);
    } else if (!linesPerSection.empty()) {
      ++linesPerSection.back();
    }
  });
  document.sections_.reserve(linesPerSection.size());

  Section* current = nullptr;
  ForEachIniLine(source, [&](const IniLine& line) {
    if (line.kind == IniLine::Kind::Section) {
      document.sections_.push_back(Section{std::string(line.name), {}, {}});
      document.lastIndexOfSection_[ToUpperAscii(line.name)] = document.sections_.size() - 1;
      current = &document.sections_.back();
      current->lines.reserve(linesPerSection[document.sections_.size() - 1]);
      return;
    }
    if (current != nullptr) document.AddLine(*current, line);
  });
  return document;
}

void IniDocument::AddLine(Section& section, const IniLine& line) {
  const bool isEntry = line.kind == IniLine::Kind::Entry;
  if (isEntry) section.index.Put(line.name, section.lines.size(), section.lines.size());
  section.lines.push_back(Line{line.name, line.value, isEntry});
}

std::string_view IniDocument::Keep(std::string_view text) { return written_.emplace_back(text); }

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
  const auto found = lastIndexOfSection_.find(ToUpperAscii(name));
  return found == lastIndexOfSection_.end() ? nullptr : &sections_[found->second];
}

std::optional<std::string_view> IniDocument::Find(std::string_view sectionName, std::string_view key) const {
  const Section* section = FindSection(sectionName);
  if (section == nullptr) return std::nullopt;
  const std::size_t line = section->index.Find(key);
  if (line == KeyIndex::kNone) return std::nullopt;
  return section->lines[line].value;
}

std::vector<std::string_view> IniDocument::ListValues(std::string_view sectionName, std::string_view stem) const {
  std::vector<std::string_view> values;
  const Section* section = FindSection(sectionName);
  if (section == nullptr) return values;
  const std::string upperStem = ToUpperAscii(stem);
  const auto found = section->index.numbered.find(upperStem);
  const std::vector<std::uint32_t>* lines = found == section->index.numbered.end() ? nullptr : &found->second;
  // A list can reach beyond its array only through keys met early, so the array's size is
  // nearly always room enough.
  if (lines != nullptr) values.reserve(lines->size());
  for (std::uint32_t number = 1;; ++number) {
    std::size_t line = (lines != nullptr && number < lines->size()) ? (*lines)[number] : KeyIndex::kNone;
    // A key met before the section had lines enough to reach its number was hashed by its full
    // name; a later occurrence always lands in the array, so the array's line is the last one.
    if (line == KeyIndex::kNone && !section->index.named.empty())
      line = section->index.Find(upperStem + std::to_string(number));
    if (line == KeyIndex::kNone || section->lines[line].value.empty()) return values;
    values.push_back(section->lines[line].value);
  }
}

std::string IniDocument::ReadText(std::string_view section, std::string_view key, const std::string& fallback) const {
  const std::optional<std::string_view> value = Find(section, key);
  return value ? std::string(*value) : fallback;
}

std::int32_t IniDocument::ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const {
  const std::optional<std::string_view> value = Find(section, key);
  if (!value) return fallback;
  return ParseInteger(*value).value_or(fallback);
}

bool IniDocument::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

IniDocument::Section& IniDocument::SectionForWriting(std::string_view name) {
  const std::string upper = ToUpperAscii(name);
  const auto found = lastIndexOfSection_.find(upper);
  if (found != lastIndexOfSection_.end()) return sections_[found->second];
  sections_.push_back(Section{std::string(name), {}, {}});
  lastIndexOfSection_[upper] = sections_.size() - 1;
  return sections_.back();
}

void IniDocument::Set(std::string_view sectionName, std::string_view key, std::string_view value) {
  Section& section = SectionForWriting(sectionName);
  const std::size_t found = section.index.Find(key);
  if (found != KeyIndex::kNone) {
    Line& line = section.lines[found];
    line.key = Keep(key);
    line.value = Keep(value);
    return;
  }
  section.index.Put(key, section.lines.size(), section.lines.size());
  section.lines.push_back(Line{Keep(key), Keep(value), true});
}

void IniDocument::SetList(std::string_view sectionName, std::string_view stem, const std::vector<std::string>& values) {
  Section& section = SectionForWriting(sectionName);
  std::string key(stem);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::uint32_t number = static_cast<std::uint32_t>(i + 1);
    key.resize(stem.size());
    key += std::to_string(number);
    const std::size_t line = section.index.Find(key);
    if (line != KeyIndex::kNone) {
      section.lines[line].key = Keep(key);
      section.lines[line].value = Keep(values[i]);
      continue;
    }
    if (section.lines.size() == section.lines.capacity()) {
      // Room for the rest of the list and an eighth more, so that the keys a record sets after
      // its lists fit too: growing by doubling, or to the exact size, would copy a long section
      // into a buffer twice its size. Entries that already exist take no room.
      const std::size_t needed = section.lines.size() + (values.size() - i);
      section.lines.reserve(needed + needed / 8);
    }
    section.index.Put(key, section.lines.size(), section.lines.size());
    section.lines.push_back(Line{Keep(key), Keep(values[i]), true});
  }
}

std::string IniDocument::Serialize() const {
  std::size_t size = 0;
  for (const Section& section : sections_) {
    size += section.name.size() + 6;
    for (const Line& line : section.lines) size += line.key.size() + line.value.size() + 3;
  }
  std::string text;
  text.reserve(size);
  for (const Section& section : sections_) {
    text += '[';
    text += section.name;
    text += "]\r\n";
    for (const Line& line : section.lines) {
      text += line.key;
      if (line.isEntry) {
        text += '=';
        text += line.value;
      }
      text += "\r\n";
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace setup
