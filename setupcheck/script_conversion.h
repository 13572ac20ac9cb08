// setupcheck --to-sjis: a script written in UTF-8 turned into the Shift-JIS, CR LF file the
// installer reads. It stops at the first character Shift-JIS lacks instead of cutting the file
// there or writing a stand-in.
#pragma once

#include <string>

namespace setupcheck {

struct ScriptConversion {
  bool ok = false;
  std::string bytes;    // the converted script when ok
  std::string problem;  // otherwise "LINE:COLUMN: ..." naming the character, UTF-8
};

// A leading byte-order mark is dropped; every line ends with CR LF, the last one too when it ended.
ScriptConversion ConvertScriptToShiftJis(const std::string& utf8);

// The whole command: reads in, writes out only when every character converts, and removes an
// out left from an earlier run otherwise. Returns the exit status; report gets what to print.
int RunScriptConversion(const std::string& in, const std::string& out, std::string& report);

}  // namespace setupcheck
