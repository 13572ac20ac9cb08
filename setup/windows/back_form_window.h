// BackForm's view: the maximised navy background with the product title.
#pragma once

#include <string>

#include "setup/windows/form_link.h"
#include "setup/windows/form_window.h"

namespace setup::win32 {

class BackFormWindow final : public FormWindow {
 public:
  explicit BackFormWindow(const FormLink& link) : link_(link) {}
  ~BackFormWindow() override;

  bool Create();
  // Sets the caption and the title, then shows the window maximised (and so activates it).
  void Show(const std::string& captionUtf8, const std::string& titleUtf8);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  const FormLink& link_;
  HBRUSH navy_ = nullptr;
  HWND titleLabel_ = nullptr;
};

}  // namespace setup::win32
