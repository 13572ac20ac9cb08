// Every failure the installer and uninstaller pass over, made to happen: no message where none
// is due, the run goes on, and nothing that was there before is lost.
#include "tests/unit/installer_fixture.h"

namespace setup::testing {
namespace {

constexpr char kScript[] =
    "[SETUP]\r\nTITLE=Game\r\nDIR=C:\\Game\r\nSRC=@:\\DATA\r\nGROUP=SOFT\r\nUNINSTALL=UNINST.INI\r\n"
    "CFGNAME=$\\GAME.CFG\r\nCFG1=PATH=$\r\nCOPY1=*.*,$\r\nCOPY2=*.*,$\\SUB\r\n"
    "REG1=open,HKEY_CURRENT_USER\\Software\\Vendor\\Game\r\nREG2=string,Path,$\r\n"
    "START1=A.EXE,First,Game\r\nSTART2=B.EXE,Second,Game\r\n";

class PassedOverFailures : public InstallerTest {
 protected:
  void SetUp() override {
    machine.files().AddFile("D:\\DATA\\A.EXE", "a");
    machine.files().AddFile("D:\\DATA\\B.EXE", "b");
    machine.files().AddFolder("C:\\Game");
  }
  // Installs and expects the normal end: no box at all, the final notice.
  void InstallExpectingSuccess() {
    Start(kScript);
    PressStart("C:\\Game");
    EXPECT_TRUE(machine.ui().boxes().empty()) << TranscriptText();
    EXPECT_TRUE(Shown(kFinishedNotice)) << TranscriptText();
  }
  std::string Link(const char* name) { return std::string(kPrograms) + "\\SOFT\\Game\\" + name + ".lnk"; }
};

// The folder's box, then one for each of its files, all answered Ignore.
TEST_F(PassedOverFailures, FolderThatCannotBeCreatedAsksAndIgnoredLosesItsFilesButNotTheRun) {
  machine.files().InjectFault(FileCall::CreateDirectory, "C:\\Game\\SUB");
  for (int box = 0; box < 3; ++box) machine.ui().QueueAnswer(Answer::Ignore);
  Start(kScript);
  PressStart("C:\\Game");
  EXPECT_EQ(machine.ui().boxes()[0].text, "フォルダ C:\\Game\\SUB を作成できません\r\nアクセスが拒否されました。");
  EXPECT_FALSE(machine.ui().unexpectedBox()) << TranscriptText();
  EXPECT_TRUE(Shown(kFinishedNotice));
  EXPECT_FALSE(machine.files().Exists("C:\\Game\\SUB"));
  // Its files were still counted and recorded, so the uninstaller tries them.
  EXPECT_NE(File("C:\\Game\\UNINST.INI").find("COPY4=C:\\Game\\SUB\\B.EXE"), std::string::npos);
}

TEST_F(PassedOverFailures, AttributeChangeThatFailsIsIgnored) {
  machine.files().InjectFault(FileCall::SetAttributes, "C:\\Game\\A.EXE");
  InstallExpectingSuccess();
  EXPECT_EQ(File("C:\\Game\\A.EXE"), "a");
}

TEST_F(PassedOverFailures, ConfigurationWriteThatFailsAfterCreationIsStillRecorded) {
  machine.files().InjectWriteFailure("C:\\Game\\GAME.CFG");
  InstallExpectingSuccess();
  EXPECT_NE(File("C:\\Game\\UNINST.INI").find("=C:\\Game\\GAME.CFG\r\n"), std::string::npos);
}

TEST_F(PassedOverFailures, ShortcutThatCannotBeSavedLeavesTheOthers) {
  machine.shell().InjectLinkFault(Link("First"));
  InstallExpectingSuccess();
  EXPECT_FALSE(machine.shell().LinkAt(Link("First")).has_value());
  EXPECT_TRUE(machine.shell().LinkAt(Link("Second")).has_value());
}

TEST_F(PassedOverFailures, MissingProgramsFolderSkipsTheShortcutsWithoutTouchingTheDriveRoot) {
  machine.shell().InjectSpecialFolderFault(kCsidlPrograms);
  InstallExpectingSuccess();
  EXPECT_TRUE(machine.shell().savedLinks().empty());
  EXPECT_FALSE(machine.files().Exists("C:\\SOFT"));
  EXPECT_FALSE(machine.files().Exists("D:\\SOFT"));
}

TEST_F(PassedOverFailures, UninstallerCopyThatFailsStillWritesTheRecord) {
  machine.files().InjectFault(FileCall::CopyFile, "C:\\WINDOWS\\unkelvo4.exe");
  InstallExpectingSuccess();
  EXPECT_FALSE(machine.files().Exists("C:\\WINDOWS\\unkelvo4.exe"));
  EXPECT_TRUE(machine.files().Exists("C:\\Game\\UNINST.INI"));
}

TEST_F(PassedOverFailures, RecordThatCannotBeMovedIntoPlaceKeepsTheOldOneAndTakesTheRunBack) {
  machine.files().AddFile("C:\\Game\\UNINST.INI", "[SETUP]\r\nCOPY1=C:\\Game\\old\r\n");
  machine.files().InjectFault(FileCall::ReplaceFile, "C:\\Game\\UNINST.IN~");
  Start(kScript);
  PressStart("C:\\Game");
  EXPECT_EQ(machine.ui().boxes().back().text, "ファイル C:\\Game\\UNINST.INI を作成できません");
  ExpectMachineAsBeforeStart();
}

TEST_F(PassedOverFailures, UninstallEntryThatCannotBeWrittenStopsLikeAnyKeyAndTakesTheRunBack) {
  machine.registry().InjectKeyFault(kHkeyLocalMachine, UninstallEntryKey("Game"));
  Start(kScript);
  PressStart("C:\\Game");
  EXPECT_EQ(machine.ui().boxes().back().text,
            "レジストリに書き込めません\r\nWindowsNT/2000/XPの場合、インストール権限のあるユーザーで実行してください");
  EXPECT_TRUE(Shown(kAbortedNotice));
  ExpectMachineAsBeforeStart();
}

// The folder Start could not create is tried again by the first COPY line, which asks.
TEST_F(PassedOverFailures, FolderRefusedAtTheQuestionIsReportedByTheCopy) {
  machine.files().InjectFault(FileCall::CreateDirectory, "C:\\New");
  Start(kScript);
  machine.ui().QueueAnswer(Answer::Yes);
  machine.ui().QueueAnswer(Answer::Abort);
  PressStart("C:\\New\\Game");
  EXPECT_EQ(machine.ui().boxes().back().text, "フォルダ C:\\New\\Game を作成できません\r\nアクセスが拒否されました。");
  EXPECT_TRUE(Shown(kAbortedNotice));
  ExpectMachineAsBeforeStart();
}

class UninstallFailures : public InstallerTest {
 protected:
  void UninstallExpectingSuccess(const std::string& record) {
    machine.files().AddFile("C:\\Game\\UNINST.INI", record);
    RunUninstaller("C:\\Game\\UNINST.INI");
    EXPECT_TRUE(machine.ui().boxes().empty());
    EXPECT_TRUE(Shown(kUninstalledNotice));
  }
};

TEST_F(UninstallFailures, FilesThatCannotBeDeletedStayWithTheirFoldersAndTheRestGoes) {
  machine.files().AddFile("C:\\Game\\in use", "x");
  machine.files().AddFile("C:\\Game\\Sub\\free", "y");
  machine.files().InjectFault(FileCall::DeleteFile, "C:\\Game\\in use");
  machine.registry().AddKey(kHkeyCurrentUser, "Software\\Vendor\\Game");
  UninstallExpectingSuccess(
      "[SETUP]\r\nTITLE=Game\r\nCOPY1=C:\\Game\\in use\r\nCOPY2=C:\\Game\\Sub\\free\r\nCOPY3=C:\\Game\\gone\r\n"
      "REG1=HKEY_CURRENT_USER\\Software\\Vendor\\Missing\r\nREG2=HKEY_CURRENT_USER\\Software\\Vendor\\Game\r\n");
  EXPECT_TRUE(machine.files().Exists("C:\\Game\\in use"));
  EXPECT_FALSE(machine.files().Exists("C:\\Game\\Sub"));
  EXPECT_FALSE(machine.registry().KeyExists(kHkeyCurrentUser, "Software\\Vendor\\Game"));
  EXPECT_EQ(machine.ui().createdProgress()[0]->position, 3);
}

TEST_F(UninstallFailures, KeysTheUserMayNotDeleteStayAndTheRecordGoesAnyway) {
  machine.registry().AddString(kHkeyLocalMachine, UninstallEntryKey("Game"), "DisplayName", "Game");
  machine.registry().InjectKeyFault(kHkeyLocalMachine, "");
  UninstallExpectingSuccess("[SETUP]\r\nTITLE=Game\r\n");
  EXPECT_TRUE(machine.registry().KeyExists(kHkeyLocalMachine, UninstallEntryKey("Game")));
  EXPECT_FALSE(machine.files().Exists("C:\\Game\\UNINST.INI"));
  EXPECT_EQ(machine.registry().OpenHandleCount(), 0);
}

TEST_F(UninstallFailures, MissingProgramsFolderSkipsTheStartMenuSteps) {
  machine.files().AddFile("C:\\SOFT\\Game\\x.lnk", "a folder at the root that only looks like ours");
  machine.shell().InjectSpecialFolderFault(kCsidlPrograms);
  UninstallExpectingSuccess("[SETUP]\r\nTITLE=Game\r\nGROUP=SOFT\r\n");
  EXPECT_TRUE(machine.files().Exists("C:\\SOFT\\Game\\x.lnk"));
}

}  // namespace
}  // namespace setup::testing
