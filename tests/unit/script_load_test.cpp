// Loading the setup script: environment values, the script's path in both modes, macro
// expansion and what bad input gives.
#include <gtest/gtest.h>

#include "setup/platform/sim/simulated_machine.h"
#include "setup/script/macros.h"
#include "setup/script/setup_script.h"

namespace setup {
namespace {

class ScriptLoad : public ::testing::Test {
 protected:
  LoadResult Load(const std::string& text, RunMode mode = RunMode::Install) {
    machine.files().AddFile("D:\\setup.ini", text);
    return LoadSetupScript(mode, machine.platform(), script);
  }
  std::string Expand(const std::string& value) { return ExpandMacros(script, machine.platform(), value); }

  SimulatedMachine machine;
  SetupScript script;
};

TEST_F(ScriptLoad, ReadsEverySettingAndListInOrder) {
  const LoadResult result = Load(
      "[SETUP]\nTITLE=Game\nDIR=#:\\APP\nSRC=$\\SRC\nGROUP=Soft\nDIRECTX=7\nSHORTCUT=1\nUNINSTALL=UNINST.INI\n"
      "CFGNAME=$\\GAME.CFG\nSIZE=$20\nPC9821=2\nCOPY1=*.*,$\nREG1=open,HKEY_CURRENT_USER\\X\nSTART1=G.EXE,G\n"
      "CFG1=PATH=$\nREMOVE1=$\\save.dat\n");
  EXPECT_TRUE(result.scriptFound);
  EXPECT_FALSE(result.NetworkBlocked);
  EXPECT_EQ(script.Title, "Game");
  EXPECT_EQ(script.DestDir, "C:\\APP");
  EXPECT_EQ(script.SourceDir, "C:\\APP\\SRC");
  EXPECT_EQ(script.GroupName, "Soft");
  EXPECT_EQ(script.RequiredDirectX, 7);
  EXPECT_EQ(script.ShortcutSetting, "1");
  EXPECT_EQ(script.UninstallFile, "UNINST.INI");
  EXPECT_EQ(script.ConfigFileName, "$\\GAME.CFG");
  EXPECT_EQ(script.RequiredSpace, 32);
  EXPECT_TRUE(script.AskPC9821);
  EXPECT_EQ(script.CopyList, TextList{"*.*,$"});
  EXPECT_EQ(script.RegList, TextList{"open,HKEY_CURRENT_USER\\X"});
  EXPECT_EQ(script.StartList, TextList{"G.EXE,G"});
  EXPECT_EQ(script.CfgList, TextList{"PATH=$"});
  EXPECT_EQ(script.RemoveList, TextList{"$\\save.dat"});
  EXPECT_TRUE(script.InstalledFiles.empty());
  EXPECT_EQ(script.WindowsDir, "C:\\WINDOWS");
  EXPECT_EQ(script.WindowsDrive, "C");
  EXPECT_EQ(script.SourceRoot, "D");
}

TEST_F(ScriptLoad, MissingAndEmptySourceFolderAndDollarInDir) {
  Load("[SETUP]\nDIR=$\\X\n");
  EXPECT_EQ(script.DestDir, "\\X");
  EXPECT_EQ(script.SourceDir, "\\");
  SetupScript second;
  machine.files().AddFile("D:\\setup.ini", "[SETUP]\nSRC=\n");
  LoadSetupScript(RunMode::Install, machine.platform(), second);
  EXPECT_EQ(second.SourceDir, "");
}

TEST_F(ScriptLoad, BooleansOnlyFromNumbers) {
  Load("[SETUP]\nPC9821=yes\n");
  EXPECT_FALSE(script.AskPC9821);
}

TEST_F(ScriptLoad, UncStartGivesServerShareAndBlocksUnlessNetworkIsAllowed) {
  machine.files().AddDrive("\\\\server\\share", DriveType::Remote, 1 << 30);
  machine.system().SetModulePath("\\\\server\\share\\dir\\setup.exe");
  machine.files().AddFile("\\\\server\\share\\dir\\setup.ini", "[SETUP]\nTITLE=T\nDIR=@:\\DATA\n");
  LoadResult result = LoadSetupScript(RunMode::Install, machine.platform(), script);
  EXPECT_TRUE(result.scriptFound);
  EXPECT_TRUE(result.NetworkBlocked);
  EXPECT_EQ(script.SourceRoot, "\\\\server\\share");
  EXPECT_EQ(script.DestDir, "\\\\server\\share\\DATA");

  machine.files().AddFile("\\\\server\\share\\dir\\setup.ini", "[SETUP]\nNETWORK=1\n");
  SetupScript allowed;
  EXPECT_FALSE(LoadSetupScript(RunMode::Install, machine.platform(), allowed).NetworkBlocked);
  // A sign before a hexadecimal mark is no number: the network stays refused.
  machine.files().AddFile("\\\\server\\share\\dir\\setup.ini", "[SETUP]\nNETWORK=-$1\n");
  SetupScript signedHex;
  EXPECT_TRUE(LoadSetupScript(RunMode::Install, machine.platform(), signedHex).NetworkBlocked);
}

TEST_F(ScriptLoad, NetworkDriveBlocksAndNetworkIsReadOnlyThen) {
  machine.files().AddDrive("N:\\", DriveType::Remote, 1 << 30);
  machine.system().SetModulePath("N:\\setup.exe");
  machine.files().AddFile("N:\\setup.ini", "[SETUP]\nNETWORK=0\n");
  EXPECT_TRUE(LoadSetupScript(RunMode::Install, machine.platform(), script).NetworkBlocked);
  // A fixed drive never blocks, whatever NETWORK says.
  machine.system().SetModulePath("C:\\setup.exe");
  machine.files().AddFile("C:\\setup.ini", "[SETUP]\nNETWORK=0\n");
  SetupScript local;
  EXPECT_FALSE(LoadSetupScript(RunMode::Install, machine.platform(), local).NetworkBlocked);
}

TEST_F(ScriptLoad, UninstallModeReadsTheRecordNamedByTheFirstArgument) {
  machine.files().AddFolder("C:\\My Game");
  machine.files().AddFile("C:\\My Game\\UNINST.INI", "[SETUP]\r\nTITLE=G\r\nCOPY1=C:\\My Game\\a\r\n");
  machine.StartAsUninstaller("C:\\WINDOWS\\unkelvo4.exe", "C:\\My Game\\UNINST.INI");
  EXPECT_TRUE(LoadSetupScript(RunMode::Uninstall, machine.platform(), script).scriptFound);
  EXPECT_EQ(script.Title, "G");
  EXPECT_EQ(script.CopyList, TextList{"C:\\My Game\\a"});
  EXPECT_EQ(script.SourceRoot, "C");
}

TEST_F(ScriptLoad, MissingScriptLeavesEverythingEmpty) {
  const LoadResult result = LoadSetupScript(RunMode::Install, machine.platform(), script);
  EXPECT_FALSE(result.scriptFound);
  EXPECT_EQ(script.Title, "");
  EXPECT_EQ(script.SourceDir, "");
  EXPECT_EQ(script.WindowsDir, "C:\\WINDOWS");

  machine.system().SetCommandLine("C:\\WINDOWS\\unkelvo4.exe");
  SetupScript uninstall;
  EXPECT_FALSE(LoadSetupScript(RunMode::Uninstall, machine.platform(), uninstall).scriptFound);
}

TEST_F(ScriptLoad, UnreadableScriptLoadsNothing) {
  machine.files().AddFile("D:\\setup.ini", "[SETUP]\nTITLE=T\n");
  machine.files().InjectFault(FileCall::ReadWholeFile, "D:\\setup.ini");
  EXPECT_FALSE(LoadSetupScript(RunMode::Install, machine.platform(), script).scriptFound);
  EXPECT_EQ(script.Title, "");
}

TEST_F(ScriptLoad, BadInputLoadsWithoutHarm) {
  std::string garbage;
  for (int i = 0; i < 200000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  Load(garbage);
  EXPECT_EQ(script.Title, "");

  std::string hugeLine = "[SETUP]\nTITLE=" + std::string(1 << 20, 'x') + "\nCOPY1=a,$\n";
  SetupScript second;
  machine.files().AddFile("D:\\setup.ini", hugeLine);
  LoadSetupScript(RunMode::Install, machine.platform(), second);
  EXPECT_EQ(second.Title.size(), 1u << 20);
  EXPECT_EQ(second.CopyList, TextList{"a,$"});

  std::string millionLines = "[SETUP]\n";
  for (int i = 1; i <= 1000000; ++i) millionLines += "X=" + std::to_string(i) + "\n";
  millionLines += "TITLE=end\n";
  SetupScript third;
  machine.files().AddFile("D:\\setup.ini", millionLines);
  LoadSetupScript(RunMode::Install, machine.platform(), third);
  EXPECT_EQ(third.Title, "end");
}

TEST_F(ScriptLoad, ExpandsEveryMacroOnce) {
  Load("[SETUP]\nDIR=C:\\Game\n");
  EXPECT_EQ(Expand("#|@|$|^|x"), "C|D|C:\\Game|C:\\WINDOWS|x");
  // Inserted text is not examined again.
  script.DestDir = "C:\\$#";
  EXPECT_EQ(Expand("$"), "C:\\$#");
  // "@:" keeps its colon for a drive start.
  EXPECT_EQ(Expand("@:\\DATA"), "D:\\DATA");
}

TEST_F(ScriptLoad, TildeGivesTheShortFormOrTheLongFormWhenThereIsNone) {
  Load("[SETUP]\nDIR=C:\\Long Folder Name\n");
  EXPECT_EQ(Expand("~"), "C:\\Long Folder Name");
  machine.files().AddFolder("C:\\Long Folder Name");
  machine.files().SetShortName("C:\\Long Folder Name", "LONGFO~1");
  EXPECT_EQ(Expand("~\\x"), "C:\\LONGFO~1\\x");
}

TEST_F(ScriptLoad, DoubleByteCharactersAreNeverTakenForMacros) {
  Load("[SETUP]\nDIR=C:\\G\n");
  // "ァ" is 83 40 and "ー" is 81 5B; a trail byte 0x40 is "@" and 0x5E would be "^".
  EXPECT_EQ(Expand("\x83\x40$\x81\x5E"),
            "\x83\x40"
            "C:\\G\x81\x5E");
}

}  // namespace
}  // namespace setup
