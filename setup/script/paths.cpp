// Path arithmetic that steps over double-byte characters.
#include "setup/script/paths.h"

#include "setup/platform/platform.h"

namespace setup {

namespace {

// Walks text one character at a time; Next() returns the index of each character's first byte
// and moves past it (two bytes for a lead byte with a trail byte after it).
class CharacterWalk {
 public:
  CharacterWalk(std::string_view text, System& system) : text_(text), system_(system) {}
  bool Done() const { return index_ >= text_.size(); }
  std::size_t Next() {
    const std::size_t at = index_;
    const bool pair = system_.IsLeadByte(static_cast<unsigned char>(text_[at])) && at + 1 < text_.size();
    index_ += pair ? 2 : 1;
    return at;
  }

 private:
  std::string_view text_;
  System& system_;
  std::size_t index_ = 0;
};

// Where the separator that ends a UNC share ("\\server\share\") stands, from the third
// character on; npos when the path has no such separator.
std::size_t ShareEnd(std::string_view path, System& system) {
  int separators = 0;
  const std::string_view rest = path.substr(2);
  for (CharacterWalk walk(rest, system); !walk.Done();) {
    const std::size_t at = walk.Next();
    if (IsSeparatorByte(rest[at], PathKind::File) && ++separators == 2) return 2 + at;
  }
  return std::string_view::npos;
}

// Length of the root of a file path: "C:" (its separator is skipped as an empty level), or
// "\\server\share" with the separator after it; 0 for a path relative to anything.
std::size_t RootLength(std::string_view path, System& system) {
  if (path.size() >= 2 && path[1] == ':') return 2;
  if (path.size() < 2 || !IsSeparatorByte(path[0], PathKind::File) || !IsSeparatorByte(path[1], PathKind::File)) {
    return 0;
  }
  const std::size_t end = ShareEnd(path, system);
  return end == std::string_view::npos ? path.size() : end + 1;
}

}  // namespace

bool IsSeparatorByte(char c, PathKind kind) { return c == '\\' || (kind == PathKind::File && c == '/'); }

std::size_t LastSeparator(std::string_view text, System& system, bool alsoColon, PathKind kind) {
  std::size_t found = std::string_view::npos;
  for (CharacterWalk walk(text, system); !walk.Done();) {
    const std::size_t at = walk.Next();
    if (IsSeparatorByte(text[at], kind) || (alsoColon && text[at] == ':')) found = at;
  }
  return found;
}

std::vector<std::string_view> PathParts(std::string_view path, System& system, PathKind kind) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (CharacterWalk walk(path, system); !walk.Done();) {
    const std::size_t at = walk.Next();
    if (!IsSeparatorByte(path[at], kind)) continue;
    if (at > start) parts.push_back(path.substr(start, at - start));
    start = at + 1;
  }
  if (start < path.size()) parts.push_back(path.substr(start));
  return parts;
}

std::vector<std::size_t> FolderLevelEnds(std::string_view path, System& system) {
  const std::size_t start = RootLength(path, system);
  std::vector<std::size_t> ends;
  bool inName = false;
  const std::string_view rest = path.substr(start);
  for (CharacterWalk walk(rest, system); !walk.Done();) {
    const std::size_t at = walk.Next();
    const bool separator = IsSeparatorByte(rest[at], PathKind::File);
    if (separator && inName) ends.push_back(start + at);
    inName = !separator;
  }
  if (inName) ends.push_back(path.size());
  return ends;
}

bool IsFullPath(std::string_view path) {
  const auto separator = [&path](std::size_t i) { return IsSeparatorByte(path[i], PathKind::File); };
  const bool letter = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  const bool drive = letter && path[1] == ':' && separator(2);
  const bool unc = path.size() >= 3 && separator(0) && separator(1) && !separator(2);
  return drive || unc;
}

std::string UncRoot(std::string_view path, System& system) {
  if (path.size() <= 2) return "\\\\";
  const std::size_t end = ShareEnd(path, system);
  return "\\\\" + std::string(path.substr(2, end == std::string_view::npos ? std::string_view::npos : end - 2));
}

std::string SameLengthSibling(std::string_view path, char mark, System& system) {
  std::size_t last = 0;
  for (CharacterWalk walk(path, system); !walk.Done();) last = walk.Next();
  if (path.empty()) return std::string(1, mark);
  const bool alreadyMark = last + 1 == path.size() && path[last] == mark;
  return std::string(path.substr(0, last)) + (alreadyMark ? '_' : mark);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path;
  path.reserve(folder.size() + 1 + name.size());
  path.append(folder).append(1, '\\').append(name);
  return path;
}

}  // namespace setup
