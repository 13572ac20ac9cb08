// The path module over every code page 932 character whose second byte is "\" (0x5C), at the
// start, middle and end of a name, and the "/" separator that Windows takes in file paths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/platform/sim/cp932_text.h"
#include "setup/platform/sim/simulated_machine.h"
#include "setup/script/paths.h"

namespace setup::testing {
namespace {

std::size_t CodePoints(const std::string& utf8) {
  std::size_t count = 0;
  for (char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

// Every double-byte character of the code page with the given trail byte: the byte pairs that
// the converter reads as one character.
std::vector<std::string> CharactersWithTrailByte(unsigned char trail) {
  std::vector<std::string> characters;
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    const std::string character{static_cast<char>(lead), static_cast<char>(trail)};
    const std::optional<std::string> utf8 = Cp932ToUtf8(character);
    if (utf8 && CodePoints(*utf8) == 1) characters.push_back(character);
  }
  return characters;
}

// Names with the character at the start, in the middle and at the end.
std::vector<std::string> NamesWith(const std::string& character) {
  return {character + "ab", "a" + character + "b", "ab" + character, character};
}

class PathsTest : public ::testing::Test {
 protected:
  SimulatedMachine machine;
  System& system = machine.system();
  const std::vector<std::string> characters = CharactersWithTrailByte(0x5C);
};

TEST_F(PathsTest, TheTableHoldsTheKnownCharacters) {
  // ソ 表 能 予 and about forty more; the count guards the generator itself.
  EXPECT_GE(characters.size(), 40u);
  for (const char* known : {"\x83\x5C", "\x95\x5C", "\x94\x5C", "\x97\x5C"}) {
    EXPECT_NE(std::find(characters.begin(), characters.end(), known), characters.end()) << known;
  }
}

TEST_F(PathsTest, SplitsAndEndsIgnoreTrailBytes) {
  for (const std::string& c : characters) {
    for (const std::string& name : NamesWith(c)) {
      const std::string path = "C:\\" + name + "\\" + name;
      EXPECT_EQ(LastSeparator(path, system, false), 3 + name.size()) << path;
      EXPECT_EQ(LastSeparator(name, system, true), std::string::npos) << name;
      EXPECT_EQ(PathParts(path, system, PathKind::File), (std::vector<std::string_view>{"C:", name, name})) << path;
      EXPECT_EQ(PathParts(name + "\\\\" + name + "\\", system, PathKind::RegistryKey),
                (std::vector<std::string_view>{name, name}))
          << name;
    }
  }
}

TEST_F(PathsTest, FolderLevelsEndAfterEachNameWhateverItsLastByte) {
  for (const std::string& c : characters) {
    for (const std::string& name : NamesWith(c)) {
      const std::string parent = "C:\\" + name;
      const std::string path = parent + "\\" + name;
      const std::vector<std::size_t> expected{parent.size(), path.size()};
      EXPECT_EQ(FolderLevelEnds(path, system), expected) << path;
      EXPECT_EQ(FolderLevelEnds(path + "\\", system), expected) << path;
      EXPECT_EQ(FolderLevelEnds("C:/" + name + "/" + name, system), expected) << path;
      // A UNC share whose name ends in such a character is the root, not a level.
      const std::string share = "\\\\srv\\" + name;
      EXPECT_EQ(FolderLevelEnds(share + "\\" + name, system),
                (std::vector<std::size_t>{share.size() + 1 + name.size()}))
          << share;
      EXPECT_EQ(UncRoot(share + "\\" + name + "\\setup.exe", system), share);
    }
  }
}

TEST_F(PathsTest, LevelsOfPlainPaths) {
  EXPECT_EQ(FolderLevelEnds("C:\\", system), std::vector<std::size_t>{});
  EXPECT_EQ(FolderLevelEnds("C:\\A\\\\B", system), (std::vector<std::size_t>{4, 7}));
  EXPECT_EQ(FolderLevelEnds("C:/Games\\New/Star", system), (std::vector<std::size_t>{8, 12, 17}));
  EXPECT_EQ(FolderLevelEnds("//srv/share/A", system), (std::vector<std::size_t>{13}));
  EXPECT_EQ(FolderLevelEnds("A\\B", system), (std::vector<std::size_t>{1, 3}));
  EXPECT_EQ(UncRoot("\\\\srv\\share", system), "\\\\srv\\share");
  EXPECT_EQ(UncRoot("\\\\srv", system), "\\\\srv");
}

TEST_F(PathsTest, FullPathsAreDriveOrUncPathsWithEitherSeparator) {
  for (const char* full : {"C:\\x", "c:/x", "\\\\srv\\x", "//srv/x", "\\/srv"}) EXPECT_TRUE(IsFullPath(full)) << full;
  for (const char* relative : {"C:x", "\\x", "/x", "x", "1:\\x", "C:", "\\\\\\x"}) {
    EXPECT_FALSE(IsFullPath(relative)) << relative;
  }
}

TEST_F(PathsTest, RegistryKeysSplitAtBackslashOnly) {
  EXPECT_EQ(PathParts("SOFTWARE\\A/B\\", system, PathKind::RegistryKey),
            (std::vector<std::string_view>{"SOFTWARE", "A/B"}));
  EXPECT_EQ(LastSeparator("A\\B/C", system, false, PathKind::RegistryKey), 1u);
  EXPECT_EQ(LastSeparator("A\\B/C", system, false, PathKind::File), 3u);
  EXPECT_EQ(JoinPath("C:\\\x83\x5C", "a"), "C:\\\x83\x5C\\a");
}

}  // namespace
}  // namespace setup::testing
