// The disk-backed FileSystem: POSIX calls on the mapped host paths.
#include "tests/bench/host/disk_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace bench {
namespace {

bool IsFolder(const std::string& hostPath) {
  struct stat status;
  return stat(hostPath.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool IsFile(const std::string& hostPath) {
  struct stat status;
  return stat(hostPath.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

DiskFileSystem::DiskFileSystem(std::string root) : root_(std::move(root)) {
  mkdir((root_ + "/C").c_str(), 0755);
  mkdir((root_ + "/D").c_str(), 0755);
}

std::string DiskFileSystem::HostPath(const std::string& path) const {
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return std::string();
  std::string host = root_ + "/" + static_cast<char>(path[0] & ~0x20);
  for (std::size_t i = 2; i < path.size(); ++i) host += path[i] == '\\' ? '/' : path[i];
  while (host.size() > root_.size() + 2 && host.back() == '/') host.pop_back();
  return host;
}

std::vector<setup::FoundEntry> DiskFileSystem::FindEntries(const std::string& pattern) {
  std::vector<setup::FoundEntry> entries;
  const std::size_t separator = pattern.find_last_of('\\');
  if (separator == std::string::npos) return entries;
  const std::string folder = HostPath(pattern.substr(0, separator + 1));
  std::string wildcard = pattern.substr(separator + 1);
  // "*.*" matches names without a dot too.
  if (wildcard == "*.*") wildcard = "*";
  DIR* directory = opendir(folder.c_str());
  if (directory == nullptr) return entries;
  while (const dirent* entry = readdir(directory)) {
    if (fnmatch(wildcard.c_str(), entry->d_name, 0) != 0) continue;
    struct stat status;
    if (stat((folder + "/" + entry->d_name).c_str(), &status) != 0) continue;
    setup::FoundEntry found;
    found.name = entry->d_name;
    found.size = S_ISDIR(status.st_mode) ? 0 : static_cast<std::uint64_t>(status.st_size);
    found.attributes = S_ISDIR(status.st_mode) ? setup::kAttrDirectory : setup::kAttrArchive;
    entries.push_back(std::move(found));
  }
  closedir(directory);
  return entries;
}

bool DiskFileSystem::CopyFile(const std::string& from, const std::string& to) {
  const std::optional<std::string> bytes = ReadWholeFile(from);
  return bytes && WriteWholeFile(to, *bytes) == setup::WriteResult::Ok;
}

bool DiskFileSystem::SetAttributes(const std::string& path, std::uint32_t) {
  const std::string host = HostPath(path);
  return !host.empty() && access(host.c_str(), F_OK) == 0;
}

bool DiskFileSystem::DeleteFile(const std::string& path) {
  const std::string host = HostPath(path);
  return IsFile(host) && unlink(host.c_str()) == 0;
}

bool DiskFileSystem::CreateDirectory(const std::string& path) {
  const std::string host = HostPath(path);
  return !host.empty() && mkdir(host.c_str(), 0755) == 0;
}

bool DiskFileSystem::RemoveDirectory(const std::string& path) {
  const std::string host = HostPath(path);
  return !host.empty() && rmdir(host.c_str()) == 0;
}

bool DiskFileSystem::DirectoryExists(const std::string& path) { return IsFolder(HostPath(path)); }

bool DiskFileSystem::FileExists(const std::string& path) { return IsFile(HostPath(path)); }

bool DiskFileSystem::SetCurrentDirectory(const std::string& path) { return IsFolder(HostPath(path)); }

setup::DriveType DiskFileSystem::GetDriveType(const std::string& root) {
  if (root.empty()) return setup::DriveType::NoRootDir;
  const char drive = static_cast<char>(root[0] & ~0x20);
  if (drive == 'C') return setup::DriveType::Fixed;
  if (drive == 'D') return setup::DriveType::CdRom;
  return setup::DriveType::NoRootDir;
}

std::optional<std::int64_t> DiskFileSystem::FreeBytes(const std::string&) { return 10ll << 30; }

std::optional<std::string> DiskFileSystem::ShortPath(const std::string& path) {
  if (!IsFolder(HostPath(path)) && !IsFile(HostPath(path))) return std::nullopt;
  return path;
}

std::optional<std::string> DiskFileSystem::ReadWholeFile(const std::string& path) {
  const std::string host = HostPath(path);
  const int file = open(host.c_str(), O_RDONLY);
  if (file < 0) return std::nullopt;
  struct stat status;
  std::optional<std::string> bytes;
  if (fstat(file, &status) == 0) {
    std::string content(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t done = 0;
    while (done < content.size()) {
      const ssize_t got = read(file, &content[done], content.size() - done);
      if (got <= 0) break;
      done += static_cast<std::size_t>(got);
    }
    if (done == content.size()) bytes = std::move(content);
  }
  close(file);
  return bytes;
}

setup::WriteResult DiskFileSystem::WriteWholeFile(const std::string& path, const std::string& bytes) {
  const std::string host = HostPath(path);
  if (host.empty()) return setup::WriteResult::CannotCreate;
  return WriteWithOneCall(host, bytes) ? setup::WriteResult::Ok : setup::WriteResult::WriteFailed;
}

setup::WriteResult DiskFileSystem::WriteFileInParts(const std::string& path, const setup::PartSource& source) {
  const std::string host = HostPath(path);
  const int file = host.empty() ? -1 : open(host.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (file < 0) return setup::WriteResult::CannotCreate;
  bool ok = true;
  source([&](std::string_view part) {
    ok = ok && write(file, part.data(), part.size()) == static_cast<ssize_t>(part.size());
  });
  return close(file) == 0 && ok ? setup::WriteResult::Ok : setup::WriteResult::WriteFailed;
}

bool DiskFileSystem::ReplaceFile(const std::string& from, const std::string& to) {
  const std::string source = HostPath(from), target = HostPath(to);
  return !source.empty() && !target.empty() && rename(source.c_str(), target.c_str()) == 0;
}

bool DiskFileSystem::MoveFile(const std::string& from, const std::string& to) {
  const std::string source = HostPath(from), target = HostPath(to);
  struct stat existing;
  if (source.empty() || target.empty() || stat(target.c_str(), &existing) == 0) return false;
  return rename(source.c_str(), target.c_str()) == 0;
}

bool WriteWithOneCall(const std::string& hostPath, const std::string& bytes) {
  const int file = open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (file < 0) return false;
  const ssize_t written = bytes.empty() ? 0 : write(file, bytes.data(), bytes.size());
  const bool ok = written == static_cast<ssize_t>(bytes.size());
  return close(file) == 0 && ok;
}

}  // namespace bench
