// An installation followed by its uninstallation leaves the machine as it was, but for what the
// uninstaller keeps on purpose: its own program file.
#include "tests/unit/installer_fixture.h"

namespace setup::testing {
namespace {

constexpr char kScript[] =
    "[SETUP]\r\nTITLE=Game\r\nDIR=C:\\Games\\Sample\r\nSRC=@:\\DATA\r\nGROUP=SOFTHOUSE\r\nUNINSTALL=UNINST.INI\r\n"
    "CFGNAME=$\\GAME.CFG\r\nCFG1=PATH=$\r\n"
    "COPY1=*.*,$\r\nCOPY2=SAVE\\*.*,$\\SAVE\r\nCOPY3=MOVIE\\*.*,$\\DATA\\MOVIE\r\n"
    "REG1=open,HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Game\r\nREG2=string,Path,$\r\n"
    "REG3=open,HKEY_CURRENT_USER\\Software\\Vendor\\Game\\Settings\r\nREG4=long,Volume,$50\r\n"
    "START1=GAME.EXE,Game,Game\r\nSTART2=GAME.EXE,Manual,Game\r\n"
    "REMOVE1=$\\SAVE\\score.dat\r\n";

TEST_F(InstallerTest, UninstallUndoesTheInstallation) {
  machine.files().AddFile("D:\\DATA\\GAME.EXE", "game");
  machine.files().AddFile("D:\\DATA\\SAVE\\DEFAULT.SAV", "save");
  machine.files().AddFile("D:\\DATA\\MOVIE\\OP.AVI", "movie");
  machine.files().AddFile("C:\\Games\\Other\\keep.txt", "another product");
  machine.files().AddFile(std::string("C:\\WINDOWS\\Start Menu\\Programs\\SOFTHOUSE\\Other\\Other.lnk"), "other");
  machine.registry().AddString(kHkeyLocalMachine, "SOFTWARE\\Vendor\\Other", "Path", "C:\\Games\\Other");
  machine.files().AddFile("D:\\setup.ini", kScript);
  const FileSnapshot filesBefore = machine.files().Snapshot();
  const std::vector<std::string> machineKeysBefore = machine.registry().AllKeys(kHkeyLocalMachine);
  const std::vector<std::string> userKeysBefore = machine.registry().AllKeys(kHkeyCurrentUser);

  Start(kScript);
  machine.ui().QueueAnswer(Answer::Yes);
  PressStart("C:\\Games\\Sample");
  ASSERT_TRUE(Shown("notice インストール: インストールが終了しました")) << TranscriptText();
  // The product writes its score later; the uninstaller removes it through the REMOVE entry.
  machine.files().AddFile("C:\\Games\\Sample\\SAVE\\score.dat", "123");
  const std::optional<std::string> command = machine.registry().StringValue(
      kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Game", "UninstallString");
  ASSERT_EQ(command, "C:\\WINDOWS\\unkelvo4.exe \"C:\\Games\\Sample\\UNINST.INI\"");

  SimulatedMachine& sameMachine = machine;
  sameMachine.system().SetModulePath("C:\\WINDOWS\\unkelvo4.exe");
  sameMachine.system().SetCommandLine(*command);
  MessageForm uninstaller(sameMachine.platform());
  uninstaller.FormCreate();
  uninstaller.FormShow();
  EXPECT_TRUE(Shown("notice アンインストール: アンインストールが終了しました"));

  // What stays on purpose: the uninstaller itself; the destination, which came first in the
  // folder list and still held SAVE and DATA at its turn; DATA, which still held MOVIE.
  FileSnapshot filesAfter = machine.files().Snapshot();
  EXPECT_EQ(filesAfter.erase("C:\\WINDOWS\\unkelvo4.exe"), 1u);
  EXPECT_EQ(filesAfter.erase("C:\\Games\\Sample"), 1u);
  EXPECT_EQ(filesAfter.erase("C:\\Games\\Sample\\DATA"), 1u);
  EXPECT_EQ(filesAfter, filesBefore);
  // And the parents that opening a key created: only the recorded keys themselves go.
  std::vector<std::string> machineKeysExpected = machineKeysBefore;
  for (const char* parent :
       {"SOFTWARE\\Microsoft", "SOFTWARE\\Microsoft\\Windows", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"}) {
    machineKeysExpected.push_back(parent);
  }
  std::vector<std::string> machineKeysAfter = machine.registry().AllKeys(kHkeyLocalMachine);
  std::sort(machineKeysAfter.begin(), machineKeysAfter.end());
  std::sort(machineKeysExpected.begin(), machineKeysExpected.end());
  EXPECT_EQ(machineKeysAfter, machineKeysExpected);
  EXPECT_FALSE(machine.registry().KeyExists(kHkeyCurrentUser, "Software\\Vendor\\Game\\Settings"));
  EXPECT_TRUE(userKeysBefore.empty());
  EXPECT_EQ(machine.registry().AllKeys(kHkeyCurrentUser),
            (std::vector<std::string>{"Software", "Software\\Vendor", "Software\\Vendor\\Game"}));
}

}  // namespace
}  // namespace setup::testing
