// An installation followed by its uninstallation leaves the machine as it was, but for what the
// uninstaller keeps on purpose: its own program file.
#include "tests/sjis_names.h"
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
  ASSERT_TRUE(Shown(kFinishedNotice)) << TranscriptText();
  // The product writes its score later; the uninstaller removes it through the REMOVE entry.
  machine.files().AddFile("C:\\Games\\Sample\\SAVE\\score.dat", "123");
  const std::optional<std::string> command =
      machine.registry().StringValue(kHkeyLocalMachine, UninstallEntryKey("Game"), "UninstallString");
  ASSERT_EQ(command, "C:\\WINDOWS\\unkelvo4.exe \"C:\\Games\\Sample\\UNINST.INI\"");

  ASSERT_TRUE(UninstallThroughEntry("Game"));
  EXPECT_TRUE(Shown(kUninstalledNotice));

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

namespace setup::testing {
namespace {

// ソフト表 and 能, 予, 構 end in the byte 0x5C; ゲーム does not.
#define SOFTO SJIS_SOFUTO SJIS_HYOU
#define NOU SJIS_NOU
#define YO SJIS_YO
#define KOU SJIS_KOU
#define GEEMU SJIS_GEEMU

// The paths that one snapshot has and the other has not, or holds in another state.
std::string Difference(const FileSnapshot& after, const FileSnapshot& before) {
  std::string text;
  for (const auto& [path, state] : after) {
    const auto found = before.find(path);
    if (found == before.end() || !(found->second == state)) text += "after: " + path + "\n";
  }
  for (const auto& [path, state] : before) {
    if (after.count(path) == 0) text += "before: " + path + "\n";
  }
  return text;
}

TEST_F(InstallerTest, JapaneseFolderAndKeyNamesEndingInTheBackslashCodeInstallAndUninstall) {
  const std::string script = "[SETUP]\r\nTITLE=" GEEMU KOU "\r\nDIR=C:\\" GEEMU "\\" SOFTO
                             "\r\nSRC=@:\\DATA\r\n"
                             "GROUP=" YO
                             "\r\nUNINSTALL=UNINST.INI\r\n"
                             "COPY1=*.*,$\r\nCOPY2=" NOU "\\*.*,$\\" SOFTO "\\" NOU
                             "\r\n"
                             "REG1=open,HKEY_CURRENT_USER\\Software\\" SOFTO "\\" NOU
                             "\r\nREG2=string,Path,$\r\n"
                             "START1=GAME.EXE," NOU "," GEEMU KOU "\r\n";
  machine.files().AddFile("D:\\DATA\\GAME.EXE", "game");
  machine.files().AddFile("D:\\DATA\\" NOU "\\" YO ".DAT", "data");
  machine.files().AddFile("D:\\setup.ini", script);
  const FileSnapshot filesBefore = machine.files().Snapshot();

  const std::string destination = "C:\\" GEEMU "\\" SOFTO;
  Start(script);
  machine.ui().QueueAnswer(Answer::Yes);
  PressStart(destination);
  ASSERT_TRUE(Shown(kFinishedNotice)) << TranscriptText();
  EXPECT_EQ(File(destination + "\\GAME.EXE"), "game");
  EXPECT_EQ(File(destination + "\\" SOFTO "\\" NOU "\\" YO ".DAT"), "data");
  EXPECT_TRUE(machine.files().Exists("C:\\WINDOWS\\Start Menu\\Programs\\" YO "\\" GEEMU KOU "\\" NOU ".lnk"));
  EXPECT_EQ(machine.registry().StringValue(kHkeyCurrentUser, "Software\\" SOFTO "\\" NOU, "Path"), destination);
  // The product adds keys of its own below the recorded one; they go with it.
  machine.registry().AddString(kHkeyCurrentUser, "Software\\" SOFTO "\\" NOU "\\" YO KOU YO "\\" NOU, "x", "y");

  ASSERT_TRUE(UninstallThroughEntry(GEEMU KOU));

  FileSnapshot filesAfter = machine.files().Snapshot();
  EXPECT_EQ(filesAfter.erase("C:\\WINDOWS\\unkelvo4.exe"), 1u);
  // The destination still held its subfolder at its turn; that subfolder held no listed file, and
  // the destination's parent is never in the folder list either.
  EXPECT_EQ(filesAfter.erase("C:\\" GEEMU), 1u);
  EXPECT_EQ(filesAfter.erase(destination), 1u);
  EXPECT_EQ(filesAfter.erase(destination + "\\" SOFTO), 1u);
  EXPECT_EQ(Difference(filesAfter, filesBefore), "");
  EXPECT_FALSE(machine.registry().KeyExists(kHkeyCurrentUser, "Software\\" SOFTO "\\" NOU));
  EXPECT_TRUE(machine.registry().KeyExists(kHkeyCurrentUser, "Software\\" SOFTO));
}

TEST_F(InstallerTest, FoldersTypedWithSlashesAreCreatedWithTheirParentsAndRemoved) {
  const std::string script =
      "[SETUP]\r\nTITLE=Star\r\nDIR=C:\\Star\r\nSRC=@:\\DATA\r\nUNINSTALL=UNINST.INI\r\n"
      "COPY1=*.*,$\r\nCOPY2=SUB/*.*,$\\x/y\r\n";
  machine.files().AddFile("D:\\DATA\\A.DAT", "a");
  machine.files().AddFile("D:\\DATA\\SUB\\B.DAT", "b");
  machine.files().AddFile("C:\\Games\\keep.txt", "another product");
  machine.files().AddFile("D:\\setup.ini", script);
  const FileSnapshot filesBefore = machine.files().Snapshot();

  Start(script);
  machine.ui().QueueAnswer(Answer::Yes);
  PressStart("C:/Games/New/Star");
  ASSERT_TRUE(Shown(kFinishedNotice)) << TranscriptText();
  EXPECT_EQ(File("C:\\Games\\New\\Star\\A.DAT"), "a");
  EXPECT_EQ(File("C:\\Games\\New\\Star\\x\\y\\B.DAT"), "b");

  const std::optional<std::string> command =
      machine.registry().StringValue(kHkeyLocalMachine, UninstallEntryKey("Star"), "UninstallString");
  ASSERT_EQ(command, "C:\\WINDOWS\\unkelvo4.exe \"C:/Games/New/Star\\UNINST.INI\"");
  ASSERT_TRUE(UninstallThroughEntry("Star"));

  // Every recorded file goes and y with them; Star still held x at its turn, so it stays with x
  // (never in the folder list) and New (created by the installation).
  FileSnapshot filesAfter = machine.files().Snapshot();
  EXPECT_EQ(filesAfter.erase("C:\\WINDOWS\\unkelvo4.exe"), 1u);
  EXPECT_EQ(filesAfter.erase("C:\\Games\\New"), 1u);
  EXPECT_EQ(filesAfter.erase("C:\\Games\\New\\Star"), 1u);
  EXPECT_EQ(filesAfter.erase("C:\\Games\\New\\Star\\x"), 1u);
  EXPECT_EQ(Difference(filesAfter, filesBefore), "");
}

// A root name that the installation reads as HKEY_CURRENT_USER (a blank before it, an
// abbreviation, another root) is recorded as HKEY_CURRENT_USER, so the uninstaller deletes the key
// that was made, never the same path under HKEY_LOCAL_MACHINE, which belongs to someone else.
TEST_F(InstallerTest, TheRecordNamesTheRootThatWasOpened) {
  const std::string script =
      "[SETUP]\r\nTITLE=Game\r\nDIR=C:\\Game\r\nUNINSTALL=UNINST.INI\r\n"
      "REG1=open, HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\r\nREG2=string,A,1\r\n"
      "REG3=open,HKLM\\SOFTWARE\\Other\r\nREG4=open,hkey_local_machine\\SOFTWARE\\Mine\r\n";
  for (const char* foreign : {"SOFTWARE\\Vendor\\Data", "SOFTWARE\\Other"}) {
    machine.registry().AddString(kHkeyLocalMachine, foreign, "Owner", "another program");
  }
  Start(script);
  machine.ui().QueueAnswer(Answer::Yes);
  PressStart("C:\\Game");
  ASSERT_TRUE(Shown(kFinishedNotice)) << TranscriptText();
  EXPECT_TRUE(machine.registry().KeyExists(kHkeyCurrentUser, "SOFTWARE\\Vendor"));
  EXPECT_NE(File("C:\\Game\\UNINST.INI")
                .find("REG1=HKEY_CURRENT_USER\\SOFTWARE\\Vendor\r\n"
                      "REG2=HKEY_CURRENT_USER\\SOFTWARE\\Other\r\n"
                      "REG3=HKEY_LOCAL_MACHINE\\SOFTWARE\\Mine\r\n"),
            std::string::npos)
      << File("C:\\Game\\UNINST.INI");

  ASSERT_TRUE(UninstallThroughEntry("Game"));
  EXPECT_TRUE(machine.registry().KeyExists(kHkeyLocalMachine, "SOFTWARE\\Vendor\\Data"));
  EXPECT_TRUE(machine.registry().KeyExists(kHkeyLocalMachine, "SOFTWARE\\Other"));
  EXPECT_FALSE(machine.registry().KeyExists(kHkeyCurrentUser, "SOFTWARE\\Vendor"));
  EXPECT_FALSE(machine.registry().KeyExists(kHkeyCurrentUser, "SOFTWARE\\Other"));
  EXPECT_FALSE(machine.registry().KeyExists(kHkeyLocalMachine, "SOFTWARE\\Mine"));
}

}  // namespace
}  // namespace setup::testing
