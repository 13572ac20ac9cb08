// Writing a generated file in one piece, for the build-time generators.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// Returns false (after printing why) when the file cannot be written completely.
bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace tools
