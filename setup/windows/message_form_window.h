// MessageForm's view: the main dialog with the destination folder box and its three buttons.
#pragma once

#include <string>

#include "setup/windows/form_link.h"
#include "setup/windows/form_window.h"

namespace setup::win32 {

class MessageFormWindow final : public FormWindow {
 public:
  explicit MessageFormWindow(const FormLink& link) : link_(link) {}

  // Creates the dialog hidden; it has no owner, so it is the window of the taskbar entry.
  bool Create();

  void SetCaption(const std::string& captionUtf8);
  void SetMessage(const std::string& messageUtf8);
  void SetFolderText(const std::string& folderAnsi);
  std::string FolderText() const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnCommand(int id);

  const FormLink& link_;
  HWND messageLabel_ = nullptr;
  HWND dirEdit_ = nullptr;
};

}  // namespace setup::win32
