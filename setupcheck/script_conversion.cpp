// Converting a UTF-8 script to Shift-JIS one character at a time, so that the first character
// without a Shift-JIS form is named with its line and column.
#include "setupcheck/script_conversion.h"

#include <cstdint>
#include <cstdio>
#include <optional>

#include "setupcheck/cd_folder.h"

namespace setupcheck {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// The length of the UTF-8 sequence at text[at] with its code point; nothing when it is malformed
// (a stray continuation byte, a cut sequence, an overlong form, a surrogate).
std::optional<std::size_t> SequenceAt(const std::string& text, std::size_t at, char32_t& codePoint) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  std::size_t length = lead < 0x80             ? 1
                       : (lead & 0xE0) == 0xC0 ? 2
                       : (lead & 0xF0) == 0xE0 ? 3
                       : (lead & 0xF8) == 0xF0 ? 4
                                               : 0;
  if (length == 0 || at + length > text.size()) return std::nullopt;
  codePoint = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return std::nullopt;
    codePoint = (codePoint << 6) | (byte(at + i) & 0x3F);
  }
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (codePoint < kSmallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
    return std::nullopt;
  return length;
}

std::string CodePointName(char32_t codePoint) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
  return name;
}

}  // namespace

ScriptConversion ConvertScriptToShiftJis(const std::string& utf8) {
  ScriptConversion result;
  std::size_t at = utf8.rfind(kByteOrderMark, 0) == 0 ? 3 : 0;
  int line = 1;
  int column = 1;
  while (at < utf8.size()) {
    if (utf8[at] == '\r' || utf8[at] == '\n') {
      at += utf8.compare(at, 2, "\r\n") == 0 ? 2 : 1;
      result.bytes += "\r\n";
      ++line;
      column = 1;
      continue;
    }
    char32_t codePoint = 0;
    const std::optional<std::size_t> length = SequenceAt(utf8, at, codePoint);
    if (!length) {
      char byte[8];
      std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned>(static_cast<unsigned char>(utf8[at])));
      result.problem = Text(TextId::ByteNotUtf8, {std::to_string(line), std::to_string(column), byte});
      return result;
    }
    const std::string character = utf8.substr(at, *length);
    const std::optional<std::string> converted = Utf8ToShiftJis(character);
    if (!converted) {
      result.problem = Text(TextId::NoShiftJisForm,
                            {std::to_string(line), std::to_string(column), character, CodePointName(codePoint)});
      return result;
    }
    result.bytes += *converted;
    at += *length;
    ++column;
  }
  result.ok = true;
  return result;
}

int RunScriptConversion(const std::string& in, const std::string& out, Text& report) {
  report = Text();
  const std::optional<std::string> text = ReadDiskFile(DiskPathOfArgument(in));
  if (!text) {
    report = Text(TextId::CannotRead, {in});
    return 2;
  }
  const ScriptConversion conversion = ConvertScriptToShiftJis(*text);
  const std::string outPath = DiskPathOfArgument(out);
  if (!conversion.ok) {
    RemoveDiskFile(outPath);
    report = Text(TextId::ConversionStopped, {in, conversion.problem, out});
    return 2;
  }
  if (!WriteDiskFile(outPath, conversion.bytes)) {
    RemoveDiskFile(outPath);
    report = Text(TextId::CannotWrite, {out});
    return 2;
  }
  return 0;
}

}  // namespace setupcheck
