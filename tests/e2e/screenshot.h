// Saving the whole screen as a 24-bit BMP file, for the end-to-end driver's pictures.
#pragma once

#include <string>

namespace e2e {

// Copies the screen with BitBlt and writes it to path; false with *error set on failure.
bool SaveScreenAsBmp(const std::wstring& path, std::wstring* error);

}  // namespace e2e
