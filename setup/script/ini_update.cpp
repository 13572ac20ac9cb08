// The one-pass writer behind the uninstall record. The old text is split into lines once, which
// finds the section's last occurrence and the slot each of its lines belongs to; the lines are
// then written from where they lie in the old text, and a line that takes a new value is not
// split into its parts again. Keys are matched to their slot by comparing with the few keys and
// list stems set, so a long list costs no hashing and no string per line.
#include "setup/script/ini_update.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <utility>

#include "setup/script/ini_lines.h"
#include "setup/script/script_keys.h"
#include "setup/script/text.h"

namespace setup {

namespace {

// Copies the short texts a record is made of with two fixed-size moves, which overlap unless the
// size is a power of two: the library's copy costs a call and a choice of method for each of the
// hundreds of thousands of values (its share is in docs/performance.md).
inline void CopyShort(char* out, const char* in, std::size_t size) {
  if (size >= 16 && size <= 32) {
    std::memcpy(out, in, 16);
    std::memcpy(out + size - 16, in + size - 16, 16);
  } else if (size >= 8 && size < 16) {
    std::memcpy(out, in, 8);
    std::memcpy(out + size - 8, in + size - 8, 8);
  } else if (size > 32 && size <= 64) {
    std::memcpy(out, in, 32);
    std::memcpy(out + size - 32, in + size - 32, 32);
  } else {
    std::memcpy(out, in, size);
  }
}

}  // namespace

// Writes into a buffer sized once, with plain copies: the record is millions of small pieces, and
// the string's own append costs a call and a check of its capacity for each. A wrong estimate only
// costs a reallocation.
class IniSectionUpdate::TextWriter {
 public:
  using Sink = std::function<void(std::string_view)>;
  // Without a sink the text is kept whole; with one, each time the buffer is full it is handed
  // over and filled again.
  TextWriter(std::size_t capacity, const Sink* sink) : text_(capacity, '\0'), sink_(sink) {}
  void Put(std::string_view part) {
    if (part.empty()) return;
    std::memcpy(Claim(part.size()), part.data(), part.size());
    used_ += part.size();
  }
  // Room for at most size bytes at the end, to be filled and then kept with Keep.
  char* Claim(std::size_t size) {
    if (size > text_.size() - used_ && sink_ != nullptr) HandOver();
    if (size > text_.size() - used_) text_.resize(2 * text_.size() + size);
    return text_.data() + used_;
  }
  void Keep(const char* end) { used_ = static_cast<std::size_t>(end - text_.data()); }
  // The most digits a list number can take.
  static constexpr std::size_t kMostDigits = 20;

  // The line key=value, or keyN=value for a list's number N (N > 0): one claim and plain copies,
  // as this runs once for every file of a long record.
  void PutEntry(std::string_view key, std::size_t number, std::string_view value) {
    PutEntryWith(key, value,
                 [number](char* out) { return number == 0 ? out : std::to_chars(out, out + kMostDigits, number).ptr; });
  }
  // The same, with the number written by putNumber(out), which returns the end of what it wrote
  // (at most kMostDigits characters).
  template <typename PutNumber>
  void PutEntryWith(std::string_view key, std::string_view value, PutNumber putNumber) {
    char* out = Claim(key.size() + kMostDigits + 1 + value.size() + 2);
    std::memcpy(out, key.data(), key.size());
    out = putNumber(out + key.size());
    *out++ = '=';
    CopyShort(out, value.data(), value.size());
    out += value.size();
    *out++ = '\r';
    *out++ = '\n';
    Keep(out);
  }
  // A line as the document writes it: trimmed, ending in CR LF.
  void PutLine(const IniLine& line) {
    if (line.kind == IniLine::Kind::Section) {
      Put("[");
      Put(line.name);
      Put("]\r\n");
      return;
    }
    Put(line.name);
    if (line.kind == IniLine::Kind::Entry) {
      Put("=");
      Put(line.value);
    }
    Put("\r\n");
  }
  // The whole text, or nothing once the last part is handed to the sink.
  std::string Finish() {
    if (sink_ != nullptr) {
      HandOver();
      return std::string();
    }
    text_.resize(used_);
    return std::move(text_);
  }

 private:
  void HandOver() {
    if (used_ != 0) (*sink_)(std::string_view(text_.data(), used_));
    used_ = 0;
  }

