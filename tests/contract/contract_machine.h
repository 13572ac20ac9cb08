// The platform contract: what the installer relies on from the file system, the registry and the
// system's text functions, written once and run against each machine that stands behind the
// seam: the simulated machine on the host and the Win32 layer under Wine (and Windows).
//
// A machine gives its seam objects, an empty scratch folder and a scratch registry key; each
// suite instantiates the tests with the machines its program links (see *_machine.cpp).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "setup/platform/platform.h"
#include "tests/sjis_names.h"

namespace setup::contract {

class ContractMachine {
 public:
  virtual ~ContractMachine() = default;
  virtual FileSystem& files() = 0;
  virtual Registry& registry() = 0;
  virtual System& system() = 0;
  // A full path to an empty folder on a fixed drive, without a trailing separator; removed with
  // everything in it when the machine goes.
  virtual std::string ScratchFolder() = 0;
  // A key path below HKEY_CURRENT_USER that does not exist yet; deleted when the machine goes.
  virtual std::string ScratchKey() = 0;
  // A drive root ("Q:\") that names no drive.
  virtual std::string MissingDriveRoot() = 0;
};

using MachineFactory = std::function<std::unique_ptr<ContractMachine>()>;

// The parameter of every contract test: a name for the report and a way to make a fresh machine.
struct MachineKind {
  std::string name;
  MachineFactory make;
};

// Test names and failure reports show the machine's name.
inline void PrintTo(const MachineKind& kind, std::ostream* out) { *out << kind.name; }

// The machines this test program runs the contract against; defined by the program.
std::vector<MachineKind> ContractMachines();

inline std::string PrintMachineKind(const ::testing::TestParamInfo<MachineKind>& info) { return info.param.name; }

class ContractTest : public ::testing::TestWithParam<MachineKind> {
 protected:
  void SetUp() override {
    machine = GetParam().make();
    ASSERT_NE(machine, nullptr);
    scratch = machine->ScratchFolder();
    ASSERT_FALSE(scratch.empty());
  }
  void TearDown() override { machine.reset(); }

  FileSystem& files() { return machine->files(); }
  Registry& registry() { return machine->registry(); }
  System& system() { return machine->system(); }
  std::string In(const std::string& name) const { return scratch + "\\" + name; }

  std::unique_ptr<ContractMachine> machine;
  std::string scratch;
};

inline const std::string kSo = SJIS_SO;
inline const std::string kSoftware = SJIS_SOFUTO;
inline const std::string kHyou = SJIS_HYOU;
inline const std::string kNou = SJIS_NOU;
inline const std::string kBarTrail = SJIS_PO;
inline const std::string kGame = SJIS_GEEMU;

}  // namespace setup::contract
