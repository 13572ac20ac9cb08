// The simulated machine's system facts: folders, the program's own path and command line, the
// keyboard, file versions, and code page 932 (Shift-JIS) as the ANSI code page.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "setup/platform/platform.h"
#include "setup/platform/sim/sim_file_system.h"

namespace setup {

class SimSystem : public System {
 public:
  explicit SimSystem(SimFileSystem& files);
  ~SimSystem() override;

  // System.
  std::string WindowsDirectory() override { return windowsDirectory_; }
  std::string SystemDirectory() override { return systemDirectory_; }
  std::string ModulePath() override { return modulePath_; }
  std::string CommandLine() override { return commandLine_; }
  int KeyboardSubtype() override { return keyboardSubtype_; }
  // The version set for that path (case-insensitive, full or relative), while the file exists.
  std::optional<std::string> FileVersionString(const std::string& path) override;
  // Code page 932: 0x81-0x9F and 0xE0-0xFC.
  bool IsLeadByte(unsigned char byte) override;
  // Converted from code page 932; the bytes unchanged when they are not valid Shift-JIS.
  std::string AnsiToUtf8(const std::string& ansi) override;

  // Configuration; the defaults are "C:\WINDOWS", "C:\WINDOWS\system32", "D:\setup.exe", the
  // command line "\"D:\setup.exe\"" and keyboard subtype 0.
  void SetWindowsDirectory(const std::string& path) { windowsDirectory_ = path; }
  void SetSystemDirectory(const std::string& path) { systemDirectory_ = path; }
  void SetModulePath(const std::string& path) { modulePath_ = path; }
  void SetCommandLine(const std::string& commandLine) { commandLine_ = commandLine; }
  void SetKeyboardSubtype(int subtype) { keyboardSubtype_ = subtype; }
  // Gives the file a FileVersion string, creating the file when it does not exist yet.
  void SetFileVersion(const std::string& path, const std::string& version);

 private:
  SimFileSystem& files_;
  std::string windowsDirectory_ = "C:\\WINDOWS";
  std::string systemDirectory_ = "C:\\WINDOWS\\system32";
  std::string modulePath_ = "D:\\setup.exe";
  std::string commandLine_ = "\"D:\\setup.exe\"";
  int keyboardSubtype_ = 0;
  std::map<std::string, std::string> versions_;  // by folded full path
};

}  // namespace setup
