// The simulated file system: a tree of folders and files per drive, with the refusals and
// attribute rules of the Windows file calls.
#include "setup/platform/sim/sim_file_system.h"

#include <algorithm>
#include <functional>

namespace setup {

namespace {

constexpr std::uint64_t kLargestReadableSize = 64ull << 20;
constexpr std::size_t kLongestPath = 259;
constexpr std::uint32_t kStoredAttributeMask = ~static_cast<std::uint32_t>(kAttrDirectory | kAttrNormal);

bool FitsEightDotThree(const std::string& name) {
  const std::size_t dot = name.find('.');
  if (dot != name.rfind('.') || dot == 0) return false;
  const std::string base = name.substr(0, dot);
  const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || extension.size() > 3) return false;
  return name.find_first_of(" +,;=[]") == std::string::npos;
}

// Upper-cased characters of text without blanks and dots, at most maxBytes bytes, never cutting a
// double-byte character; characters that an 8.3 name cannot hold become "_".
std::string ShortNamePart(const std::string& text, std::size_t maxBytes) {
  std::string part;
  for (const std::string& c : SplitCp932Characters(text)) {
    if (c == " " || c == ".") continue;
    const std::string piece = std::string("+,;=[]").find(c[0]) != std::string::npos && c.size() == 1 ? "_" : c;
    if (part.size() + piece.size() > maxBytes) break;
    part += piece;
  }
  return FoldName(part);
}

// The characters of a resolved path's full form: its root, "\", and its parts joined by "\".
std::size_t FullPathCharacters(const ResolvedPath& path) {
  std::size_t count = CountCp932Characters(path.root) + 1;
  for (const std::string& part : path.parts) count += CountCp932Characters(part) + 1;
  return path.parts.empty() ? count : count - 1;
}

}  // namespace

struct SimFileSystem::Node {
  std::string name;
  bool directory = false;
  std::uint32_t attributes = 0;  // without kAttrDirectory
  std::optional<std::string> content;
  std::uint64_t size = 0;
  std::string shortName;                                  // empty when the name fits 8.3
  std::map<std::string, std::unique_ptr<Node>> children;  // by folded name: NTFS order

  std::uint32_t ReportedAttributes() const {
    if (directory) return attributes | kAttrDirectory;
    return attributes == 0 ? static_cast<std::uint32_t>(kAttrNormal) : attributes;
  }
};

struct SimFileSystem::Drive {
  std::string root;
  DriveType type = DriveType::Fixed;
  std::int64_t freeBytes = -1;
  Node top;
};

bool FileState::operator==(const FileState& other) const {
  return attributes == other.attributes && size == other.size && content == other.content;
}

SimFileSystem::SimFileSystem() { current_.root = "C:"; }

SimFileSystem::~SimFileSystem() = default;

// ---- Lookup -------------------------------------------------------------------------------

std::optional<std::string> SimFileSystem::RootKeyOf(const std::string& root) const {
  std::string trimmed = root;
  if (!trimmed.empty() && (trimmed.back() == '\\' || trimmed.back() == '/')) trimmed.pop_back();
  const std::optional<ResolvedPath> resolved = ResolvePath(trimmed + "\\", current_);
  const bool isDrive = trimmed.size() == 2 && trimmed[1] == ':';
  const bool isUnc = trimmed.size() > 2 && trimmed[0] == '\\' && trimmed[1] == '\\';
  if (!resolved || !resolved->parts.empty() || !(isDrive || isUnc)) return std::nullopt;
  return FoldName(resolved->root);
}

SimFileSystem::Drive* SimFileSystem::FindDrive(const std::string& rootKey) const {
  const auto found = drives_.find(FoldName(rootKey));
  return found == drives_.end() ? nullptr : found->second.get();
}

// Windows NT turns an ANSI path into a buffer of MAX_PATH characters and its full form must fit
// the same room: a path of more than 259 characters fails, however few bytes they take.
std::optional<ResolvedPath> SimFileSystem::Resolve(const std::string& path) const {
  if (CountCp932Characters(path) > kLongestPath) return std::nullopt;
  std::optional<ResolvedPath> resolved = ResolvePath(path, current_);
  if (!resolved || FullPathCharacters(*resolved) > kLongestPath) return std::nullopt;
  UseLongNames(*resolved);
  return resolved;
}

