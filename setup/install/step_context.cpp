// The abort path shared by the steps that can fail.
#include "setup/install/step_context.h"

#include <optional>

#include "setup/script/messages.h"

namespace setup {

void AbortInstallation(StepContext& context) {
  context.flags.AbortRequested = true;
  context.flags.Installing = false;
  context.failed = true;
}

void ReportCannotCreate(StepContext& context, const std::string& fileNameAnsi) {
  const std::string message = std::string(text::kCannotCreateBefore) +
                              context.platform.system.AnsiToUtf8(fileNameAnsi) + text::kCannotCreateAfter;
  context.platform.ui.MessageBox(BoxKind::Error, BoxButtons::Ok, message);
  AbortInstallation(context);
}

Answer AskAboutCopyFailure(StepContext& context, const char* before, const std::string& pathAnsi, const char* after) {
  Platform& platform = context.platform;
  std::string message = before + platform.system.AnsiToUtf8(pathAnsi) + after;
  if (const std::optional<std::string> cause = platform.files.LastFailureText()) message += "\r\n" + *cause;
  const Answer answer = platform.ui.MessageBox(BoxKind::Error, BoxButtons::AbortRetryIgnore, message);
  if (answer == Answer::Abort) AbortInstallation(context);
  return answer;
}

}  // namespace setup
