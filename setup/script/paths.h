// Path arithmetic on ANSI text (Shift-JIS on the target systems): every split, level and parent
// of a path is found here, stepping over double-byte characters, whose second byte may have the
// code of "\" (ソ, 表, 能, 予, ...) or of a small letter.
//
// Windows takes "/" as a folder separator in file paths as well as "\", so file paths split at
// both; registry key paths split at "\" only ("/" is an ordinary character in a key name).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace setup {

class System;

enum class PathKind { File, RegistryKey };

bool IsSeparatorByte(char c, PathKind kind);

// Index of the last separator character (or ":" when alsoColon) in text; npos when there is none.
std::size_t LastSeparator(std::string_view text, System& system, bool alsoColon, PathKind kind = PathKind::File);

// The parts of path between separators, empty parts (doubled or outer separators) dropped.
std::vector<std::string_view> PathParts(std::string_view path, System& system, PathKind kind);

// Where the folder levels of a file path end, as byte counts of the prefixes that name them:
// after the root ("C:\" or "\\server\share\"), at every separator that follows a name, and at
// the end unless the path ends with a separator. "C:\A\B\" gives the lengths of "C:\A" and "C:\A\B".
std::vector<std::size_t> FolderLevelEnds(std::string_view path, System& system);

// A drive path ("C:\...", "C:/...") or a UNC path ("\\server\...", "//server/..."): the forms that
// do not depend on the working folder or the current drive.
bool IsFullPath(std::string_view path);

// The UNC root "\\server\share" of a path that starts with two separators: from its third
// character up to the second separator met after it.
std::string UncRoot(std::string_view path, System& system);

// The path with its last character replaced by mark, or by "_" when it already is mark: a file
// name beside the path's own that is no longer than it, so that it fits wherever the path fits.
std::string SameLengthSibling(std::string_view path, char mark, System& system);

// folder + "\" + name: one backslash between them, whatever either holds.
std::string JoinPath(std::string_view folder, std::string_view name);
// The same for more parts: one backslash between each two.
template <typename... More>
std::string JoinPath(std::string_view folder, std::string_view name, std::string_view next, More... more) {
  return JoinPath(JoinPath(folder, name), next, more...);
}

}  // namespace setup