// A component may be written as its 8.3 name; from here on it goes by its long name.
void SimFileSystem::UseLongNames(ResolvedPath& path) const {
  Drive* drive = FindDrive(path.root);
  const Node* node = drive != nullptr ? &drive->top : nullptr;
  for (std::string& part : path.parts) {
    if (node == nullptr || !node->directory) return;
    const std::string folded = FoldName(part);
    const auto child = node->children.find(folded);
    if (child != node->children.end()) {
      node = child->second.get();
      continue;
    }
    // Only a name with a "~" can be a generated 8.3 name; other misses (a file about to be made)
    // skip the search, so making many files in one folder stays linear.
    if (folded.find('~') == std::string::npos) return;
    const auto byShortName = std::find_if(node->children.begin(), node->children.end(), [&](const auto& entry) {
      return !entry.second->shortName.empty() && FoldName(entry.second->shortName) == folded;
    });
    if (byShortName == node->children.end()) return;
    part = byShortName->second->name;
    node = byShortName->second.get();
  }
}

SimFileSystem::Node* SimFileSystem::Lookup(const ResolvedPath& path) const {
  Drive* drive = FindDrive(path.root);
  if (drive == nullptr) return nullptr;
  Node* node = &drive->top;
  for (const std::string& part : path.parts) {
    if (!node->directory) return nullptr;
    const auto child = node->children.find(FoldName(part));
    if (child == node->children.end()) return nullptr;
    node = child->second.get();
  }
  return node;
}

SimFileSystem::Node* SimFileSystem::LookupPath(const std::string& path) const {
  const std::optional<ResolvedPath> resolved = Resolve(path);
  return resolved ? Lookup(*resolved) : nullptr;
}

SimFileSystem::Node* SimFileSystem::ParentOf(const ResolvedPath& path) const {
  if (path.parts.empty()) return nullptr;
  ResolvedPath parent = path;
  parent.parts.pop_back();
  Node* node = Lookup(parent);
  return node != nullptr && node->directory ? node : nullptr;
}

std::string SimFileSystem::KeyOf(const ResolvedPath& path) const {
  std::string key = path.root + "\\";
  for (std::size_t i = 0; i < path.parts.size(); ++i) key += (i == 0 ? "" : "\\") + path.parts[i];
  return FoldName(key);
}

std::string SimFileSystem::DisplayPath(const ResolvedPath& path) const {
  Drive* drive = FindDrive(path.root);
  std::string text = drive != nullptr ? drive->root : path.root;
  const Node* node = drive != nullptr ? &drive->top : nullptr;
  if (path.parts.empty()) return text + "\\";
  for (const std::string& part : path.parts) {
    const Node* child = nullptr;
    if (node != nullptr && node->directory) {
      const auto found = node->children.find(FoldName(part));
      if (found != node->children.end()) child = found->second.get();
    }
    text += "\\" + (child != nullptr ? child->name : part);
    node = child;
  }
  return text;
}

std::string SimFileSystem::PathKey(const std::string& path) const {
  const std::optional<ResolvedPath> resolved = Resolve(path);
  return resolved ? KeyOf(*resolved) : std::string();
}

std::string SimFileSystem::CurrentDirectory() const { return DisplayPath(current_); }

bool SimFileSystem::IsCurrentOrAbove(const ResolvedPath& path) const {
  if (FoldName(path.root) != FoldName(current_.root) || path.parts.size() > current_.parts.size()) return false;
  for (std::size_t i = 0; i < path.parts.size(); ++i) {
    if (FoldName(path.parts[i]) != FoldName(current_.parts[i])) return false;
  }
  return true;
}

// ---- Faults and counters ------------------------------------------------------------------

bool SimFileSystem::Faulted(FileCall call, const std::string& path) const {
  if (countedFaultDue_) return true;
  const auto found = faults_.find(call);
  if (found == faults_.end()) return false;
  const std::string key = PathKey(path);
  return !key.empty() && found->second.count(key) > 0;
}

