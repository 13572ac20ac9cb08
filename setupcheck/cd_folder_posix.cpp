// Reading the CD image folder on a POSIX host: names are taken as UTF-8 and converted to
// Shift-JIS; there are no hidden or system attributes, so every file is read-only and visible.
// Symbolic links are listed, not followed.
#include <iconv.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "setup/platform/platform.h"
#include "setupcheck/cd_folder.h"

namespace setupcheck {

namespace {

namespace fs = std::filesystem;

bool IsAscii(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> Utf8ToShiftJis(const std::string& utf8) {
  if (IsAscii(utf8)) return utf8;
  iconv_t converter = iconv_open("CP932", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string input = utf8;
  std::string output(utf8.size() * 2 + 4, '\0');
  char* in = input.data();
  char* out = output.data();
  std::size_t inLeft = input.size();
  std::size_t outLeft = output.size();
  const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (result == static_cast<std::size_t>(-1)) return std::nullopt;
  output.resize(output.size() - outLeft);
  return output;
}

namespace {

// prefix: the folder's path below the root in Shift-JIS; shownPrefix: the same in UTF-8.
void Walk(const fs::path& folder, const std::string& prefix, const std::string& shownPrefix, CdFolder& cd) {
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    const std::optional<std::string> converted = Utf8ToShiftJis(name);
    if (!converted) {
      cd.untranslatable.push_back(shownPrefix + name);
      continue;
    }
    std::error_code statError;
    if (it->is_symlink(statError)) {
      cd.links.push_back(shownPrefix + name);
      continue;
    }
    CdEntry entry;
    entry.path = prefix + *converted;
    entry.diskPath = it->path().string();
    if (it->is_directory(statError)) {
      entry.attributes = setup::kAttrDirectory | setup::kAttrReadOnly;
      cd.entries.push_back(entry);
      Walk(it->path(), entry.path + "\\", shownPrefix + name + "\\", cd);
    } else if (it->is_regular_file(statError)) {
      entry.size = it->file_size(statError);
      entry.attributes = setup::kAttrReadOnly;
      cd.entries.push_back(entry);
    }
  }
}

}  // namespace

std::optional<CdFolder> ReadCdFolder(const std::string& root) {
  if (!IsDiskFolder(root)) return std::nullopt;
  CdFolder cd;
  Walk(fs::path(root), "", "", cd);
  return cd;
}

std::string DiskPathOfArgument(const std::string& argument) { return argument; }

std::optional<std::string> ReadDiskFile(const std::string& diskPath, std::size_t limit) {
  std::ifstream file(diskPath, std::ios::binary);
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  while (bytes.size() < limit) {
    file.read(buffer, static_cast<std::streamsize>(std::min(sizeof buffer, limit - bytes.size())));
    bytes.append(buffer, static_cast<std::size_t>(file.gcount()));
    if (!file) break;
  }
  if (file.bad()) return std::nullopt;
  return bytes;
}

bool IsDiskFolder(const std::string& path) {
  std::error_code error;
  return fs::is_directory(fs::path(path), error);
}

bool WriteDiskFile(const std::string& diskPath, const std::string& bytes) {
  std::ofstream file(diskPath, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  return !file.fail();
}

void RemoveDiskFile(const std::string& diskPath) {
  std::error_code error;
  fs::remove(fs::path(diskPath), error);
}

bool DiskPathExists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(fs::path(path), error));
}

}  // namespace setupcheck
