// The INI reader and writer behind the setup script and the uninstall record.
#include "setup/script/ini_document.h"

#include "setup/script/numbers.h"
#include "setup/script/text.h"

namespace setup {

namespace {

// Calls visit for every line of text, split at CR, LF or CR LF, up to the first NUL.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      visit(text.substr(start));
      return;
    }
    visit(text.substr(start, end - start));
    start = (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? end + 2 : end + 1;
  }
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument document;
  Section* current = nullptr;
  ForEachLine(text, [&](std::string_view raw) {
    const std::string_view line = TrimControls(raw);
    if (line.empty() || line[0] == ';') return;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      const std::string_view name = TrimControls(line.substr(1, line.size() - 2));
      document.sections_.push_back(Section{std::string(name), {}, {}});
      document.lastIndexOfSection_[ToUpperAscii(name)] = document.sections_.size() - 1;
      current = &document.sections_.back();
      return;
    }
    if (current != nullptr) document.AddLine(*current, line);
  });
  return document;
}

void IniDocument::AddLine(Section& section, std::string_view text) {
  const std::size_t equals = text.find('=');
  Line line;
  if (equals == std::string_view::npos) {
    line.key = std::string(text);
  } else {
    line.key = std::string(TrimControls(text.substr(0, equals)));
    line.value = std::string(TrimControls(text.substr(equals + 1)));
    line.isEntry = true;
    section.lastIndexOfKey[ToUpperAscii(line.key)] = section.lines.size();
  }
  section.lines.push_back(std::move(line));
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
  const auto found = lastIndexOfSection_.find(ToUpperAscii(name));
  return found == lastIndexOfSection_.end() ? nullptr : &sections_[found->second];
}

const std::string* IniDocument::Find(std::string_view sectionName, std::string_view key) const {
  const Section* section = FindSection(sectionName);
  if (section == nullptr) return nullptr;
  const auto found = section->lastIndexOfKey.find(ToUpperAscii(key));
  return found == section->lastIndexOfKey.end() ? nullptr : &section->lines[found->second].value;
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
  const std::string upper = ToUpperAscii(key);
  const auto found = section.lastIndexOfKey.find(upper);
  if (found != section.lastIndexOfKey.end()) {
    Line& line = section.lines[found->second];
    line.key = std::string(key);
    line.value = std::string(value);
    return;
  }
  section.lastIndexOfKey.emplace(upper, section.lines.size());
  section.lines.push_back(Line{std::string(key), std::string(value), true});
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