namespace {
bool ChangesTheMachine(FileCall call) {
  switch (call) {
    case FileCall::CopyFile:
    case FileCall::SetAttributes:
    case FileCall::DeleteFile:
    case FileCall::CreateDirectory:
    case FileCall::RemoveDirectory:
    case FileCall::WriteWholeFile:
    case FileCall::ReplaceFile:
    case FileCall::MoveFile:
      return true;
    default:
      return false;
  }
}
}  // namespace

void SimFileSystem::Count(FileCall call) {
  ++calls_[static_cast<std::size_t>(call)];
  countedFaultDue_ = ChangesTheMachine(call) && changesBeforeFault_ > 0 && --changesBeforeFault_ == 0;
}

void SimFileSystem::FailChangeNumber(int n) { changesBeforeFault_ = n; }

void SimFileSystem::InjectFault(FileCall call, const std::string& path) { faults_[call].insert(PathKey(path)); }

void SimFileSystem::InjectWriteFailure(const std::string& path) { writeFailures_.insert(PathKey(path)); }

void SimFileSystem::ClearFaults() {
  faults_.clear();
  writeFailures_.clear();
  changesBeforeFault_ = 0;
}

int SimFileSystem::CallCount(FileCall call) const { return calls_[static_cast<std::size_t>(call)]; }

int SimFileSystem::TotalCalls() const {
  int total = 0;
  for (int count : calls_) total += count;
  return total;
}

void SimFileSystem::ResetCallCounts() { calls_.fill(0); }

// ---- Short names --------------------------------------------------------------------------

std::string SimFileSystem::NewShortName(const Node& folder, const std::string& longName) const {
  if (FitsEightDotThree(longName)) return std::string();
  const std::size_t dot = longName.rfind('.');
  const std::string stem = dot == std::string::npos ? longName : longName.substr(0, dot);
  const std::string extension = dot == std::string::npos ? std::string() : ShortNamePart(longName.substr(dot + 1), 3);
  std::string base = ShortNamePart(stem, 6);
  if (base.empty()) base = "_";
  for (int number = 1;; ++number) {
    const std::string tail = "~" + std::to_string(number);
    std::string candidate = ShortNamePart(base, 8 - tail.size()) + tail;
    if (!extension.empty()) candidate += "." + extension;
    const bool taken = std::any_of(folder.children.begin(), folder.children.end(), [&](const auto& entry) {
      return entry.first == candidate || FoldName(entry.second->shortName) == candidate;
    });
    if (!taken) return candidate;
  }
}

bool SimFileSystem::SetShortName(const std::string& path, const std::string& shortName) {
  Node* node = LookupPath(path);
  if (node == nullptr) return false;
  node->shortName = shortName;
  return true;
}

// ---- FileSystem ---------------------------------------------------------------------------

std::vector<FoundEntry> SimFileSystem::FindEntries(const std::string& pattern) {
  Count(FileCall::FindEntries);
  const std::optional<SplitPathResult> split = SplitLastComponent(pattern);
  if (!split || split->name.empty()) return {};
  const std::string folderPath = split->folder.empty() ? CurrentDirectory() : split->folder;
  if (Faulted(FileCall::FindEntries, folderPath)) return {};
  const std::optional<ResolvedPath> folderResolved = Resolve(folderPath);
  Node* folder = folderResolved ? Lookup(*folderResolved) : nullptr;
  if (folder == nullptr || !folder->directory) return {};

  std::vector<FoundEntry> entries;
  if (!folderResolved->parts.empty()) {
    ResolvedPath parentPath = *folderResolved;
    parentPath.parts.pop_back();
    const Node* parent = Lookup(parentPath);
    if (MatchesListingPattern(".", split->name)) entries.push_back({".", 0, folder->ReportedAttributes()});
    if (MatchesListingPattern("..", split->name)) entries.push_back({"..", 0, parent->ReportedAttributes()});
  }
  for (const auto& [key, child] : folder->children) {
    if (!MatchesListingPattern(child->name, split->name)) continue;
    entries.push_back({child->name, child->directory ? 0 : child->size, child->ReportedAttributes()});
  }
  return entries;
}

