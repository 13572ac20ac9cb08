// IniSectionUpdate: sets keys of one section of an INI text and writes the whole text again,
// splitting the old text into lines once and without building a document of it. The result is
// byte for byte what IniDocument gives for Parse, then Set and SetList in the same order, then
// Serialize: comments, empty lines and lines before the first section are dropped, lines are
// trimmed and end in CR LF, and each section is followed by an empty line. In the last section of
// the name, the last line of each key takes the new value and the letter case given now; keys
// that are not there follow the section's lines, in the order they were set; without the section
// it is added at the end. An uninstall record of a hundred thousand files is written this way.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace setup {

class IniSectionUpdate {
 public:
  explicit IniSectionUpdate(std::string_view section) : section_(section) {}

  // The values are referred to, not copied: they must outlive WriteOver. No two calls may set
  // the same key.
  void Set(std::string_view key, const std::string& value);
  // Sets stem1, stem2, ... to the values.
  void SetList(std::string_view stem, const std::vector<std::string>& values);

  // The text of old (which may be empty) with the keys set.
  std::string WriteOver(std::string_view old) const;
  // The same text handed to sink in parts of about kPartSize bytes: a record of a hundred
  // thousand files then never lies whole in memory, and the parts stay in the processor's cache
  // between being written here and being copied to the file.
  void WriteOver(std::string_view old, const std::function<void(std::string_view)>& sink) const;
  static constexpr std::size_t kPartSize = 1 << 20;

 private:
  class TextWriter;
  // One Set or SetList; its keys take the slots from firstSlot on, one per value.
  struct Update {
    std::string key;  // the key, or the stem of a list
    std::string upperKey;
    const std::string* value = nullptr;
    const std::vector<std::string>* list = nullptr;
    std::size_t firstSlot = 0;
  };
  static constexpr std::uint32_t kNoSlot = 0xFFFFFFFFu;

  std::uint32_t SlotOfKey(std::string_view key) const;
  const Update& UpdateOfSlot(std::size_t slot) const;
  const std::string& ValueOfSlot(const Update& update, std::size_t slot) const;
  void PutSlot(TextWriter& text, const Update& update, std::size_t slot) const;
  void PutUnsetSlots(TextWriter& text, const std::vector<std::uint32_t>& lineOfSlot) const;
  std::size_t NewTextSize() const;
  std::string Write(std::string_view old, const std::function<void(std::string_view)>* sink) const;

  std::string section_;
  std::vector<Update> updates_;
  std::size_t slotCount_ = 0;
};

}  // namespace setup
