// The INI format, numbers, fields and command-line rules of the setup script.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "setup/script/command_line.h"
#include "setup/script/fields.h"
#include "setup/script/ini_document.h"
#include "setup/script/numbers.h"
#include "setup/script/setup_script.h"

namespace setup {
namespace {

std::string Value(const IniDocument& document, const char* key) {
  const std::optional<std::string_view> value = document.Find("SETUP", key);
  return value ? std::string(*value) : "<missing>";
}

TEST(IniDocument, SplitsLinesAtCrLfAndCrLfAndStopsAtNul) {
  const std::string text = std::string("[SETUP]\rA=1\nB=2\r\nC=3\n\rD=4") + '\0' + "\nE=5";
  const IniDocument document = IniDocument::Parse(text);
  EXPECT_EQ(Value(document, "A"), "1");
  EXPECT_EQ(Value(document, "B"), "2");
  EXPECT_EQ(Value(document, "C"), "3");
  EXPECT_EQ(Value(document, "D"), "4");
  EXPECT_EQ(Value(document, "E"), "<missing>");
}

TEST(IniDocument, TrimsControlsAndBlanksAroundKeysAndValues) {
  const IniDocument document = IniDocument::Parse("[SETUP]\n  COPY1 =  a , b  \n\tX\x01=\x1f y=z \x7f\n");
  EXPECT_EQ(Value(document, "COPY1"), "a , b");
  EXPECT_EQ(Value(document, "X"), "y=z \x7f");
}

TEST(IniDocument, IgnoresCommentsLinesBeforeSectionsAndOtherSections) {
  const IniDocument document =
      IniDocument::Parse("TITLE=before\n[OTHER]\nTITLE=other\n[ setup ]\n;TITLE=comment\nTITLE\nTITLE=ok\n");
  EXPECT_EQ(Value(document, "TITLE"), "ok");
  EXPECT_EQ(*document.Find("OTHER", "title"), "other");
}

TEST(IniDocument, LastSectionAndLastKeyWinWithoutRegardToCase) {
  const IniDocument document = IniDocument::Parse("[SETUP]\nA=first\nB=1\n[Setup]\ntitle=A\nTitle=B\n");
  EXPECT_EQ(Value(document, "TITLE"), "B");
  EXPECT_EQ(Value(document, "A"), "<missing>");
}

TEST(IniDocument, ByteOrderMarkHidesTheHeader) {
  const IniDocument document = IniDocument::Parse("\xEF\xBB\xBF[SETUP]\r\nTITLE=x\r\n");
  EXPECT_EQ(Value(document, "TITLE"), "<missing>");
}

TEST(IniDocument, ReadsIntegersAndBooleans) {
  const IniDocument document =
      IniDocument::Parse("[SETUP]\nA=0x20\nB=$20\nC=20MB\nD=-7\nE=yes\nF=2\nG=0x\nH=\nI=99999999999\n");
  EXPECT_EQ(document.ReadInteger("SETUP", "A", 0), 32);
  EXPECT_EQ(document.ReadInteger("SETUP", "B", 0), 32);
  EXPECT_EQ(document.ReadInteger("SETUP", "C", 5), 5);
  EXPECT_EQ(document.ReadInteger("SETUP", "D", 0), -7);
  EXPECT_EQ(document.ReadInteger("SETUP", "G", 5), 5);
  EXPECT_EQ(document.ReadInteger("SETUP", "H", 5), 5);
  EXPECT_EQ(document.ReadInteger("SETUP", "I", 5), 5);
  EXPECT_EQ(document.ReadInteger("SETUP", "missing", 9), 9);
  EXPECT_FALSE(document.ReadBool("SETUP", "E", false));
  EXPECT_TRUE(document.ReadBool("SETUP", "F", false));
}

TEST(Numbers, HexadecimalTakesAllThirtyTwoBitsDecimalMustFit) {
  EXPECT_EQ(ParseInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseInteger("0X7fffffff"), 2147483647);
  EXPECT_EQ(ParseInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ParseInteger("2147483648"), std::nullopt);
  EXPECT_EQ(ParseInteger("$100000000"), std::nullopt);
  EXPECT_EQ(ParseInteger("$"), std::nullopt);
  EXPECT_EQ(ParseInteger("1 2"), std::nullopt);
  EXPECT_EQ(ParseInteger("+12"), 12);
}

// A sign stands before decimal digits only: before a hexadecimal mark the text is no number.
TEST(Numbers, SignsBeforeAHexadecimalMarkMakeNoNumber) {
  for (const char* text : {"-$10", "+$10", "-0x10", "+0X10", "-$", "$-10", "0x-10", "--1", "+-1", "-", "+", " 1", "1 ",
                           "0x", "0X", "$G", "0x1G", "12a", "$1 "}) {
    EXPECT_EQ(ParseInteger(text), std::nullopt) << text;
  }
  EXPECT_EQ(ParseInteger("$10"), 16);
  EXPECT_EQ(ParseInteger("0x10"), 16);
  EXPECT_EQ(ParseInteger("-10"), -10);
  EXPECT_EQ(ParseInteger("-0"), 0);
  EXPECT_EQ(ParseInteger("0"), 0);
  EXPECT_EQ(ParseInteger("00012"), 12);
  EXPECT_EQ(ParseInteger("$00000000FF"), 255);
  EXPECT_EQ(ParseInteger("0x80000000"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ParseInteger("-2147483649"), std::nullopt);
}

// Every integer key of the script with the boundary texts: the key's default applies to a text
// that is no number, so NETWORK=-$1 does not allow a network installation.
TEST(Numbers, EveryIntegerKeyTakesItsDefaultForTextThatIsNoNumber) {
  for (const char* key : {"DIRECTX", "SIZE", "NETWORK", "PC9821"}) {
    for (const auto& [text, expected] :
         std::vector<std::pair<std::string, std::int32_t>>{{"-$1", 77},
                                                           {"+$1", 77},
                                                           {"-0x1", 77},
                                                           {"0x", 77},
                                                           {"", 77},
                                                           {"2147483648", 77},
                                                           {"$FFFFFFFF", -1},
                                                           {"-2147483648", std::numeric_limits<std::int32_t>::min()},
                                                           {"0", 0},
                                                           {"+1", 1}}) {
      const IniDocument document = IniDocument::Parse("[SETUP]\n" + std::string(key) + "=" + text + "\n");
      EXPECT_EQ(document.ReadInteger("SETUP", key, 77), expected) << key << "=" << text;
      EXPECT_EQ(document.ReadBool("SETUP", key, false), expected != 77 && expected != 0) << key << "=" << text;
    }
  }
}

TEST(IniDocument, SetKeepsPlacesTakesNewCaseAndAppendsNewKeys) {
  IniDocument document = IniDocument::Parse("[OTHER]\nK=v\n[setup]\ntitle=Old\nnote\nCopy12=C:\\G\\old.dat\n");
  document.Set("SETUP", "TITLE", "New");
  document.Set("SETUP", "COPY1", "C:\\G\\a.dat");
  document.Set("SETUP", "COPY12", "C:\\G\\b.dat");
  EXPECT_EQ(document.Serialize(),
            "[OTHER]\r\nK=v\r\n\r\n[setup]\r\nTITLE=New\r\nnote\r\nCOPY12=C:\\G\\b.dat\r\nCOPY1=C:\\G\\a.dat\r\n\r\n");
}

TEST(IniDocument, ValuesStayReadableAfterTheDocumentAndItsTextMove) {
  std::string text = "[S]\nA=1\n";  // short enough to live inside the string object itself
  IniDocument document = IniDocument::Parse(std::move(text));
  document.Set("S", "B", "set");
  std::vector<IniDocument> moved;
  moved.push_back(std::move(document));
  moved.emplace_back();  // the vector regrows and moves the document again
  EXPECT_EQ(moved[0].Find("S", "A"), "1");
  EXPECT_EQ(moved[0].Find("S", "B"), "set");
  EXPECT_EQ(moved[0].Serialize(), "[S]\r\nA=1\r\nB=set\r\n\r\n");
}

TEST(IniDocument, SetOnEmptyDocumentWritesOneSection) {
  IniDocument document;
  document.Set("SETUP", "TITLE", "T");
  document.Set("SETUP", "GROUP", "");
  EXPECT_EQ(document.Serialize(), "[SETUP]\r\nTITLE=T\r\nGROUP=\r\n\r\n");
}

TEST(ReadList, StopsAtTheFirstMissingOrEmptyNumber) {
  TextList copies;
  IniDocument copyScript = IniDocument::Parse("[SETUP]\nCOPY1=a\nCOPY2=b\nCOPY4=d\n");
  ReadList(copyScript, "COPY", copies);
  EXPECT_EQ(copies, (TextList{"a", "b"}));
  TextList empty;
  IniDocument emptyScript = IniDocument::Parse("[SETUP]\nCOPY1=\nCOPY2=b\n");
  ReadList(emptyScript, "COPY", empty);
  EXPECT_TRUE(empty.empty());
  TextList tens;
  IniDocument tenScript =
      IniDocument::Parse("[SETUP]\nR1=1\nR2=2\nR3=3\nR4=4\nR5=5\nR6=6\nR7=7\nR8=8\nR9=9\nR10=10\nR010=x\n");
  ReadList(tenScript, "R", tens);
  ASSERT_EQ(tens.size(), 10u);
  EXPECT_EQ(tens[9], "10");
}

TEST(NextField, SplitsWithoutTrimmingAndYieldsEmptyFieldsAtTheEnd) {
  std::size_t position = 1;
  EXPECT_EQ(NextField("a , b", ',', position), "a ");
  EXPECT_EQ(NextField("a , b", ',', position), " b");
  EXPECT_EQ(position, 7u);
  position = 1;
  EXPECT_EQ(NextField("a,,b", ',', position), "a");
  EXPECT_EQ(NextField("a,,b", ',', position), "");
  EXPECT_EQ(NextField("a,,b", ',', position), "b");
  EXPECT_EQ(NextField("a,,b", ',', position), "");
  EXPECT_EQ(NextField("a,,b", ',', position), "");
  position = 1;
  EXPECT_EQ(NextField("a,", ',', position), "a");
  EXPECT_EQ(NextField("a,", ',', position), "");
  position = 1;
  EXPECT_EQ(NextField("HKEY_LOCAL_MACHINE\\SOFTWARE\\X,extra", '\\', position), "HKEY_LOCAL_MACHINE");
  EXPECT_EQ(NextField("HKEY_LOCAL_MACHINE\\SOFTWARE\\X,extra", ',', position), "SOFTWARE\\X");
}

TEST(FirstArgument, SkipsTheProgramAndRemovesQuotes) {
  EXPECT_EQ(FirstArgument("C:\\WINDOWS\\unkelvo4.exe \"C:\\My Game\\UNINST.INI\""), "C:\\My Game\\UNINST.INI");
  EXPECT_EQ(FirstArgument("\"C:\\Program Files\\x.exe\"   C:\\a.ini second"), "C:\\a.ini");
  EXPECT_EQ(FirstArgument("x.exe a\"b c\"d"), "ab cd");
  EXPECT_EQ(FirstArgument("x.exe"), "");
  EXPECT_EQ(FirstArgument("x.exe   "), "");
}

}  // namespace
}  // namespace setup

namespace setup {
namespace {

TEST(IniDocument, NumberedKeysFollowTheSameRulesAsOtherKeys) {
  const IniDocument document = IniDocument::Parse(
      "[SETUP]\nCOPY1=first\ncopy1=second\nCOPY01=leading zero\nCOPY999999=far\nCOPY2=two\nCOPY999999=far again\n"
      "COPY4294967295=max\n");
  EXPECT_EQ(*document.Find("SETUP", "COPY1"), "second");
  EXPECT_EQ(*document.Find("SETUP", "COPY01"), "leading zero");
  EXPECT_EQ(*document.Find("SETUP", "Copy999999"), "far again");
  EXPECT_EQ(*document.Find("SETUP", "COPY4294967295"), "max");
  EXPECT_EQ(document.ListValues("SETUP", "copy"), (std::vector<std::string_view>{"second", "two"}));
  EXPECT_TRUE(document.ListValues("OTHER", "COPY").empty());
}

TEST(IniDocument, ListKeysWrittenOutOfOrderAreAllFound) {
  // COPY5 comes first, while the section is too short for its number, and is indexed by name.
  const IniDocument document =
      IniDocument::Parse("[SETUP]\nCOPY5=e\nCOPY3=old c\nCOPY1=a\nCOPY2=b\nCOPY3=c\nCOPY4=d\nCOPY7=g\n");
  EXPECT_EQ(document.ListValues("SETUP", "COPY"), (std::vector<std::string_view>{"a", "b", "c", "d", "e"}));
  TextList copies;
  ReadList(document, "COPY", copies);
  EXPECT_EQ(copies, (TextList{"a", "b", "c", "d", "e"}));
}

TEST(IniDocument, SetFindsANumberedKeyWhereverItWasIndexed) {
  IniDocument document = IniDocument::Parse("[SETUP]\nCOPY500=far\nCOPY1=a\n");
  document.Set("SETUP", "COPY500", "changed");
  document.Set("SETUP", "COPY2", "b");
  EXPECT_EQ(document.Serialize(), "[SETUP]\r\nCOPY500=changed\r\nCOPY1=a\r\nCOPY2=b\r\n\r\n");
}

}  // namespace
}  // namespace setup
