// The trees of files the Wine benchmarks copy and delete: made and removed with plain Win32
// calls outside the timed parts, and listed once so the bare loops time nothing but the calls
// they stand for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// fileCount files spread evenly over folderCount folders "DIR0000", "DIR0001", ... below root.
struct FileTree {
  std::string root;
  std::vector<std::string> folders;  // names below root
  std::vector<std::string> files;    // "DIR0000\F000000.DAT", below root
};

FileTree PlanTree(const std::string& root, int fileCount, int folderCount);

// Creates root (and its parents), the folders and the files, each fileBytes long; false (with
// the failing path on stderr) when anything could not be made.
bool MakeTree(const FileTree& tree, std::uint64_t fileBytes);

// Deletes everything below root and root itself, clearing read-only attributes on the way.
void RemoveTree(const std::string& root);

// Creates a folder and every missing parent.
bool MakeFolders(const std::string& path);

bool WriteFileBytes(const std::string& path, const std::string& bytes);

// The number of files below root, at any depth.
int CountFiles(const std::string& root);

}  // namespace bench
