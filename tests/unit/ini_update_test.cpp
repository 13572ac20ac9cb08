// The record writer against the document it replaces: for any old text, the record's text must
// be the same bytes as reading the old text into an IniDocument, setting the same keys there and
// writing it out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/install/uninstall_record.h"
#include "setup/script/ini_document.h"
#include "setup/script/ini_update.h"

namespace setup {
namespace {

struct RecordKeys {
  std::string title = "Game";
  std::string group = "SOFT";
  std::vector<std::string> files = {"C:\\G\\a.dat", "C:\\G\\b.dat", "C:\\G\\c.dat"};
  std::vector<std::string> keys = {"HKEY_CURRENT_USER\\Software\\S\\G"};
  std::string shortcut = "1";
};

std::string ThroughDocument(const std::string& old, const RecordKeys& keys) {
  IniDocument document = IniDocument::Parse(old);
  document.Set("SETUP", "TITLE", keys.title);
  document.Set("SETUP", "GROUP", keys.group);
  document.SetList("SETUP", "COPY", keys.files);
  document.SetList("SETUP", "REG", keys.keys);
  document.Set("SETUP", "SHORTCUT", keys.shortcut);
  return document.Serialize();
}

std::string ThroughUpdate(const std::string& old, const RecordKeys& keys) {
  SetupScript script;
  script.Title = keys.title;
  script.GroupName = keys.group;
  script.InstalledFiles = keys.files;
  script.InstalledRegKeys = keys.keys;
  script.ShortcutSetting = keys.shortcut;
  return UninstallRecordText(script, old);
}

TEST(IniSectionUpdate, NewRecordIsOneSectionInTheOrderOfTheKeys) {
  EXPECT_EQ(ThroughUpdate("", RecordKeys{}),
            "[SETUP]\r\nTITLE=Game\r\nGROUP=SOFT\r\nCOPY1=C:\\G\\a.dat\r\nCOPY2=C:\\G\\b.dat\r\nCOPY3=C:\\G\\c.dat\r\n"
            "REG1=HKEY_CURRENT_USER\\Software\\S\\G\r\nSHORTCUT=1\r\n\r\n");
}

TEST(IniSectionUpdate, MergedRecordKeepsPlacesOtherSectionsAndOldEntriesBeyondTheList) {
  const std::string old =
      "[OTHER]\nK=v\n[setup]\ntitle=Old\nnote\nCopy2=C:\\G\\old.dat\nCOPY7=C:\\G\\seven.dat\nSHORTCUT=0\n";
  EXPECT_EQ(ThroughUpdate(old, RecordKeys{}),
            "[OTHER]\r\nK=v\r\n\r\n[setup]\r\nTITLE=Game\r\nnote\r\nCOPY2=C:\\G\\b.dat\r\nCOPY7=C:\\G\\seven.dat\r\n"
            "SHORTCUT=1\r\nGROUP=SOFT\r\nCOPY1=C:\\G\\a.dat\r\nCOPY3=C:\\G\\c.dat\r\n"
            "REG1=HKEY_CURRENT_USER\\Software\\S\\G\r\n\r\n");
}

TEST(IniSectionUpdate, GivesTheDocumentsBytesForAnyOldText) {
  const std::vector<std::string> olds = {
      "",
      "\xEF\xBB\xBF[SETUP]\r\nCOPY1=x\r\n",                                    // the mark hides the header
      "before=1\r\n; comment\r\n[SETUP]\r\n\r\n  COPY1 = spaced  \r\n",        // dropped lines, trimming
      "[SETUP]\rCOPY1=cr\nCOPY2=lf\r\nCOPY3=crlf\n\rREG1=x",                   // every line end, no last one
      std::string("[SETUP]\nCOPY1=a") + '\0' + "\nCOPY2=after the NUL\n",      // NUL ends the text
      "[SETUP]\nCOPY1=first\ncopy1=second\nTITLE=t1\nTitle=t2\n",              // the last of each key
      "[SETUP]\nCOPY1=early\n[OTHER]\nCOPY1=o\n[ Setup ]\nCOPY2=late\n",       // the last section wins
      "[SETUP]\nCOPY01=zero\nCOPY0=nought\nCOPY=bare\nCOPY4=four\nCOPYX=x\n",  // keys that are not list keys
      "[SETUP]\nREG1\nCOPY2\n=empty key\nREG2=\n",                             // text lines and empty parts
      "[OTHER]\nA=1\n",                                                        // no SETUP section
      "[]\n[SETUP]\n[SETUP]\nGROUP=g\n[]\n",                                   // empty names, empty sections
      "[SETUP]\nCOPY999999999=far\nCOPY4294967296=huge\nSHORTCUT=\n",
  };
  for (const std::string& old : olds) {
    EXPECT_EQ(ThroughUpdate(old, RecordKeys{}), ThroughDocument(old, RecordKeys{})) << old;
    RecordKeys emptyLists;
    emptyLists.files.clear();
    emptyLists.keys.clear();
    emptyLists.title.clear();
    EXPECT_EQ(ThroughUpdate(old, emptyLists), ThroughDocument(old, emptyLists)) << old;
  }
}

// The values are copied in pieces by their length, so every length up to well past the longest
// piece is written new and over old lines.
TEST(IniSectionUpdate, ValuesOfEveryLength) {
  RecordKeys keys;
  keys.files.clear();
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  for (std::size_t length = 1; length <= 100; ++length) {
    std::string value;
    for (std::size_t i = 0; i < length; ++i) value += letters[(i * 7 + length) % letters.size()];
    keys.files.push_back(value);
  }
  keys.title = keys.files[40];
  EXPECT_EQ(ThroughUpdate("", keys), ThroughDocument("", keys));
  const std::string old = "[SETUP]\r\nCOPY50=old\r\nTITLE=old\r\nCOPY3=old\r\n";
  EXPECT_EQ(ThroughUpdate(old, keys), ThroughDocument(old, keys));
}

// Long enough for the list numbers to pass 1000 and 10000, written new and into an old record
// that holds every third of them.
TEST(IniSectionUpdate, LongListNewAndMergedIntoOneWrittenBackwards) {
  RecordKeys many;
  many.files.clear();
  for (int i = 0; i < 20000; ++i) many.files.push_back("C:\\G\\F" + std::to_string(i));
  EXPECT_EQ(ThroughUpdate("", many), ThroughDocument("", many));
  std::string old = "[SETUP]\r\n";
  for (int i = 20000; i >= 1; i -= 3) old += "COPY" + std::to_string(i) + "=old\r\n";
  EXPECT_EQ(ThroughUpdate(old, many), ThroughDocument(old, many));
}

// Written in parts, the text is the same as written whole: more than a part's worth of lines,
// a value longer than a part, lines kept from the old text and a section after the record's.
TEST(IniSectionUpdate, TextInPartsIsTheWholeText) {
  std::vector<std::string> files;
  for (int i = 1; i <= 60000; ++i) files.push_back("C:\\Game\\DATA\\F" + std::to_string(i) + ".DAT");
  files[50000] = std::string(IniSectionUpdate::kPartSize + 100, 'v');
  const std::string title = "Game";
  IniSectionUpdate update("SETUP");
  update.Set("TITLE", title);
  update.SetList("COPY", files);
  const std::string old = "[SETUP]\r\nNOTE=kept\r\nCOPY2=old\r\n[OTHER]\r\nA=1\r\n";

  std::string joined;
  int parts = 0;
  update.WriteOver(old, [&](std::string_view part) {
    EXPECT_FALSE(part.empty());
    joined += part;
    ++parts;
  });
  EXPECT_EQ(joined, update.WriteOver(old));
  EXPECT_GE(parts, 3);
}

}  // namespace
}  // namespace setup
