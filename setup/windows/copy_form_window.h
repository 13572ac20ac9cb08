// CopyForm's view: the progress window with the looping clip, the bar, the status label and
// Cancel. One is made at start-up; the uninstaller makes another of its own.
#pragma once

#include "setup/platform/win32/wide_text.h"

#include <string>

#include "setup/platform/platform.h"
#include "setup/windows/form_link.h"
#include "setup/windows/form_window.h"

namespace setup::win32 {

class CopyFormWindow final : public FormWindow, public ProgressWindow {
 public:
  explicit CopyFormWindow(const FormLink& link) : link_(link) {}
  // Closes the clip before the window goes.
  ~CopyFormWindow() override;

  // Creates the window hidden, in copy mode; RESAVI plays from the first Show.
  bool Create(HWND owner);

  void SetLabel(const std::string& textUtf8) override;
  void SetRange(int maximum) override;
  int Position() override;
  void SetPosition(int position) override;
  void SetStep(int step) override;
  void StepIt() override;
  void StopAnimation() override;
  void SetDeleteMode() override;
  void Show() override;
  void Hide() override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PlayClip(const char* clipName);
  void CloseClip();
  void MakeAnimation();
  void SetLabelWide(const WideString& text);

  const FormLink& link_;
  HWND animation_ = nullptr;
  HWND progressBar_ = nullptr;
  HWND label_ = nullptr;
  LONG labelHeight_ = 0;             // one line of the label's font, measured once
  const char* clipName_ = "RESAVI";  // the clip playing, or to play once the control is made
  bool stopped_ = false;             // StopAnimation came after the last PlayClip
};

}  // namespace setup::win32
