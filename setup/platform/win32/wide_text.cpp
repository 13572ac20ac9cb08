// Encoding conversions for window texts and data text.
#include "setup/platform/win32/wide_text.h"

namespace setup::win32 {

WideString ToWide(const std::string& text, UINT codePage) {
  if (text.empty()) return WideString();
  const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return WideString();
  WideString wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

std::string FromWide(const WideString& text, UINT codePage) {
  if (text.empty()) return std::string();
  const int length =
      WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &narrow[0], length, nullptr, nullptr);
  return narrow;
}

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes the sequence at text[*index] and moves past it; a malformed sequence yields one
// replacement character for its first byte.
char32_t NextCodePoint(const std::string& text, size_t* index) {
  const auto lead = static_cast<unsigned char>(text[*index]);
  ++*index;
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t value = 0;
  char32_t smallest = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, value = lead & 0x1F, smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, value = lead & 0x0F, smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, value = lead & 0x07, smallest = 0x10000;
  } else {
    return kReplacement;
  }
  if (*index + extra > text.size()) return kReplacement;
  for (int i = 0; i < extra; ++i) {
    const auto next = static_cast<unsigned char>(text[*index + i]);
    if ((next & 0xC0) != 0x80) return kReplacement;
    value = (value << 6) | (next & 0x3F);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return kReplacement;
  *index += extra;
  return value;
}

void AppendUtf8(char32_t value, std::string* out) {
  if (value < 0x80) {
    out->push_back(static_cast<char>(value));
  } else if (value < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (value >> 6)));
    out->push_back(static_cast<char>(0x80 | (value & 0x3F)));
  } else if (value < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (value >> 12)));
    out->push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (value & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (value >> 18)));
    out->push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (value & 0x3F)));
  }
}

}  // namespace

WideString Utf8ToWide(const std::string& text) {
  WideString wide;
  wide.reserve(text.size());
  size_t index = 0;
  while (index < text.size()) {
    const char32_t value = NextCodePoint(text, &index);
    if (value >= 0x10000) {
      wide.push_back(static_cast<wchar_t>(0xD800 + ((value - 0x10000) >> 10)));
      wide.push_back(static_cast<wchar_t>(0xDC00 + ((value - 0x10000) & 0x3FF)));
    } else {
      wide.push_back(static_cast<wchar_t>(value));
    }
  }
  return wide;
}

std::string WideToUtf8(const WideString& text) {
  std::string utf8;
  utf8.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    const char32_t unit = static_cast<char16_t>(text[i]);
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size()) {
      const char32_t low = static_cast<char16_t>(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), &utf8);
        ++i;
        continue;
      }
    }
    AppendUtf8(unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit, &utf8);
  }
  return utf8;
}

}  // namespace setup::win32
