// Fuzzes the COPY, REG, START and CFG line interpreters: the input is a script whose lists run
// through a whole installation on a fresh simulated machine with a small CD.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "setup/app/message_form.h"
#include "setup/platform/sim/simulated_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  setup::SimulatedMachine machine;
  machine.files().AddFile("D:\\DATA\\A.TXT", "a");
  machine.files().AddFile("D:\\DATA\\SUB\\B.DAT", "b");
  machine.files().AddFile("D:\\setup.ini", "[SETUP]\nDIR=C:\\Game\nSRC=@:\\DATA\nUNINSTALL=U.INI\n" +
                                               std::string(reinterpret_cast<const char*>(data), size));
  for (int i = 0; i < 8; ++i) machine.ui().QueueAnswer(setup::Answer::Yes);
  setup::MessageForm form(machine.platform());
  form.FormCreate();
  form.FormShow();
  machine.ui().TypeFolderText("C:\\Game");
  form.OkButtonClick();
  if (machine.registry().OpenHandleCount() != 0) __builtin_trap();
  return 0;
}
