// The simulated screen and user: transcript, queued answers and progress windows with the
// bounds rules of the progress bar control.
#include "setup/platform/sim/sim_user_interface.h"

#include <algorithm>

namespace setup {

namespace {

const char* KindName(BoxKind kind) {
  switch (kind) {
    case BoxKind::Warning:
      return "warning";
    case BoxKind::Error:
      return "error";
    case BoxKind::Information:
      return "information";
    case BoxKind::Confirmation:
      return "confirmation";
  }
  return "?";
}

const char* ButtonsName(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::Ok:
      return "ok";
    case BoxButtons::YesNo:
      return "yes-no";
    case BoxButtons::AbortRetryIgnore:
      return "abort-retry-ignore";
  }
  return "?";
}

const char* AnswerName(Answer answer) {
  switch (answer) {
    case Answer::Ok:
      return "ok";
    case Answer::Yes:
      return "yes";
    case Answer::No:
      return "no";
    case Answer::Closed:
      return "closed";
    case Answer::Abort:
      return "abort";
    case Answer::Retry:
      return "retry";
    case Answer::Ignore:
      return "ignore";
  }
  return "?";
}

// An abort-retry-ignore box has no close button, as on Windows.
bool BoxCanGive(BoxButtons buttons, Answer answer) {
  switch (buttons) {
    case BoxButtons::Ok:
      return answer == Answer::Ok || answer == Answer::Closed;
    case BoxButtons::YesNo:
      return answer == Answer::Yes || answer == Answer::No || answer == Answer::Closed;
    case BoxButtons::AbortRetryIgnore:
      return answer == Answer::Abort || answer == Answer::Retry || answer == Answer::Ignore;
  }
  return false;
}

// What a box answers when the scripted user has nothing to say: its safe way out.
Answer DefaultAnswer(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::Ok:
      return Answer::Ok;
    case BoxButtons::YesNo:
      return Answer::No;
    case BoxButtons::AbortRetryIgnore:
      return Answer::Abort;
  }
  return Answer::Closed;
}

}  // namespace

// ---- Progress window ----------------------------------------------------------------------

SimProgressWindow::SimProgressWindow(std::shared_ptr<ProgressState> state, Transcript& transcript,
                                     bool destroyedWithObject)
    : state_(std::move(state)), transcript_(transcript), destroyedWithObject_(destroyedWithObject) {}

SimProgressWindow::~SimProgressWindow() {
  if (!destroyedWithObject_) return;
  state_->destroyed = true;
  state_->visible = false;
  Note("destroyed");
}

void SimProgressWindow::Note(const std::string& event) { transcript_.push_back(state_->name + " " + event); }

void SimProgressWindow::SetLabel(const std::string& textUtf8) {
  state_->label = textUtf8;
  Note("label: " + textUtf8);
}

void SimProgressWindow::SetRange(int maximum) {
  state_->maximum = maximum;
  state_->position = std::clamp(state_->position, 0, std::max(maximum, 0));
  Note("range " + std::to_string(maximum));
}

int SimProgressWindow::Position() { return state_->position; }

void SimProgressWindow::SetPosition(int position) {
  state_->position = std::clamp(position, 0, std::max(state_->maximum, 0));
  ++state_->positionChanges;
}

void SimProgressWindow::SetStep(int step) {
  state_->step = step;
  Note("step " + std::to_string(step));
}

void SimProgressWindow::StepIt() {
  const int maximum = std::max(state_->maximum, 0);
  int position = state_->position + state_->step;
  if (position > maximum) position = maximum == 0 ? 0 : position % maximum;
  if (position < 0) position = 0;
  state_->position = position;
  ++state_->positionChanges;
}

void SimProgressWindow::StopAnimation() {
  state_->animationPlaying = false;
  Note("animation stopped");
}

void SimProgressWindow::SetDeleteMode() {
  state_->deleteMode = true;
  state_->caption = "アンインストール";
  state_->label = "ファイルの削除中";
  state_->clip = "DELAVI";
  state_->animationPlaying = true;
  Note("delete mode");
}

