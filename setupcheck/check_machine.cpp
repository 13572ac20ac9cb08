// Building the simulated machine from the CD image.
#include "setupcheck/check_machine.h"

namespace setupcheck {

namespace {

// More than any SIZE can ask for (2^31 MB is 2^51 bytes).
constexpr std::int64_t kPlentyOfSpace = std::int64_t{1} << 62;
// A DDRAW.DLL version that reads as DirectX 99: no DIRECTX setting below it leads to the offer.
constexpr char kNewestDirectX[] = "4.99.00.0000";

}  // namespace

CheckMachine::CheckMachine(const CdFolder& cd, const std::string& scriptBytes)
    : recorder_(machine_.files()),
      platform_{recorder_, machine_.registry(), machine_.shell(), machine_.system(), machine_.ui()} {
  setup::SimFileSystem& files = machine_.files();
  for (const CdEntry& entry : cd.entries) {
    const std::string path = kCdRoot + entry.path;
    const bool placed = (entry.attributes & setup::kAttrDirectory) != 0
                            ? files.AddFolder(path, entry.attributes)
                            : files.AddFileOfSize(path, entry.size, entry.attributes);
    if (!placed) unplaced_.push_back(entry.path);
  }
  files.AddFile(std::string(kCdRoot) + "setup.ini", scriptBytes, setup::kAttrReadOnly);
  files.SetFreeBytes("C:", kPlentyOfSpace);
  machine_.system().SetFileVersion(machine_.system().SystemDirectory() + "\\DDRAW.DLL", kNewestDirectX);
}

void CheckMachine::AddFixedDriveFor(const std::string& destination) {
  if (destination.size() < 2 || destination[1] != ':') return;
  const char letter = static_cast<char>(destination[0] & ~0x20);
  if (letter < 'A' || letter > 'Z' || letter == 'C' || letter == 'D') return;
  const std::string root = std::string(1, letter) + ":";
  if (machine_.files().GetDriveType(root + "\\") == setup::DriveType::NoRootDir) {
    machine_.files().AddDrive(root, setup::DriveType::Fixed, kPlentyOfSpace);
  }
}

}  // namespace setupcheck
