// GoogleTest's Notification for MinGW's win32 thread model, which has no std::mutex: the same
// contract on a Windows event. Force-included into the cross build of GoogleTest and its tests.
#pragma once

// The layer's header, which takes back the macros that would rename the seam's methods.
#include "setup/platform/win32/windows_api.h"

namespace testing::internal {

class Notification {
 public:
  Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace testing::internal