bool SimFileSystem::CopyFile(const std::string& from, const std::string& to) {
  Count(FileCall::CopyFile);
  if (Faulted(FileCall::CopyFile, from) || Faulted(FileCall::CopyFile, to)) return false;
  const std::optional<ResolvedPath> target = Resolve(to);
  Node* source = LookupPath(from);
  if (source == nullptr || source->directory || !target) return false;
  Node* folder = ParentOf(*target);
  if (folder == nullptr || !IsValidEntryName(target->parts.back())) return false;
  Node* existing = Lookup(*target);
  if (existing == source) return false;
  if (existing != nullptr && (existing->directory || (existing->attributes & (kAttrReadOnly | kAttrHidden)) != 0)) {
    return false;
  }
  if (existing == nullptr) {
    auto node = std::make_unique<Node>();
    node->name = target->parts.back();
    node->shortName = NewShortName(*folder, node->name);
    existing = node.get();
    folder->children[FoldName(node->name)] = std::move(node);
  }
  existing->attributes = source->attributes;
  existing->content = source->content;
  existing->size = source->size;
  return true;
}

bool SimFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  Count(FileCall::SetAttributes);
  if (Faulted(FileCall::SetAttributes, path)) return false;
  const std::optional<ResolvedPath> resolved = Resolve(path);
  Node* node = resolved && !resolved->parts.empty() ? Lookup(*resolved) : nullptr;
  if (node == nullptr) return false;
  node->attributes = attributes & kStoredAttributeMask;
  return true;
}

bool SimFileSystem::DeleteFile(const std::string& path) {
  Count(FileCall::DeleteFile);
  if (Faulted(FileCall::DeleteFile, path)) return false;
  const std::optional<ResolvedPath> resolved = Resolve(path);
  Node* node = resolved ? Lookup(*resolved) : nullptr;
  if (node == nullptr || node->directory || (node->attributes & kAttrReadOnly) != 0) return false;
  ParentOf(*resolved)->children.erase(FoldName(resolved->parts.back()));
  return true;
}

bool SimFileSystem::CreateDirectory(const std::string& path) {
  Count(FileCall::CreateDirectory);
  if (Faulted(FileCall::CreateDirectory, path)) return false;
  const std::optional<ResolvedPath> resolved = Resolve(path);
  if (!resolved || resolved->parts.empty()) return false;
  Node* parent = ParentOf(*resolved);
  const std::string& name = resolved->parts.back();
  if (parent == nullptr || !IsValidEntryName(name) || parent->children.count(FoldName(name)) > 0) return false;
  auto node = std::make_unique<Node>();
  node->name = name;
  node->directory = true;
  node->shortName = NewShortName(*parent, name);
  parent->children[FoldName(name)] = std::move(node);
  return true;
}

bool SimFileSystem::RemoveDirectory(const std::string& path) {
  Count(FileCall::RemoveDirectory);
  if (Faulted(FileCall::RemoveDirectory, path)) return false;
  const std::optional<ResolvedPath> resolved = Resolve(path);
  if (!resolved || resolved->parts.empty()) return false;
  Node* node = Lookup(*resolved);
  if (node == nullptr || !node->directory || !node->children.empty()) return false;
  if ((node->attributes & kAttrReadOnly) != 0 || IsCurrentOrAbove(*resolved)) return false;
  ParentOf(*resolved)->children.erase(FoldName(resolved->parts.back()));
  return true;
}

bool SimFileSystem::DirectoryExists(const std::string& path) {
  Count(FileCall::DirectoryExists);
  if (Faulted(FileCall::DirectoryExists, path)) return false;
  const Node* node = LookupPath(path);
  return node != nullptr && node->directory;
}

bool SimFileSystem::FileExists(const std::string& path) {
  Count(FileCall::FileExists);
  if (Faulted(FileCall::FileExists, path)) return false;
  const Node* node = LookupPath(path);
  return node != nullptr && !node->directory;
}

