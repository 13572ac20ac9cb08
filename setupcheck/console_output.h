// The console setupcheck writes to: the language its user reads, and the writing of the UTF-8
// report to standard output, as UTF-8 bytes or on a Windows console through the wide-character
// call, so Japanese text reads correctly whatever the console's code page.
#pragma once

#include <string>

#include "setupcheck/texts.h"

namespace setupcheck {

// Japanese for a user whose locale (POSIX) or display language (Windows) is Japanese.
Language UserLanguage();

void WriteOutput(const std::string& utf8);

}  // namespace setupcheck
