// A whole installation of a sample CD on the simulated machine, and the ways it can stop.
#include "tests/unit/installer_fixture.h"

namespace setup::testing {
namespace {

constexpr char kSampleScript[] =
    "[SETUP]\r\nTITLE=Game\r\nDIR=C:\\Game\r\nSRC=@:\\DATA\r\nGROUP=SOFTHOUSE\r\nUNINSTALL=UNINST.INI\r\n"
    "CFGNAME=$\\GAME.CFG\r\nSHORTCUT=1\r\n"
    "COPY1=*.*,$\r\nCOPY2=SAVE\\*.DAT,$\\SAVE\r\nCOPY3=BGM01.WAV,$\\SOUND,PC98\\BGM01.WAV\r\n"
    "REG1=open,HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Game\r\nREG2=string,Path,$\r\nREG3=long,Count,12\r\n"
    "REG4=OPEN,hkey_users\\.DEFAULT\\X\r\nREG5=string,,abc\r\nREG6=dword,Ignored,1\r\n"
    "CFG1=PATH=$\r\nCFG2=CD=@:\r\n"
    "START1=GAME.EXE,Game,Game\r\nSTART2=BIN\\TOOL.EXE,Tool,Game\r\nSTART3=GAME.EXE,Play\r\n"
    "REMOVE1=$\\SAVE\\score.dat\r\n";

class Installation : public InstallerTest {
 protected:
  void SetUp() override {
    SimFileSystem& files = machine.files();
    files.AddFile("D:\\DATA\\GAME.EXE", std::string(100, 'g'), kAttrReadOnly | kAttrArchive);
    files.AddFile("D:\\DATA\\README.TXT", "read me", kAttrReadOnly);
    files.AddFile("D:\\DATA\\HIDDEN.TXT", "h", kAttrHidden);
    files.AddFile("D:\\DATA\\SYSTEM.TXT", "s", kAttrSystem);
    files.AddFile("D:\\DATA\\SUB\\DEEP.TXT", "deep");
    files.AddFile("D:\\DATA\\SAVE\\A.DAT", "a");
    files.AddFile("D:\\DATA\\BGM01.WAV", "pcm");
    files.AddFile("D:\\DATA\\PC98\\BGM01.WAV", "pc98");
  }
  // Installs the sample and asks to close the main dialog once the first file is copied, giving
  // that answer to the abort question.
  void CloseDuringTheCopyAnswering(Answer answer) {
    Start(kSampleScript);
    machine.ui().QueueAnswer(Answer::Yes);  // create C:\Game
    bool asked = false;
    machine.ui().onPump = [&, answer] {
      if (asked || !machine.files().Exists("C:\\Game\\BGM01.WAV")) return;
      asked = true;
      machine.ui().QueueAnswer(answer);
      form->Close();
    };
    PressStart("C:\\Game");
  }
  void InstallSample(const std::string& script = kSampleScript) {
    Start(script);
    machine.ui().QueueAnswer(Answer::Yes);  // create C:\Game
    PressStart("C:\\Game");
  }
};

TEST_F(Installation, CopiesRecordsAndEndsWithTheNotice) {
  InstallSample();
  ASSERT_FALSE(machine.ui().unexpectedBox()) << TranscriptText();
  EXPECT_EQ(File("C:\\Game\\GAME.EXE"), std::string(100, 'g'));
  EXPECT_EQ(machine.files().Attributes("C:\\Game\\GAME.EXE"), kAttrArchive);
  EXPECT_EQ(machine.files().Attributes("C:\\Game\\README.TXT"), kAttrArchive);
  EXPECT_FALSE(machine.files().Exists("C:\\Game\\HIDDEN.TXT"));
  EXPECT_FALSE(machine.files().Exists("C:\\Game\\SYSTEM.TXT"));
  EXPECT_FALSE(machine.files().Exists("C:\\Game\\SUB"));
  EXPECT_EQ(File("C:\\Game\\SAVE\\A.DAT"), "a");
  EXPECT_EQ(File("C:\\Game\\SOUND\\BGM01.WAV"), "pcm");

  EXPECT_EQ(File("C:\\Game\\GAME.CFG"), "PATH=C:\\Game\r\nCD=D:\r\n");
  EXPECT_EQ(File("C:\\Game\\UNINST.INI"),
            "[SETUP]\r\nTITLE=Game\r\nGROUP=SOFTHOUSE\r\n"
            "COPY1=C:\\Game\\BGM01.WAV\r\nCOPY2=C:\\Game\\GAME.EXE\r\nCOPY3=C:\\Game\\README.TXT\r\n"
            "COPY4=C:\\Game\\SAVE\\A.DAT\r\nCOPY5=C:\\Game\\SOUND\\BGM01.WAV\r\nCOPY6=C:\\Game\\GAME.CFG\r\n"
            "COPY7=C:\\Game\\SAVE\\score.dat\r\n"
            "REG1=HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Game\r\nREG2=HKEY_CURRENT_USER\\.DEFAULT\\X\r\n"
            "SHORTCUT=1\r\n\r\n");
  EXPECT_TRUE(machine.files().Exists("C:\\WINDOWS\\unkelvo4.exe"));
  EXPECT_EQ(machine.files().Attributes("C:\\WINDOWS\\unkelvo4.exe"), kAttrArchive);
  EXPECT_FALSE(machine.files().Exists("C:\\Game\\UNINST.IN~"));

  SimRegistry& registry = machine.registry();
  EXPECT_EQ(registry.StringValue(kHkeyLocalMachine, "SOFTWARE\\Vendor\\Game", "Path"), "C:\\Game");
  EXPECT_EQ(registry.DwordValue(kHkeyLocalMachine, "SOFTWARE\\Vendor\\Game", "Count"), 12u);
  EXPECT_EQ(registry.StringValue(kHkeyCurrentUser, ".DEFAULT\\X", ""), "abc");
  EXPECT_FALSE(registry.DwordValue(kHkeyCurrentUser, ".DEFAULT\\X", "Ignored").has_value());
  const std::string uninstallKey = UninstallEntryKey("Game");
  EXPECT_EQ(registry.StringValue(kHkeyLocalMachine, uninstallKey, "DisplayName"), "Game");
  EXPECT_EQ(registry.StringValue(kHkeyLocalMachine, uninstallKey, "UninstallString"),
            "C:\\WINDOWS\\unkelvo4.exe \"C:\\Game\\UNINST.INI\"");
  EXPECT_EQ(registry.DwordValue(kHkeyLocalMachine, uninstallKey, "EstimatedSize"), 1u);  // 114 bytes, rounded up
  EXPECT_EQ(registry.OpenHandleCount(), 0);

  const std::optional<ShellLinkData> game =
      machine.shell().LinkAt(std::string(kPrograms) + "\\SOFTHOUSE\\Game\\Game.lnk");
  ASSERT_TRUE(game.has_value());
  EXPECT_EQ(game->targetPath, "C:\\Game\\GAME.EXE");
  EXPECT_EQ(game->workingFolder, "C:\\Game");
  EXPECT_EQ(game->description, "Game");
  const std::optional<ShellLinkData> tool =
      machine.shell().LinkAt(std::string(kPrograms) + "\\SOFTHOUSE\\Game\\Tool.lnk");
  ASSERT_TRUE(tool.has_value());
  EXPECT_EQ(tool->workingFolder, "C:\\Game\\BIN");
  EXPECT_TRUE(machine.shell().LinkAt(std::string(kPrograms) + "\\SOFTHOUSE\\Play\\Play.lnk").has_value());
  EXPECT_EQ(machine.shell().broadcasts(), 1);

  EXPECT_EQ(machine.ui().beeps(), 1);
  EXPECT_TRUE(Shown(kFinishedNotice));
  EXPECT_TRUE(machine.ui().programEnded());
  EXPECT_TRUE(machine.ui().mainHidden());
  EXPECT_FALSE(machine.ui().mainProgress().visible);
  EXPECT_FALSE(machine.ui().mainProgress().animationPlaying);
  EXPECT_EQ(machine.ui().mainProgress().label, "アンインストール情報作成");
}

TEST_F(Installation, StepLabelsFollowTheStepsInOrder) {
  InstallSample();
  std::vector<std::string> labels;
  for (const std::string& line : machine.transcript()) {
    const std::string prefix = "progress[main] label: ";
    if (line.rfind(prefix, 0) == 0 && line.find("コピー中です") == std::string::npos)
      labels.push_back(line.substr(prefix.size()));
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"", "レジストリ設定", "設定ファイル作成", "スタートメニューに登録",
                                              "アンインストール情報作成"}));
  EXPECT_TRUE(Shown("progress[main] label: コピー中です GAME.EXE"));
}

