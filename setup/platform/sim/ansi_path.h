// Windows path rules for the simulated machine: code page 932 text, case-insensitive names,
// "\" separators, drive letters and UNC roots, and the wildcard matching of directory listings.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace setup {

// Lead bytes of double-byte characters in code page 932 (Shift-JIS).
bool IsCp932LeadByte(unsigned char byte);

// Splits ANSI text into characters: one byte, or a lead byte with its trail byte.
std::vector<std::string> SplitCp932Characters(const std::string& text);
std::size_t CountCp932Characters(const std::string& text);

// The key under which a name is compared and sorted: ASCII letters upper-cased, double-byte
// characters untouched (their trail bytes may have the codes of ASCII letters).
std::string FoldName(const std::string& name);

// Whether a file name matches a listing pattern the way a directory search matches it:
// * and ? over characters, case-insensitive, "*.*" matches every name (with or without a dot),
// a "." before * or ? or at the end also matches the end of a name ("*." lists names without
// an extension), and a * before a dot stops at the name's last dot.
bool MatchesListingPattern(const std::string& name, const std::string& pattern);

// A name that may be stored in a folder: not empty, not "." or "..", no control character and
// none of < > : " / \ | ? *.
bool IsValidEntryName(const std::string& name);

// A path reduced to its root and its components.
struct ResolvedPath {
  std::string root;                // "C:" for a drive, "\\server\share" for a UNC path
  std::vector<std::string> parts;  // components below the root, as written
  bool operator==(const ResolvedPath& other) const;
};

// Resolves a full or relative path against the current folder: "X:\..." and "\\server\share\..."
// are full; "\..." starts at the current root; "X:name" is relative to the current folder when
// X is its drive and to X's root otherwise; anything else is relative to the current folder.
// Doubled separators and "." collapse, ".." climbs (never above the root), and trailing dots and
// blanks of the last component are dropped. Nothing for an empty or malformed path.
std::optional<ResolvedPath> ResolvePath(const std::string& path, const ResolvedPath& current);

// Whether the last character of a path is a separator ("\" or "/", never a trail byte).
bool EndsWithPathSeparator(const std::string& path);

// The folder part and the name part of a path, split at its last separator (a "\" that is not the
// trail byte of a double-byte character). The folder part keeps a root's separator ("C:\").
struct SplitPathResult {
  std::string folder;
  std::string name;
};
std::optional<SplitPathResult> SplitLastComponent(const std::string& path);

}  // namespace setup
