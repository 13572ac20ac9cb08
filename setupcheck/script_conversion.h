// setupcheck --to-sjis: a script written in UTF-8 turned into the Shift-JIS, CR LF file the
// installer reads. It stops at the first character Shift-JIS lacks instead of cutting the file
// there or writing a stand-in.
#pragma once

#include <string>

#include "setupcheck/texts.h"

namespace setupcheck {

struct ScriptConversion {
  bool ok = false;
  std::string bytes;  // the converted script when ok
  Text problem;       // otherwise "LINE:COLUMN: ..." naming the character
};

// A leading byte-order mark is dropped; every line ends with CR LF, the last one too when it ended.
ScriptConversion ConvertScriptToShiftJis(const std::string& utf8);

// The whole command: reads in, writes out only when every character converts, and removes an
// out left from an earlier run otherwise. Returns the exit status; report gets the line to print,
// empty when all went well.
int RunScriptConversion(const std::string& in, const std::string& out, Text& report);

}  // namespace setupcheck