TEST_F(Installation, PC9821SourceIsUsedOnlyForCopyingAfterYes) {
  machine.system().SetKeyboardSubtype(0x0D02);
  std::string script = kSampleScript;
  script += "PC9821=1\r\n";
  machine.ui().QueueAnswer(Answer::Yes);  // it is a PC-9821
  InstallSample(script);
  EXPECT_EQ(machine.ui().boxes().front().text, "インストールする機種は PC-9821 ですか？");
  EXPECT_EQ(File("C:\\Game\\SOUND\\BGM01.WAV"), "pc98");
}

TEST_F(Installation, RegistryFailureStopsBeforeTheLaterSteps) {
  machine.registry().InjectKeyFault(kHkeyLocalMachine, "SOFTWARE\\Vendor\\Game");
  InstallSample();
  ASSERT_GE(machine.ui().boxes().size(), 2u);
  EXPECT_EQ(machine.ui().boxes().back().text,
            "レジストリに書き込めません\r\nWindowsNT/2000/XPの場合、インストール権限のあるユーザーで実行してください");
  EXPECT_TRUE(Shown(kAbortedNotice));
  EXPECT_FALSE(Shown(kFinishedNotice));
  ExpectMachineAsBeforeStart();
  EXPECT_TRUE(machine.shell().savedLinks().empty());
  EXPECT_TRUE(machine.ui().programEnded());
  EXPECT_EQ(machine.registry().OpenHandleCount(), 0);
}

