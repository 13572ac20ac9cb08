// The line grammar of the COPY, REG and START lists: each line split into its named fields, the
// one way the installation steps and setupcheck read them. Fields are comma-separated and not
// trimmed; a missing field is empty. Macros are not expanded here: each step expands the fields
// it uses, when it uses them.
#pragma once

#include <string>
#include <string_view>

namespace setup {

// "source,destination[,PC-9821 source]".
struct CopyLine {
  std::string source;  // a file name or wildcard pattern, relative to SRC
  std::string destination;
  std::string pc9821Source;  // used instead of source on a PC-9821 whose user says so
  bool textAfterFields = false;
};

CopyLine ParseCopyLine(std::string_view line);

enum class RegKeyword { Open, String, Long, Unknown };

// "open,ROOT\key\path", "string,name,value" or "long,name,number". An open line splits its
// root off at the first "\"; a value cannot hold a comma.
struct RegLine {
  RegKeyword keyword = RegKeyword::Unknown;
  std::string keywordText;  // as written
  std::string root;         // open lines
  std::string keyPath;      // open lines
  std::string name;         // value lines
  std::string value;        // value lines
  bool textAfterFields = false;
};

RegLine ParseRegLine(std::string_view line);

// A registry key as the uninstall record lists it (its REG list): "ROOT\key\path".
struct RecordedKey {
  std::string root;
  std::string keyPath;
};

RecordedKey ParseRecordedKey(std::string_view entry);

// "target,name[,folder]": the target relative to the destination folder, the shortcut's name,
// and its Start-menu folder below GROUP (the name when empty).
struct StartLine {
  std::string target;
  std::string name;
  std::string folder;
  bool textAfterFields = false;
};

StartLine ParseStartLine(std::string_view line);

}  // namespace setup
