// The parts of a machine the host benchmarks need besides files, each as small as it can be
// while still answering the way Windows would: a registry that takes every write, a shell with
// a Programs folder, fixed system facts for a Japanese system started from D:\setup.exe, and a
// user who answers Yes to every question. Nothing here keeps a history, so a run's memory is
// the installer's own.
#pragma once

#include "tests/bench/quiet_progress.h"

#include <map>
#include <memory>
#include <string>

#include "setup/platform/platform.h"

namespace bench {

class QuietRegistry final : public setup::Registry {
 public:
  std::optional<setup::CreatedKey> CreateKey(setup::KeyHandle, const std::string&) override {
    return setup::CreatedKey{next_++, 0};
  }
  std::optional<setup::KeyHandle> OpenKey(setup::KeyHandle, const std::string&) override { return std::nullopt; }
  bool SetString(setup::KeyHandle, const std::string&, const std::string&) override { return true; }
  bool SetDword(setup::KeyHandle, const std::string&, std::uint32_t) override { return true; }
  std::optional<std::string> StringValue(setup::KeyHandle, const std::string&) override { return std::nullopt; }
  std::vector<std::string> SubkeyNames(setup::KeyHandle) override { return {}; }
  bool DeleteKey(setup::KeyHandle, const std::string&) override { return true; }
  void CloseKey(setup::KeyHandle) override {}

 private:
  setup::KeyHandle next_ = 0x1000;
};

class QuietShell final : public setup::Shell {
 public:
  std::optional<std::string> SpecialFolderPath(int csidl) override;
  std::optional<std::string> SpecialFolderParsingName(int csidl) override { return SpecialFolderPath(csidl); }
  std::optional<std::string> BrowseForFolder(const std::string&) override { return std::nullopt; }
  bool OpenFile(const std::string&) override { return true; }
  bool SaveShellLink(const setup::ShellLinkData&) override { return true; }
  void BroadcastSettingChange() override {}
};

class QuietSystem final : public setup::System {
 public:
  std::string WindowsDirectory() override { return "C:\\WINDOWS"; }
  std::string SystemDirectory() override { return "C:\\WINDOWS\\system32"; }
  std::string ModulePath() override { return "D:\\setup.exe"; }
  std::string CommandLine() override { return "D:\\setup.exe"; }
  int KeyboardSubtype() override { return 0; }
  std::optional<std::string> FileVersionString(const std::string&) override { return std::nullopt; }
  // Code page 932's lead bytes.
  bool IsLeadByte(unsigned char byte) override {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
  }
  // The benchmarks' names are ASCII, which reads the same in both.
  std::string AnsiToUtf8(const std::string& ansi) override { return ansi; }
};

class QuietUserInterface final : public setup::UserInterface {
 public:
  int boxes() const { return boxes_; }
  int notices() const { return notices_; }
  bool ended() const { return ended_; }

  setup::Answer MessageBox(setup::BoxKind, setup::BoxButtons buttons, const std::string&) override {
    ++boxes_;
    return buttons == setup::BoxButtons::YesNo ? setup::Answer::Yes : setup::Answer::Ok;
  }
  void ShowNotice(const std::string&, const std::string&) override { ++notices_; }
  void Beep() override {}
  void PumpMessages() override {}
  void SetMainCaption(const std::string&) override {}
  void SetMainMessage(const std::string&) override {}
  void SetFolderText(const std::string& folderAnsi) override { folder_ = folderAnsi; }
  std::string FolderText() override { return folder_; }
  void HideMainDialog() override {}
  void BringMainDialogToFront() override {}
  void BringApplicationToFront() override {}
  void EndProgram() override { ended_ = true; }
  void ShowBackground(const std::string&, const std::string&) override {}
  setup::ProgressWindow& MainProgress() override { return progress_; }
  void BringProgressToFront() override {}
  std::unique_ptr<setup::ProgressWindow> CreateProgressWindow() override { return std::make_unique<QuietProgress>(); }

 private:
  QuietProgress progress_;
  std::string folder_;
  int boxes_ = 0;
  int notices_ = 0;
  bool ended_ = false;
};

}  // namespace bench
