// Fuzzes the launcher's path rules on paths of every length up to its buffer size.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "launcher/launch_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size >= static_cast<std::size_t>(launcher::kPathBufferSize)) return 0;
  char path[launcher::kPathBufferSize] = {};
  std::memcpy(path, data, size);
  const std::size_t length = std::strlen(path);
  char target[launcher::kPathBufferSize];
  std::memcpy(target, path, sizeof(path));
  launcher::DeriveTargetPath(target);
  if (std::strlen(target) != (length > 4 ? length - 1 : length)) __builtin_trap();
  char folder[launcher::kPathBufferSize];
  std::memcpy(folder, target, sizeof(target));
  launcher::CutAtLastBackslash(folder);
  if (std::strlen(folder) > std::strlen(target)) __builtin_trap();
  launcher::IsStoppedMode(path);
  return 0;
}
