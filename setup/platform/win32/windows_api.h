// <windows.h> for this layer. The system headers define macros such as CopyFile and
// MessageBox that would rename the seam's methods of the same names (to CopyFileA, ...) in
// every file that sees them; they are removed here, and this layer calls the A or W
// functions by their full names.
#pragma once

#include <windows.h>

#undef CopyFile
#undef CreateDirectory
#undef DeleteFile
#undef GetDriveType
#undef MessageBox
#undef MoveFile
#undef RemoveDirectory
#undef ReplaceFile
#undef SetCurrentDirectory
