// The contract's host machine: the simulated Windows machine the unit tests run on.
#include "setup/platform/sim/simulated_machine.h"
#include "tests/contract/contract_machine.h"

namespace setup::contract {
namespace {

class SimContractMachine final : public ContractMachine {
 public:
  FileSystem& files() override { return machine_.files(); }
  Registry& registry() override { return machine_.registry(); }
  System& system() override { return machine_.system(); }
  std::string ScratchFolder() override {
    machine_.files().CreateDirectory("C:\\contract");
    return "C:\\contract";
  }
  std::string ScratchKey() override { return "Software\\CdSetupContract"; }
  std::string MissingDriveRoot() override { return "Q:\\"; }

 private:
  SimulatedMachine machine_;
};

}  // namespace

std::vector<MachineKind> ContractMachines() {
  return {{"Simulated", [] { return std::unique_ptr<ContractMachine>(new SimContractMachine()); }}};
}

}  // namespace setup::contract
