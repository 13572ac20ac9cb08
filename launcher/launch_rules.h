// The launcher's decisions that need no window: which program it starts, which folder that
// program starts in, and when the movie counts as finished. Paths are ANSI bytes (Shift-JIS
// on the target systems) and are changed in place, byte by byte, without regard to
// double-byte characters; that byte-wise behaviour is deliberate and relied upon.
// Plain C-style code: the launcher is built without the C++ library.
#pragma once

namespace launcher {

// Size of every path buffer of the launcher, the system's MAX_PATH.
constexpr int kPathBufferSize = 260;

// Turns the launcher's own full path into the path of the program it starts: the last four
// bytes (the extension with its dot) move one place to the left, dropping the byte before
// them, so "D:\setupx.exe" becomes "D:\setup.exe". Paths of four bytes or fewer stay as
// they are.
void DeriveTargetPath(char* path);

// Cuts path at its last backslash (0x5C) byte, looking from the last byte back to the second
// one; the first byte is never examined. A path without one stays whole. "D:\setup.exe"
// becomes "D:", the form a drive root takes as a working folder.
void CutAtLastBackslash(char* path);

// Whether the player's mode text says "stopped", ASCII letters compared without case.
bool IsStoppedMode(const char* mode);

}  // namespace launcher
