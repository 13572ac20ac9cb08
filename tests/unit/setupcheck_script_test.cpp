// setupcheck's script checks: one script per thing the installer ignores or misreads, each
// compared with the complete list of findings so that no check fires where it should not.
#include <gtest/gtest.h>

#include <set>
#include <string_view>

#include "tests/unit/setupcheck_test_support.h"

namespace setupcheck {
namespace {

using testing::Contains;
using testing::Crlf;
using testing::Image;
using testing::MessagesAt;

// A script with nothing to report; the lines a test adds start at line 15.
std::vector<std::string> CleanScript() {
  return {"[SETUP]",                                             // 1
          "TITLE=Game",                                          // 2
          "DIR=C:\\Game",                                        // 3
          "SRC=@:\\DATA",                                        // 4
          "GROUP=Soft",                                          // 5
          "UNINSTALL=UNINST.INI",                                // 6
          "CFGNAME=$\\GAME.CFG",                                 // 7
          "SIZE=1",                                              // 8
          "COPY1=*.*,$",                                         // 9
          "REG1=open,HKEY_LOCAL_MACHINE\\SOFTWARE\\Soft\\Game",  // 10
          "REG2=string,Path,$",                                  // 11
          "CFG1=PATH=$",                                         // 12
          "START1=GAME.EXE,Game,Game",                           // 13
          "REMOVE1=$\\SAVE\\SCORE.DAT"};                         // 14
}

CdFolder CleanImage() {
  return Image({{"DATA\\GAME.EXE", 1000}, {"DATA\\README.TXT", 200}, {"DATA\\SOUND\\BGM.WAV", 5000}});
}

std::vector<std::string> With(std::vector<std::string> lines, const std::vector<std::string>& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

CheckResult CheckLines(const std::vector<std::string>& lines) { return testing::Check(Crlf(lines), CleanImage()); }

using Where = std::vector<std::string>;

TEST(ScriptCheck, TheCleanScriptHasNothingToReport) {
  const CheckResult result = CheckLines(CleanScript());
  EXPECT_EQ(testing::Where(result), Where{}) << testing::AllMessages(result);
  EXPECT_EQ(result.findings.ExitStatus(), 0);
}

TEST(ScriptCheck, KeysAfterANumberingGapAreNeverRead) {
  const CheckResult result =
      CheckLines(With(CleanScript(), {"COPY2=SOUND\\*.*,$\\SOUND", "COPY4=README.TXT,$\\DOC", "COPY5=GAME.EXE,$\\B"}));
  EXPECT_EQ(testing::Where(result), (Where{"16 COPY4 warning", "17 COPY5 warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 16, "COPY4"), "the COPY list ends at COPY2 because COPY3 is missing"));
  EXPECT_EQ(result.findings.ExitStatus(), 1);
}

TEST(ScriptCheck, AListWithoutItsFirstKeyIsEmpty) {
  std::vector<std::string> lines = CleanScript();
  lines[13] = "REMOVE2=$\\SAVE\\SCORE.DAT";
  const CheckResult result = CheckLines(lines);
  EXPECT_EQ(testing::Where(result), (Where{"14 REMOVE2 warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 14, "REMOVE2"), "the REMOVE list is empty because REMOVE1 is missing"));
}

TEST(ScriptCheck, AnEmptyValueEndsItsListEarly) {
  const CheckResult result = CheckLines(With(CleanScript(), {"COPY2=", "COPY3=README.TXT,$\\DOC"}));
  EXPECT_EQ(testing::Where(result), (Where{"15 COPY2 warning", "16 COPY3 warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 15, "COPY2"), "empty value ends the COPY list"));
  EXPECT_TRUE(Contains(MessagesAt(result, 16, "COPY3"), "the empty COPY2 at line 15 ends the COPY list"));
  // An empty value with nothing after it changes nothing.
  EXPECT_EQ(testing::Where(CheckLines(With(CleanScript(), {"COPY2="}))), Where{});
}

TEST(ScriptCheck, UnknownKeysAreNamedWithTheirLikelyMeaning) {
  const CheckResult result =
      CheckLines(With(CleanScript(), {"COPPY2=README.TXT,$", "TITEL=Game", "COPY=x", "COPY01=x", "CFG0=x", "MYKEY=1"}));
  EXPECT_EQ(testing::Where(result), (Where{"15 COPPY2 warning", "16 TITEL warning", "17 COPY warning",
                                           "18 COPY01 warning", "19 CFG0 warning", "20 MYKEY warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 15, "COPPY2"), "did you mean COPY2?"));
  EXPECT_TRUE(Contains(MessagesAt(result, 16, "TITEL"), "did you mean TITLE?"));
  EXPECT_TRUE(Contains(MessagesAt(result, 17, "COPY"), "list keys carry a number"));
  EXPECT_TRUE(Contains(MessagesAt(result, 18, "COPY01"), "without leading zeros"));
  EXPECT_TRUE(Contains(MessagesAt(result, 19, "CFG0"), "numbered from 1"));
  EXPECT_FALSE(Contains(MessagesAt(result, 20, "MYKEY"), "did you mean"));
}

TEST(ScriptCheck, AByteOrderMarkHidesTheHeaderAndLeavesNoScript) {
  std::vector<std::string> lines = CleanScript();
  lines[0] = "\xEF\xBB\xBF[SETUP]";
  const CheckResult result = CheckLines(lines);
  EXPECT_EQ(testing::Where(result), (Where{"1 [SETUP] warning", "0 [SETUP] error"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 1, "[SETUP]"), "byte-order mark"));
  EXPECT_EQ(result.findings.ExitStatus(), 2);

  // A mark in front of a comment line hides nothing, but is still named.
  const CheckResult commented = CheckLines(With({"\xEF\xBB\xBF; setup script"}, CleanScript()));
  EXPECT_EQ(testing::Where(commented), (Where{"1  warning"}));
  EXPECT_TRUE(Contains(MessagesAt(commented, 1, ""), "byte-order mark"));

  lines[0] = "x [SETUP]";
  EXPECT_TRUE(Contains(MessagesAt(CheckLines(lines), 1, "[SETUP]"), "text stands before the header"));
}

TEST(ScriptCheck, ASecondSetupSectionHidesTheFirst) {
  const CheckResult result = CheckLines(With({"[SETUP]", "TITLE=Old", "SIZE=3"}, CleanScript()));
  EXPECT_EQ(testing::Where(result), (Where{"1 [SETUP] warning"}));
  EXPECT_TRUE(
      Contains(MessagesAt(result, 1, "[SETUP]"), "hidden by the [SETUP] at line 4: its 2 entries are never read"));
}

TEST(ScriptCheck, LinesOutsideSetupAndLinesWithoutEntriesAreNamed) {
  std::vector<std::string> lines = With({"TITLE=too early"}, CleanScript());
  lines = With(lines, {"just some words", "[OPTIONS]", "SOUND=1"});
  const CheckResult result = CheckLines(lines);
  EXPECT_EQ(testing::Where(result), (Where{"1 TITLE warning", "16  warning", "17 [OPTIONS] warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 1, "TITLE"), "before the first section"));
  EXPECT_TRUE(Contains(MessagesAt(result, 16, ""), "no \"=\""));
}

TEST(ScriptCheck, AKeyGivenTwiceLosesItsFirstValue) {
  const CheckResult result = CheckLines(With(CleanScript(), {"title=Game 2"}));
  EXPECT_EQ(testing::Where(result), (Where{"2 TITLE warning", "13 START1 warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 2, "TITLE"), "given again at line 15"));
  // The later title is the one the shortcut folder is compared with.
  EXPECT_TRUE(Contains(MessagesAt(result, 13, "START1"), "\"Game 2\""));
}

TEST(ScriptCheck, ANulByteEndsTheScript) {
  std::string text = Crlf(CleanScript()) + std::string(1, '\0') + "\r\nCOPY2=README.TXT,$\\DOC\r\n";
  const CheckResult result = testing::Check(text, CleanImage());
  EXPECT_EQ(testing::Where(result), (Where{"15  warning"}));
}

TEST(ScriptCheck, NumbersThatDoNotParseReadAsZero) {
  std::vector<std::string> lines = CleanScript();
  lines[7] = "SIZE=20MB";
  const CheckResult result = CheckLines(With(lines, {"PC9821=yes", "DIRECTX=0x0C", "NETWORK=$1"}));
  // SIZE read as 0 then also falls short of the files' total.
  EXPECT_EQ(testing::Where(result), (Where{"8 SIZE warning", "8 SIZE warning", "15 PC9821 warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 8, "SIZE"), "\"20MB\" is not a number: read as 0"));
}

TEST(ScriptCheck, NumbersNoInstallationCanMeetAreFlagged) {
  std::vector<std::string> lines = With(CleanScript(), {"DIRECTX=12"});
  lines[7] = "SIZE=2047";
  EXPECT_EQ(testing::Where(CheckLines(lines)), Where{});
  lines[7] = "SIZE=$800";
  lines[14] = "DIRECTX=13";
  const CheckResult result = CheckLines(lines);
  EXPECT_EQ(testing::Where(result), (Where{"8 SIZE warning", "15 DIRECTX warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 8, "SIZE"), "2048 MB"));
  EXPECT_TRUE(Contains(MessagesAt(result, 15, "DIRECTX"), "no Windows reports a DirectX above 12"));
}

TEST(ScriptCheck, SettingsWithoutEffectAreNamed) {
  const CheckResult result = CheckLines(With(CleanScript(), {"DESKTOP=1", "EXECUTE=GAME.EXE"}));
  EXPECT_EQ(testing::Where(result), (Where{"15 DESKTOP warning", "16 EXECUTE warning"}));
}

TEST(ScriptCheck, RegistryLinesTheStepIgnores) {
  const CheckResult result = CheckLines(With(
      CleanScript(), {"REG3=dword,Count,1", "REG4=open ,HKEY_CURRENT_USER\\Software\\Soft", "REG5=string,Name,a,b"}));
  EXPECT_EQ(testing::Where(result), (Where{"15 REG3 warning", "16 REG4 warning", "17 REG5 warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 15, "REG3"), "unknown keyword \"dword\""));
  EXPECT_TRUE(Contains(MessagesAt(result, 16, "REG4"), "unknown keyword \"open \""));
  EXPECT_TRUE(Contains(MessagesAt(result, 17, "REG5"), "text after the third field"));
}

TEST(ScriptCheck, ValuesBeforeAnyOpenStopTheInstallation) {
  std::vector<std::string> lines = CleanScript();
  lines[9] = "REG1=string,Path,$";
  lines[10] = "REG2=open,HKEY_LOCAL_MACHINE\\SOFTWARE\\Soft\\Game";
  const CheckResult result = CheckLines(lines);
  EXPECT_EQ(testing::Where(result), (Where{"10 REG1 error", "0  error"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 0, ""), "レジストリに書き込めません"));
  EXPECT_EQ(result.findings.ExitStatus(), 2);
}

TEST(ScriptCheck, ALongThatIsNoNumberStopsTheInstallation) {
  const CheckResult result = CheckLines(With(CleanScript(), {"REG3=long,Count,12x"}));
  EXPECT_EQ(testing::Where(result), (Where{"15 REG3 error", "0  error"}));
  EXPECT_EQ(testing::Where(CheckLines(With(CleanScript(), {"REG3=long,Count,$7F"}))), Where{});
}

TEST(ScriptCheck, KeysTheUninstallerRefusesToDelete) {
  const CheckResult result = CheckLines(
      With(CleanScript(), {"REG3=open,HKEY_LOCAL_MACHINE\\SOFTWARE",
                           "REG4=open,HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                           "REG5=open,HKEY_LOCAL_MACHINE",
                           "REG6=open,HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Game"}));
  EXPECT_EQ(testing::Where(result), (Where{"15 REG3 warning", "16 REG4 warning", "17 REG5 warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 16, "REG4"), "the uninstaller refuses to delete"));
}

TEST(ScriptCheck, AnUnknownRootLandsInTheCurrentUsersHive) {
  CheckOptions options;
  options.plan = true;
  const CheckResult result = testing::Check(
      Crlf(With(CleanScript(), {"REG3=open,HKLM\\SOFTWARE\\Soft\\Extra", "REG4=long,Count,3"})), CleanImage(), options);
  EXPECT_EQ(testing::Where(result), (Where{"15 REG3 warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 15, "REG3"), "selects HKEY_CURRENT_USER"));
  // The dry run agrees: the key is written below HKEY_CURRENT_USER.
  EXPECT_TRUE(Contains(result.planText, "HKEY_CURRENT_USER\\SOFTWARE\\Soft\\Extra\n    Count = 3"));
}

TEST(ScriptCheck, ConfigurationLinesLongerThanTheLineBuffer) {
  // The destination C:\Game has 7 characters: 246 + 7 = 253 bytes fit, 247 + 7 do not.
  const CheckResult result =
      CheckLines(With(CleanScript(), {"CFG2=" + std::string(246, 'A') + "$", "CFG3=" + std::string(247, 'A') + "$"}));
  EXPECT_EQ(testing::Where(result), (Where{"16 CFG3 warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 16, "CFG3"), "254 bytes after expansion"));
}

TEST(ScriptCheck, ConfigurationLinesWithoutAFileName) {
  std::vector<std::string> lines = CleanScript();
  lines[6] = "CFGNAME=";
  const CheckResult result = CheckLines(lines);
  EXPECT_EQ(testing::Where(result), (Where{"12 CFG1 warning"}));
}

TEST(ScriptCheck, StartLinesWithoutANameOrOutsideTheTitlesFolder) {
  const CheckResult result = CheckLines(
      With(CleanScript(), {"START2=README.TXT", "START3=GAME.EXE,Play", "START4=GAME.EXE,\x97\x56\x82\xd4,$"}));
  EXPECT_EQ(testing::Where(result),
            (Where{"15 START2 warning", "15 START2 warning", "16 START3 warning", "17 START4 warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 15, "START2"), "no name"));
  EXPECT_TRUE(Contains(MessagesAt(result, 16, "START3"), "folder \"Play\" differs from TITLE \"Game\""));
  // Shift-JIS text is reported in UTF-8, macros expanded.
  EXPECT_TRUE(Contains(MessagesAt(result, 17, "START4"), "folder \"C:\\Game\" differs"));
  const CheckResult named = CheckLines(With(CleanScript(), {"START2=GAME.EXE,\x97\x56\x82\xd4"}));
  EXPECT_TRUE(Contains(MessagesAt(named, 15, "START2"), "\"遊ぶ\""));
}

TEST(ScriptCheck, MacroCharactersInTextAreShownWithWhatTheyBecome) {
  // "ァタミ" (0x83 0x40, 0x83 0x5E, 0x83 0x7E) carry "@", "^" and "~" as second bytes: text.
  const CheckResult result = CheckLines(With(CleanScript(), {"REG3=string,Mail,info@example.jp",  // 15
                                                             "REG4=long,Version,$100",            // 16
                                                             "REG5=string,Save,$\\SAVE;^",        // 17
                                                             "CFG2=PRICE=$5",                     // 18
                                                             "CFG3=CD=@:",                        // 19
                                                             "CFG4=NAME=\x83\x40\x83\x5e\x83\x7e"}));
  EXPECT_EQ(testing::Where(result), (Where{"15 REG3 warning", "18 CFG2 warning"})) << testing::AllMessages(result);
  EXPECT_TRUE(Contains(MessagesAt(result, 15, "REG3"), "\"info@example.jp\" expands to \"infoDexample.jp\""));
  EXPECT_TRUE(Contains(MessagesAt(result, 18, "CFG2"), "\"PRICE=$5\" expands to \"PRICE=C:\\Game5\""));
}

TEST(ScriptCheck, AScriptThatIsNotShiftJisIsAnError) {
  const std::string utf8Title = "TITLE=\xe6\x98\x9f\xe3\x81\xae\xe5\x9b\xb3\xe6\x9b\xb8\xe9\xa4\xa8";  // 星の図書館
  std::vector<std::string> lines = CleanScript();
  lines[1] = utf8Title;
  const CheckResult utf8 = CheckLines(lines);
  EXPECT_EQ(testing::Where(utf8), (Where{"2  error", "13 START1 warning"})) << testing::AllMessages(utf8);
  EXPECT_TRUE(Contains(MessagesAt(utf8, 2, ""), "saved as UTF-8, not Shift-JIS (CP932)"));
  EXPECT_TRUE(Contains(MessagesAt(utf8, 2, ""), "iconv -f UTF-8 -t CP932"));

  lines[1] = "TITLE=\x90\xaf\x82\xcc\x90\x7d\x8f\x91\x8a\xd9";  // the same title in Shift-JIS
  const CheckResult shiftJis = CheckLines(lines);
  EXPECT_EQ(testing::Where(shiftJis), (Where{"13 START1 warning"})) << testing::AllMessages(shiftJis);

  lines[1] = "TITLE=Game";
  lines[4] = "GROUP=\x83\x5c\x80";  // a byte no Shift-JIS character uses
  const CheckResult broken = CheckLines(lines);
  EXPECT_EQ(testing::Where(broken), (Where{"5  error"})) << testing::AllMessages(broken);
  EXPECT_TRUE(Contains(MessagesAt(broken, 5, ""), "not Shift-JIS (CP932) text"));
}

TEST(ScriptCheck, RemoveValuesTheUninstallerCannotUse) {
  const CheckResult result = CheckLines(With(CleanScript(), {"REMOVE2=$\\SAVE\\*.DAT", "REMOVE3=SAVE\\SCORE.DAT"}));
  EXPECT_EQ(testing::Where(result), (Where{"15 REMOVE2 warning", "16 REMOVE3 warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 15, "REMOVE2"), "wildcards"));
  EXPECT_TRUE(Contains(MessagesAt(result, 16, "REMOVE3"), "not a full path"));
}

TEST(ScriptCheck, CopyLinesWithoutAUsableDestination) {
  const CheckResult result =
      CheckLines(With(CleanScript(), {"COPY2=README.TXT", "COPY3=README.TXT,DOC", "COPY4=SOUND\\*.*,$\\SOUND,,x"}));
  EXPECT_EQ(testing::Where(result), (Where{"15 COPY2 warning", "16 COPY3 warning", "17 COPY4 warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 15, "COPY2"), "no destination folder"));
  EXPECT_TRUE(Contains(MessagesAt(result, 16, "COPY3"), "\"DOC\" is not a full path"));
  EXPECT_TRUE(Contains(MessagesAt(result, 17, "COPY4"), "text after the third field"));
}

TEST(ScriptCheck, AMissingRecordNameOrTitleIsAnError) {
  std::vector<std::string> lines = CleanScript();
  lines[5] = "UNINSTALL=";
  const CheckResult result = CheckLines(lines);
  EXPECT_EQ(testing::Where(result), (Where{"6 UNINSTALL error", "0  error"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 0, ""), "ファイル C:\\Game\\ を作成できません"));
  lines = CleanScript();
  lines[1] = "TITLE=";
  const CheckResult untitled = CheckLines(lines);
  EXPECT_EQ(testing::Where(untitled), (Where{"2 TITLE error", "13 START1 warning"})) << testing::AllMessages(untitled);
}

TEST(ScriptCheck, ARefusedDefaultFolderIsAWarningAndTheRunGoesOnElsewhere) {
  std::vector<std::string> lines = CleanScript();
  lines[2] = "DIR=Game";
  CheckOptions options;
  options.plan = true;
  const CheckResult result = testing::Check(Crlf(lines), CleanImage(), options);
  EXPECT_EQ(testing::Where(result), (Where{"3 DIR warning"}));
  EXPECT_TRUE(Contains(MessagesAt(result, 3, "DIR"), "フォルダ名が正しくありません"));
  EXPECT_TRUE(Contains(result.planText, "Installation into C:\\SETUPCHECK\n"));
  EXPECT_TRUE(Contains(result.planText, "D:\\DATA\\GAME.EXE -> C:\\SETUPCHECK\\GAME.EXE"));

  lines[2] = "DIR=";
  const CheckResult empty = CheckLines(lines);
  EXPECT_EQ(testing::Where(empty), (Where{"3 DIR warning"}));
  EXPECT_TRUE(Contains(MessagesAt(empty, 3, "DIR"), "インストール先のフォルダ名を入力してください"));
}

// The report in each language: the same lines, keys and arguments in the words of each, a text
// given as an argument (the suggested key) in the same language, and the summary's counts.
TEST(ScriptCheck, TheReportIsWrittenInTheReadersLanguage) {
  CheckOptions options;
  options.plan = true;
  options.language = Language::Japanese;
  const CheckResult result =
      testing::Check(Crlf(With(CleanScript(), {"COPPY2=README.TXT,$", "COPY3=x,$"})), CleanImage(), options);
  const auto report = [&](Language language) {
    std::string text;
    for (const Finding& f : result.findings.Sorted()) text += FormatFinding("setup.ini", f, language) + "\n";
    return text + FormatSummary("setup.ini", result.findings, language);
  };
  EXPECT_EQ(report(Language::English),
            "setup.ini:15: COPPY2: warning: unknown key, never read (did you mean COPY2?)\n"
            "setup.ini:16: COPY3: warning: never read: the COPY list ends at COPY1 because COPY2 is missing\n"
            "setup.ini: 2 warnings, 0 errors\n");
  EXPECT_EQ(report(Language::Japanese),
            "setup.ini:15: COPPY2: 警告: 知らないキーなので、読まれません (COPY2 の間違いではありませんか?)\n"
            "setup.ini:16: COPY3: 警告: 読まれません。COPY2 がないので、COPY のリストは COPY1 で終わっています\n"
            "setup.ini: 警告 2 件、エラー 0 件\n");
  // The plan's headings follow the options' language; the lines scripts look for do not change.
  EXPECT_TRUE(Contains(result.planText,
                       "C:\\Game へのインストール\nコピーされるファイル (3):\n"
                       "  D:\\DATA\\GAME.EXE -> C:\\Game\\GAME.EXE\n"));

  Findings one;
  one.Warn(1, "A", TextId::NulByte);
  one.Fail(2, "B", TextId::NoTitle);
  EXPECT_EQ(FormatSummary("a", one, Language::English), "a: 1 warning, 1 error\n");
  EXPECT_EQ(FormatSummary("a", one, Language::Japanese), "a: 警告 1 件、エラー 1 件\n");
  EXPECT_EQ(FormatSummary("a", Findings(), Language::English), "a: no findings\n");
  EXPECT_EQ(FormatSummary("a", Findings(), Language::Japanese), "a: 指摘はありません\n");
}

// Every text has both languages, a Japanese text that is not the English one left in place, and
// the same arguments {1} to {n} in both, so that no argument is dropped or made up in either.
TEST(Texts, EveryTextHasBothLanguagesWithTheSameArguments) {
  const auto arguments = [](std::string_view text) {
    std::set<int> found;
    for (std::size_t at = text.find('{'); at != std::string_view::npos; at = text.find('{', at + 1)) {
      if (at + 2 < text.size() && text[at + 2] == '}') found.insert(text[at + 1] - '0');
    }
    return found;
  };
  for (int i = 0; i < static_cast<int>(TextId::Count); ++i) {
    const TextRow& row = RowOf(static_cast<TextId>(i));
    SCOPED_TRACE(row.english);
    EXPECT_EQ(static_cast<int>(row.id), i) << "the table's rows are in the order of TextId";
    EXPECT_NE(std::string_view(row.japanese), "");
    EXPECT_NE(std::string_view(row.japanese), row.english);
    const std::set<int> english = arguments(row.english);
    EXPECT_EQ(arguments(row.japanese), english);
    EXPECT_TRUE(english.empty() || (*english.begin() == 1 && *english.rbegin() == static_cast<int>(english.size())))
        << "arguments numbered from {1} without a gap";
  }
  // An argument is written as given, even when it looks like a placeholder.
  EXPECT_EQ(Text(TextId::GivenAgain, {"{1}"}).In(Language::English),
            "given again at line {1}: this value is never read");
}

// The POSIX order: the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty decides.
TEST(Texts, TheLocaleChoosesTheLanguage) {
  const struct {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    Language language;
  } cases[] = {
      {nullptr, nullptr, "ja_JP.UTF-8", Language::Japanese},
      {"C", nullptr, "ja_JP.UTF-8", Language::English},
      {nullptr, "ja_JP", "en_US.UTF-8", Language::Japanese},
      {"", "", "ja", Language::Japanese},
      {"en_US.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8", Language::English},
      {"ja_JP.eucJP", nullptr, "C", Language::Japanese},
      {nullptr, nullptr, "C.UTF-8", Language::English},
      {nullptr, nullptr, "jv_ID", Language::English},
      {nullptr, nullptr, nullptr, Language::English},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LanguageOfLocale(c.lcAll, c.lcMessages, c.lang), c.language)
        << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " " << (c.lang ? c.lang : "-");
  }
}

}  // namespace
}  // namespace setupcheck
