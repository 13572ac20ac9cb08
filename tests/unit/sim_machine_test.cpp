// The rest of the simulated machine: the scripted user and its transcript, progress windows,
// shell links written as files, special-folder faults and code page 932 text.
#include <gtest/gtest.h>

#include <string>

#include "setup/platform/sim/simulated_machine.h"

namespace setup {
namespace {

TEST(SimMachineTest, DefaultMachineHoldsTheCdProgramAndTheSystemFolders) {
  SimulatedMachine machine;
  Platform& platform = machine.platform();
  EXPECT_TRUE(platform.files.FileExists(platform.system.ModulePath()));
  EXPECT_TRUE(platform.files.DirectoryExists(platform.system.SystemDirectory()));
  EXPECT_TRUE(platform.files.DirectoryExists(platform.shell.SpecialFolderPath(kCsidlPrograms).value_or("")));
  EXPECT_EQ(platform.files.GetDriveType("D:\\"), DriveType::CdRom);
  EXPECT_EQ(platform.files.GetDriveType("C:\\"), DriveType::Fixed);
  EXPECT_EQ(machine.files().Attributes("D:\\setup.exe"), static_cast<std::uint32_t>(kAttrReadOnly));
  EXPECT_EQ(machine.files().CallCount(FileCall::FileExists), 1);
}

TEST(SimMachineTest, BoxesTakeQueuedAnswersAndFlagTheUnexpected) {
  SimulatedMachine machine;
  SimUserInterface& ui = machine.ui();
  ui.QueueAnswer(Answer::Yes);
  ui.QueueAnswer(Answer::Yes);
  EXPECT_EQ(ui.MessageBox(BoxKind::Confirmation, BoxButtons::YesNo, "q1"), Answer::Yes);
  EXPECT_FALSE(ui.unexpectedBox());
  EXPECT_EQ(ui.MessageBox(BoxKind::Error, BoxButtons::Ok, "e1"), Answer::Ok);  // Yes cannot come from OK
  EXPECT_TRUE(ui.unexpectedBox());
  EXPECT_EQ(ui.MessageBox(BoxKind::Warning, BoxButtons::YesNo, "q2"), Answer::No);

  ui.onMessageBox = [&](BoxKind, BoxButtons, const std::string&) { ui.QueueAnswer(Answer::Closed); };
  EXPECT_EQ(ui.MessageBox(BoxKind::Warning, BoxButtons::YesNo, "q3"), Answer::Closed);
  EXPECT_EQ(machine.transcript(),
            (Transcript{"box confirmation yes-no: q1", "box error ok: e1", "UNEXPECTED answer yes to ok box",
                        "UNEXPECTED box warning yes-no: q2", "box warning yes-no: q3"}));
}

TEST(SimMachineTest, ProgressWindowsKeepTheBarWithinItsRangeAndOutliveTheirObject) {
  SimulatedMachine machine;
  int pumps = 0;
  machine.ui().onPump = [&] { ++pumps; };
  {
    std::unique_ptr<ProgressWindow> window = machine.platform().ui.CreateProgressWindow();
    window->SetDeleteMode();
    window->SetRange(3);
    window->SetStep(1);
    window->Show();
    for (int i = 0; i < 4; ++i) {
      window->StepIt();
      machine.platform().ui.PumpMessages();
    }
    EXPECT_EQ(window->Position(), 1);  // the fourth step wraps past the maximum of 3
    window->SetPosition(99);
    EXPECT_EQ(window->Position(), 3);
  }
  ASSERT_EQ(machine.ui().createdProgress().size(), 1u);
  const ProgressState& state = *machine.ui().createdProgress()[0];
  EXPECT_TRUE(state.destroyed);
  EXPECT_TRUE(state.deleteMode);
  EXPECT_EQ(state.label, "ファイルの削除中");
  EXPECT_EQ(state.position, 3);
  EXPECT_EQ(pumps, 4);
  EXPECT_EQ(machine.transcript(), (Transcript{"progress[1] created", "progress[1] delete mode", "progress[1] range 3",
                                              "progress[1] step 1", "progress[1] shown", "progress[1] destroyed"}));
}

TEST(SimMachineTest, LinksAreFilesThatNeedTheirFolder) {
  SimulatedMachine machine;
  const std::string folder = std::string(kDefaultProgramsFolder) + "\\Soft\\Game";
  const ShellLinkData link{folder + "\\Game.lnk", "C:\\Game", "C:\\Game\\GAME.EXE", "Game"};
  EXPECT_FALSE(machine.platform().shell.SaveShellLink(link));
  ASSERT_TRUE(machine.files().AddFolder(folder));
  machine.shell().InjectLinkFault(link.linkPath);
  EXPECT_FALSE(machine.platform().shell.SaveShellLink(link));

  SimulatedMachine clean;
  ASSERT_TRUE(clean.files().AddFolder(folder));
  ASSERT_TRUE(clean.platform().shell.SaveShellLink(link));
  ASSERT_TRUE(clean.shell().LinkAt(folder + "\\GAME.LNK").has_value());
  EXPECT_EQ(clean.shell().LinkAt(folder + "\\game.lnk")->targetPath, "C:\\Game\\GAME.EXE");
  EXPECT_EQ(clean.files().ReadFile(link.linkPath), SimShell::LinkFileContent(link));
  ASSERT_TRUE(clean.platform().files.DeleteFile(link.linkPath));
  EXPECT_FALSE(clean.shell().LinkAt(link.linkPath).has_value());
}

TEST(SimMachineTest, SpecialFolderFaultsEmptyBothShellAnswers) {
  SimulatedMachine machine;
  machine.shell().SetSpecialFolderParsingName(kCsidlPrograms, "C:\\Parsed");
  EXPECT_EQ(machine.platform().shell.SpecialFolderParsingName(kCsidlPrograms), "C:\\Parsed");
  machine.shell().InjectSpecialFolderFault(kCsidlPrograms);
  EXPECT_FALSE(machine.platform().shell.SpecialFolderPath(kCsidlPrograms));
  EXPECT_FALSE(machine.platform().shell.SpecialFolderParsingName(kCsidlPrograms));
  EXPECT_EQ(machine.platform().shell.BrowseForFolder("title"), std::nullopt);
}

TEST(SimMachineTest, SystemSpeaksCodePage932) {
  SimulatedMachine machine;
  System& system = machine.platform().system;
  EXPECT_TRUE(system.IsLeadByte(0x81));
  EXPECT_TRUE(system.IsLeadByte(0xFC));
  EXPECT_FALSE(system.IsLeadByte(0xA0));  // half-width katakana are single bytes
  EXPECT_FALSE(system.IsLeadByte('\\'));
  EXPECT_EQ(system.AnsiToUtf8("\x83\x5C\x83\x74\x83\x67"), "ソフト");
  EXPECT_EQ(system.AnsiToUtf8("abc\x81"), "abc\x81");  // a cut double-byte character stays as bytes

  machine.system().SetFileVersion("C:\\WINDOWS\\system32\\DDRAW.DLL", "4.07.00.0700");
  EXPECT_EQ(system.FileVersionString("c:\\windows\\SYSTEM32\\ddraw.dll"), "4.07.00.0700");
  ASSERT_TRUE(machine.platform().files.DeleteFile("C:\\WINDOWS\\system32\\DDRAW.DLL"));
  EXPECT_EQ(system.FileVersionString("C:\\WINDOWS\\system32\\DDRAW.DLL"), std::nullopt);
}

}  // namespace
}  // namespace setup
