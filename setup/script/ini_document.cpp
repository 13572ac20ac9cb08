// The INI reader and writer behind the setup script and the uninstall record.
#include "setup/script/ini_document.h"

#include "setup/script/ini_lines.h"
#include "setup/script/numbers.h"
#include "setup/script/text.h"

namespace setup {

namespace {

// Splits "COPY12" into "COPY" and 12; false for keys without a plain decimal number at the end.
bool SplitNumberedKey(std::string_view key, std::string_view* stem, std::uint32_t* number) {
  std::size_t digits = 0;
  while (digits < key.size() && key[key.size() - 1 - digits] >= '0' && key[key.size() - 1 - digits] <= '9') ++digits;
  if (digits == 0 || digits > 9 || digits == key.size()) return false;
  const std::string_view text = key.substr(key.size() - digits);
  if (text.size() > 1 && text[0] == '0') return false;
  std::uint32_t value = 0;
  for (char c : text) value = value * 10 + static_cast<std::uint32_t>(c - '0');
  *stem = key.substr(0, key.size() - digits);
  *number = value;
  return true;
}

constexpr std::size_t kNoLine = 0xFFFFFFFFu;

std::size_t Later(std::size_t a, std::size_t b) {
  if (a == kNoLine) return b;
  if (b == kNoLine) return a;
  return a > b ? a : b;
}

}  // namespace

std::size_t IniDocument::KeyIndex::FindNumbered(const std::string& upperStem, std::uint32_t number) const {
  const auto stem = numbered.find(upperStem);
  if (stem == numbered.end() || number >= stem->second.size()) return kNone;
  return stem->second[number];
}

std::size_t IniDocument::KeyIndex::Find(std::string_view key) const {
  const std::string upper = ToUpperAscii(key);
  const auto found = named.find(upper);
  std::size_t line = found == named.end() ? kNone : found->second;
  std::string_view stem;
  std::uint32_t number = 0;
  if (SplitNumberedKey(upper, &stem, &number)) line = Later(line, FindNumbered(std::string(stem), number));
  return line;
}

void IniDocument::KeyIndex::Put(std::string_view key, std::size_t line, std::size_t lineCount) {
  const std::string upper = ToUpperAscii(key);
  std::string_view stem;
  std::uint32_t number = 0;
  // A number beyond the section's size could only be reached through a gap, which ends a list:
  // hashing it keeps the arrays as small as the section.
  if (SplitNumberedKey(upper, &stem, &number) && number <= lineCount + 1) {
    std::vector<std::uint32_t>& lines = numbered[std::string(stem)];
    if (lines.size() <= number) lines.resize(number + 1, kNone);
    lines[number] = static_cast<std::uint32_t>(line);
    return;
  }
  named[upper] = line;
}

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument document;
  Section* current = nullptr;
  ForEachIniLine(text, [&](const IniLine& line) {
    if (line.kind == IniLine::Kind::Section) {
      document.sections_.push_back(Section{std::string(line.name), {}, {}});
      document.lastIndexOfSection_[ToUpperAscii(line.name)] = document.sections_.size() - 1;
      current = &document.sections_.back();
      return;
    }
    if (current != nullptr) document.AddLine(*current, line);
  });
  return document;
}

void IniDocument::AddLine(Section& section, const IniLine& line) {
  const bool isEntry = line.kind == IniLine::Kind::Entry;
  if (isEntry) section.index.Put(line.name, section.lines.size(), section.lines.size());
  section.lines.push_back(Line{std::string(line.name), std::string(line.value), isEntry});
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
  const auto found = lastIndexOfSection_.find(ToUpperAscii(name));
  return found == lastIndexOfSection_.end() ? nullptr : &sections_[found->second];
}

const std::string* IniDocument::Find(std::string_view sectionName, std::string_view key) const {
  const Section* section = FindSection(sectionName);
  if (section == nullptr) return nullptr;
  const std::size_t line = section->index.Find(key);
  return line == KeyIndex::kNone ? nullptr : &section->lines[line].value;
}

const std::string* IniDocument::FindNumbered(std::string_view sectionName, std::string_view stem,
                                             std::uint32_t number) const {
  const Section* section = FindSection(sectionName);
  if (section == nullptr) return nullptr;
  const std::string upperStem = ToUpperAscii(stem);
  std::size_t line = section->index.FindNumbered(upperStem, number);
  // Keys far beyond the section's size were hashed by their full name.
  if (line == KeyIndex::kNone && number > section->lines.size())
    line = section->index.Find(upperStem + std::to_string(number));
  return line == KeyIndex::kNone ? nullptr : &section->lines[line].value;
}

std::string IniDocument::ReadText(std::string_view section, std::string_view key, const std::string& fallback) const {
  const std::string* value = Find(section, key);
  return value ? *value : fallback;
}

std::int32_t IniDocument::ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const {
  const std::string* value = Find(section, key);
  if (value == nullptr) return fallback;
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
    line.key = std::string(key);
    line.value = std::string(value);
    return;
  }
  section.index.Put(key, section.lines.size(), section.lines.size());
  section.lines.push_back(Line{std::string(key), std::string(value), true});
}

void IniDocument::SetList(std::string_view sectionName, std::string_view stem, const std::vector<std::string>& values) {
  Section& section = SectionForWriting(sectionName);
  const std::string upperStem = ToUpperAscii(stem);
  std::string key(stem);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::uint32_t number = static_cast<std::uint32_t>(i + 1);
    key.resize(stem.size());
    key += std::to_string(number);
    std::size_t line = section.index.FindNumbered(upperStem, number);
    // Only keys read from a file can lie beyond the arrays; a fresh record has none.
    if (!section.index.named.empty()) line = Later(line, section.index.Find(key));
    if (line != KeyIndex::kNone) {
      section.lines[line].key = key;
      section.lines[line].value = values[i];
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
    section.lines.push_back(Line{key, values[i], true});
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