bool SimFileSystem::SetCurrentDirectory(const std::string& path) {
  Count(FileCall::SetCurrentDirectory);
  if (Faulted(FileCall::SetCurrentDirectory, path)) return false;
  const std::optional<ResolvedPath> resolved = Resolve(path);
  const Node* node = resolved ? Lookup(*resolved) : nullptr;
  if (node == nullptr || !node->directory) return false;
  current_ = *resolved;
  return true;
}

DriveType SimFileSystem::GetDriveType(const std::string& root) {
  Count(FileCall::GetDriveType);
  if (Faulted(FileCall::GetDriveType, root)) return DriveType::Unknown;
  const std::optional<std::string> key = RootKeyOf(root);
  const Drive* drive = key ? FindDrive(*key) : nullptr;
  return drive != nullptr ? drive->type : DriveType::NoRootDir;
}

std::optional<std::int64_t> SimFileSystem::FreeBytes(const std::string& root) {
  Count(FileCall::FreeBytes);
  if (Faulted(FileCall::FreeBytes, root)) return std::nullopt;
  const std::optional<std::string> key = RootKeyOf(root);
  const Drive* drive = key ? FindDrive(*key) : nullptr;
  if (drive == nullptr || drive->freeBytes < 0) return std::nullopt;
  return drive->freeBytes;
}

std::optional<std::string> SimFileSystem::ShortPath(const std::string& path) {
  Count(FileCall::ShortPath);
  if (Faulted(FileCall::ShortPath, path)) return std::nullopt;
  const std::optional<ResolvedPath> resolved = Resolve(path);
  Drive* drive = resolved ? FindDrive(resolved->root) : nullptr;
  if (drive == nullptr) return std::nullopt;
  std::string text = drive->root;
  const Node* node = &drive->top;
  for (const std::string& part : resolved->parts) {
    if (!node->directory) return std::nullopt;
    const auto child = node->children.find(FoldName(part));
    if (child == node->children.end()) return std::nullopt;
    node = child->second.get();
    text += "\\" + (node->shortName.empty() ? node->name : node->shortName);
  }
  if (resolved->parts.empty() || EndsWithPathSeparator(path)) text += "\\";
  return text;
}

std::optional<std::string> SimFileSystem::ReadWholeFile(const std::string& path) {
  Count(FileCall::ReadWholeFile);
  if (Faulted(FileCall::ReadWholeFile, path)) return std::nullopt;
  const Node* node = LookupPath(path);
  if (node == nullptr || node->directory) return std::nullopt;
  if (node->content) return node->content;
  if (node->size > kLargestReadableSize) return std::nullopt;
  return std::string(static_cast<std::size_t>(node->size), '\0');
}

WriteResult SimFileSystem::WriteWholeFile(const std::string& path, const std::string& bytes) {
  Count(FileCall::WriteWholeFile);
  if (Faulted(FileCall::WriteWholeFile, path)) return WriteResult::CannotCreate;
  const std::optional<ResolvedPath> resolved = Resolve(path);
  if (!resolved || resolved->parts.empty()) return WriteResult::CannotCreate;
  Node* folder = ParentOf(*resolved);
  if (folder == nullptr || !IsValidEntryName(resolved->parts.back())) return WriteResult::CannotCreate;
  Node* node = Lookup(*resolved);
  constexpr std::uint32_t kRefused = kAttrReadOnly | kAttrHidden | kAttrSystem;
  if (node != nullptr && (node->directory || (node->attributes & kRefused) != 0)) return WriteResult::CannotCreate;
  if (node == nullptr) {
    auto created = std::make_unique<Node>();
    created->name = resolved->parts.back();
    created->shortName = NewShortName(*folder, created->name);
    node = created.get();
    folder->children[FoldName(created->name)] = std::move(created);
  }
  node->attributes = kAttrArchive;
  const bool fails = writeFailures_.count(KeyOf(*resolved)) > 0;
  node->content = fails ? std::string() : bytes;
  node->size = node->content->size();
  return fails ? WriteResult::WriteFailed : WriteResult::Ok;
}