class RegistryValueFailure : public Installation, public ::testing::WithParamInterface<const char*> {};

TEST_P(RegistryValueFailure, StopsLikeAKeyThatCannotBeOpened) {
  machine.registry().InjectValueFault("Refused");
  InstallSample(std::string("[SETUP]\r\nTITLE=G\r\nDIR=C:\\Game\r\nUNINSTALL=U.INI\r\n") + GetParam());
  EXPECT_EQ(machine.ui().boxes().back().text,
            "レジストリに書き込めません\r\nWindowsNT/2000/XPの場合、インストール権限のあるユーザーで実行してください");
  EXPECT_TRUE(Shown(kAbortedNotice)) << TranscriptText();
  ExpectMachineAsBeforeStart();
  EXPECT_EQ(machine.registry().OpenHandleCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Lines, RegistryValueFailure,
                         ::testing::Values("REG1=string,Early,x\r\n",
                                           "REG1=open,HKEY_CURRENT_USER\\A\r\nREG2=long,N,twelve\r\n",
                                           "REG1=open,HKEY_CURRENT_USER\\A\r\nREG2=string,Refused,x\r\n"));

TEST_F(Installation, ConfigurationFileThatCannotBeCreatedIsNamedAndStops) {
  machine.files().InjectFault(FileCall::WriteWholeFile, "C:\\Game\\GAME.CFG");
  InstallSample();
  EXPECT_EQ(machine.ui().boxes().back().text, "ファイル C:\\Game\\GAME.CFG を作成できません");
  EXPECT_EQ(machine.ui().boxes().back().kind, BoxKind::Error);
  EXPECT_TRUE(Shown(kAbortedNotice));
  EXPECT_TRUE(machine.shell().savedLinks().empty());
  ExpectMachineAsBeforeStart();
}

// The uninstall entry, the uninstaller copy and everything else go with the record that failed,
// on Windows NT and on Windows 9x, whose replacement takes two steps.
TEST_F(Installation, RecordThatCannotBeWrittenIsNamedAndStops) {
  machine.files().SetReplacesInOneStep(false);
  machine.files().InjectFault(FileCall::WriteWholeFile, "C:\\Game\\UNINST.IN~");
  InstallSample();
  EXPECT_EQ(machine.ui().boxes().back().text, "ファイル C:\\Game\\UNINST.INI を作成できません");
  EXPECT_FALSE(Shown(kFinishedNotice));
  ExpectMachineAsBeforeStart();
}

// The record's companions during its replacement are as long as the record's own path.
TEST_F(Installation, RecordPathAtThePathLimitIsWritten) {
  const std::string folder = "C:\\" + std::string(259 - 14, 'g');
  Start("[SETUP]\r\nTITLE=Game\r\nSRC=@:\\DATA\r\nUNINSTALL=UNINST.INI\r\nCOPY1=README.TXT,$\r\n");
  machine.ui().QueueAnswer(Answer::Yes);
  PressStart(folder);
  EXPECT_TRUE(machine.files().Exists(folder + "\\UNINST.INI")) << TranscriptText();
}

TEST_F(Installation, EmptyRecordNameIsReportedInsteadOfWritingAFolderName) {
  std::string script = kSampleScript;
  script += "UNINSTALL=\r\n";
  InstallSample(script);
  EXPECT_EQ(machine.ui().boxes().back().text, "ファイル C:\\Game\\ を作成できません");
  EXPECT_TRUE(Shown(kAbortedNotice));
  ExpectMachineAsBeforeStart();
}

TEST_F(Installation, SecondInstallKeepsLeftoverEntriesOfTheFirstRecord) {
  machine.files().AddFolder("C:\\Game");
  std::string old = "[SETUP]\r\nGROUP=Old\r\nTITLE=Old\r\n";
  for (int i = 1; i <= 12; ++i) old += "COPY" + std::to_string(i) + "=C:\\Game\\old" + std::to_string(i) + "\r\n";
  old += "EXTRA=kept\r\n";
  machine.files().AddFile("C:\\Game\\UNINST.INI", old);
  Start(kSampleScript);
  PressStart("C:\\Game");
  const std::string record = File("C:\\Game\\UNINST.INI");
  EXPECT_EQ(record.rfind("[SETUP]\r\nGROUP=SOFTHOUSE\r\nTITLE=Game\r\nCOPY1=C:\\Game\\BGM01.WAV\r\n", 0), 0u) << record;
  EXPECT_NE(record.find("COPY7=C:\\Game\\SAVE\\score.dat\r\nCOPY8=C:\\Game\\old8\r\n"), std::string::npos) << record;
  EXPECT_NE(record.find("COPY12=C:\\Game\\old12\r\nEXTRA=kept\r\nREG1="), std::string::npos) << record;
}

TEST_F(Installation, CancelConfirmedDuringACopyFinishesThatFileAndTakesTheRunBack) {
  Start(kSampleScript);
  machine.ui().QueueAnswer(Answer::Yes);  // create the folder
  int copies = 0;
  machine.ui().onPump = [&] {
    if (machine.files().Exists("C:\\Game\\BGM01.WAV") && copies++ == 0) {
      machine.ui().QueueAnswer(Answer::Yes);
      form->CopyFormCancelButtonClick();
    }
  };
  PressStart("C:\\Game");
  EXPECT_EQ(form->script().InstalledFiles, TextList{"C:\\Game\\BGM01.WAV"});
  ExpectMachineAsBeforeStart();
  EXPECT_TRUE(Shown("progress[main] label: インストールを取り消しています"));
  EXPECT_FALSE(Shown(kAbortedNotice));
  EXPECT_FALSE(Shown(kFinishedNotice));
  EXPECT_TRUE(machine.ui().programEnded());
  EXPECT_EQ(machine.ui().boxes().back().text, "インストールしていません\r\n終了しますか？");
}

TEST_F(Installation, CloseRequestDuringTheCopyAsksAndNoKeepsGoing) {
  Start(kSampleScript);
  machine.ui().QueueAnswer(Answer::Yes);
  bool asked = false;
  machine.ui().onPump = [&] {
    if (asked) return;
    asked = true;
    machine.ui().QueueAnswer(Answer::No);
    form->Close();
  };
  PressStart("C:\\Game");
  EXPECT_EQ(machine.ui().boxes()[1].text, "インストール途中です\r\nインストールを中止しますか？");
  EXPECT_TRUE(Shown(kFinishedNotice));
  EXPECT_EQ(machine.ui().endProgramCalls(), 1);
}

TEST_F(Installation, CloseRequestAnsweredYesAbortsAfterTheFileInHand) {
  CloseDuringTheCopyAnswering(Answer::Yes);
  EXPECT_EQ(form->script().InstalledFiles.size(), 1u);
  EXPECT_FALSE(form->flags().Installing);
  EXPECT_TRUE(form->flags().AbortRequested);
  EXPECT_EQ(machine.ui().endProgramCalls(), 1);
  ExpectMachineAsBeforeStart();
}

// A re-installation stopped half-way leaves the earlier one whole: its files, record, entry and
// uninstaller copy, so that it can still be removed.
TEST_F(Installation, CancelledReinstallationLeavesTheEarlierOneWhole) {
  InstallSample();
  machine.files().AddFile("D:\\DATA\\NEW.DAT", "not installed before");
  const MachineSnapshot installed = machine.Snapshot();
  Start(kSampleScript);
  bool asked = false;
  machine.ui().onPump = [&] {
    if (asked || !machine.files().Exists("C:\\Game\\NEW.DAT")) return;
    asked = true;
    machine.ui().QueueAnswer(Answer::Yes);
    form->Close();
  };
  PressStart("C:\\Game");
  EXPECT_TRUE(asked);
  EXPECT_EQ(machine.ChangesSince(installed), std::vector<std::string>{}) << TranscriptText();
}

TEST_F(Installation, BackgroundHandsTheForegroundToTheRightWindow) {
  Start(kSampleScript);
  form->BackFormActivate();
  EXPECT_EQ(machine.ui().mainToFrontCalls(), 1);
  machine.ui().QueueAnswer(Answer::Yes);
  bool clicked = false;
  machine.ui().onPump = [&] {
    if (!clicked) form->BackFormActivate();
    clicked = true;
  };
  PressStart("C:\\Game");
  EXPECT_EQ(machine.ui().progressToFrontCalls(), 1);
}

}  // namespace
}  // namespace setup::testing