void SimProgressWindow::Show() {
  state_->visible = true;
  Note("shown");
}

void SimProgressWindow::Hide() {
  state_->visible = false;
  Note("hidden");
}

// ---- User interface -----------------------------------------------------------------------

SimUserInterface::SimUserInterface(Transcript& transcript)
    : transcript_(transcript), mainProgress_(std::make_shared<ProgressState>()) {
  mainProgress_->name = "progress[main]";
  mainWindow_ = std::make_unique<SimProgressWindow>(mainProgress_, transcript_, false);
}

SimUserInterface::~SimUserInterface() = default;

void SimUserInterface::QueueAnswer(Answer answer) { answers_.push_back(answer); }

Answer SimUserInterface::MessageBox(BoxKind kind, BoxButtons buttons, const std::string& textUtf8) {
  const std::string description = std::string(KindName(kind)) + " " + ButtonsName(buttons) + ": " + textUtf8;
  if (onMessageBox) onMessageBox(kind, buttons, textUtf8);
  Answer answer = DefaultAnswer(buttons);
  if (answers_.empty()) {
    unexpectedBox_ = true;
    transcript_.push_back("UNEXPECTED box " + description);
  } else {
    transcript_.push_back("box " + description);
    const Answer queued = answers_.front();
    answers_.pop_front();
    if (BoxCanGive(buttons, queued)) {
      answer = queued;
    } else {
      unexpectedBox_ = true;
      transcript_.push_back(std::string("UNEXPECTED answer ") + AnswerName(queued) + " to " + ButtonsName(buttons) +
                            " box");
    }
  }
  boxes_.push_back({kind, buttons, textUtf8, answer});
  return answer;
}

void SimUserInterface::ShowNotice(const std::string& captionUtf8, const std::string& messageUtf8) {
  transcript_.push_back("notice " + captionUtf8 + ": " + messageUtf8);
  if (onNotice) onNotice(captionUtf8, messageUtf8);
}

void SimUserInterface::Beep() {
  ++beeps_;
  transcript_.push_back("beep");
}

void SimUserInterface::PumpMessages() {
  ++pumps_;
  if (onPump) onPump();
}

void SimUserInterface::SetMainCaption(const std::string& captionUtf8) {
  mainCaption_ = captionUtf8;
  transcript_.push_back("main caption: " + captionUtf8);
}

void SimUserInterface::SetMainMessage(const std::string& messageUtf8) {
  mainMessage_ = messageUtf8;
  transcript_.push_back("main message: " + messageUtf8);
}

void SimUserInterface::SetFolderText(const std::string& folderAnsi) {
  folderText_ = folderAnsi;
  transcript_.push_back("folder text: " + folderAnsi);
}

std::string SimUserInterface::FolderText() { return folderText_; }

void SimUserInterface::HideMainDialog() {
  mainHidden_ = true;
  transcript_.push_back("main hidden");
}

void SimUserInterface::BringMainDialogToFront() {
  ++mainToFrontCalls_;
  transcript_.push_back("main to front");
}

void SimUserInterface::BringApplicationToFront() {
  ++applicationToFrontCalls_;
  transcript_.push_back("application to front");
}

void SimUserInterface::EndProgram() {
  ++endProgramCalls_;
  transcript_.push_back("program ended");
}

void SimUserInterface::ShowBackground(const std::string& captionUtf8, const std::string& titleUtf8) {
  backgroundShown_ = true;
  transcript_.push_back("background: " + captionUtf8 + " | " + titleUtf8);
}

ProgressWindow& SimUserInterface::MainProgress() { return *mainWindow_; }

void SimUserInterface::BringProgressToFront() {
  ++progressToFrontCalls_;
  transcript_.push_back(mainProgress_->name + " to front");
}

std::unique_ptr<ProgressWindow> SimUserInterface::CreateProgressWindow() {
  auto state = std::make_shared<ProgressState>();
  state->name = "progress[" + std::to_string(created_.size() + 1) + "]";
  created_.push_back(state);
  transcript_.push_back(state->name + " created");
  return std::make_unique<SimProgressWindow>(state, transcript_, true);
}

}  // namespace setup
