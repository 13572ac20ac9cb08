// Windows path rules for the simulated machine: code page 932 characters, name folding,
// listing-pattern matching and path resolution.
#include "setup/platform/sim/ansi_path.h"

#include <cstddef>

namespace setup {
namespace {

constexpr char kSeparator = '\\';

// Windows takes "/" as a separator in file paths as well.
bool IsSeparator(char c) { return c == kSeparator || c == '/'; }

// The directory search turns a pattern into these tokens before it matches: a "?" may also match
// nothing at a dot or at the end, a "." before a wildcard may match the end of the name, and a "*"
// before a dot does not eat the name's last dot.
enum class TokenKind { Literal, Star, DosStar, DosQuestion, DosDot };

struct Token {
  TokenKind kind;
  std::string literal;  // folded character for Literal
};

std::vector<Token> Tokenize(const std::string& pattern) {
  std::vector<std::string> chars = SplitCp932Characters(pattern == "*.*" ? std::string("*") : pattern);
  std::vector<Token> tokens;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const std::string& c = chars[i];
    const std::string next = i + 1 < chars.size() ? chars[i + 1] : std::string();
    if (c == "?") {
      tokens.push_back({TokenKind::DosQuestion, {}});
    } else if (c == "*") {
      tokens.push_back({next == "." ? TokenKind::DosStar : TokenKind::Star, {}});
    } else if (c == "." && (next == "?" || next == "*" || next.empty())) {
      tokens.push_back({TokenKind::DosDot, {}});
    } else {
      tokens.push_back({TokenKind::Literal, FoldName(c)});
    }
  }
  return tokens;
}

class PatternMatcher {
 public:
  PatternMatcher(const std::vector<Token>& tokens, const std::vector<std::string>& name)
      : tokens_(tokens), name_(name), memo_((tokens.size() + 1) * (name.size() + 1), kUnknown) {
    for (std::size_t i = 0; i < name.size(); ++i) {
      if (name[i] == ".") lastDot_ = i;
    }
  }

  bool Matches(std::size_t t, std::size_t n) {
    char& slot = memo_[t * (name_.size() + 1) + n];
    if (slot == kUnknown) slot = Compute(t, n) ? kYes : kNo;
    return slot == kYes;
  }

 private:
  static constexpr char kUnknown = 0, kYes = 1, kNo = 2;

  bool Compute(std::size_t t, std::size_t n) {
    const bool nameLeft = n < name_.size();
    if (t == tokens_.size()) return !nameLeft;
    const Token& token = tokens_[t];
    switch (token.kind) {
      case TokenKind::Literal:
        return nameLeft && FoldName(name_[n]) == token.literal && Matches(t + 1, n + 1);
      case TokenKind::Star:
        return Matches(t + 1, n) || (nameLeft && Matches(t, n + 1));
      case TokenKind::DosStar: {
        const bool mayEat = nameLeft && (lastDot_ == kNoDot || n < lastDot_);
        return Matches(t + 1, n) || (mayEat && Matches(t, n + 1));
      }
      case TokenKind::DosQuestion:
        if (nameLeft && name_[n] != ".") return Matches(t + 1, n + 1);
        return Matches(SkipQuestions(t), n);
      case TokenKind::DosDot:
        if (nameLeft) return name_[n] == "." && Matches(t + 1, n + 1);
        return Matches(t + 1, n);
    }
    return false;
  }

  std::size_t SkipQuestions(std::size_t t) const {
    while (t < tokens_.size() && tokens_[t].kind == TokenKind::DosQuestion) ++t;
    return t;
  }

  static constexpr std::size_t kNoDot = static_cast<std::size_t>(-1);
  const std::vector<Token>& tokens_;
  const std::vector<std::string>& name_;
  std::vector<char> memo_;
  std::size_t lastDot_ = kNoDot;
};

// Positions of the separators of a path, stepping over double-byte characters.
std::vector<std::size_t> SeparatorPositions(const std::string& path) {
  std::vector<std::size_t> positions;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsCp932LeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
      ++i;
    } else if (IsSeparator(path[i])) {
      positions.push_back(i);
    }
  }
  return positions;
}

