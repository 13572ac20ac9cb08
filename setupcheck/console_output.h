// Writing setupcheck's UTF-8 report to standard output: as UTF-8 bytes, or on a Windows console
// through the wide-character call, so Japanese text reads correctly whatever the console's code page.
#pragma once

#include <string>

namespace setupcheck {

void WriteOutput(const std::string& utf8);

}  // namespace setupcheck
