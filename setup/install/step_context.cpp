// The abort path shared by the steps that can fail.
#include "setup/install/step_context.h"

#include "setup/script/messages.h"

namespace setup {

void AbortInstallation(StepContext& context) {
  context.flags.AbortRequested = true;
  context.flags.Installing = false;
  context.platform.ui.ShowNotice(text::kInstallCaption, text::kInstallAborted);
}

void ReportCannotCreate(StepContext& context, const std::string& fileNameAnsi) {
  const std::string message = std::string(text::kCannotCreateBefore) +
                              context.platform.system.AnsiToUtf8(fileNameAnsi) + text::kCannotCreateAfter;
  context.platform.ui.MessageBox(BoxKind::Error, BoxButtons::Ok, message);
  AbortInstallation(context);
}

}  // namespace setup