  std::string text_;
  std::size_t used_ = 0;
  const Sink* sink_;
};

namespace {

// Writes the numbers 1, 2, 3, ... in turn. The last three digits are counted up as characters,
// and the digits before them are formatted once every thousand numbers: formatting each number
// in full was the largest share of building a new record's text (docs/performance.md).
class ConsecutiveNumbers {
 public:
  // Writes the current number at out (room for kMostDigits characters) and returns its end.
  char* Put(char* out) const {
    if (highLength_ == 0) {  // below 1000, without leading zeros
      if (hundreds_ != '0') *out++ = hundreds_;
      if (hundreds_ != '0' || tens_ != '0') *out++ = tens_;
      *out++ = ones_;
      return out;
    }
    // A fixed-size copy is a single move; the bytes past the digits are written over next.
    if (highLength_ <= 8) {
      std::memcpy(out, highDigits_, 8);
    } else {
      std::memcpy(out, highDigits_, highLength_);
    }
    out += highLength_;
    out[0] = hundreds_;
    out[1] = tens_;
    out[2] = ones_;
    return out + 3;
  }
  void Advance() {
    if (++ones_ <= '9') return;
    ones_ = '0';
    if (++tens_ <= '9') return;
    tens_ = '0';
    if (++hundreds_ <= '9') return;
    hundreds_ = '0';
    ++thousands_;
    highLength_ = static_cast<std::size_t>(
        std::to_chars(highDigits_, highDigits_ + sizeof highDigits_, thousands_).ptr - highDigits_);
  }

 private:
  char hundreds_ = '0', tens_ = '0', ones_ = '1';
  std::size_t thousands_ = 0;
  char highDigits_[24] = {};  // the thousands, once there are any
  std::size_t highLength_ = 0;
};

// Whether text begins with upper, an upper-case text, without regard to ASCII letter case.
bool StartsWithUpper(std::string_view text, std::string_view upper) {
  if (text.size() < upper.size()) return false;
  for (std::size_t i = 0; i < upper.size(); ++i) {
    const char c = text[i];
    if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != upper[i]) return false;
  }
  return true;
}

}  // namespace

void IniSectionUpdate::Set(std::string_view key, const std::string& value) {
  updates_.push_back(Update{std::string(key), ToUpperAscii(key), &value, nullptr, slotCount_});
  ++slotCount_;
}

void IniSectionUpdate::SetList(std::string_view stem, const std::vector<std::string>& values) {
  updates_.push_back(Update{std::string(stem), ToUpperAscii(stem), nullptr, &values, slotCount_});
  slotCount_ += values.size();
}

std::uint32_t IniSectionUpdate::SlotOfKey(std::string_view key) const {
  for (const Update& update : updates_) {
    if (update.list == nullptr) {
      if (key.size() == update.upperKey.size() && StartsWithUpper(key, update.upperKey))
        return static_cast<std::uint32_t>(update.firstSlot);
      continue;
    }
    if (key.size() <= update.upperKey.size() || !StartsWithUpper(key, update.upperKey)) continue;
    // COPY01 is a key of its own, not COPY1.
    NumberedKey numbered;
    if (!SplitNumberedKey(key, &numbered) || numbered.stem.size() != update.key.size()) continue;
    const std::size_t number = numbered.number;
    if (number >= 1 && number <= update.list->size()) return static_cast<std::uint32_t>(update.firstSlot + number - 1);
  }
  return kNoSlot;
}

const std::string& IniSectionUpdate::ValueOfSlot(const Update& update, std::size_t slot) const {
  return update.list == nullptr ? *update.value : (*update.list)[slot - update.firstSlot];
}

void IniSectionUpdate::PutSlot(TextWriter& text, const Update& update, std::size_t slot) const {
  text.PutEntry(update.key, update.list != nullptr ? slot - update.firstSlot + 1 : 0, ValueOfSlot(update, slot));
}

std::size_t IniSectionUpdate::NewTextSize() const {
  std::size_t size = section_.size() + 6;
  for (const Update& update : updates_) {
    const std::size_t count = update.list == nullptr ? 1 : update.list->size();
    size += count * (update.key.size() + 10 + 3);
    for (std::size_t slot = update.firstSlot; slot < update.firstSlot + count; ++slot)
      size += ValueOfSlot(update, slot).size();
  }
  return size;
}

