// setupcheck's line scanner: line numbers as an editor counts them, and the same view of [SETUP]
// as the installer's reader on scripts that stress its splitting, trimming and section rules; and
// the conversion of a UTF-8 script to the Shift-JIS one, counted the same way.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "setupcheck/script_conversion.h"
#include "tests/unit/setupcheck_test_support.h"

namespace setupcheck {
namespace {

using testing::ExpectScannerAgreesWithLoader;

int LineOfKey(const ScriptLines& lines, const std::string& key) {
  const ScriptSection* setup = lines.Visible("SETUP");
  const ScriptLine* line = setup == nullptr ? nullptr : lines.Find(*setup, key);
  return line == nullptr ? 0 : line->number;
}

TEST(ScriptLines, CountsEveryKindOfLineBreakOnce) {
  // LF, CR, CR LF, and LF CR (two breaks with an empty line between).
  const std::string text = "; c\n[SETUP]\rTITLE=x\r\nDIR=y\n\rCOPY1=a,$";
  const ScriptLines lines = ScriptLines::Scan(text);
  EXPECT_EQ(LineOfKey(lines, "TITLE"), 3);
  EXPECT_EQ(LineOfKey(lines, "DIR"), 4);
  EXPECT_EQ(LineOfKey(lines, "COPY1"), 6);
  EXPECT_EQ(lines.lines()[4].kind, LineKind::Blank);
  ExpectScannerAgreesWithLoader(text);
}

TEST(ScriptLines, FindsTheLineOfTheNulByteAndReadsNothingAfterIt) {
  const std::string text = std::string("[SETUP]\r\nTITLE=a\r\nDIR=b", 23) + std::string(1, '\0') + "\r\nCOPY1=x,$\r\n";
  const ScriptLines lines = ScriptLines::Scan(text);
  EXPECT_EQ(lines.nulLine(), 3);
  EXPECT_EQ(LineOfKey(lines, "COPY1"), 0);
  EXPECT_EQ(LineOfKey(lines, "DIR"), 3);
  ExpectScannerAgreesWithLoader(text);
  EXPECT_EQ(ScriptLines::Scan("[SETUP]\r\nA=1\r\n").nulLine(), 0);
}

TEST(ScriptLines, TheLastSectionAndTheLastKeyOfANameWin) {
  const std::string text = testing::Crlf(
      {"[setup]", "TITLE=first", "[Other]", "TITLE=other", "[ SETUP ]", "title=A", "Title = B ", "COPY1 =  a , b  "});
  const ScriptLines lines = ScriptLines::Scan(text);
  const ScriptSection* setup = lines.Visible("SETUP");
  ASSERT_NE(setup, nullptr);
  EXPECT_EQ(setup->headerLine, 5);
  EXPECT_EQ(lines.Find(*setup, "TITLE")->value, "B");
  EXPECT_EQ(lines.Find(*setup, "TITLE")->number, 7);
  EXPECT_EQ(lines.Find(*setup, "copy1")->value, "a , b");
  ExpectScannerAgreesWithLoader(text);
}

// Scripts whose every line plays on a rule of the reader; the cross-check is the assertion.
TEST(ScriptLines, AgreesWithTheReaderOnAwkwardScripts) {
  const std::vector<std::string> scripts = {
      "",
      "TITLE=before any section\r\n[SETUP]\r\nTITLE=x",
      "\xEF\xBB\xBF[SETUP]\r\nTITLE=hidden by the mark\r\n",
      "[SETUP]\r\n\t TITLE\t=\t spaced \x01\r\n=no key\r\nno equals sign\r\n;COPY1=comment,$\r\n",
      "[SETUP]\r\nCOPY1=a=b=c\r\nCOPY2=\r\nCOPY3=after the empty one\r\n",
      "[SETUP]\r\nCOPY1=a\r\nCOPY01=leading zero\r\nCOPY0=zero\r\nCOPY3=gap\r\n",
      "[SETUP]\r\nREG4294967297=huge\r\nREG1=x\r\nREG99999=far beyond\r\n",
      "[SETUP\r\nTITLE=unclosed header\r\n[]\r\nTITLE=empty section name\r\n[SETUP]\r\n",
      "[SETUP]\r\nCOPY1=x\r\ncopy1=y\r\nCoPy2=z\r\n[SETUP]\r\nCOPY1=second\r\n",
      "[SETUP]\r\nCOPY3=c\r\nREG2=y\r\nCOPY1=a\r\nREG1=x\r\nCOPY2=b\r\n",  // lists out of order
      "[SETUP]\n\n\n\r\r\n\r\nSTART1=GAME.EXE,\x83\x5C\x83\x74\x83\x67,\r\nCFG1=\x83\x5C=\\\r\n",
  };
  for (const std::string& text : scripts) {
    SCOPED_TRACE(text);
    ExpectScannerAgreesWithLoader(text);
  }
}

TEST(ScriptConversion, WritesShiftJisWithCrLfAndStopsAtTheFirstCharacterItLacks) {
  const ScriptConversion good = ConvertScriptToShiftJis("\xEF\xBB\xBF[SETUP]\nTITLE=ゲーム\r\nDIR=C:\\表\n");
  ASSERT_TRUE(good.ok) << good.problem;
  EXPECT_EQ(good.bytes, "[SETUP]\r\nTITLE=\x83\x51\x81\x5B\x83\x80\r\nDIR=C:\\\x95\x5C\r\n");
  const struct {
    std::string text;
    std::string problem;
  } bad[] = {
      {"[SETUP]\r\nTITLE=恋♡\n", "2:8: the character \"♡\" (U+2661) has no Shift-JIS form"},
      {"A\nB\nREMOVE1=$\\🌙.DAT", "3:11: the character \"🌙\" (U+1F319)"},
      {"TITLE=𠮷野家", "1:7: the character \"𠮷\" (U+20BB7)"},
      {"TITLE=\x83\x51", "1:7: the byte 0x83 is not UTF-8"},
      {"TITLE=\xE3\x82", "1:7: the byte 0xE3 is not UTF-8"},
  };
  for (const auto& [text, problem] : bad) {
    const ScriptConversion conversion = ConvertScriptToShiftJis(text);
    EXPECT_FALSE(conversion.ok) << text;
    EXPECT_TRUE(testing::Contains(conversion.problem, problem));
  }
  // On disk: OUT is written on success; a failure names the place and leaves no OUT behind.
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("setupcheck-sjis-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string in = (folder / "in.ini").string();
  const std::string out = (folder / "setup.ini").string();
  std::ofstream(in, std::ios::binary) << "TITLE=ゲーム\n";
  Text report;
  EXPECT_EQ(RunScriptConversion(in, out, report), 0) << report;
  EXPECT_EQ(ReadDiskFile(out), std::string("TITLE=\x83\x51\x81\x5B\x83\x80\r\n"));
  std::ofstream(in, std::ios::binary) << "TITLE=ゲーム\nSTART1=GAME.EXE,遊ぶ♡,ゲーム\n";
  EXPECT_EQ(RunScriptConversion(in, out, report), 2);
  EXPECT_TRUE(testing::Contains(report, in + ":2:19: the character \"♡\""));
  EXPECT_TRUE(
      testing::Contains(report.In(Language::Japanese), in + ":2:19: 文字 \"♡\" (U+2661) は Shift-JIS にありません"));
  EXPECT_FALSE(std::filesystem::exists(out));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace setupcheck
