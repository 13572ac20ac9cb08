// Byte-wise path and mode rules of the launcher.
#include "launcher/launch_rules.h"

namespace launcher {
namespace {

int ByteLength(const char* text) {
  int length = 0;
  while (text[length] != '\0') ++length;
  return length;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

void DeriveTargetPath(char* path) {
  constexpr int kKeptTail = 4;
  const int length = ByteLength(path);
  if (length <= kKeptTail) return;
  // The terminating NUL moves along with the tail.
  for (int i = length - kKeptTail; i <= length; ++i) path[i - 1] = path[i];
}

// Byte-wise on purpose: the launcher's own-name rule looks at bytes, not at Shift-JIS characters.
void CutAtLastBackslash(char* path) {
  for (int i = ByteLength(path) - 1; i >= 1; --i) {
    if (path[i] == '\\') {
      path[i] = '\0';
      return;
    }
  }
}

bool IsStoppedMode(const char* mode) {
  const char kStopped[] = "stopped";
  int i = 0;
  for (; kStopped[i] != '\0'; ++i) {
    if (AsciiLower(mode[i]) != kStopped[i]) return false;
  }
  return mode[i] == '\0';
}

}  // namespace launcher
