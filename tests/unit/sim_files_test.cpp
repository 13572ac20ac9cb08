// The simulated file system behaves like the Windows file calls where the core's tests rely on
// it: listing patterns and order, attributes, read-only refusals, relative paths and faults.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/platform/sim/simulated_machine.h"

namespace setup {
namespace {

std::vector<std::string> Names(const std::vector<FoundEntry>& entries) {
  std::vector<std::string> names;
  for (const FoundEntry& entry : entries) names.push_back(entry.name);
  return names;
}

class SimFilesTest : public ::testing::Test {
 protected:
  SimFilesTest() { files.AddDrive("C:\\", DriveType::Fixed, 1000); }

  std::vector<std::string> List(const std::string& pattern) { return Names(files.FindEntries(pattern)); }

  SimFileSystem files;
};

using Listing = std::vector<std::string>;

TEST_F(SimFilesTest, ListingPatternsFollowTheDirectorySearchRules) {
  files.AddFile("C:\\D\\README", "");
  files.AddFile("C:\\D\\a.txt", "");
  files.AddFile("C:\\D\\b.TXT.bak", "");
  files.AddFile("C:\\D\\ab.txt", "");
  files.AddFolder("C:\\D\\Sub");

  EXPECT_EQ(List("C:\\D\\*.*"), (Listing{".", "..", "a.txt", "ab.txt", "b.TXT.bak", "README", "Sub"}));
  EXPECT_EQ(List("C:\\D\\*"), (Listing{".", "..", "a.txt", "ab.txt", "b.TXT.bak", "README", "Sub"}));
  EXPECT_EQ(List("C:\\d\\*.TXT"), (Listing{"a.txt", "ab.txt"}));
  EXPECT_EQ(List("C:\\D\\?.txt"), (Listing{"a.txt"}));
  // A "?" before the dot may also stand for nothing, so "??" covers one- and two-letter stems.
  EXPECT_EQ(List("C:\\D\\??.txt"), (Listing{"a.txt", "ab.txt"}));
  EXPECT_EQ(List("C:\\D\\*."), (Listing{".", "..", "README", "Sub"}));
  EXPECT_EQ(List("C:\\D\\readme"), (Listing{"README"}));
  EXPECT_EQ(List("C:\\D\\nothing*"), Listing{});
  EXPECT_EQ(List("C:\\Missing\\*.*"), Listing{});
  EXPECT_EQ(List("C:\\D\\"), Listing{});
}

TEST_F(SimFilesTest, ListingIsInUpperCasedNameOrderWithoutDotsAtTheRoot) {
  files.AddFile("C:\\b", "");
  files.AddFile("C:\\_x", "");
  files.AddFile("C:\\A", "");
  files.AddFile("C:\\Z1", "");
  EXPECT_EQ(List("C:\\*.*"), (Listing{"A", "b", "Z1", "_x"}));
}

TEST_F(SimFilesTest, DoubleByteNamesMatchPerCharacterAndTheirTrailBackslashIsNoSeparator) {
  const std::string so = "\x83\x5C";  // a double-byte character whose second byte is "\"
  ASSERT_TRUE(files.AddFile("C:\\D\\" + so + ".txt", "x"));
  EXPECT_EQ(List("C:\\D\\?.txt"), Listing{so + ".txt"});
  EXPECT_EQ(files.ReadFile("C:\\D\\" + so + ".txt"), "x");
  // A doubled separator collapses, as the core produces for such a name without a folder part.
  EXPECT_EQ(List("C:\\D\\\\" + so + ".txt"), Listing{so + ".txt"});
}

TEST_F(SimFilesTest, ListingReportsAttributesAndSizes) {
  files.AddFile("C:\\D\\hidden", "12", kAttrHidden);
  files.AddFile("C:\\D\\system", "", kAttrSystem | kAttrReadOnly);
  files.AddFile("C:\\D\\plain", "", 0);
  files.AddFileOfSize("C:\\D\\big", 3ull << 30);
  files.AddFolder("C:\\D\\Sub", kAttrHidden);

  const std::vector<FoundEntry> entries = files.FindEntries("C:\\D\\*.*");
  ASSERT_EQ(Names(entries), (Listing{".", "..", "big", "hidden", "plain", "Sub", "system"}));
  EXPECT_EQ(entries[0].attributes, static_cast<std::uint32_t>(kAttrDirectory));
  EXPECT_EQ(entries[2].size, 3ull << 30);
  EXPECT_EQ(entries[2].attributes, static_cast<std::uint32_t>(kAttrArchive));
  EXPECT_EQ(entries[3].attributes, static_cast<std::uint32_t>(kAttrHidden));
  EXPECT_EQ(entries[3].size, 2u);
  EXPECT_EQ(entries[4].attributes, static_cast<std::uint32_t>(kAttrNormal));
  EXPECT_EQ(entries[5].attributes, static_cast<std::uint32_t>(kAttrDirectory | kAttrHidden));
  EXPECT_EQ(entries[6].attributes, static_cast<std::uint32_t>(kAttrSystem | kAttrReadOnly));
}

TEST_F(SimFilesTest, CopyRefusesReadOnlyOrHiddenTargetsAndKeepsTheSourceAttributes) {
  files.AddFile("C:\\src\\a", "new", kAttrReadOnly | kAttrArchive);
  files.AddFile("C:\\dst\\ro", "old", kAttrReadOnly);
  files.AddFile("C:\\dst\\hid", "old", kAttrHidden);

  EXPECT_FALSE(files.CopyFile("C:\\src\\a", "C:\\dst\\ro"));
  EXPECT_FALSE(files.CopyFile("C:\\src\\a", "C:\\dst\\hid"));
  EXPECT_EQ(files.ReadFile("C:\\dst\\ro"), "old");
  EXPECT_FALSE(files.CopyFile("C:\\src\\a", "C:\\nofolder\\a"));
  EXPECT_FALSE(files.CopyFile("C:\\src\\missing", "C:\\dst\\x"));

  ASSERT_TRUE(files.CopyFile("C:\\SRC\\A", "C:\\dst\\Copy"));
  EXPECT_EQ(files.ReadFile("C:\\dst\\copy"), "new");
  EXPECT_EQ(files.Attributes("C:\\dst\\copy"), static_cast<std::uint32_t>(kAttrReadOnly | kAttrArchive));
  EXPECT_EQ(files.AllFiles(), (Listing{"C:\\dst\\Copy", "C:\\dst\\hid", "C:\\dst\\ro", "C:\\src\\a"}));
}

TEST_F(SimFilesTest, DeleteAndRemoveRefuseWhatWindowsRefuses) {
  files.AddFile("C:\\D\\ro", "", kAttrReadOnly);
  files.AddFile("C:\\D\\hidden", "", kAttrHidden);
  files.AddFolder("C:\\D\\Full\\Inner");

  EXPECT_FALSE(files.DeleteFile("C:\\D\\ro"));
  EXPECT_FALSE(files.DeleteFile("C:\\D\\Full"));
  EXPECT_FALSE(files.RemoveDirectory("C:\\D\\Full"));
  EXPECT_FALSE(files.RemoveDirectory("C:\\D\\ro"));
  EXPECT_FALSE(files.RemoveDirectory("C:\\"));
  EXPECT_TRUE(files.DeleteFile("C:\\D\\HIDDEN"));
  EXPECT_TRUE(files.RemoveDirectory("C:\\D\\Full\\Inner"));
  EXPECT_TRUE(files.RemoveDirectory("C:\\D\\Full"));
  EXPECT_TRUE(files.Exists("C:\\D\\ro"));
  EXPECT_FALSE(files.Exists("C:\\D\\Full"));
}

TEST_F(SimFilesTest, RelativePathsFollowTheCurrentFolder) {
  files.AddFile("C:\\Menu\\Group\\Game\\a.lnk", "");
  files.AddFolder("C:\\Menu\\Group\\Other");
  ASSERT_TRUE(files.SetCurrentDirectory("C:\\menu\\group\\game"));
  EXPECT_EQ(files.CurrentDirectory(), "C:\\Menu\\Group\\Game");

  EXPECT_EQ(List("*.*"), (Listing{".", "..", "a.lnk"}));
  EXPECT_TRUE(files.DeleteFile("a.lnk"));
  // The process holds its current folder open: it cannot be removed until the folder changes.
  EXPECT_FALSE(files.RemoveDirectory("..\\Game"));
  ASSERT_TRUE(files.SetCurrentDirectory("C:\\Menu\\Group"));
  EXPECT_TRUE(files.RemoveDirectory("Game"));
  EXPECT_TRUE(files.RemoveDirectory("\\Menu\\Group\\Other"));
  EXPECT_FALSE(files.SetCurrentDirectory("Missing"));
  EXPECT_EQ(files.CurrentDirectory(), "C:\\Menu\\Group");
  EXPECT_EQ(files.AllFolders(), (Listing{"C:\\Menu", "C:\\Menu\\Group"}));
}

TEST_F(SimFilesTest, WritesCreateOrRefuse) {
  files.AddFile("C:\\D\\ro", "keep", kAttrReadOnly);
  files.AddFile("C:\\D\\sys", "keep", kAttrSystem);
  files.AddFile("C:\\D\\old", "a much longer text", kAttrHidden);
  ASSERT_TRUE(files.SetAttributes("C:\\D\\old", kAttrNormal));

  EXPECT_EQ(files.WriteWholeFile("C:\\D\\ro", "x"), WriteResult::CannotCreate);
  EXPECT_EQ(files.WriteWholeFile("C:\\D\\sys", "x"), WriteResult::CannotCreate);
  EXPECT_EQ(files.WriteWholeFile("C:\\Missing\\f", "x"), WriteResult::CannotCreate);
  EXPECT_EQ(files.WriteWholeFile("C:\\D", "x"), WriteResult::CannotCreate);
  EXPECT_EQ(files.WriteWholeFile("C:\\D\\old", "new"), WriteResult::Ok);
  EXPECT_EQ(files.ReadFile("C:\\D\\old"), "new");
  EXPECT_EQ(files.Attributes("C:\\D\\old"), static_cast<std::uint32_t>(kAttrArchive));
  EXPECT_EQ(files.ReadFile("C:\\D\\ro"), "keep");
}

TEST_F(SimFilesTest, DrivesAnswerForTheirRootOnly) {
  files.AddDrive("\\\\server\\share", DriveType::Remote, -1);
  EXPECT_EQ(files.GetDriveType("C:\\"), DriveType::Fixed);
  EXPECT_EQ(files.GetDriveType("c:"), DriveType::Fixed);
  EXPECT_EQ(files.GetDriveType("C:x"), DriveType::NoRootDir);
  EXPECT_EQ(files.GetDriveType("E:\\"), DriveType::NoRootDir);
  EXPECT_EQ(files.GetDriveType("\\\\SERVER\\share\\"), DriveType::Remote);
  EXPECT_EQ(files.FreeBytes("c:\\"), 1000);
  EXPECT_FALSE(files.FreeBytes("E:\\"));
  EXPECT_TRUE(files.AddFile("\\\\server\\share\\setup.ini", "x"));
  EXPECT_TRUE(files.FileExists("\\\\Server\\Share\\SETUP.INI"));
}

TEST_F(SimFilesTest, ShortPathsUseEightDotThreeNamesOfExistingEntries) {
  files.AddFolder("C:\\Program Files\\My Game");
  files.AddFolder("C:\\Program Files\\My Gadget");
  files.AddFile("C:\\Program Files\\My Game\\GAME.EXE", "");
  EXPECT_EQ(files.ShortPath("C:\\program files\\my game\\GAME.EXE"), "C:\\PROGRA~1\\MYGAME~1\\GAME.EXE");
  EXPECT_EQ(files.ShortPath("C:\\Program Files\\My Gadget\\"), "C:\\PROGRA~1\\MYGADG~1\\");
  EXPECT_EQ(files.ShortPath("C:\\Program Files\\Missing"), std::nullopt);
  ASSERT_TRUE(files.SetShortName("C:\\Program Files", "PROGRA~2"));
  EXPECT_EQ(files.ShortPath("C:\\Program Files"), "C:\\PROGRA~2");
}

TEST_F(SimFilesTest, EveryInjectedFaultMakesItsCallFail) {
  files.AddFile("C:\\D\\f", "x");
  files.AddFolder("C:\\D\\Empty");
  files.InjectFault(FileCall::CopyFile, "c:\\d\\COPY");
  files.InjectFault(FileCall::CreateDirectory, "C:\\D\\New");
  files.InjectFault(FileCall::DeleteFile, "C:\\D\\f");
  files.InjectFault(FileCall::RemoveDirectory, "C:\\D\\Empty");
  files.InjectFault(FileCall::WriteWholeFile, "C:\\D\\cfg");
  files.InjectWriteFailure("C:\\D\\half");
  files.InjectFault(FileCall::ReadWholeFile, "C:\\D\\f");
  files.InjectFault(FileCall::SetAttributes, "C:\\D\\f");
  files.InjectFault(FileCall::ShortPath, "C:\\D");

  EXPECT_FALSE(files.CopyFile("C:\\D\\f", "C:\\D\\copy"));
  EXPECT_FALSE(files.CreateDirectory("C:\\D\\new"));
  EXPECT_FALSE(files.DeleteFile("C:\\D\\F"));
  EXPECT_FALSE(files.RemoveDirectory("C:\\D\\Empty"));
  EXPECT_EQ(files.WriteWholeFile("C:\\D\\cfg", "x"), WriteResult::CannotCreate);
  EXPECT_EQ(files.WriteWholeFile("C:\\D\\half", "x"), WriteResult::WriteFailed);
  EXPECT_EQ(files.ReadWholeFile("C:\\D\\f"), std::nullopt);
  EXPECT_FALSE(files.SetAttributes("C:\\D\\f", kAttrArchive));
  EXPECT_EQ(files.ShortPath("C:\\D"), std::nullopt);
  EXPECT_EQ(files.AllFiles(), (Listing{"C:\\D\\f", "C:\\D\\half"}));
  EXPECT_EQ(files.ReadFile("C:\\D\\half"), "");

  // Other paths are untouched by those faults, and clearing them restores the calls.
  EXPECT_TRUE(files.CopyFile("C:\\D\\f", "C:\\D\\other"));
  files.ClearFaults();
  EXPECT_TRUE(files.DeleteFile("C:\\D\\f"));
  EXPECT_EQ(files.CallCount(FileCall::DeleteFile), 2);
  EXPECT_EQ(files.CallCount(FileCall::CopyFile), 2);
}

}  // namespace
}  // namespace setup
