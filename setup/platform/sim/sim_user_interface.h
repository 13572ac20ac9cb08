// The simulated machine's screen and user: every window text shown goes into a transcript,
// message boxes take their answers from a queue that the test fills, and hooks let a test act
// while the program pumps messages (for example press Cancel in the middle of a copy).
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "setup/platform/platform.h"

namespace setup {

// What the user has been shown, one readable line per event, in order. Formats:
//   "box <kind> <buttons>: <text>"            kind: warning|error|information|confirmation,
//                                             buttons: ok|yes-no
//   "UNEXPECTED box <kind> <buttons>: <text>" a box with no queued answer (answered No or OK)
//   "UNEXPECTED answer <answer> to <buttons> box"  a queued answer that the box cannot give
//   "notice <caption>: <text>"                ShowNotice
//   "beep"
//   "main caption: <text>", "main message: <text>", "folder text: <text>"
//   "main hidden", "main to front", "application to front", "program ended"
//   "background: <caption> | <title>"
//   "<window> created|shown|hidden|delete mode|animation stopped|to front|destroyed"
//   "<window> range <maximum>", "<window> step <step>", "<window> label: <text>"
//                                             window: "progress[main]" or "progress[1]", ...
//   "folder picker: <title>"                  BrowseForFolder (the answer is not written)
//   "open: <path>"                            OpenFile
//   "link: <linkPath> -> <target>"            a saved shell link
//   "settings broadcast"
// Window texts are written as given (UTF-8 for the program's own texts, ANSI bytes for data).
using Transcript = std::vector<std::string>;

// The state of one progress window, kept after the window is gone.
struct ProgressState {
  std::string name;  // "progress[main]", "progress[1]", ...
  std::string caption = "ファイルのコピー";
  std::string label = "CopyLabel";
  std::string clip = "RESAVI";
  int maximum = 100;
  int position = 0;
  int step = 10;
  bool visible = false;
  bool deleteMode = false;
  bool animationPlaying = true;
  bool destroyed = false;
  int positionChanges = 0;  // SetPosition and StepIt calls
};

class SimProgressWindow : public ProgressWindow {
 public:
  SimProgressWindow(std::shared_ptr<ProgressState> state, Transcript& transcript, bool destroyedWithObject);
  ~SimProgressWindow() override;

  void SetLabel(const std::string& textUtf8) override;
  // Like the progress bar control: the position stays within 0..maximum.
  void SetRange(int maximum) override;
  int Position() override;
  void SetPosition(int position) override;
  void SetStep(int step) override;
  // Past the maximum the position starts over from 0, as the control does.
  void StepIt() override;
  void StopAnimation() override;
  // Caption "アンインストール", label "ファイルの削除中", the deleting clip playing.
  void SetDeleteMode() override;
  void Show() override;
  void Hide() override;

 private:
  void Note(const std::string& event);

  std::shared_ptr<ProgressState> state_;
  Transcript& transcript_;
  bool destroyedWithObject_;
};

// A message box as shown, with the answer it gave.
struct ShownBox {
  BoxKind kind;
  BoxButtons buttons;
  std::string text;
  Answer answer;
};

class SimUserInterface : public UserInterface {
 public:
  explicit SimUserInterface(Transcript& transcript);
  ~SimUserInterface() override;

  // UserInterface.
  //
  // Calls onMessageBox first (it may queue the answer), then takes the next queued answer.
  Answer MessageBox(BoxKind kind, BoxButtons buttons, const std::string& textUtf8) override;
  void ShowNotice(const std::string& captionUtf8, const std::string& messageUtf8) override;
  void Beep() override;
  // Counts the pump and calls onPump.
  void PumpMessages() override;
  void SetMainCaption(const std::string& captionUtf8) override;
  void SetMainMessage(const std::string& messageUtf8) override;
  void SetFolderText(const std::string& folderAnsi) override;
  std::string FolderText() override;
  void HideMainDialog() override;
  void BringMainDialogToFront() override;
  void BringApplicationToFront() override;
  void EndProgram() override;
  void ShowBackground(const std::string& captionUtf8, const std::string& titleUtf8) override;
  ProgressWindow& MainProgress() override;
  void BringProgressToFront() override;
  std::unique_ptr<ProgressWindow> CreateProgressWindow() override;

  // The scripted user.
  void QueueAnswer(Answer answer);
  // The user types into the folder box (not written to the transcript).
  void TypeFolderText(const std::string& folderAnsi) { folderText_ = folderAnsi; }
  std::function<void()> onPump;
  std::function<void(BoxKind, BoxButtons, const std::string& textUtf8)> onMessageBox;
  std::function<void(const std::string& captionUtf8, const std::string& messageUtf8)> onNotice;

  // What happened.
  const Transcript& transcript() const { return transcript_; }
  const std::vector<ShownBox>& boxes() const { return boxes_; }
  // A box came without a queued answer, or with an answer it cannot give.
  bool unexpectedBox() const { return unexpectedBox_; }
  std::string mainCaption() const { return mainCaption_; }
  std::string mainMessage() const { return mainMessage_; }
  bool mainHidden() const { return mainHidden_; }
  bool programEnded() const { return endProgramCalls_ > 0; }
  int endProgramCalls() const { return endProgramCalls_; }
  bool backgroundShown() const { return backgroundShown_; }
  int beeps() const { return beeps_; }
  int pumps() const { return pumps_; }
  int mainToFrontCalls() const { return mainToFrontCalls_; }
  int applicationToFrontCalls() const { return applicationToFrontCalls_; }
  int progressToFrontCalls() const { return progressToFrontCalls_; }
  const ProgressState& mainProgress() const { return *mainProgress_; }
  // Windows made by CreateProgressWindow, in order of creation, also after their destruction.
  const std::vector<std::shared_ptr<ProgressState>>& createdProgress() const { return created_; }

 private:
  Transcript& transcript_;
  std::deque<Answer> answers_;
  std::vector<ShownBox> boxes_;
  bool unexpectedBox_ = false;
  std::string mainCaption_;
  std::string mainMessage_;
  std::string folderText_;
  bool mainHidden_ = false;
  int endProgramCalls_ = 0;
  bool backgroundShown_ = false;
  int beeps_ = 0;
  int pumps_ = 0;
  int mainToFrontCalls_ = 0;
  int applicationToFrontCalls_ = 0;
  int progressToFrontCalls_ = 0;
  std::shared_ptr<ProgressState> mainProgress_;
  std::unique_ptr<SimProgressWindow> mainWindow_;
  std::vector<std::shared_ptr<ProgressState>> created_;
};

}  // namespace setup