bool SimFileSystem::ReplaceFile(const std::string& from, const std::string& to) {
  Count(FileCall::ReplaceFile);
  if (!replacesInOneStep_ || Faulted(FileCall::ReplaceFile, from) || Faulted(FileCall::ReplaceFile, to)) return false;
  return Move(from, to);
}

bool SimFileSystem::MoveFile(const std::string& from, const std::string& to) {
  Count(FileCall::MoveFile);
  if (Faulted(FileCall::MoveFile, from) || Faulted(FileCall::MoveFile, to)) return false;
  const std::optional<ResolvedPath> target = Resolve(to);
  const std::optional<ResolvedPath> source = Resolve(from);
  if (!target || !source) return false;
  const Node* existing = Lookup(*target);
  if (existing != nullptr && existing != Lookup(*source)) return false;
  return Move(from, to);
}

bool SimFileSystem::Move(const std::string& from, const std::string& to) {
  const std::optional<ResolvedPath> source = Resolve(from);
  const std::optional<ResolvedPath> target = Resolve(to);
  Node* moving = source ? Lookup(*source) : nullptr;
  if (moving == nullptr || moving->directory || !target) return false;
  Node* folder = ParentOf(*target);
  if (folder == nullptr || !IsValidEntryName(target->parts.back())) return false;
  Node* existing = Lookup(*target);
  if (existing == moving) return true;
  if (existing != nullptr && (existing->directory || (existing->attributes & kAttrReadOnly) != 0)) return false;
  Node* sourceFolder = ParentOf(*source);
  auto taken = sourceFolder->children.find(FoldName(source->parts.back()));
  std::unique_ptr<Node> node = std::move(taken->second);
  sourceFolder->children.erase(taken);
  folder->children.erase(FoldName(target->parts.back()));
  node->name = target->parts.back();
  node->shortName = NewShortName(*folder, node->name);
  folder->children[FoldName(node->name)] = std::move(node);
  return true;
}

// ---- Drives and test helpers --------------------------------------------------------------

void SimFileSystem::AddDrive(const std::string& root, DriveType type, std::int64_t freeBytes) {
  const std::optional<std::string> key = RootKeyOf(root);
  if (!key) return;
  auto drive = std::make_unique<Drive>();
  drive->root = root.back() == '\\' ? root.substr(0, root.size() - 1) : root;
  if (drive->root.size() == 2) drive->root[0] = FoldName(drive->root.substr(0, 1))[0];
  drive->type = type;
  drive->freeBytes = freeBytes;
  drive->top.directory = true;
  drives_[*key] = std::move(drive);
}

void SimFileSystem::SetDriveType(const std::string& root, DriveType type) {
  const std::optional<std::string> key = RootKeyOf(root);
  if (Drive* drive = key ? FindDrive(*key) : nullptr) drive->type = type;
}

void SimFileSystem::SetFreeBytes(const std::string& root, std::int64_t freeBytes) {
  const std::optional<std::string> key = RootKeyOf(root);
  if (Drive* drive = key ? FindDrive(*key) : nullptr) drive->freeBytes = freeBytes;
}

SimFileSystem::Node* SimFileSystem::MakeFolders(const ResolvedPath& path) {
  Drive* drive = FindDrive(path.root);
  if (drive == nullptr) return nullptr;
  Node* node = &drive->top;
  for (const std::string& part : path.parts) {
    if (!node->directory || !IsValidEntryName(part)) return nullptr;
    const auto found = node->children.find(FoldName(part));
    if (found != node->children.end()) {
      node = found->second.get();
      continue;
    }
    auto folder = std::make_unique<Node>();
    folder->name = part;
    folder->directory = true;
    folder->shortName = NewShortName(*node, part);
    node = (node->children[FoldName(part)] = std::move(folder)).get();
  }
  return node->directory ? node : nullptr;
}