namespace setup::testing {
namespace {

// Each Yes/No question closed through its own close button: the abort question aborts, every
// other question takes the close as a No.
class ClosedQuestion : public Installation {};

TEST_F(ClosedQuestion, CreateFolderEndsTheProgramWithoutInstalling) {
  Start(kSampleScript);
  machine.ui().QueueAnswer(Answer::Closed);
  PressStart("C:\\Game");
  EXPECT_TRUE(machine.ui().programEnded());
  EXPECT_FALSE(machine.files().Exists("C:\\Game"));
  EXPECT_TRUE(form->script().InstalledFiles.empty());
}

TEST_F(ClosedQuestion, DirectXOfferStartsNoSetupAndEndsWithTheAbortNotice) {
  machine.files().AddFolder("C:\\Game");
  Start(std::string(kSampleScript) + "DIRECTX=9\r\n");
  machine.ui().QueueAnswer(Answer::Closed);
  PressStart("C:\\Game");
  EXPECT_TRUE(machine.shell().openedFiles().empty());
  EXPECT_TRUE(Shown(kAbortedNotice));
  EXPECT_FALSE(machine.files().Exists("C:\\Game\\GAME.EXE"));
}

TEST_F(ClosedQuestion, QuitQuestionsOfTheDialogAndTheProgressWindowChangeNothing) {
  Start(kSampleScript);
  machine.ui().QueueAnswer(Answer::Closed);
  form->CancelButtonClick();
  EXPECT_FALSE(machine.ui().programEnded());

  machine.ui().QueueAnswer(Answer::Yes);
  bool asked = false;
  machine.ui().onPump = [&] {
    if (asked) return;
    asked = true;
    machine.ui().QueueAnswer(Answer::Closed);
    form->CopyFormCancelButtonClick();
  };
  PressStart("C:\\Game");
  EXPECT_TRUE(asked);
  EXPECT_TRUE(Shown(kFinishedNotice));
}

TEST_F(ClosedQuestion, AbortQuestionWhileInstallingAborts) {
  CloseDuringTheCopyAnswering(Answer::Closed);
  EXPECT_EQ(machine.ui().boxes()[1].text, "インストール途中です\r\nインストールを中止しますか？");
  EXPECT_TRUE(form->flags().AbortRequested);
  EXPECT_EQ(form->script().InstalledFiles.size(), 1u);
  EXPECT_FALSE(Shown(kFinishedNotice));
  ExpectMachineAsBeforeStart();
}

}  // namespace
}  // namespace setup::testing
