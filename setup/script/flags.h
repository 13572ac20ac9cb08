// The main dialog's flags, shared by the steps that test and set them.
#pragma once

namespace setup {

struct Flags {
  bool UninstallMode = false;
  bool NetworkBlocked = false;
  bool IsPC9821 = false;
  bool Installing = false;
  bool AbortRequested = false;
};

}  // namespace setup