SimFileSystem::Node* SimFileSystem::PlaceFile(const std::string& path) {
  const std::optional<ResolvedPath> resolved = Resolve(path);
  if (!resolved || resolved->parts.empty() || !IsValidEntryName(resolved->parts.back())) return nullptr;
  ResolvedPath parentPath = *resolved;
  parentPath.parts.pop_back();
  Node* folder = MakeFolders(parentPath);
  if (folder == nullptr) return nullptr;
  const std::string& name = resolved->parts.back();
  const auto found = folder->children.find(FoldName(name));
  if (found != folder->children.end()) return found->second->directory ? nullptr : found->second.get();
  auto node = std::make_unique<Node>();
  node->name = name;
  node->shortName = NewShortName(*folder, name);
  return (folder->children[FoldName(name)] = std::move(node)).get();
}

bool SimFileSystem::AddFile(const std::string& path, const std::string& bytes, std::uint32_t attributes) {
  Node* node = PlaceFile(path);
  if (node == nullptr) return false;
  node->attributes = attributes & kStoredAttributeMask;
  node->content = bytes;
  node->size = bytes.size();
  return true;
}

bool SimFileSystem::AddFileOfSize(const std::string& path, std::uint64_t size, std::uint32_t attributes) {
  Node* node = PlaceFile(path);
  if (node == nullptr) return false;
  node->attributes = attributes & kStoredAttributeMask;
  node->content.reset();
  node->size = size;
  return true;
}

bool SimFileSystem::AddFolder(const std::string& path, std::uint32_t attributes) {
  const std::optional<ResolvedPath> resolved = Resolve(path);
  Node* node = resolved ? MakeFolders(*resolved) : nullptr;
  if (node == nullptr) return false;
  if (!resolved->parts.empty()) node->attributes = attributes & kStoredAttributeMask;
  return true;
}

std::optional<std::string> SimFileSystem::ReadFile(const std::string& path) const {
  const Node* node = LookupPath(path);
  if (node == nullptr || node->directory) return std::nullopt;
  return node->content;
}

bool SimFileSystem::Exists(const std::string& path) const { return LookupPath(path) != nullptr; }

bool SimFileSystem::IsFolder(const std::string& path) const {
  const Node* node = LookupPath(path);
  return node != nullptr && node->directory;
}

std::optional<std::uint32_t> SimFileSystem::Attributes(const std::string& path) const {
  const Node* node = LookupPath(path);
  if (node == nullptr) return std::nullopt;
  return node->directory ? node->attributes | kAttrDirectory : node->attributes;
}

std::optional<std::uint64_t> SimFileSystem::Size(const std::string& path) const {
  const Node* node = LookupPath(path);
  if (node == nullptr || node->directory) return std::nullopt;
  return node->size;
}

FileSnapshot SimFileSystem::Snapshot() const {
  FileSnapshot snapshot;
  std::function<void(const Node&, const std::string&)> visit = [&](const Node& folder, const std::string& prefix) {
    for (const auto& [key, child] : folder.children) {
      const std::string path = prefix + "\\" + child->name;
      FileState& state = snapshot[path];
      state.attributes = child->directory ? child->attributes | kAttrDirectory : child->attributes;
      state.size = child->size;
      state.content = child->content;
      if (child->directory) visit(*child, path);
    }
  };
  for (const auto& [key, drive] : drives_) visit(drive->top, drive->root);
  return snapshot;
}

std::vector<std::string> SimFileSystem::AllFiles() const {
  std::vector<std::string> paths;
  std::function<void(const Node&, const std::string&)> visit = [&](const Node& folder, const std::string& prefix) {
    for (const auto& [key, child] : folder.children) {
      const std::string path = prefix + "\\" + child->name;
      if (child->directory) {
        visit(*child, path);
      } else {
        paths.push_back(path);
      }
    }
  };
  for (const auto& [key, drive] : drives_) visit(drive->top, drive->root);
  return paths;
}

std::vector<std::string> SimFileSystem::AllFolders() const {
  std::vector<std::string> paths;
  std::function<void(const Node&, const std::string&)> visit = [&](const Node& folder, const std::string& prefix) {
    for (const auto& [key, child] : folder.children) {
      if (!child->directory) continue;
      paths.push_back(prefix + "\\" + child->name);
      visit(*child, paths.back());
    }
  };
  for (const auto& [key, drive] : drives_) visit(drive->top, drive->root);
  return paths;
}

}  // namespace setup
