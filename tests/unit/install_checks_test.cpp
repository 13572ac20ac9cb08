// The destination checks behind Start, the DirectX offer, Browse, Abort and the close guard.
#include <tuple>

#include "setup/install/directx_version.h"
#include "tests/unit/installer_fixture.h"

namespace setup::testing {
namespace {

constexpr char kScript[] = "[SETUP]\nTITLE=Game\nDIR=C:\\Game\nSIZE=300\n";

class DestinationChecks : public InstallerTest {
 protected:
  void SetUp() override { Start(kScript); }
  // The one error box a refused Start shows.
  void ExpectRefusal(const std::string& typed, const std::string& message) {
    PressStart(typed);
    ASSERT_FALSE(machine.ui().boxes().empty()) << typed;
    const ShownBox& box = machine.ui().boxes().back();
    EXPECT_EQ(box.kind, BoxKind::Error) << typed;
    EXPECT_EQ(box.buttons, BoxButtons::Ok) << typed;
    EXPECT_EQ(box.text, message) << typed;
    EXPECT_FALSE(machine.ui().programEnded()) << typed;
  }
};

TEST_F(DestinationChecks, FolderNameRefusalsPutTheAcceptedFolderBack) {
  machine.files().AddDrive("E:\\", DriveType::Fixed, 1ll << 40);
  machine.files().AddDrive("Q:\\", DriveType::CdRom, 0);
  ExpectRefusal("C", "インストール先のフォルダ名を入力してください");
  ExpectRefusal("", "インストール先のフォルダ名を入力してください");
  ExpectRefusal("\\\\server\\share\\game", "フォルダ名が正しくありません");
  ExpectRefusal("E:\\", "ドライブの一番上のフォルダにはインストールはできません\r\n他のフォルダを指定してください");
  ExpectRefusal("Q:\\Game", "ハードディスク以外のドライブにはインストールできません");
  ExpectRefusal("Z:\\Game", "ハードディスク以外のドライブにはインストールできません");
  EXPECT_EQ(machine.ui().FolderText(), "C:\\Game");
  EXPECT_EQ(form->script().DestDir, "C:\\Game");
  EXPECT_EQ(machine.ui().boxes().size(), 6u);
}

TEST_F(DestinationChecks, NotEnoughSpaceNamesTheWholeRequirementAndKeepsTheTypedFolder) {
  machine.files().AddDrive("E:\\", DriveType::Fixed, 299ll * 1048576);
  ExpectRefusal("e:\\Games", "ドライブの空き容量が足りません\r\n空きが300MBytes必要です");
  EXPECT_EQ(form->script().DestDir, "e:\\Games");
  EXPECT_EQ(machine.ui().FolderText(), "e:\\Games");
}

TEST_F(DestinationChecks, SpaceOfTwoGigabytesAndMoreIsCheckedAsWritten) {
  machine.files().AddFile("D:\\setup.ini", "[SETUP]\nSIZE=4096\n");
  form = std::make_unique<MessageForm>(machine.platform());
  form->FormCreate();
  machine.files().AddDrive("E:\\", DriveType::Fixed, 3ll << 30);
  ExpectRefusal("E:\\G", "ドライブの空き容量が足りません\r\n空きが4096MBytes必要です");
}

TEST_F(DestinationChecks, MissingFolderAnsweredNoEndsTheProgramWithoutInstalling) {
  machine.ui().QueueAnswer(Answer::No);
  PressStart("C:\\New\\Game");
  EXPECT_EQ(machine.ui().boxes().back().text, "フォルダが存在しません\r\nフォルダを作成しますか？");
  EXPECT_EQ(machine.ui().boxes().back().kind, BoxKind::Confirmation);
  EXPECT_TRUE(machine.ui().programEnded());
  EXPECT_FALSE(machine.files().Exists("C:\\New"));
  EXPECT_FALSE(machine.ui().mainProgress().visible);
}

class DirectXOffer : public InstallerTest {
 protected:
  void StartWithDirectX(int required, const char* ddrawVersion) {
    if (ddrawVersion) machine.system().SetFileVersion("C:\\WINDOWS\\system32\\DDRAW.DLL", ddrawVersion);
    Start("[SETUP]\nDIR=C:\\Game\nUNINSTALL=U.INI\nDIRECTX=" + std::to_string(required) + "\n");
  }
};

TEST_F(DirectXOffer, OlderDirectXOffersTheSetupFromTheCd) {
  StartWithDirectX(7, "4.06.02.0436");
  machine.ui().QueueAnswer(Answer::Yes);  // create the folder
  machine.ui().QueueAnswer(Answer::Yes);  // install DirectX
  PressStart("C:\\Game");
  EXPECT_EQ(machine.ui().boxes().back().text,
            "DirectX をインストールしますか？\r\nDirectXインストール後、再度CD-ROMのSETUPを起動してください。");
  EXPECT_EQ(machine.shell().openedFiles(), std::vector<std::string>{"D:\\DIRECTX\\DXSETUP.EXE"});
  EXPECT_TRUE(machine.ui().programEnded());
  // The folder made at the create question stays.
  EXPECT_TRUE(machine.files().IsFolder("C:\\Game"));
}

TEST_F(DirectXOffer, DecliningStopsTheInstallationWithANotice) {
  StartWithDirectX(7, nullptr);
  machine.files().AddFolder("C:\\Game");
  machine.ui().QueueAnswer(Answer::No);
  PressStart("C:\\Game");
  EXPECT_TRUE(Shown(kAbortedNotice)) << TranscriptText();
  EXPECT_TRUE(machine.shell().openedFiles().empty());
  EXPECT_TRUE(machine.ui().programEnded());
}

TEST_F(DirectXOffer, NewEnoughDirectXOrNoRequirementGoesStraightOn) {
  StartWithDirectX(8, "5.03.2600.2180");
  machine.files().AddFolder("C:\\Game");
  PressStart("C:\\Game");
  EXPECT_FALSE(machine.ui().unexpectedBox()) << TranscriptText();
  EXPECT_TRUE(Shown(kFinishedNotice)) << TranscriptText();
}

// DDRAW.DLL as each Windows leaves it, with the registry's version, which 2000 and XP alone read.
TEST(DirectXVersion, EachWindowsReadsAsTheDirectXItHas) {
  const std::tuple<const char*, const char*, int> cases[] = {
      {nullptr, nullptr, 0},                                           // Windows 95 as shipped
      {"4.03.00.1096", nullptr, 3},                                    // Windows 95 with DirectX 3
      {"4.05.01.1998", nullptr, 5},                                    // Windows 98
      {"4.06.02.0436", "4.06.02.0436", 6},                             // Windows 98 SE
      {"4.07.00.0700", nullptr, 7},                                    // DirectX 7 on Windows 9x
      {"4.08.01.0881", "4.09.00.0904", 8},                             // the registry counts for 5.x only
      {"5.00.2180.0001", "4.07.00.0700", 8},                           // Windows 2000
      {"5.03.2600.2180", nullptr, 8},                                  // XP SP2 without the registry value
      {"5.3.2600.5512 (xpsp.080413-0845)", "4.09.00.0904", 9},         // XP SP3
      {"6.0.6000.16386 (vista_rtm.061101-2205)", "4.09.00.0904", 10},  // Vista
      {"6.1.7600.16385 (win7_rtm.090713-1255)", "4.09.00.0904", 11},   // Windows 7
      {"6.2.9200.16384 (win8_rtm.120725-1247)", nullptr, 11},          // Windows 8
      {"6.3.9600.16384 (winblue_rtm.130821-1623)", nullptr, 11},       // Windows 8.1
      {"8.0.1.0", nullptr, 12},                                        // 7 to 9: no Windows has them
      {"10.0.19041.1 (WinBuild.160101.0800)", "4.09.00.0904", 12},     // Windows 10
      {"10.0.22621.1 (WinBuild.160101.0800)", nullptr, 12},            // Windows 11
      {"4.7.0.700", nullptr, 0},
      {"4.0", nullptr, 0},
      {"", nullptr, 0}};
  for (const auto& [fileVersion, registryVersion, expected] : cases) {
    SimulatedMachine machine;
    if (fileVersion) machine.system().SetFileVersion("C:\\WINDOWS\\system32\\DDRAW.DLL", fileVersion);
    if (registryVersion)
      machine.registry().AddString(kHkeyLocalMachine, "SOFTWARE\\Microsoft\\DirectX", "Version", registryVersion);
    EXPECT_EQ(GetDirectXVersion(machine.platform()), expected) << (fileVersion ? fileVersion : "no DDRAW.DLL");
    EXPECT_EQ(machine.registry().OpenHandleCount(), 0);
  }
  EXPECT_EQ(DirectXSetupPath("\\\\srv\\cd"), "\\\\srv\\cd\\DIRECTX\\DXSETUP.EXE");
}

TEST_F(InstallerTest, NetworkStartIsRefusedAsSoonAsTheDialogShows) {
  machine.files().AddDrive("N:\\", DriveType::Remote, 1 << 30);
  machine.system().SetModulePath("N:\\setup.exe");
  machine.files().AddFile("N:\\setup.ini", "[SETUP]\nTITLE=T\n");
  form = std::make_unique<MessageForm>(machine.platform());
  form->FormCreate();
  form->FormShow();
  ASSERT_EQ(machine.ui().boxes().size(), 1u);
  EXPECT_EQ(machine.ui().boxes()[0].text, "ネットワークドライブからのインストールはできません");
  EXPECT_TRUE(machine.ui().programEnded());
}

TEST_F(InstallerTest, BrowseSetsThePickedFolderAndCancelKeepsTheText) {
  Start(kScript);
  machine.shell().QueueFolderAnswer(std::nullopt);
  form->DirButtonClick();
  EXPECT_EQ(machine.ui().FolderText(), "C:\\Game");
  machine.shell().QueueFolderAnswer(std::string("E:\\Picked"));
  form->DirButtonClick();
  EXPECT_EQ(machine.ui().FolderText(), "E:\\Picked");
  EXPECT_EQ(form->script().DestDir, "C:\\Game");
  EXPECT_EQ(machine.shell().pickerTitles().back(), "インストールするフォルダを選択して下さい");
}

TEST_F(InstallerTest, AbortAsksAndOnlyYesEndsTheProgram) {
  Start(kScript);
  machine.ui().QueueAnswer(Answer::No);
  form->CancelButtonClick();
  EXPECT_FALSE(machine.ui().programEnded());
  EXPECT_EQ(machine.ui().boxes().back().kind, BoxKind::Warning);
  EXPECT_EQ(machine.ui().boxes().back().text, "インストールしていません\r\n終了しますか？");
  machine.ui().QueueAnswer(Answer::Yes);
  form->CancelButtonClick();
  EXPECT_TRUE(machine.ui().programEnded());
}

TEST_F(InstallerTest, CloseWhileWaitingAsksNothing) {
  Start(kScript);
  form->Close();
  EXPECT_TRUE(machine.ui().boxes().empty());
  EXPECT_TRUE(machine.ui().programEnded());
}

}  // namespace
}  // namespace setup::testing
