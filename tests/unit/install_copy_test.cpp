// The copy step on its own: scale, sources, matching, destinations and PC-9821 fields.
#include <gtest/gtest.h>

#include "setup/install/copy_files.h"
#include "setup/platform/sim/forwarding_file_system.h"
#include "setup/platform/sim/simulated_machine.h"

namespace setup {
namespace {

class CopyStep : public ::testing::Test {
 protected:
  CopyStep() {
    script.WindowsDir = "C:\\WINDOWS";
    script.WindowsDrive = "C";
    script.SourceRoot = "D";
    script.SourceDir = "D:\\DATA";
    script.DestDir = "C:\\Game";
    machine.files().AddFolder("D:\\DATA");
  }
  void Copy() {
    StepContext context{script, flags, machine.platform(), machine.ui().MainProgress(), journal};
    CopyFiles(context);
  }
  const ProgressState& bar() const { return machine.ui().mainProgress(); }

  SimulatedMachine machine;
  SetupScript script;
  Flags flags;
  InstallJournal journal;
};

TEST(ProgressScale, KeepsTheBarWithinSixteenBits) {
  EXPECT_EQ(ProgressScale(0), 1);
  EXPECT_EQ(ProgressScale(65535), 1);
  EXPECT_EQ(ProgressScale(65536), 2);
  EXPECT_EQ(ProgressScale(10000000), 153);
  EXPECT_EQ(ProgressScale(5ll << 30), (5ll << 30) / 65536 + 1);
}

TEST_F(CopyStep, SmallTotalFillsTheBarExactly) {
  machine.files().AddFileOfSize("D:\\DATA\\A", 65000);
  machine.files().AddFileOfSize("D:\\DATA\\B", 535);
  script.CopyList = {"*.*,$"};
  Copy();
  EXPECT_EQ(bar().maximum, 65535);
  EXPECT_EQ(bar().position, 65535);
  EXPECT_EQ(bar().label, "");
}

TEST_F(CopyStep, TenMillionBytesScaleBy153) {
  machine.files().AddFileOfSize("D:\\DATA\\BIG", 10000000);
  script.CopyList = {"BIG,$"};
  Copy();
  EXPECT_EQ(bar().maximum, 65535);
  EXPECT_EQ(bar().position, 65359);
}

TEST_F(CopyStep, SourcesOfSeveralGigabytesStillEndWithAFullBar) {
  machine.files().AddFileOfSize("D:\\DATA\\DISC1.IMG", 3ull << 30);
  machine.files().AddFileOfSize("D:\\DATA\\DISC2.IMG", 2ull << 30);
  script.CopyList = {"*.IMG,$"};
  Copy();
  EXPECT_EQ(bar().maximum, 65535);
  EXPECT_GE(bar().position, 65530);
  EXPECT_LE(bar().position, 65535);
  EXPECT_EQ(machine.files().Size("C:\\Game\\DISC1.IMG"), 3ull << 30);
}

TEST_F(CopyStep, EmptyListCopiesNothingAndEmptiesTheLabel) {
  Copy();
  EXPECT_EQ(bar().maximum, 0);
  EXPECT_EQ(bar().label, "");
  EXPECT_TRUE(script.InstalledFiles.empty());
}

TEST_F(CopyStep, UnmatchedPatternStillCreatesTheDestinationWithParents) {
  script.CopyList = {"NOSUCH\\*.*,$\\A\\B"};
  Copy();
  EXPECT_TRUE(machine.files().IsFolder("C:\\Game\\A\\B"));
  EXPECT_TRUE(script.InstalledFiles.empty());
}

TEST_F(CopyStep, LineWithoutDestinationIsSkippedInsteadOfCopyingToTheDriveRoot) {
  machine.files().AddFile("D:\\DATA\\A.TXT", "a");
  machine.files().SetCurrentDirectory("C:\\WINDOWS");
  script.CopyList = {"A.TXT", "A.TXT,", "A.TXT,$"};
  Copy();
  EXPECT_EQ(script.InstalledFiles, TextList{"C:\\Game\\A.TXT"});
  EXPECT_FALSE(machine.files().Exists("C:\\A.TXT"));
  EXPECT_FALSE(machine.files().Exists("D:\\A.TXT"));
}

// A file system that copies onto a file in the way, as Wine run by root does, but keeps that
// file's old attributes on the copy.
class CopiesOntoAnything final : public ForwardingFileSystem {
 public:
  explicit CopiesOntoAnything(SimFileSystem& files) : ForwardingFileSystem(files), files_(files) {}
  bool CopyFile(const std::string& from, const std::string& to) override {
    const std::optional<std::uint32_t> old = files_.Attributes(to);
    if (old) files_.SetAttributes(to, kAttrArchive);
    const bool copied = files_.CopyFile(from, to);
    if (old) files_.SetAttributes(to, *old);
    return copied;
  }

