// Fuzzes the INI reader and the script loader: any bytes must load without crash or hang, and
// a document written back must read back to the same values.
#include <cstddef>
#include <cstdint>
#include <string>

#include "setup/platform/sim/simulated_machine.h"
#include "setup/script/ini_document.h"
#include "setup/script/setup_script.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  static setup::SimulatedMachine* machine = new setup::SimulatedMachine();
  setup::SetupScript script;
  setup::LoadSetupScriptText(text, true, machine->platform(), script);

  const setup::IniDocument document = setup::IniDocument::Parse(text);
  const setup::IniDocument again = setup::IniDocument::Parse(document.Serialize());
  for (const char* key : {"TITLE", "DIR", "COPY1", "COPY2", "REG1", "SIZE"}) {
    if (document.Find("SETUP", key) != again.Find("SETUP", key)) __builtin_trap();
  }
  return 0;
}