std::vector<std::string> SplitComponents(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t position : SeparatorPositions(text)) {
    parts.push_back(text.substr(start, position - start));
    start = position + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool HasDriveLetter(const std::string& path) { return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':'; }

std::string DriveRoot(char letter) {
  return std::string(1, static_cast<char>(letter >= 'a' && letter <= 'z' ? letter - 'a' + 'A' : letter)) + ":";
}

// Windows drops trailing dots and blanks from the last component of a path.
std::string TrimTrailingDotsAndBlanks(std::string name) {
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  return name;
}

void AppendComponents(const std::string& rest, std::vector<std::string>& parts) {
  const std::vector<std::string> components = SplitComponents(rest);
  for (std::size_t i = 0; i < components.size(); ++i) {
    std::string component = components[i];
    const bool last = i + 1 == components.size();
    if (component == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    if (component == ".") continue;
    if (last) component = TrimTrailingDotsAndBlanks(component);
    if (!component.empty()) parts.push_back(component);
  }
}

}  // namespace

bool IsCp932LeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

std::vector<std::string> SplitCp932Characters(const std::string& text) {
  std::vector<std::string> chars;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool pair = IsCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
    chars.push_back(text.substr(i, pair ? 2 : 1));
    if (pair) ++i;
  }
  return chars;
}

std::size_t CountCp932Characters(const std::string& text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++i, ++count) {
    if (IsCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ++i;
  }
  return count;
}

std::string FoldName(const std::string& name) {
  std::string folded = name;
  for (std::size_t i = 0; i < folded.size(); ++i) {
    if (IsCp932LeadByte(static_cast<unsigned char>(folded[i]))) {
      ++i;
    } else if (folded[i] >= 'a' && folded[i] <= 'z') {
      folded[i] = static_cast<char>(folded[i] - 'a' + 'A');
    }
  }
  return folded;
}

bool MatchesListingPattern(const std::string& name, const std::string& pattern) {
  if (pattern.empty()) return false;
  const std::vector<Token> tokens = Tokenize(pattern);
  const std::vector<std::string> chars = SplitCp932Characters(name);
  return PatternMatcher(tokens, chars).Matches(0, 0);
}

bool IsValidEntryName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (const std::string& c : SplitCp932Characters(name)) {
    if (c.size() == 2) continue;
    const unsigned char byte = static_cast<unsigned char>(c[0]);
    if (byte < 0x20) return false;
    if (std::string("<>:\"/\\|?*").find(static_cast<char>(byte)) != std::string::npos) return false;
  }
  return true;
}

bool ResolvedPath::operator==(const ResolvedPath& other) const {
  if (FoldName(root) != FoldName(other.root) || parts.size() != other.parts.size()) return false;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (FoldName(parts[i]) != FoldName(other.parts[i])) return false;
  }
  return true;
}

std::optional<ResolvedPath> ResolvePath(const std::string& path, const ResolvedPath& current) {
  if (path.empty()) return std::nullopt;
  ResolvedPath resolved;
  std::string rest;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    const std::vector<std::string> parts = SplitComponents(path.substr(2));
    if (parts.size() < 2 || parts[0].empty() || parts[1].empty()) return std::nullopt;
    resolved.root = "\\\\" + parts[0] + "\\" + parts[1];
    const std::size_t prefix = 2 + parts[0].size() + 1 + parts[1].size();
    rest = prefix < path.size() ? path.substr(prefix + 1) : std::string();
  } else if (HasDriveLetter(path)) {
    resolved.root = DriveRoot(path[0]);
    if (path.size() >= 3 && IsSeparator(path[2])) {
      rest = path.substr(3);
    } else {
      if (FoldName(current.root) == resolved.root) resolved.parts = current.parts;
      rest = path.substr(2);
    }
  } else if (IsSeparator(path[0])) {
    resolved.root = current.root;
    rest = path.substr(1);
  } else {
    resolved = current;
    rest = path;
  }
  AppendComponents(rest, resolved.parts);
  return resolved;
}

bool EndsWithPathSeparator(const std::string& path) {
  const std::vector<std::size_t> separators = SeparatorPositions(path);
  return !separators.empty() && separators.back() + 1 == path.size();
}

std::optional<SplitPathResult> SplitLastComponent(const std::string& path) {
  const std::vector<std::size_t> separators = SeparatorPositions(path);
  if (separators.empty()) {
    if (HasDriveLetter(path)) return SplitPathResult{path.substr(0, 2), path.substr(2)};
    return SplitPathResult{std::string(), path};
  }
  const std::size_t last = separators.back();
  std::string folder = path.substr(0, last);
  const bool keepsSeparator = last == 0 || (folder.size() == 2 && HasDriveLetter(folder));
  if (keepsSeparator) folder += kSeparator;
  return SplitPathResult{folder, path.substr(last + 1)};
}

}  // namespace setup
