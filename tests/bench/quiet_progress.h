// A progress window for the benchmarks that keeps the bar's numbers, so the steps read back
// what they set, and draws nothing.
#pragma once

#include <string>

#include "setup/platform/platform.h"

namespace bench {

class QuietProgress final : public setup::ProgressWindow {
 public:
  void SetLabel(const std::string&) override {}
  void SetRange(int maximum) override { maximum_ = maximum; }
  int Position() override { return position_; }
  void SetPosition(int position) override { position_ = position; }
  void SetStep(int step) override { step_ = step; }
  void StepIt() override { position_ += step_; }
  void StopAnimation() override {}
  void SetDeleteMode() override {}
  void Show() override {}
  void Hide() override {}

 private:
  int maximum_ = 0;
  int position_ = 0;
  int step_ = 10;
};

}  // namespace bench
