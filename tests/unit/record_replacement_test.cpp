// Replacing the uninstall record where the system cannot replace a file in one step (Windows
// 9x): a failure at any step leaves a whole record under its name, or under the aside name from
// where the next installation takes it back. Never is the product left without a record.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "setup/install/uninstall_record.h"
#include "setup/platform/sim/forwarding_file_system.h"
#include "setup/platform/sim/simulated_machine.h"

namespace setup::testing {
namespace {

constexpr char kRecord[] = "C:\\Game\\UNINST.INI";
constexpr char kAside[] = "C:\\Game\\UNINST.IN$";
constexpr char kWritten[] = "C:\\Game\\UNINST.IN~";
constexpr char kOld[] = "[SETUP]\r\nTITLE=Old\r\nCOPY1=C:\\Game\\old\r\nCOPY2=C:\\Game\\kept\r\n";

// Fails the moves and deletions it is told to, each named by its paths.
class FailingSteps final : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  bool MoveFile(const std::string& from, const std::string& to) override {
    return failedMoves.count({from, to}) == 0 && inner_.MoveFile(from, to);
  }
  bool DeleteFile(const std::string& path) override {
    return failedDeletions.count(path) == 0 && inner_.DeleteFile(path);
  }
  std::set<std::pair<std::string, std::string>> failedMoves;
  std::set<std::string> failedDeletions;
};

class RecordReplacement : public ::testing::Test {
 protected:
  RecordReplacement() : files(machine.files()) {
    machine.files().SetReplacesInOneStep(false);
    machine.files().AddFolder("C:\\Game");
    script.Title = "New";
    script.InstalledFiles = {"C:\\Game\\new"};
  }
  bool Write() {
    Platform& sim = machine.platform();
    Platform platform{files, sim.registry, sim.shell, sim.system, sim.ui};
    return WriteUninstallRecord(script, platform, kRecord);
  }
  std::string File(const char* path) { return machine.files().ReadFile(path).value_or("<missing>"); }
  std::string NewRecord() {
    return "[SETUP]\r\nTITLE=New\r\nCOPY1=C:\\Game\\new\r\nCOPY2=C:\\Game\\kept\r\nGROUP=\r\nSHORTCUT=\r\n\r\n";
  }

  SimulatedMachine machine;
  FailingSteps files;
  SetupScript script;
};

TEST_F(RecordReplacement, WithoutFailuresTheNewRecordTakesThePlaceOfTheOld) {
  machine.files().AddFile(kRecord, kOld);
  EXPECT_TRUE(Write());
  EXPECT_EQ(File(kRecord), NewRecord());
  EXPECT_FALSE(machine.files().Exists(kAside));
  EXPECT_FALSE(machine.files().Exists(kWritten));
  // And where there was none.
  machine.files().DeleteFile(kRecord);
  EXPECT_TRUE(Write());
  EXPECT_EQ(File(kRecord).rfind("[SETUP]\r\nTITLE=New\r\n", 0), 0u);
}

TEST_F(RecordReplacement, AFailureBeforeTheOldRecordMovesLeavesItInPlace) {
  machine.files().AddFile(kRecord, kOld);
  files.failedMoves.insert({kRecord, kAside});
  EXPECT_FALSE(Write());
  EXPECT_EQ(File(kRecord), kOld);
  EXPECT_FALSE(machine.files().Exists(kWritten));
  // A record that cannot even be written beside the old one changes nothing either.
  files.failedMoves.clear();
  machine.files().InjectFault(FileCall::WriteWholeFile, kWritten);
  EXPECT_FALSE(Write());
  EXPECT_EQ(File(kRecord), kOld);
}

TEST_F(RecordReplacement, ANewRecordThatCannotMoveInBringsTheOldOneBack) {
  machine.files().AddFile(kRecord, kOld);
  files.failedMoves.insert({kWritten, kRecord});
  EXPECT_FALSE(Write());
  EXPECT_EQ(File(kRecord), kOld);
  EXPECT_FALSE(machine.files().Exists(kAside));
  EXPECT_FALSE(machine.files().Exists(kWritten));
}

TEST_F(RecordReplacement, AnOldRecordLeftAsideIsTakenBackByTheNextInstallation) {
  machine.files().AddFile(kRecord, kOld);
  files.failedMoves = {{kWritten, kRecord}, {kAside, kRecord}};
  EXPECT_FALSE(Write());
  EXPECT_FALSE(machine.files().Exists(kRecord));
  EXPECT_EQ(File(kAside), kOld);

  files.failedMoves.clear();
  EXPECT_TRUE(Write());
  // Merged into the old record: its second entry, which this run does not write, stays.
  EXPECT_EQ(File(kRecord), NewRecord());
  EXPECT_FALSE(machine.files().Exists(kAside));
}

TEST_F(RecordReplacement, AnOldRecordThatCannotBeDeletedAfterwardsLeavesTheNewOneInPlace) {
  machine.files().AddFile(kRecord, kOld);
  files.failedDeletions.insert(kAside);
  EXPECT_TRUE(Write());
  EXPECT_EQ(File(kRecord), NewRecord());
  EXPECT_EQ(File(kAside), kOld);
}

TEST_F(RecordReplacement, OneStepReplacementIsUsedWhereTheSystemHasIt) {
  machine.files().SetReplacesInOneStep(true);
  machine.files().AddFile(kRecord, kOld);
  machine.files().ResetCallCounts();
  EXPECT_TRUE(Write());
  EXPECT_EQ(File(kRecord), NewRecord());
  EXPECT_EQ(machine.files().CallCount(FileCall::ReplaceFile), 1);
  EXPECT_EQ(machine.files().CallCount(FileCall::MoveFile), 0);
}

}  // namespace
}  // namespace setup::testing
