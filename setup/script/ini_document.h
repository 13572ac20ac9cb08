// IniDocument: the setup script's INI format, read and written.
//
// Reading: lines split at CR, LF and CR LF; a NUL ends the text; lines trimmed of codes 0-32;
// empty lines and ";" comments dropped; "[name]" opens a section; lines before the first
// section dropped; "key=value" entries, other lines kept but never found. Names compare
// without regard to ASCII letter case; the last occurrence of a section and of a key wins.
// Writing keeps every section and line in order; each section is followed by an empty line.
// (The uninstall record is written by IniSectionUpdate, which gives the same bytes in one pass;
// the tests hold the two together.)
//
// The document keeps the text it was read from and its lines point into it, so a script of a
// hundred thousand lines costs its own size and one small record per line, not a string per value.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace setup {

struct IniLine;

class IniDocument {
 public:
  IniDocument() = default;
  IniDocument(IniDocument&&) = default;
  IniDocument& operator=(IniDocument&&) = default;
  // A copy would point into the original's text.
  IniDocument(const IniDocument&) = delete;
  IniDocument& operator=(const IniDocument&) = delete;

  static IniDocument Parse(std::string text);

  // The value as written, or nothing when the key (or the section) is missing. The view lives as
  // long as the document.
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;
  // The values of stem1, stem2, ... ("COPY" gives COPY1, COPY2, ...), up to the first missing or
  // empty one, each found as Find would find it.
  std::vector<std::string_view> ListValues(std::string_view section, std::string_view stem) const;
  std::string ReadText(std::string_view section, std::string_view key, const std::string& fallback) const;
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const;
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

  // Sets a key in the section that reading sees: an existing key keeps its place and takes the
  // letter case given now; a new key goes after the section's lines; a new section at the end.
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // Sets stem1, stem2, ... to the values, with the same rules as Set, in one pass.
  void SetList(std::string_view section, std::string_view stem, const std::vector<std::string>& values);

  // The whole document with CR LF line ends.
  std::string Serialize() const;

 private:
  struct Line {
    std::string_view key;  // the whole text for a line without "="
    std::string_view value;
    bool isEntry = false;
  };
  // Where the last occurrence of each key lies. Numbered keys (a stem and a number without
  // leading zeros, such as COPY12) are kept in one array per stem, so that lists of a hundred
  // thousand entries cost no hashing per entry; other keys, and numbers far beyond the
  // section's size, are hashed.
  struct KeyIndex {
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    std::unordered_map<std::string, std::size_t> named;                    // upper-case key -> line
    std::unordered_map<std::string, std::vector<std::uint32_t>> numbered;  // upper-case stem -> line per number
    // The stem put last and its array: a list's keys come one after another, so most lines
    // find their array without hashing. The map's elements stay where they are when it grows or
    // moves, and the index is never copied.
    std::string_view lastStem;
    std::vector<std::uint32_t>* lastStemLines = nullptr;

    KeyIndex() = default;
    KeyIndex(KeyIndex&&) = default;
    KeyIndex& operator=(KeyIndex&&) = default;
    KeyIndex(const KeyIndex&) = delete;
    KeyIndex& operator=(const KeyIndex&) = delete;

    std::size_t Find(std::string_view key) const;  // a line index or kNone
    void Put(std::string_view key, std::size_t line, std::size_t lineCount);
    std::vector<std::uint32_t>& LinesOfStem(std::string_view stem);
  };
  struct Section {
    std::string name;
    std::vector<Line> lines;
    KeyIndex index;
  };

  void AddLine(Section& section, const IniLine& line);
  const Section* FindSection(std::string_view name) const;
  Section& SectionForWriting(std::string_view name);
  std::string_view Keep(std::string_view text);

  // The text read, held where moving the document leaves it, and the texts set since.
  std::unique_ptr<const std::string> text_;
  std::deque<std::string> written_;
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> lastIndexOfSection_;  // upper-case name -> section
};

}  // namespace setup
