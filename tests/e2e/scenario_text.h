// Reading scenario files for the end-to-end driver: UTF-8 lines split into blank-separated
// words, double quotes grouping a word that holds blanks, ${NAME} replaced by a variable.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace e2e {

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

// One command of a scenario: its words as written (variables still unexpanded) and, for the
// commands that take a whole command line, the raw text after the first word.
struct ScenarioLine {
  int number = 0;
  std::vector<std::wstring> words;
  std::wstring rest;
};

// Splits the file's text into commands; blank lines and lines starting with "#" are skipped.
std::vector<ScenarioLine> ParseScenario(const std::string& utf8Text);

// Replaces every ${NAME} by variables[NAME], or else by the environment variable NAME.
// Returns false and names the missing variable in *missing when neither has it.
bool ExpandVariables(const std::wstring& text, const std::map<std::wstring, std::wstring>& variables,
                     std::wstring* expanded, std::wstring* missing);

}  // namespace e2e
