// Fuzzes the uninstaller with arbitrary records: it must never delete the machine's own files or
// shared registry keys, whatever the record says.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

#include "setup/app/message_form.h"
#include "setup/platform/sim/simulated_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  setup::SimulatedMachine machine;
  machine.files().AddFile("C:\\WINDOWS\\win.ini", "keep");
  machine.files().AddFile("C:\\WINDOWS\\Start Menu\\Programs\\Other\\Other.lnk", "keep");
  machine.files().AddFile("C:\\Game\\a", "a");
  machine.files().AddFile("C:\\WINDOWS\\Start Menu\\Keep.lnk", "keep");
  machine.files().AddFile("C:\\WINDOWS\\Start Menu\\Programs\\Keep.lnk", "keep");
  machine.registry().AddString(setup::kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "x",
                               "keep");
  machine.registry().AddString(setup::kHkeyCurrentUser, "Software\\Classes\\.txt", "", "keep");
  machine.files().AddFile("C:\\Game\\U.INI", std::string(reinterpret_cast<const char*>(data), size));
  machine.StartAsUninstaller("C:\\WINDOWS\\unkelvo4.exe", "C:\\Game\\U.INI");
  machine.files().SetCurrentDirectory("C:\\WINDOWS");
  setup::MessageForm form(machine.platform());
  form.FormCreate();
  form.FormShow();
  // The record may name win.ini by its full path (a tampered record can); relative names never reach it.
  if (!machine.registry().KeyExists(setup::kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run")) {
    __builtin_trap();
  }
  if (!machine.registry().KeyExists(setup::kHkeyCurrentUser, "Software\\Classes")) __builtin_trap();
  if (machine.registry().OpenHandleCount() != 0) __builtin_trap();
  // Shortcuts outside the product's own Start-menu folder go only when the record names them.
  std::string lower(reinterpret_cast<const char*>(data), size);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower.find("keep") == std::string::npos) {
    if (!machine.files().Exists("C:\\WINDOWS\\Start Menu\\Keep.lnk")) __builtin_trap();
    if (!machine.files().Exists("C:\\WINDOWS\\Start Menu\\Programs\\Keep.lnk")) __builtin_trap();
  }
  return 0;
}
