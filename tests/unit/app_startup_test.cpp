// Start-up: the mode by file name, the main dialog's texts and the PC-9821 question.
#include "tests/unit/installer_fixture.h"

namespace setup::testing {
namespace {

TEST_F(InstallerTest, InstallModeOnlyUnderTheNameSetupExe) {
  for (const char* path : {"D:\\SETUP.EXE", "D:\\Setup.exe", "D:setup.exe"}) {
    EXPECT_FALSE(IsUninstallerName(machine.platform(), path)) << path;
  }
  for (const char* path : {"C:\\WINDOWS\\unkelvo4.exe", "D:\\setup2.exe", "D:\\setup.exe\\x.exe", "D:\\setup"}) {
    EXPECT_TRUE(IsUninstallerName(machine.platform(), path)) << path;
  }
}

TEST_F(InstallerTest, MainDialogAndBackgroundShowTheTitleAndFolder) {
  Start("[SETUP]\r\nTITLE=\x83\x51\x81\x5B\x83\x80\r\nDIR=#:\\Games\\X\r\n");  // "ゲーム"
  EXPECT_EQ(machine.ui().mainCaption(), "ゲーム セットアップ");
  EXPECT_EQ(machine.ui().mainMessage(), "インストール先フォルダを指定してください。");
  EXPECT_EQ(machine.ui().FolderText(), "C:\\Games\\X");
  EXPECT_TRUE(Shown("background: ゲーム セットアップ | ゲーム")) << TranscriptText();
  EXPECT_FALSE(machine.ui().programEnded());
}

TEST_F(InstallerTest, NoScriptShowsEmptyTitleAndFolder) {
  form = std::make_unique<MessageForm>(machine.platform());
  form->FormCreate();
  form->FormShow();
  EXPECT_EQ(machine.ui().mainCaption(), " セットアップ");
  EXPECT_EQ(machine.ui().FolderText(), "");
  EXPECT_TRUE(Shown("background:  セットアップ | "));
}

class PC9821Question : public InstallerTest {
 protected:
  void StartOn(int keyboardSubtype, const std::string& windowsFolder, const char* setting = "1") {
    machine.system().SetKeyboardSubtype(keyboardSubtype);
    machine.system().SetWindowsDirectory(windowsFolder);
    Start(std::string("[SETUP]\r\nPC9821=") + setting + "\r\n");
  }
  int Questions() const {
    int count = 0;
    for (const ShownBox& box : machine.ui().boxes()) count += box.text == "インストールする機種は PC-9821 ですか？";
    return count;
  }
};

TEST_F(PC9821Question, AskedOnPC98KeyboardsAndOnlyYesKeepsIt) {
  machine.ui().QueueAnswer(Answer::Yes);
  StartOn(0x0D04, "C:\\WINDOWS");
  EXPECT_EQ(Questions(), 1);
  EXPECT_EQ(machine.ui().boxes()[0].kind, BoxKind::Confirmation);
  EXPECT_TRUE(form->flags().IsPC9821);
}

TEST_F(PC9821Question, NoOrClosedBoxLeavesItFalse) {
  machine.ui().QueueAnswer(Answer::Closed);
  StartOn(0x0D01, "C:\\WINDOWS");
  EXPECT_EQ(Questions(), 1);
  EXPECT_FALSE(form->flags().IsPC9821);
}

TEST_F(PC9821Question, WindowsOnDriveAButNotOnLowerCaseA) {
  machine.ui().QueueAnswer(Answer::Yes);
  StartOn(0, "A:\\WINDOWS");
  EXPECT_EQ(Questions(), 1);
  SimulatedMachine other;
  other.system().SetWindowsDirectory("a:\\WINDOWS");
  other.files().AddFile("D:\\setup.ini", "[SETUP]\r\nPC9821=1\r\n");
  MessageForm otherForm(other.platform());
  otherForm.FormCreate();
  EXPECT_TRUE(other.ui().boxes().empty());
}

TEST_F(PC9821Question, NotAskedWithoutTheSettingOrOnOtherKeyboards) {
  StartOn(0x0D05, "C:\\WINDOWS");
  EXPECT_EQ(Questions(), 0);
  SimulatedMachine other;
  other.system().SetKeyboardSubtype(0x0D02);
  other.files().AddFile("D:\\setup.ini", "[SETUP]\r\nPC9821=yes\r\n");
  MessageForm otherForm(other.platform());
  otherForm.FormCreate();
  EXPECT_TRUE(other.ui().boxes().empty());
}

}  // namespace
}  // namespace setup::testing
