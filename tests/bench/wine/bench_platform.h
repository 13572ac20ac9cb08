// The pieces that let the benchmarks run the installer's real steps without a person at the
// screen: the program's own path and command line as if it had been started from the bench's
// CD folder, and a user who answers every question at once, with the real windows or with
// progress windows that show nothing (to tell the window's share of a run from the rest).
#pragma once

#include "tests/bench/quiet_progress.h"

#include "setup/platform/win32/windows_api.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "setup/platform/platform.h"
#include "setup/platform/win32/window_calls.h"
#include "setup/windows/win_user_interface.h"
#include "tests/bench/wine/timed_platform.h"

namespace bench {

// The real system facts, except for where the program was started from and with what.
class StartedAsSystem final : public setup::System {
 public:
  StartedAsSystem(setup::System& real, std::string modulePath, std::string commandLine)
      : real_(real), modulePath_(std::move(modulePath)), commandLine_(std::move(commandLine)) {}

  std::string WindowsDirectory() override { return real_.WindowsDirectory(); }
  std::string SystemDirectory() override { return real_.SystemDirectory(); }
  std::string ModulePath() override { return modulePath_; }
  std::string CommandLine() override { return commandLine_; }
  int KeyboardSubtype() override { return real_.KeyboardSubtype(); }
  std::optional<std::string> FileVersionString(const std::string& path) override {
    return real_.FileVersionString(path);
  }
  bool IsLeadByte(unsigned char byte) override { return real_.IsLeadByte(byte); }
  std::string AnsiToUtf8(const std::string& ansi) override { return real_.AnsiToUtf8(ansi); }

 private:
  setup::System& real_;
  std::string modulePath_;
  std::string commandLine_;
};

// A user who answers Yes (or OK) to every box and whose notices close by themselves; the end
// of the program only ends the run (the windows go when the WinUserInterface does).
// With the windows, the main dialog, background and progress windows, their repaints and the
// message pumps are the real ones. Quiet, the progress windows draw nothing and PumpMessages
// does nothing: the difference between the two is the share of the window work.
class UnattendedUi final : public setup::UserInterface {
 public:
  enum class Progress { Windows, Quiet };
  // With windowCalls, the real windows' per-file calls (the progress window's and the message
  // pumps) are timed into it.
  explicit UnattendedUi(setup::win32::WinUserInterface& real, Progress progress = Progress::Windows,
                        CallTimes* windowCalls = nullptr)
      : real_(real), quiet_(progress == Progress::Quiet), windowCalls_(windowCalls) {}

  // Every box and notice text shown, in order.
  const std::vector<std::string>& shownTexts() const { return shownTexts_; }
  bool ended() const { return ended_; }

  setup::Answer MessageBox(setup::BoxKind, setup::BoxButtons buttons, const std::string& textUtf8) override {
    shownTexts_.push_back(textUtf8);
    return buttons == setup::BoxButtons::YesNo ? setup::Answer::Yes : setup::Answer::Ok;
  }
  void ShowNotice(const std::string&, const std::string& messageUtf8) override { shownTexts_.push_back(messageUtf8); }
  void Beep() override {}
  void PumpMessages() override {
    if (quiet_) return;
    if (windowCalls_ == nullptr) return real_.PumpMessages();
    windowCalls_->Time("PumpMessages", [&] { real_.PumpMessages(); });
  }
  void SetMainCaption(const std::string& captionUtf8) override { real_.SetMainCaption(captionUtf8); }
  void SetMainMessage(const std::string& messageUtf8) override { real_.SetMainMessage(messageUtf8); }
  void SetFolderText(const std::string& folderAnsi) override { real_.SetFolderText(folderAnsi); }
  std::string FolderText() override { return real_.FolderText(); }
  void HideMainDialog() override { real_.HideMainDialog(); }
  void BringMainDialogToFront() override { real_.BringMainDialogToFront(); }
  void BringApplicationToFront() override { real_.BringApplicationToFront(); }
  void EndProgram() override { ended_ = true; }
  void ShowBackground(const std::string& captionUtf8, const std::string& titleUtf8) override {
    real_.ShowBackground(captionUtf8, titleUtf8);
  }
  setup::ProgressWindow& MainProgress() override {
    if (quiet_) return quietMain_;
    if (windowCalls_ == nullptr) return real_.MainProgress();
    if (!timedMain_) timedMain_.emplace(real_.MainProgress(), *windowCalls_);
    return *timedMain_;
  }
  void BringProgressToFront() override { real_.BringProgressToFront(); }
  std::unique_ptr<setup::ProgressWindow> CreateProgressWindow() override {
    if (quiet_) return std::make_unique<QuietProgress>();
    if (windowCalls_ == nullptr) return real_.CreateProgressWindow();
    return std::make_unique<TimedProgress>(real_.CreateProgressWindow(), *windowCalls_);
  }

 private:
  setup::win32::WinUserInterface& real_;
  bool quiet_;
  CallTimes* windowCalls_;
  QuietProgress quietMain_;
  std::optional<TimedProgress> timedMain_;
  std::vector<std::string> shownTexts_;
  bool ended_ = false;
};

// Runs every message waiting for this thread's windows (paints included).
inline void DrainMessages() {
  MSG message;
  while (setup::win32::PeekNextMessage(&message)) setup::win32::DispatchNextMessage(&message);
}

}  // namespace bench
