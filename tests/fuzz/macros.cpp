// Fuzzes ExpandMacros and NextField with arbitrary values, delimiters and environments.
#include <cstddef>
#include <cstdint>
#include <string>

#include "setup/platform/sim/simulated_machine.h"
#include "setup/script/fields.h"
#include "setup/script/macros.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  static setup::SimulatedMachine* machine = new setup::SimulatedMachine();
  const char delimiter = static_cast<char>(data[0]);
  const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t split = rest.find('\n');
  setup::SetupScript script;
  script.WindowsDir = "C:\\WINDOWS";
  script.WindowsDrive = "C";
  script.SourceRoot = (data[0] & 1) ? "\\\\server\\share" : "D";
  script.DestDir = split == std::string::npos ? "C:\\Game" : rest.substr(split + 1);
  const std::string value = rest.substr(0, split);

  const std::string expanded = setup::ExpandMacros(script, machine->platform(), value);
  if (expanded.size() > value.size() * (script.DestDir.size() + script.SourceRoot.size() + 16) + 16) __builtin_trap();

  std::size_t position = 1;
  std::size_t fields = 0;
  std::size_t total = 0;
  while (position <= value.size()) {
    const std::string field = setup::NextField(value, delimiter, position);
    total += field.size();
    if (++fields > value.size() + 1) __builtin_trap();
  }
  if (total > value.size()) __builtin_trap();
  if (!setup::NextField(value, delimiter, position).empty()) __builtin_trap();
  return 0;
}
