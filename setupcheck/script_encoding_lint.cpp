// Encoding check: the installer reads its script as Shift-JIS (CP932) bytes, whatever an editor
// saved. A script saved as UTF-8 loads without complaint and shows garbled Japanese everywhere.
#include <string_view>

#include "setupcheck/script_lint.h"

namespace setupcheck {

namespace {

bool IsCp932Lead(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }
bool IsCp932Trail(unsigned char byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }
bool IsCp932Single(unsigned char byte) { return byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF); }

bool IsValidCp932(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (IsCp932Single(byte)) continue;
    if (!IsCp932Lead(byte) || i + 1 >= text.size() || !IsCp932Trail(static_cast<unsigned char>(text[i + 1])))
      return false;
    ++i;
  }
  return true;
}

// The length of the UTF-8 sequence at the start of text (2 to 4 bytes, shortest form, no
// surrogates); 0 when it is none.
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
  if (length == 0 || text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 0;
  }
  const auto second = static_cast<unsigned char>(text[1]);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) || (lead == 0xF0 && second < 0x90) ||
      (lead == 0xF4 && second >= 0x90)) {
    return 0;
  }
  return length;
}

enum class Utf8Shape { Ascii, Utf8, Other };

Utf8Shape ShapeOf(std::string_view text) {
  Utf8Shape shape = Utf8Shape::Ascii;
  for (std::size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    const std::size_t length = Utf8SequenceLength(text.substr(i));
    if (length == 0) return Utf8Shape::Other;
    shape = Utf8Shape::Utf8;
    i += length;
  }
  return shape;
}

}  // namespace

void CheckEncoding(const ScriptCheck& check) {
  int firstNonAscii = 0;
  int firstNotCp932 = 0;
  bool allUtf8 = true;
  for (const ScriptLine& line : check.lines.lines()) {
    // A byte-order mark alone has a finding of its own; the text after it decides.
    std::string_view text = line.text;
    if (line.number == 1 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    const Utf8Shape shape = ShapeOf(text);
    if (shape == Utf8Shape::Ascii) continue;
    if (firstNonAscii == 0) firstNonAscii = line.number;
    if (shape == Utf8Shape::Other) allUtf8 = false;
    if (firstNotCp932 == 0 && !IsValidCp932(text)) firstNotCp932 = line.number;
  }
  // Shift-JIS Japanese is almost never valid UTF-8, while UTF-8 Japanese often passes for
  // Shift-JIS byte pairs: a script that is UTF-8 throughout was saved as UTF-8.
  if (firstNonAscii != 0 && allUtf8) {
    check.findings.Fail(firstNonAscii, "", TextId::SavedAsUtf8);
  } else if (firstNotCp932 != 0) {
    check.findings.Fail(firstNotCp932, "", TextId::LineNotShiftJis);
  }
}

}  // namespace setupcheck