std::string IniSectionUpdate::WriteOver(std::string_view old) const { return Write(old, nullptr); }

void IniSectionUpdate::WriteOver(std::string_view old, const std::function<void(std::string_view)>& sink) const {
  Write(old, &sink);
}

std::string IniSectionUpdate::Write(std::string_view old, const std::function<void(std::string_view)>* sink) const {
  // The kept lines once, trimmed, from the first section on; with the last section of the name
  // and the slot of each of its lines.
  std::vector<std::string_view> lines;
  std::vector<std::uint32_t> slotOfLine;
  std::uint32_t sectionNumber = 0;
  std::uint32_t target = 0;
  ForEachKeptLine(old, [&](std::string_view text) {
    const IniLine line = ClassifyIniLine(text);
    if (line.kind == IniLine::Kind::Section) {
      ++sectionNumber;
      if (EqualsIgnoringAsciiCase(line.name, section_)) {
        target = sectionNumber;
        slotOfLine.clear();
      }
    } else if (sectionNumber == 0) {
      return;  // lines before the first section are dropped
    } else if (sectionNumber == target) {
      slotOfLine.push_back(line.kind == IniLine::Kind::Entry ? SlotOfKey(line.name) : kNoSlot);
    }
    lines.push_back(text);
  });
  // The line that takes each slot's value: the last one of its key.
  std::vector<std::uint32_t> lineOfSlot(slotCount_, kNoSlot);
  for (std::uint32_t line = 0; line < slotOfLine.size(); ++line) {
    if (slotOfLine[line] != kNoSlot) lineOfSlot[slotOfLine[line]] = line;
  }

  // Whole, the text takes a kept line with its CR LF added and each section's empty line, and
  // the new lines; in parts, a part's room.
  TextWriter text(sink != nullptr ? kPartSize : old.size() + 2 * lines.size() + NewTextSize(), sink);

  // The lines again, the slots' lines in the places found, the rest after the section. Only the
  // lines written as they were are split into their parts again.
  sectionNumber = 0;
  std::uint32_t lineInSection = 0;
  for (std::string_view line : lines) {
    if (IsSectionLine(line)) {
      if (sectionNumber != 0 && sectionNumber == target) PutUnsetSlots(text, lineOfSlot);
      if (sectionNumber != 0) text.Put("\r\n");
      ++sectionNumber;
      lineInSection = 0;
      text.PutLine(ClassifyIniLine(line));
      continue;
    }
    const std::uint32_t slot = sectionNumber == target ? slotOfLine[lineInSection] : kNoSlot;
    if (slot != kNoSlot && lineOfSlot[slot] == lineInSection) {
      PutSlot(text, UpdateOfSlot(slot), slot);
    } else {
      text.PutLine(ClassifyIniLine(line));
    }
    ++lineInSection;
  }
  if (sectionNumber != 0 && sectionNumber == target) PutUnsetSlots(text, lineOfSlot);
  if (sectionNumber != 0) text.Put("\r\n");

  if (target == 0) {
    text.PutLine(IniLine{IniLine::Kind::Section, section_, {}});
    PutUnsetSlots(text, lineOfSlot);
    text.Put("\r\n");
  }
  return text.Finish();
}

const IniSectionUpdate::Update& IniSectionUpdate::UpdateOfSlot(std::size_t slot) const {
  std::size_t index = 0;
  while (index + 1 < updates_.size() && updates_[index + 1].firstSlot <= slot) ++index;
  return updates_[index];
}

// A new record is mostly one long list, so a list is walked here directly, its values and
// numbers in step, rather than slot by slot.
void IniSectionUpdate::PutUnsetSlots(TextWriter& text, const std::vector<std::uint32_t>& lineOfSlot) const {
  for (const Update& update : updates_) {
    if (update.list == nullptr) {
      if (lineOfSlot[update.firstSlot] == kNoSlot) text.PutEntry(update.key, 0, *update.value);
      continue;
    }
    const std::uint32_t* lineOfValue = lineOfSlot.data() + update.firstSlot;
    ConsecutiveNumbers number;
    for (const std::string& value : *update.list) {
      if (*lineOfValue++ == kNoSlot)
        text.PutEntryWith(update.key, value, [&number](char* out) { return number.Put(out); });
      number.Advance();
    }
  }
}

}  // namespace setup