 private:
  SimFileSystem& files_;
};

// Re-installing over files in the way: Windows refuses the copy onto a read-only or hidden file
// (the simulated machine), Wine run by root copies onto it and keeps its attributes. Either way
// every file is replaced and ends recorded with the archive attribute alone, so the uninstaller
// can delete it.
TEST_F(CopyStep, FilesInTheWayEndRecordedWithTheArchiveAttributeAlone) {
  for (const bool copiesOntoAnything : {false, true}) {
    SimulatedMachine machine;
    machine.files().AddFolder("D:\\DATA");
    for (const char* name : {"RO.TXT", "HIDDEN.TXT", "PLAIN.TXT"}) {
      machine.files().AddFile(std::string("D:\\DATA\\") + name, "new");
    }
    machine.files().AddFile("C:\\Game\\RO.TXT", "old", kAttrReadOnly | kAttrArchive);
    machine.files().AddFile("C:\\Game\\HIDDEN.TXT", "old", kAttrHidden | kAttrArchive);
    machine.files().AddFile("C:\\Game\\PLAIN.TXT", "old");
    CopiesOntoAnything wineFiles(machine.files());
    Platform& platform = machine.platform();
    Platform winePlatform{wineFiles, platform.registry, platform.shell, platform.system, platform.ui};
    script.CopyList = {"*.TXT,$"};
    script.InstalledFiles.clear();
    StepContext context{script, flags, copiesOntoAnything ? winePlatform : platform, machine.ui().MainProgress(),
                        journal};
    CopyFiles(context);
    const std::string how = copiesOntoAnything ? " (copied onto)" : " (refused)";
    for (const char* name : {"RO.TXT", "HIDDEN.TXT", "PLAIN.TXT"}) {
      EXPECT_EQ(machine.files().ReadFile(std::string("C:\\Game\\") + name), "new") << name << how;
      EXPECT_EQ(machine.files().Attributes(std::string("C:\\Game\\") + name), kAttrArchive) << name << how;
    }
    EXPECT_EQ(script.InstalledFiles.size(), 3u);
  }
}

// Every copy ends with the archive attribute alone; the attribute call is left out only for an
// archive-only source copied into a folder that its line created, where nothing was in the way.
TEST_F(CopyStep, CopiesEndWithTheArchiveAttributeAloneAndOnlyChangedOnesAreSet) {
  machine.files().AddFile("D:\\DATA\\PLAIN.DAT", "p", kAttrArchive);
  machine.files().AddFile("D:\\DATA\\CDROM.DAT", "c", kAttrReadOnly);
  machine.files().AddFile("D:\\DATA\\BOTH.DAT", "b", kAttrReadOnly | kAttrArchive);
  machine.files().AddFile("D:\\DATA\\NORMAL.DAT", "n", kAttrNormal);
  machine.files().AddFolder("C:\\Game");
  script.CopyList = {"*.DAT,$\\NEW", "*.DAT,$"};
  machine.files().ResetCallCounts();
  Copy();
  for (const char* name : {"PLAIN.DAT", "CDROM.DAT", "BOTH.DAT", "NORMAL.DAT"}) {
    EXPECT_EQ(machine.files().Attributes(std::string("C:\\Game\\NEW\\") + name), kAttrArchive) << name;
    EXPECT_EQ(machine.files().Attributes(std::string("C:\\Game\\") + name), kAttrArchive) << name;
  }
  EXPECT_EQ(machine.files().CallCount(FileCall::CopyFile), 8);
  EXPECT_EQ(machine.files().CallCount(FileCall::SetAttributes), 3 + 4);
}

// A copy that fails asks, naming the file and the system's words for the cause, until the user
// frees the space and answers Retry, or answers Ignore (counted and recorded as if copied) or
// Abort (the step stops as a failure).
TEST_F(CopyStep, FailedCopiesAskToAbortRetryOrIgnore) {
  machine.files().AddFileOfSize("D:\\DATA\\A", 100);
  machine.files().AddFileOfSize("D:\\DATA\\B", 100);
  machine.files().SetFailureText("ディスクに十分な空き領域がありません。");
  machine.ui().onMessageBox = [&](BoxKind, BoxButtons, const std::string&) { machine.files().ClearFaults(); };
  script.CopyList = {"*,$"};
  for (const Answer answer : {Answer::Abort, Answer::Ignore, Answer::Retry}) {
    machine.files().InjectFault(FileCall::CopyFile, "C:\\Game\\A");
    machine.ui().QueueAnswer(answer);
    flags = Flags();
    script.InstalledFiles.clear();
    Copy();
    const ShownBox& box = machine.ui().boxes().back();
    EXPECT_EQ(box.text, "ファイル C:\\Game\\A をコピーできません\r\nディスクに十分な空き領域がありません。");
    EXPECT_EQ(box.buttons, BoxButtons::AbortRetryIgnore);
    EXPECT_EQ(flags.AbortRequested, answer == Answer::Abort);
    EXPECT_EQ(machine.files().Exists("C:\\Game\\A"), answer == Answer::Retry);
    // After Abort the file in hand stays listed, for the taking back; no record is written.
    EXPECT_EQ(script.InstalledFiles.size(), answer == Answer::Abort ? 1u : 2u);
  }
  EXPECT_FALSE(machine.ui().unexpectedBox());
}

TEST_F(CopyStep, DoubleByteNamesSplitOnWholeCharacters) {
  // "表" is 95 5C: its trail byte is a backslash. In a folder part it must stay whole.
  machine.files().AddFile("D:\\DATA\\\x95\x5C\\A.TXT", "in folder");
  // "ソ" is 83 5C: a name without folder part gives an empty folder part and a doubled "\".
  machine.files().AddFile("D:\\DATA\\\x83\x5C.TXT", "so");
  script.CopyList = {"\x95\x5C\\*.TXT,$\\ONE", "\x83\x5C.TXT,$\\TWO"};
  Copy();
  EXPECT_EQ(machine.files().ReadFile("C:\\Game\\ONE\\A.TXT"), "in folder");
  EXPECT_EQ(machine.files().ReadFile("C:\\Game\\TWO\\\x83\x5C.TXT"), "so");
}

TEST_F(CopyStep, SourceFolderIsExpandedAgainWhenTheStepRuns) {
  // A "$" that the first expansion produced (say from a share name) stands for the destination.
  script.SourceDir = "$\\SRC";
  machine.files().AddFile("C:\\Game\\SRC\\A", "a");
  script.CopyList = {"A,C:\\Out"};
  Copy();
  EXPECT_EQ(machine.files().ReadFile("C:\\Out\\A"), "a");
}

TEST_F(CopyStep, PC9821FieldReplacesTheSourceButNotTheSizing) {
  machine.files().AddFileOfSize("D:\\DATA\\AT.BIN", 1000);
  machine.files().AddFileOfSize("D:\\DATA\\PC98\\98.BIN", 400);
  script.CopyList = {"AT.BIN,$,PC98\\98.BIN", "AT.BIN,$\\X,"};
  flags.IsPC9821 = true;
  Copy();
  EXPECT_EQ(bar().maximum, 2000);
  EXPECT_EQ(script.InstalledFiles, (TextList{"C:\\Game\\98.BIN", "C:\\Game\\X\\AT.BIN"}));
  EXPECT_EQ(bar().position, 1400);
}

// The sizing pass counts field 1, so PC-9821 files larger than those cannot move the bar past its
// end, however large they are.
TEST_F(CopyStep, LargerPC9821FilesStopTheBarAtItsEnd) {
  machine.files().AddFileOfSize("D:\\DATA\\AT.BIN", 100);
  machine.files().AddFileOfSize("D:\\DATA\\PC98\\98.BIN", 0x7FFFFFF0u);
  machine.files().AddFileOfSize("D:\\DATA\\PC98\\HUGE.BIN", 5ull << 30);
  script.CopyList = {"AT.BIN,$,PC98\\98.BIN", "AT.BIN,$\\X,PC98\\98.BIN", "AT.BIN,$\\Y,PC98\\HUGE.BIN"};
  flags.IsPC9821 = true;
  Copy();
  EXPECT_EQ(bar().maximum, 300);
  EXPECT_EQ(bar().position, 300);
  EXPECT_EQ(script.InstalledFiles.size(), 3u);
}

TEST_F(CopyStep, PumpsOncePerLineAndTwicePerFile) {
  machine.files().AddFile("D:\\DATA\\A", "a");
  machine.files().AddFile("D:\\DATA\\B", "b");
  script.CopyList = {"*.*,$", "NONE,$"};
  Copy();
  EXPECT_EQ(machine.ui().pumps(), 2 + 2 * 2);
}

}  // namespace
}  // namespace setup
