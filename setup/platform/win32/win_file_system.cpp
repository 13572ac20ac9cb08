// The file system seen through FindFirstFileA, CopyFileA, CreateFileA and their kin.
#include "setup/platform/win32/win_file_system.h"

#include "setup/platform/win32/wide_text.h"
#include "setup/platform/win32/windows_api.h"

#include <algorithm>
#include <limits>

namespace setup::win32 {
namespace {

constexpr DWORD kShortPathRoom = 255;

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

DWORD AttributesOf(const std::string& path) { return GetFileAttributesA(path.c_str()); }

std::int64_t ClampToSigned(ULONGLONG bytes) {
  constexpr auto kMax = static_cast<ULONGLONG>(std::numeric_limits<std::int64_t>::max());
  return static_cast<std::int64_t>(bytes > kMax ? kMax : bytes);
}

// GetDiskFreeSpaceA reports at most 2 GB on Windows 95 before OSR2, which is all those systems have.
std::optional<std::int64_t> FreeBytesFromClusters(const std::string& root) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
    return std::nullopt;
  return ClampToSigned(static_cast<ULONGLONG>(sectorsPerCluster) * bytesPerSector * freeClusters);
}

// Writes all of part at the file's position, a megabyte per call at most.
bool WriteAll(HANDLE file, std::string_view part) {
  std::size_t offset = 0;
  while (offset < part.size()) {
    const DWORD request = static_cast<DWORD>(std::min<std::size_t>(part.size() - offset, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, part.data() + offset, request, &written, nullptr) || written == 0) return false;
    offset += written;
  }
  return true;
}

}  // namespace

std::vector<FoundEntry> WinFileSystem::FindEntries(const std::string& pattern) {
  std::vector<FoundEntry> entries;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    FoundEntry entry;
    entry.name = data.cFileName;
    entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entry.attributes = data.dwFileAttributes;
    entries.push_back(std::move(entry));
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return entries;
}

bool WinFileSystem::CopyFile(const std::string& from, const std::string& to) {
  if (CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE) return true;
  lastFailure_ = GetLastError();
  return false;
}

bool WinFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  return SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

bool WinFileSystem::DeleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

bool WinFileSystem::CreateDirectory(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr) != FALSE) return true;
  lastFailure_ = GetLastError();
  return false;
}

bool WinFileSystem::RemoveDirectory(const std::string& path) { return RemoveDirectoryA(path.c_str()) != FALSE; }

bool WinFileSystem::DirectoryExists(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WinFileSystem::FileExists(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool WinFileSystem::SetCurrentDirectory(const std::string& path) { return SetCurrentDirectoryA(path.c_str()) != FALSE; }

DriveType WinFileSystem::GetDriveType(const std::string& root) {
  const UINT type = GetDriveTypeA(root.c_str());
  return type <= DRIVE_RAMDISK ? static_cast<DriveType>(type) : DriveType::Unknown;
}

std::optional<std::int64_t> WinFileSystem::FreeBytes(const std::string& root) {
  // GetDiskFreeSpaceExA arrived with Windows 95 OSR2 and NT 4; importing it would keep the
  // program from starting on the first Windows 95.
  using FreeSpaceExFunction = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
  auto freeSpaceEx = reinterpret_cast<FreeSpaceExFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA")));
  if (freeSpaceEx == nullptr) return FreeBytesFromClusters(root);
  ULARGE_INTEGER availableToCaller, total, totalFree;
  if (!freeSpaceEx(root.c_str(), &availableToCaller, &total, &totalFree)) return std::nullopt;
  return ClampToSigned(availableToCaller.QuadPart);
}

std::optional<std::string> WinFileSystem::ShortPath(const std::string& path) {
  char buffer[kShortPathRoom] = {};
  const DWORD length = GetShortPathNameA(path.c_str(), buffer, kShortPathRoom);
  if (length == 0 || length >= kShortPathRoom) return std::nullopt;
  return std::string(buffer, length);
}

std::optional<std::string> WinFileSystem::ReadWholeFile(const std::string& path) {
  FileHandle file(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  std::string bytes;
  char chunk[16384];
  DWORD read = 0;
  for (;;) {
    if (!ReadFile(file.get(), chunk, sizeof(chunk), &read, nullptr)) return std::nullopt;
    if (read == 0) break;
    bytes.append(chunk, read);
  }
  return bytes;
}

WriteResult WinFileSystem::WriteWholeFile(const std::string& path, const std::string& bytes) {
  return WriteFileInParts(path, [&bytes](const PartSink& sink) { sink(bytes); });
}

WriteResult WinFileSystem::WriteFileInParts(const std::string& path, const PartSource& source) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return WriteResult::CannotCreate;
  // After a failed write the remaining parts are taken and dropped: the file is incomplete anyway.
  bool failed = false;
  source([&](std::string_view part) { failed = failed || !WriteAll(file.get(), part); });
  return failed ? WriteResult::WriteFailed : WriteResult::Ok;
}

bool WinFileSystem::ReplaceFile(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

// Windows 9x exports MoveFileExA but only as a stub that fails with ERROR_CALL_NOT_IMPLEMENTED;
// its version has the high bit set.
bool WinFileSystem::ReplacesInOneStep() { return (GetVersion() & 0x80000000u) == 0; }

bool WinFileSystem::MoveFile(const std::string& from, const std::string& to) {
  return MoveFileA(from.c_str(), to.c_str()) != FALSE;
}

// The ANSI call, which Windows 9x also has, words the error in the system's own language; the
// text is then carried as UTF-8 like the program's own messages.
std::optional<std::string> WinFileSystem::LastFailureText() {
  if (lastFailure_ == 0) return std::nullopt;
  char text[512];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, lastFailure_, 0,
                                text, sizeof(text), nullptr);
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ')) --length;
  if (length == 0) return std::nullopt;
  return WideToUtf8(AnsiToWide(std::string(text, length)));
}

}  // namespace setup::win32
