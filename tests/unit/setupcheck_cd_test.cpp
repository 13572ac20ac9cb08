// setupcheck against the CD image: sources matched by the copy step's own rules, files it passes
// over, the size against SIZE, the dry run's plan and its failures, images read from disk, and the
// sample CD.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "tests/unit/setupcheck_test_support.h"
#include "tools/avi_writer.h"
#include "tools/clip_art.h"

namespace setupcheck {
namespace {

using testing::Contains;
using testing::Crlf;
using testing::Image;
using testing::MessagesAt;
using Where = std::vector<std::string>;

std::string Script(const std::vector<std::string>& copyAndMore) {
  std::vector<std::string> lines = {"[SETUP]",    "TITLE=Game",           "DIR=C:\\Game", "SRC=@:\\DATA",
                                    "GROUP=Soft", "UNINSTALL=UNINST.INI", "SIZE=1"};
  lines.insert(lines.end(), copyAndMore.begin(), copyAndMore.end());
  return Crlf(lines);  // the lines given start at line 8
}

CheckOptions Plan(const std::string& destination = "", bool pc9821 = false) {
  CheckOptions options;
  options.plan = true;
  options.planDestination = destination;
  options.pc9821 = pc9821;
  return options;
}

TEST(CdCheck, PatternsThatMatchNoFileAreNamedWithWhereTheyLooked) {
  const CdFolder cd = Image({{"DATA\\GAME.EXE"}, {"DATA\\MOVIE\\OPENING.DAT"}});
  const CheckResult result = testing::Check(
      Script({"COPY1=GAME.EXE,$", "COPY2=MOVIE\\*.AVI,$\\MOVIE", "COPY3=MOVIE\\OPENING.DAT,$\\MOVIE", "COPY4=,$"}), cd);
  EXPECT_EQ(testing::Where(result), (Where{"9 COPY2 warning", "11 COPY4 warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 9, "COPY2"),
                       "source \"MOVIE\\*.AVI\" matches no file (looked for \"D:\\DATA\\MOVIE\\*.AVI\")"));
}

TEST(CdCheck, PatternsFollowTheDirectorySearchRules) {
  // "*.*" takes names without a dot, "*." only those, and matching ignores letter case.
  const CdFolder cd = Image({{"DATA\\README"}, {"DATA\\sub\\file.txt"}});
  EXPECT_EQ(testing::Where(testing::Check(Script({"COPY1=*.*,$", "COPY2=*.,$\\B", "COPY3=SUB\\FILE.TXT,$\\C"}), cd)),
            Where{});
  const CheckResult result = testing::Check(Script({"COPY1=*.*,$", "COPY2=README.*X,$\\B"}), cd);
  EXPECT_EQ(testing::Where(result), (Where{"9 COPY2 warning"}));
}

TEST(CdCheck, ThePC9821SourceIsCheckedToo) {
  const CdFolder cd = Image({{"DATA\\GAME.EXE"}, {"DATA\\PC98\\GAME.EXE"}});
  EXPECT_EQ(testing::Where(testing::Check(Script({"COPY1=GAME.EXE,$,PC98\\GAME.EXE"}), cd)), Where{});
  const CheckResult result = testing::Check(Script({"COPY1=GAME.EXE,$,PC98\\*.BIN"}), cd);
  EXPECT_EQ(testing::Where(result), (Where{"8 COPY1 warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 8, "COPY1"), "PC-9821 source \"PC98\\*.BIN\" matches no file"));
}

TEST(CdCheck, HiddenAndSystemFilesAreNamedAsSkipped) {
  const CdFolder cd = Image({{"DATA\\GAME.EXE"},
                             {"DATA\\THUMBS.DB", 10, setup::kAttrHidden},
                             {"DATA\\BOOT.SYS", 10, setup::kAttrSystem | setup::kAttrReadOnly},
                             {"DATA\\ONLY\\SECRET.DAT", 10, setup::kAttrHidden}});
  CheckResult result = testing::Check(Script({"COPY1=*.*,$", "COPY2=ONLY\\*.*,$\\ONLY"}), cd, Plan());
  EXPECT_EQ(testing::Where(result),
            (Where{"8 COPY1 warning", "8 COPY1 warning", "9 COPY2 warning", "9 COPY2 warning"}));
  EXPECT_TRUE(
      Contains(MessagesAt(result, 8, "COPY1"), "\"D:\\DATA\\THUMBS.DB\" is hidden: the installer does not copy it"));
  EXPECT_TRUE(Contains(MessagesAt(result, 8, "COPY1"), "\"D:\\DATA\\BOOT.SYS\" is a system file"));
  EXPECT_TRUE(Contains(MessagesAt(result, 9, "COPY2"), "matches no file that is copied"));
  EXPECT_TRUE(Contains(result.planText, "D:\\DATA\\GAME.EXE -> C:\\Game\\GAME.EXE"));
  EXPECT_FALSE(Contains(result.planText, "THUMBS.DB"));
}

TEST(CdCheck, AMissingSrcIsNamedAsTheCauseOfEveryMissingSource) {
  const CdFolder cd = Image({{"GAME.EXE"}, {"README.TXT"}});
  const std::string noSrc = Crlf({"[SETUP]", "TITLE=Game", "DIR=C:\\Game", "UNINSTALL=UNINST.INI", "SIZE=1",
                                  "COPY1=GAME.EXE,$", "COPY2=README.TXT,$"});
  const CheckResult result = testing::Check(noSrc, cd);
  EXPECT_EQ(testing::Where(result), (Where{"6 COPY1 warning", "7 COPY2 warning", "0 SRC warning", "0  error"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 0, ""), "no file is copied"));
  EXPECT_TRUE(Contains(MessagesAt(result, 0, "SRC"), "SRC is not set"));
  EXPECT_TRUE(Contains(MessagesAt(result, 0, "SRC"), "write SRC=@:"));
  EXPECT_EQ(testing::Where(testing::Check(noSrc + "SRC=@:\r\n", cd)), Where{});
}

TEST(CdCheck, ShortcutsToFilesNoCopyLineInstallsAreNamed) {
  const CdFolder cd = Image({{"DATA\\GAME.EXE"}, {"DATA\\DOC\\README.TXT"}});
  const CheckResult result = testing::Check(
      Script({"CFGNAME=$\\GAME.CFG", "COPY1=GAME.EXE,$", "COPY2=DOC\\*.TXT,$\\DOC", "START1=game.exe,Play,Game",
              "START2=DOC/README.TXT,Read,Game", "START3=GAME.CFG,Settings,Game", "START4=MANUAL.PDF,Manual,Game"}),
      cd);
  EXPECT_EQ(testing::Where(result), (Where{"14 START4 warning"})) << testing::AllMessages(result);
  EXPECT_TRUE(Contains(MessagesAt(result, 14, "START4"),
                       "the target \"C:\\Game\\MANUAL.PDF\" is not installed by any COPY line"));
}

TEST(CdCheck, TheFilesToCopyAreWeighedAgainstSize) {
  // Exactly 1 MB fits SIZE=1; one byte more does not.
  EXPECT_EQ(testing::Where(testing::Check(Script({"COPY1=*.*,$"}), Image({{"DATA\\A", 1048000}, {"DATA\\B", 576}}))),
            Where{});
  const CdFolder cd = Image({{"DATA\\A", 1048000}, {"DATA\\B", 577}, {"DATA\\SUB\\BIG", 50000000}});
  const CheckResult result = testing::Check(Script({"COPY1=*.*,$"}), cd);
  EXPECT_EQ(testing::Where(result), (Where{"7 SIZE warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 7, "SIZE"), "total 1048577 bytes (2 MB rounded up) but SIZE asks for 1 MB"));
}

TEST(CdCheck, AFileCopiedTwiceToOnePlaceIsNamed) {
  const CdFolder cd = Image({{"DATA\\GAME.EXE"}, {"DATA\\PATCH\\game.exe"}});
  const CheckResult result =
      testing::Check(Script({"COPY1=*.*,$", "COPY2=PATCH\\*.EXE,$", "COPY3=GAME.EXE,$\\BAK"}), cd);
  EXPECT_EQ(testing::Where(result), (Where{"9 COPY2 warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 9, "COPY2"), "\"C:\\Game\\game.exe\" is copied again (first by COPY1)"));
}

TEST(CdCheck, ThePlanShowsEverythingTheInstallationLeaves) {
  const std::string script =
      Crlf({"[SETUP]", "TITLE=\x83\x51\x81\x5B\x83\x80", "DIR=#:\\Game", "SRC=@:\\DATA", "GROUP=Soft",
            "UNINSTALL=UNINST.INI", "CFGNAME=$\\GAME.CFG", "SIZE=1", "SHORTCUT=1", "COPY1=*.*,$",
            "REG1=open,HKEY_LOCAL_MACHINE\\SOFTWARE\\Soft", "REG2=string,,@:", "REG3=long,Level,$FF", "CFG1=PATH=$",
            "CFG2=CD=@:", "START1=BIN\\GAME.EXE,Play,\x83\x51\x81\x5B\x83\x80", "REMOVE1=$\\SAVE.DAT"});
  const CheckResult result = testing::Check(script, Image({{"DATA\\GAME.EXE", 1234}}), Plan("E:\\Play Here"));
  // The shortcut's target is in BIN, where no COPY line puts a file.
  EXPECT_EQ(testing::Where(result), Where{"16 START1 warning"}) << testing::AllMessages(result);
  const std::string& plan = result.planText;
  EXPECT_TRUE(Contains(plan,
                       "Installation into E:\\Play Here\nFiles copied (2):\n"
                       "  D:\\DATA\\GAME.EXE -> E:\\Play Here\\GAME.EXE\n"
                       "  D:\\setup.exe -> C:\\WINDOWS\\unkelvo4.exe\n"));
  EXPECT_TRUE(Contains(plan,
                       "  HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ゲーム\n"
                       "    DisplayIcon = \"C:\\WINDOWS\\unkelvo4.exe\" (REG_SZ)\n"
                       "    DisplayName = \"ゲーム\" (REG_SZ)\n"
                       "    EstimatedSize = 2 (REG_DWORD 0x00000002)\n"
                       "    NoModify = 1 (REG_DWORD 0x00000001)\n    NoRepair = 1 (REG_DWORD 0x00000001)\n"
                       "    UninstallString = \"C:\\WINDOWS\\unkelvo4.exe \"E:\\Play Here\\UNINST.INI\"\" (REG_SZ)\n"));
  EXPECT_TRUE(Contains(plan,
                       "  HKEY_LOCAL_MACHINE\\SOFTWARE\\Soft\n    (default) = \"D:\" (REG_SZ)\n"
                       "    Level = 255 (REG_DWORD 0x000000FF)\n"));
  EXPECT_TRUE(Contains(plan,
                       "Configuration file E:\\Play Here\\GAME.CFG (26 bytes):\n"
                       "  | PATH=E:\\Play Here\n  | CD=D:\n"));
  EXPECT_TRUE(Contains(plan,
                       "  C:\\WINDOWS\\Start Menu\\Programs\\Soft\\ゲーム\\Play.lnk\n"
                       "    target E:\\Play Here\\BIN\\GAME.EXE, working folder E:\\Play Here\\BIN, "
                       "description \"Play\"\n"));
  EXPECT_TRUE(Contains(plan,
                       "Uninstall record E:\\Play Here\\UNINST.INI (175 bytes):\n  | [SETUP]\n  | TITLE=ゲーム\n"
                       "  | GROUP=Soft\n  | COPY1=E:\\Play Here\\GAME.EXE\n  | COPY2=E:\\Play Here\\GAME.CFG\n"
                       "  | COPY3=E:\\Play Here\\SAVE.DAT\n  | REG1=HKEY_LOCAL_MACHINE\\SOFTWARE\\Soft\n"
                       "  | SHORTCUT=1\n"));
}

TEST(CdCheck, APC9821PlanCopiesFromTheThirdField) {
  const std::string script = Script({"PC9821=1", "COPY1=GAME.EXE,$,PC98\\GAME.EXE"});
  const CdFolder cd = Image({{"DATA\\GAME.EXE"}, {"DATA\\PC98\\GAME.EXE"}});
  EXPECT_TRUE(Contains(testing::Check(script, cd, Plan("C:\\G", true)).planText,
                       "D:\\DATA\\PC98\\GAME.EXE -> C:\\G\\GAME.EXE"));
  EXPECT_TRUE(
      Contains(testing::Check(script, cd, Plan("C:\\G", false)).planText, "D:\\DATA\\GAME.EXE -> C:\\G\\GAME.EXE"));
}

TEST(CdCheck, AConfigurationFileInAFolderNobodyMakesStopsTheRun) {
  const CheckResult result = testing::Check(Script({"CFGNAME=$\\CFG\\GAME.CFG", "COPY1=*.*,$", "CFG1=X"}),
                                            Image({{"DATA\\GAME.EXE"}}), Plan());
  EXPECT_EQ(testing::Where(result), (Where{"0  error"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 0, ""), "ファイル C:\\Game\\CFG\\GAME.CFG を作成できません"));
  EXPECT_TRUE(Contains(result.planText, "Installation into C:\\Game (stopped before the end)"));
  EXPECT_EQ(result.findings.ExitStatus(), 2);
}

TEST(CdCheck, ARefusedPlanFolderIsAnError) {
  const CheckResult result = testing::Check(Script({"COPY1=*.*,$"}), Image({{"DATA\\GAME.EXE"}}), Plan("D:\\Game"));
  EXPECT_EQ(testing::Where(result), (Where{"0  error"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 0, ""), "ハードディスク以外のドライブにはインストールできません"));
  EXPECT_EQ(result.planText, "Installation into D:\\Game: refused, nothing is installed\n");
}

TEST(CdCheck, NamesWindowsCannotHoldAreReported) {
  CdFolder cd = Image({{"DATA\\GAME.EXE"}});
  cd.entries.push_back(CdEntry{"DATA\\A:B", "", 1, setup::kAttrReadOnly});
  const CheckResult result = testing::Check(Script({"COPY1=*.*,$"}), cd);
  EXPECT_EQ(testing::Where(result), (Where{"0  warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 0, ""), "\"DATA\\A:B\" has a name Windows does not allow"));
}

// A folder on the host's disk, removed at the end.
class DiskImage : public ::testing::Test {
 protected:
  DiskImage() : root(std::filesystem::temp_directory_path() / ("setupcheck-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
  }
  ~DiskImage() override { std::filesystem::remove_all(root); }
  void Write(const std::string& relative, const std::string& bytes) {
    const std::filesystem::path path = root / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  CheckResult Run(CheckOptions options = {}) {
    options.target = root.string();
    return RunCheck(options);
  }

  std::filesystem::path root;
};

TEST_F(DiskImage, JapaneseNamesOnDiskAreMatchedByShiftJisPatterns) {
  Write("DATA/データ/一.DAT", "12345");
  // "データ\*.DAT" in Shift-JIS.
  Write("SETUP.INI", Script({"COPY1=\x83\x66\x81\x5B\x83\x5E\\*.DAT,$\\DATA"}));
  const std::optional<CdFolder> cd = ReadCdFolder(root.string());
  ASSERT_TRUE(cd);
  bool found = false;
  for (const CdEntry& entry : cd->entries)
    found = found || entry.path == "DATA\\\x83\x66\x81\x5B\x83\x5E\\\x88\xEA.DAT";
  EXPECT_TRUE(found);
  const CheckResult result = Run(Plan());
  EXPECT_EQ(result.scriptName, root.string() + "/SETUP.INI");
  EXPECT_EQ(testing::Where(result), Where{}) << testing::AllMessages(result);
  EXPECT_TRUE(Contains(result.planText, "D:\\DATA\\データ\\一.DAT -> C:\\Game\\DATA\\一.DAT"));
}

TEST_F(DiskImage, AFolderWithoutAScriptIsAnError) {
  Write("DATA/GAME.EXE", "x");
  const CheckResult result = Run();
  EXPECT_EQ(testing::Where(result), (Where{"0  error"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 0, ""), "no setup.ini"));
  // A mistyped folder is not taken for a script file of the folder around it.
  Write("setup.ini", Script({"COPY1=*.*,$"}));
  CheckOptions missing;
  missing.target = (root / "mygme").string();
  EXPECT_EQ(MessagesAt(RunCheck(missing), 0, ""), "no such folder\n");
}

TEST_F(DiskImage, NamesOutsideShiftJisAreErrorsAndLinksAreNotFollowed) {
  Write("DATA/GAME.EXE", "x");
  Write("DATA/🌙BONUS.DAT", "y");
  Write("SETUP.INI", Script({"COPY1=*.*,$"}));
  std::filesystem::create_directory_symlink("/", root / "DATA" / "ROOT");
  const std::string report = testing::AllMessages(Run());
  EXPECT_TRUE(Contains(report, "error: \"DATA\\🌙BONUS.DAT\": the name cannot be written in Shift-JIS"));
  EXPECT_TRUE(Contains(report, "warning: \"DATA\\ROOT\" is a symbolic link: not followed"));
}

// The build's own opening movie plays, also with a header list longer than the part of the file
// that is read; one made with another codec, or larger than the launcher's window, or no AVI at
// all, is named.
TEST_F(DiskImage, AMovieNoWindowsPlaysOrThatDoesNotFitIsNamed) {
  Write("DATA/GAME.EXE", "x");
  Write("SETUP.INI", Script({"COPY1=*.*,$"}));
  const std::vector<std::uint8_t> avi = tools::WriteRle8Avi({tools::DrawOpeningMovie(2), tools::ClipPalette(), 10});
  std::string movie(avi.begin(), avi.end());
  Write("D.AVI", movie);
  EXPECT_EQ(testing::Where(Run()), Where{});
  std::string padded = movie;
  const std::size_t listSizeAt = padded.find("hdrl") - 4;
  std::uint32_t listSize = 0, junk = 3 << 19;  // a padding chunk of 1.5 MB ends the header list
  std::memcpy(&listSize, &padded[listSizeAt], 4);
  padded.insert(listSizeAt + 4 + listSize,
                "JUNK" + std::string(reinterpret_cast<char*>(&junk), 4) + std::string(junk, 0));
  listSize += 8 + junk;
  std::memcpy(&padded[listSizeAt], &listSize, 4);
  Write("D.AVI", padded);
  EXPECT_EQ(testing::Where(Run()), Where{});
  movie.replace(movie.find("strf") + 8 + 16, 4, "XVID");
  movie.replace(movie.find("avih") + 8 + 32, 2, "\x20\x03");  // 800 wide
  Write("D.AVI", movie);
  const std::string report = testing::AllMessages(Run());
  EXPECT_TRUE(Contains(report, "d.avi is compressed as \"XVID\", which Windows does not ship"));
  EXPECT_TRUE(Contains(report, "d.avi's frames are 800 x 480"));
  Write("D.AVI", "RIFF");
  EXPECT_TRUE(Contains(testing::AllMessages(Run()), "d.avi is no AVI movie"));
}

TEST_F(DiskImage, AScriptFileStandsInForSetupIniOfItsFolder) {
  Write("DATA/GAME.EXE", "x");
  Write("variant.ini", Script({"COPY1=GAME.EXE,$", "COPY3=GAME.EXE,$\\B"}));
  CheckOptions options;
  options.target = (root / "variant.ini").string();
  const CheckResult result = RunCheck(options);
  EXPECT_EQ(result.scriptName, options.target);
  EXPECT_EQ(testing::Where(result), (Where{"9 COPY3 warning"}));
}

// The sample CD as scripts/make-sample-cd.sh makes it: the committed files plus the large data
// files it generates (24 MB and 12 MB by default) and the programs at the root.
TEST_F(DiskImage, TheSampleCdImageComesOutClean) {
  const std::filesystem::path sample = std::filesystem::path(__FILE__).parent_path() / "../../examples/cd";
  ASSERT_TRUE(std::filesystem::is_directory(sample)) << sample;
  std::filesystem::copy(sample, root, std::filesystem::copy_options::recursive);
  Write("setup.exe", "MZ");
  Write("DATA/MOVIE/OPENING.DAT", "");
  Write("DATA/SOUND/BGM01.DAT", "");
  std::filesystem::resize_file(root / "DATA/MOVIE/OPENING.DAT", 24u << 20);
  std::filesystem::resize_file(root / "DATA/SOUND/BGM01.DAT", 12u << 20);
  const CheckResult result = Run(Plan("C:\\Games\\Sample"));
  EXPECT_EQ(testing::Where(result), Where{}) << testing::AllMessages(result);
  EXPECT_TRUE(Contains(result.planText, "D:\\DATA\\MOVIE\\OPENING.DAT -> C:\\Games\\Sample\\MOVIE\\OPENING.DAT"));
}

}  // namespace
}  // namespace setupcheck
