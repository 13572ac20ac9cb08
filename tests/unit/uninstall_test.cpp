// The uninstall sequence on the simulated machine, and its rules for folders and keys.
#include "setup/uninstall/folder_list.h"
#include "setup/uninstall/registry_deletion.h"
#include "tests/unit/installer_fixture.h"

namespace setup::testing {
namespace {

constexpr char kRecord[] = "C:\\Game\\UNINST.INI";
const std::string kUninstallKey = UninstallEntryKey("Game");

class Uninstaller : public InstallerTest {
 protected:
  void Run(const std::string& record) {
    machine.files().AddFile(kRecord, record);
    RunWithoutRecord();
  }
  void RunWithoutRecord() { RunUninstaller(kRecord); }
  bool Exists(const std::string& path) { return machine.files().Exists(path); }
  std::string Programs(const std::string& rest) { return std::string(kPrograms) + "\\" + rest; }
};

TEST_F(Uninstaller, RemovesEverythingTheRecordListsAndEndsWithTheNotice) {
  machine.files().AddFile(Programs("SOFT\\Game\\Game.lnk"), "link");
  machine.files().AddFile("C:\\Game\\GAME.EXE", "g");
  machine.files().AddFile("C:\\Game\\DATA\\A.DAT", "a");
  machine.files().AddFile("C:\\Game\\DATA\\B.DAT", "b");
  machine.registry().AddString(kHkeyLocalMachine, kUninstallKey, "DisplayName", "Game");
  machine.registry().AddString(kHkeyLocalMachine, "SOFTWARE\\Vendor\\Game\\Sub\\Deeper", "v", "x");
  machine.registry().AddKey(kHkeyLocalMachine, "SOFTWARE\\Vendor\\Other");
  machine.registry().AddKey(kHkeyCurrentUser, "Software\\Vendor\\Game");
  Run("[SETUP]\r\nTITLE=Game\r\nGROUP=SOFT\r\nCOPY1=C:\\Game\\GAME.EXE\r\nCOPY2=C:\\Game\\DATA\\A.DAT\r\n"
      "COPY3=C:\\game\\data\\B.DAT\r\nREG1=HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Game\r\n"
      "REG2=HKEY_CURRENT_USER\\Software\\Vendor\\Game\r\nSHORTCUT=1\r\n\r\n");

  EXPECT_FALSE(Exists(Programs("SOFT")));
  EXPECT_TRUE(Exists(kPrograms));
  EXPECT_FALSE(Exists("C:\\Game\\GAME.EXE"));
  EXPECT_FALSE(Exists("C:\\Game\\DATA"));
  EXPECT_FALSE(Exists(kRecord));
  // C:\Game came first in the folder list and still held DATA at its turn.
  EXPECT_TRUE(Exists("C:\\Game"));
  EXPECT_FALSE(machine.registry().KeyExists(kHkeyLocalMachine, kUninstallKey));
  EXPECT_FALSE(machine.registry().KeyExists(kHkeyLocalMachine, "SOFTWARE\\Vendor\\Game"));
  EXPECT_TRUE(machine.registry().KeyExists(kHkeyLocalMachine, "SOFTWARE\\Vendor\\Other"));
  EXPECT_FALSE(machine.registry().KeyExists(kHkeyCurrentUser, "Software\\Vendor\\Game"));
  EXPECT_EQ(machine.registry().OpenHandleCount(), 0);

  ASSERT_EQ(machine.ui().createdProgress().size(), 1u);
  const ProgressState& progress = *machine.ui().createdProgress()[0];
  EXPECT_TRUE(progress.deleteMode);
  EXPECT_EQ(progress.maximum, 3);
  EXPECT_EQ(progress.position, 3);
  EXPECT_TRUE(progress.destroyed);
  EXPECT_FALSE(machine.ui().backgroundShown());
  EXPECT_TRUE(machine.ui().mainHidden());
  EXPECT_EQ(machine.ui().beeps(), 1);
  EXPECT_TRUE(Shown(kUninstalledNotice));
  EXPECT_TRUE(machine.ui().programEnded());
}

TEST_F(Uninstaller, FolderIsTriedOnceInOrderOfFirstAppearance) {
  // D listed first: it still holds E at its turn and stays; E empties and goes.
  machine.files().AddFile("C:\\Game\\D\\a", "a");
  machine.files().AddFile("C:\\Game\\D\\E\\b", "b");
  machine.files().AddFile("C:\\Game\\KEEP\\mine.txt", "user's own");
  machine.files().AddFile("C:\\Game\\KEEP\\c", "c");
  machine.files().AddFile("C:\\Game\\RO\\locked", "r", kAttrReadOnly);
  Run("[SETUP]\r\nTITLE=Game\r\nCOPY1=C:\\Game\\D\\a\r\nCOPY2=C:\\Game\\D\\E\\b\r\nCOPY3=C:\\Game\\KEEP\\c\r\n"
      "COPY4=C:\\Game\\RO\\locked\r\n");
  EXPECT_TRUE(Exists("C:\\Game\\D"));
  EXPECT_FALSE(Exists("C:\\Game\\D\\E"));
  EXPECT_EQ(File("C:\\Game\\KEEP\\mine.txt"), "user's own");
  EXPECT_TRUE(Exists("C:\\Game\\RO\\locked"));
  // The destination folder holds no listed file directly, so it is never tried.
  EXPECT_TRUE(Exists("C:\\Game"));
}

TEST_F(Uninstaller, StartMenuFolderWithASubfolderStaysWithItsGroup) {
  machine.files().AddFile(Programs("SOFT\\Game\\Game.lnk"), "l");
  machine.files().AddFolder(Programs("SOFT\\Game\\Extra"));
  machine.files().AddFile(Programs("SOFT2\\Game\\Game.lnk"), "l");
  machine.files().AddFile(Programs("SOFT2\\Other\\Other.lnk"), "l");
  Run("[SETUP]\r\nTITLE=Game\r\nGROUP=SOFT\r\n");
  EXPECT_FALSE(Exists(Programs("SOFT\\Game\\Game.lnk")));
  EXPECT_TRUE(Exists(Programs("SOFT\\Game\\Extra")));
  EXPECT_TRUE(Exists(Programs("SOFT2\\Game\\Game.lnk")));

  SimulatedMachine second;
  second.files().AddFile(std::string(kPrograms) + "\\SOFT2\\Game\\Game.lnk", "l");
  second.files().AddFile(std::string(kPrograms) + "\\SOFT2\\Other\\Other.lnk", "l");
  second.files().AddFile(kRecord, "[SETUP]\r\nTITLE=Game\r\nGROUP=SOFT2\r\n");
  second.StartAsUninstaller("C:\\WINDOWS\\unkelvo4.exe", kRecord);
  MessageForm other(second.platform());
  other.FormCreate();
  EXPECT_FALSE(second.files().Exists(std::string(kPrograms) + "\\SOFT2\\Game"));
  EXPECT_TRUE(second.files().Exists(std::string(kPrograms) + "\\SOFT2\\Other\\Other.lnk"));
}

TEST_F(Uninstaller, MissingRecordTouchesNothingButStillEndsWithTheNotice) {
  machine.files().AddFile(Programs("loose.lnk"), "another program's");
  machine.files().AddFile(Programs("SOFT\\tool.lnk"), "another program's");
  const FileSnapshot before = machine.files().Snapshot();
  RunWithoutRecord();
  EXPECT_EQ(machine.files().Snapshot(), before);
  EXPECT_TRUE(Shown(kUninstalledNotice));
  ASSERT_EQ(machine.ui().createdProgress().size(), 1u);
  EXPECT_EQ(machine.ui().createdProgress()[0]->maximum, 0);
}

TEST_F(Uninstaller, EmptyTitleLeavesTheGroupAndProgramsFoldersAlone) {
  machine.files().AddFile(Programs("loose.lnk"), "another program's");
  machine.files().AddFile(Programs("SOFT\\tool.lnk"), "another program's");
  machine.files().AddFile("C:\\Game\\a", "a");
  Run("[SETUP]\r\nGROUP=SOFT\r\nCOPY1=C:\\Game\\a\r\n");
  EXPECT_TRUE(Exists(Programs("loose.lnk")));
  EXPECT_TRUE(Exists(Programs("SOFT\\tool.lnk")));
  EXPECT_FALSE(Exists("C:\\Game\\a"));
}

TEST_F(Uninstaller, RecordCannotAimAtSharedKeysOrRelativeFiles) {
  SimRegistry& registry = machine.registry();
  for (const char* key : {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "SOFTWARE\\Classes\\.txt",
                          "SOFTWARE\\Policies\\X", "Environment\\X", "SOFTWARE\\Vendor\\Game"}) {
    registry.AddKey(kHkeyLocalMachine, key);
  }
  machine.files().AddFile("C:\\WINDOWS\\win.ini", "system file");
  Run("[SETUP]\r\nTITLE=Game\r\nCOPY1=win.ini\r\nCOPY2=..\\WINDOWS\\win.ini\r\n"
      "REG1=HKEY_LOCAL_MACHINE\\SOFTWARE\r\nREG2=HKEY_LOCAL_"
      "MACHINE\\software\\microsoft\\windows\\currentversion\\run\r\n"
      "REG3=HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\r\nREG4=HKEY_LOCAL_MACHINE\r\nREG5=HKEY_LOCAL_"
      "MACHINE\\\\SOFTWARE\\\\Policies\r\n"
      "REG6=HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Game\r\n");
  EXPECT_TRUE(registry.KeyExists(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"));
  EXPECT_TRUE(registry.KeyExists(kHkeyLocalMachine, "SOFTWARE\\Classes\\.txt"));
  EXPECT_TRUE(registry.KeyExists(kHkeyLocalMachine, "SOFTWARE\\Policies\\X"));
  EXPECT_FALSE(registry.KeyExists(kHkeyLocalMachine, "SOFTWARE\\Vendor\\Game"));
  EXPECT_TRUE(Exists("C:\\WINDOWS\\win.ini"));
}

TEST(ProtectedKeys, SharedKeysAndRootChildrenButNotProductKeys) {
  SimulatedMachine machine;
  System& system = machine.system();
  for (const char* path : {"", "SOFTWARE", "\\SOFTWARE\\", "Control Panel", "Environment", "SOFTWARE\\Microsoft",
                           "SOFTWARE\\Microsoft\\Windows", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                           "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths",
                           "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                           "SOFTWARE\\WOW6432Node\\Microsoft", "SYSTEM\\CurrentControlSet", "Control Panel\\Desktop"}) {
    EXPECT_TRUE(IsProtectedKeyPath(path, system)) << path;
  }
  for (const char* path : {"SOFTWARE\\Vendor", "SOFTWARE\\Vendor\\Game",
                           "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\GAME.EXE",
                           "SOFTWARE\\Microsoft\\DirectPlay\\Applications\\Game", ".DEFAULT\\X"}) {
    EXPECT_FALSE(IsProtectedKeyPath(path, system)) << path;
  }
}

TEST(FolderRules, FolderOfEntryHandlesRootsDoubleBytesAndCase) {
  SimulatedMachine machine;
  System& system = machine.system();
  EXPECT_EQ(FolderOfEntry("C:\\a.txt", system), "C:\\");
  EXPECT_EQ(FolderOfEntry("C:\\G\\a.txt", system), "C:\\G");
  EXPECT_EQ(FolderOfEntry("C:a.txt", system), "C:");
  EXPECT_EQ(FolderOfEntry("a.txt", system), "");
  EXPECT_EQ(FolderOfEntry("\\\\srv\\share\\a", system), "\\\\srv\\share");
  EXPECT_EQ(FolderOfEntry("C:\\G\\\\a", system), "C:\\G\\\\");
  // "ソ" (83 5C) at the end of a folder name: its trail byte is not the separator.
  EXPECT_EQ(FolderOfEntry("C:\\\x83\x5C\\a", system), "C:\\\x83\x5C");
  EXPECT_EQ(FolderOfEntry("C:\\\x83\x5C", system), "C:\\");
  // Windows takes "/" as a separator too.
  EXPECT_EQ(FolderOfEntry("C:/Games/Star\\a", system), "C:/Games/Star");
  EXPECT_EQ(FolderOfEntry("C:/a", system), "C:/");
  EXPECT_EQ(FolderOfEntry("\\a", system), "");

  FolderList folders(system, {});
  folders.Add("C:\\Game");
  folders.Add("c:\\GAME");
  folders.Add("C:\\Game\\Sub");
  // "ａ" and "Ａ" trail bytes differ only in a letter's case: different folders.
  folders.Add("C:\\\x82\x81");
  folders.Add("C:\\\x82\x61");
  EXPECT_EQ(folders.folders(), (std::vector<std::string>{"C:\\Game", "C:\\Game\\Sub", "C:\\\x82\x81", "C:\\\x82\x61"}));
}

}  // namespace
}  // namespace setup::testing

namespace setup::testing {
namespace {

TEST_F(Uninstaller, TitlesThatClimbOutOfTheProgramsFolderRemoveNoShortcuts) {
  machine.files().AddFile("C:\\WINDOWS\\Start Menu\\Keep.lnk", "another program's");
  machine.files().AddFile(Programs("Keep.lnk"), "another program's");
  machine.files().AddFile(Programs("SOFT\\Keep.lnk"), "another program's");
  Run("[SETUP]\r\nTITLE=..\r\nGROUP=..\r\n");
  machine.files().AddFile(kRecord, "[SETUP]\r\nTITLE=..\r\nGROUP=SOFT\r\n");
  MessageForm again(machine.platform());
  again.FormCreate();
  machine.files().AddFile(kRecord, "[SETUP]\r\nTITLE=C:\\WINDOWS\r\n");
  MessageForm third(machine.platform());
  third.FormCreate();
  EXPECT_TRUE(Exists("C:\\WINDOWS\\Start Menu\\Keep.lnk"));
  EXPECT_TRUE(Exists(Programs("Keep.lnk")));
  EXPECT_TRUE(Exists(Programs("SOFT\\Keep.lnk")));
}

}  // namespace
}  // namespace setup::testing

namespace setup::testing {
namespace {

// The uninstall entry's key goes through the same guard as the record's keys: a title that is a
// lone "\" (or blanks, or "..") never names the shared Uninstall key or more.
TEST_F(Uninstaller, OddTitlesNeverWidenTheUninstallEntrysDeletion) {
  const std::string uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  machine.registry().AddString(kHkeyLocalMachine, uninstall + "\\Other", "DisplayName", "Other");
  for (const char* title : {"\\", "\\\\", " ", ".."}) {
    Run(std::string("[SETUP]\r\nTITLE=") + title + "\r\n");
    EXPECT_TRUE(machine.registry().KeyExists(kHkeyLocalMachine, uninstall + "\\Other")) << title;
  }
}

}  // namespace
}  // namespace setup::testing
