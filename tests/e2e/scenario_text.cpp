// Scenario file reading for the end-to-end driver (see scenario_text.h).
#include "tests/e2e/scenario_text.h"

#include <windows.h>

namespace e2e {

std::wstring Utf8ToWide(const std::string& text) {
  if (text.empty()) return std::wstring();
  int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

std::string WideToUtf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], length, nullptr, nullptr);
  return utf8;
}

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::vector<std::wstring> SplitWords(const std::wstring& line) {
  std::vector<std::wstring> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    std::wstring word;
    if (line[i] == L'"') {
      size_t close = line.find(L'"', i + 1);
      if (close == std::wstring::npos) close = line.size();
      word = line.substr(i + 1, close - i - 1);
      i = close + 1;
    } else {
      while (i < line.size() && !IsBlank(line[i])) word += line[i++];
    }
    words.push_back(word);
  }
  return words;
}

std::wstring TrimmedRestAfterFirstWord(const std::wstring& line) {
  size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  while (i < line.size() && !IsBlank(line[i])) ++i;
  while (i < line.size() && IsBlank(line[i])) ++i;
  size_t end = line.size();
  while (end > i && IsBlank(line[end - 1])) --end;
  return line.substr(i, end - i);
}

}  // namespace

std::vector<ScenarioLine> ParseScenario(const std::string& utf8Text) {
  std::wstring text = Utf8ToWide(utf8Text);
  std::vector<ScenarioLine> lines;
  int number = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(start, end - start);
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    ++number;
    start = end + 1;
    ScenarioLine parsed;
    parsed.number = number;
    parsed.words = SplitWords(line);
    if (parsed.words.empty() || parsed.words[0][0] == L'#') continue;
    parsed.rest = TrimmedRestAfterFirstWord(line);
    lines.push_back(parsed);
  }
  return lines;
}

bool ExpandVariables(const std::wstring& text, const std::map<std::wstring, std::wstring>& variables,
                     std::wstring* expanded, std::wstring* missing) {
  expanded->clear();
  size_t i = 0;
  while (i < text.size()) {
    size_t open = text.find(L"${", i);
    size_t close = open == std::wstring::npos ? open : text.find(L'}', open + 2);
    if (close == std::wstring::npos) {
      expanded->append(text, i, std::wstring::npos);
      break;
    }
    expanded->append(text, i, open - i);
    std::wstring name = text.substr(open + 2, close - open - 2);
    auto found = variables.find(name);
    if (found != variables.end()) {
      expanded->append(found->second);
    } else {
      DWORD length = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
      if (length == 0) {
        *missing = name;
        return false;
      }
      std::wstring value(length, L'\0');
      length = GetEnvironmentVariableW(name.c_str(), &value[0], length);
      value.resize(length);
      expanded->append(value);
    }
    i = close + 1;
  }
  return true;
}

}  // namespace e2e
