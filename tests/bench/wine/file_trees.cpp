// Making, counting and removing the benchmark trees with the kernel32 ANSI file calls.
#include "tests/bench/wine/file_trees.h"

#include <windows.h>

#include <cstdio>

namespace bench {
namespace {

std::string Numbered(const char* prefix, int number, int digits, const char* suffix) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s%0*d%s", prefix, digits, number, suffix);
  return buffer;
}

bool IsDotEntry(const WIN32_FIND_DATAA& data) {
  return data.cFileName[0] == '.' &&
         (data.cFileName[1] == '\0' || (data.cFileName[1] == '.' && data.cFileName[2] == '\0'));
}

// Calls visit(path, data) for every entry of folder except "." and "..".
template <typename Visit>
void ForEachEntry(const std::string& folder, Visit visit) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (!IsDotEntry(data)) visit(folder + "\\" + data.cFileName, data);
  } while (FindNextFileA(find, &data));
  FindClose(find);
}

}  // namespace

FileTree PlanTree(const std::string& root, int fileCount, int folderCount) {
  FileTree tree;
  tree.root = root;
  for (int folder = 0; folder < folderCount; ++folder) tree.folders.push_back(Numbered("DIR", folder, 4, ""));
  for (int file = 0; file < fileCount; ++file) {
    tree.files.push_back(tree.folders[file % folderCount] + "\\" + Numbered("F", file, 6, ".DAT"));
  }
  return tree;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      bytes.empty() ||
      (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size());
  CloseHandle(file);
  return ok;
}

bool MakeFolders(const std::string& path) {
  if (path.size() <= 3) return true;  // a drive root
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const std::size_t separator = path.find_last_of('\\');
  if (separator != std::string::npos && !MakeFolders(path.substr(0, separator))) return false;
  return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool MakeTree(const FileTree& tree, std::uint64_t fileBytes) {
  if (!MakeFolders(tree.root)) {
    std::fprintf(stderr, "cannot create %s\n", tree.root.c_str());
    return false;
  }
  for (const std::string& folder : tree.folders) {
    const std::string path = tree.root + "\\" + folder;
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      std::fprintf(stderr, "cannot create %s\n", path.c_str());
      return false;
    }
  }
  std::string bytes(fileBytes, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>('A' + i % 26);
  for (const std::string& file : tree.files) {
    const std::string path = tree.root + "\\" + file;
    if (!WriteFileBytes(path, bytes)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return false;
    }
  }
  return true;
}

void RemoveTree(const std::string& root) {
  ForEachEntry(root, [](const std::string& path, const WIN32_FIND_DATAA& data) {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveTree(path);
    } else {
      if (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
  });
  RemoveDirectoryA(root.c_str());
}

int CountFiles(const std::string& root) {
  int count = 0;
  ForEachEntry(root, [&count](const std::string& path, const WIN32_FIND_DATAA& data) {
    count += (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? CountFiles(path) : 1;
  });
  return count;
}

}  // namespace bench
